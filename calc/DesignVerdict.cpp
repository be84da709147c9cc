// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesignVerdict.h"

namespace kalibrix {
BandKind KindOfBand(double f_min)
{
    return f_min < kVhfLowerEdge ? BandKind::BelowVhf : BandKind::Vhf;
}

bool BandEdgesSwapped(const CalculationState& s)
{
    return s.f_min > s.f_max;
}

TypicalQ TypicalLoadedQ(BandKind kind)
{
    return kind == BandKind::Vhf ? TypicalQ{10.0, 30.0} : TypicalQ{50.0, 150.0};
}

Verdict JudgeMistuning(std::optional<double> statedQ, BandKind kind)
{
    if (!statedQ)
        return Verdict::NoMistuning;
    const TypicalQ typical = TypicalLoadedQ(kind);
    if (*statedQ >= typical.high)
        return Verdict::TrimmersEnough;
    if (*statedQ >= typical.low)
        return Verdict::TrimmersForLowQ;
    return Verdict::PadderNeeded;
}

Verdict JudgeDesign(const DesignFigures& figures, const CalculationState& s)
{
    if (BandEdgesSwapped(s))
        return Verdict::BandEdgesSwapped;
    if (!figures.negatives.empty()) {
        switch (figures.negatives.front().component) {
        case Component::Cp_b:
            return Verdict::CapacitorRangeShort;
        case Component::Cp_o:
            return Verdict::OscillatorTrimmerNegative;
        case Component::Ch1:
        case Component::Ch2:
            return Verdict::TuningCapacitanceNegative;
        }
    }
    return JudgeMistuning(figures.statedQ, KindOfBand(s.f_min));
}

bool CanBeBuilt(Verdict verdict)
{
    switch (verdict) {
    case Verdict::NoMistuning:
    case Verdict::TrimmersEnough:
    case Verdict::TrimmersForLowQ:
    case Verdict::PadderNeeded:
        return true;
    case Verdict::BandEdgesSwapped:
    case Verdict::CapacitorRangeShort:
    case Verdict::OscillatorTrimmerNegative:
    case Verdict::TuningCapacitanceNegative:
        return false;
    }
    return false;
}

bool PadderHelps(Verdict verdict)
{
    return verdict == Verdict::TrimmersForLowQ || verdict == Verdict::PadderNeeded;
}

bool BandspreadAdvised(const CalculationState& s)
{
    return s.C_tb + s.C_sz > 2.0 * s.C_h_max;
}

PadderVerdict JudgePadder(std::optional<Verdict> twoPoint, std::optional<double> padderStatedQ,
                          BandKind kind)
{
    if (twoPoint && CanBeBuilt(*twoPoint) && !PadderHelps(*twoPoint))
        return PadderVerdict::NotNeeded;
    switch (JudgeMistuning(padderStatedQ, kind)) {
    case Verdict::NoMistuning:
        return PadderVerdict::NoMistuning;
    case Verdict::TrimmersEnough:
        return PadderVerdict::Enough;
    case Verdict::TrimmersForLowQ:
        return PadderVerdict::EnoughForLowQ;
    default:
        return PadderVerdict::NotEnough;
    }
}

} // namespace kalibrix
