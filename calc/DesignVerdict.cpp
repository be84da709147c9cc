#include "DesignVerdict.h"

namespace kalibrix {
namespace {

constexpr double kVhfFrom = 30e6; // Hz

} // namespace

BandKind KindOfBand(double f_min)
{
    return f_min < kVhfFrom ? BandKind::BelowVhf : BandKind::Vhf;
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
    if (s.f_min > s.f_max)
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

} // namespace kalibrix
