// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesignFigures.h"

#include "Selectivity.h"
#include "TrackingCalculator.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

namespace kalibrix {

double RoundDownToTwoSignificant(double x)
{
    if (!(x > 0.0 && std::isfinite(x)))
        return x;
    // The shortest decimal form that reads back as x, "d.ddde±xx", cut after
    // its second digit and read back: a value that has two digits or fewer
    // comes back as it is, where scaling by a power of ten and flooring would
    // lose a unit (0.29 * 100 is 28.999...).
    std::array<char, 32> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), x,
                                       std::chars_format::scientific);
    std::string text(digits.data(), written.ptr);
    const std::size_t exponent = text.find('e');
    if (exponent > 3)
        text.erase(3, exponent - 3);
    double cut = x;
    std::from_chars(text.data(), text.data() + text.size(), cut);
    return cut;
}

std::optional<double> QLimit(double frequency, double deviation)
{
    if (deviation == 0.0)
        return std::nullopt;
    if (!(frequency > 0.0))
        return 0.0;
    // x - 1/x read as the selectivity figures read it.
    const DetuningTerms terms = TermsOfDetuning(frequency, deviation);
    if (!(terms.scale > 0.0))
        return 0.0;
    const double q = terms.scale / std::abs(terms.span);
    // A ratio that overflows (r beyond the double range) allows no Q at all;
    // one that underflows to a zero divisor sets no limit.
    if (std::isnan(q))
        return 0.0;
    if (std::isinf(q))
        return std::nullopt;
    return q;
}

double ApproximateQ(double frequency, double deviation)
{
    return frequency / (2.0 * std::abs(deviation));
}

UsableQ UsableQOverSweep(const SweepTable& frequency, const SweepTable& deviation)
{
    UsableQ q;
    for (int i = 0; i < kSweepSteps; ++i) {
        const std::optional<double> limit = QLimit(TableAt(frequency, i), TableAt(deviation, i));
        if (limit && (!q.usable || *limit < *q.usable)) {
            q.usable = limit;
            q.step = i;
        }
    }
    if (q.usable)
        q.stated = RoundDownToTwoSignificant(*q.usable);
    return q;
}

std::vector<NegativeComponent> NegativeComponents(const CalculationState& s)
{
    const std::pair<Component, double> shown[] = {
        {Component::Cp_b, TrackingCalculator::RoundToPicofarad(s.C_tb)},
        {Component::Cp_o, TrackingCalculator::RoundToPicofarad(s.C_osz - s.C_sz)},
        {Component::Ch1, TrackingCalculator::RoundToPicofarad(s.C_hp1)},
        {Component::Ch2, TrackingCalculator::RoundToPicofarad(s.C_hp2)},
    };
    std::vector<NegativeComponent> negatives;
    for (const auto& [component, picofarad] : shown)
        if (picofarad < 0.0)
            negatives.push_back({component, picofarad});
    return negatives;
}

bool InputTrimmerNegative(const CalculationState& s)
{
    const std::vector<NegativeComponent> negatives = NegativeComponents(s);
    return !negatives.empty() && negatives.front().component == Component::Cp_b;
}

std::optional<DesignFigures> FiguresOfDesign(const CalculationState& s)
{
    if (s.sweep_i != kSweepSteps)
        return std::nullopt;

    const auto pointAt = [&s](int i) {
        return SweepPoint{i, TableAt(s.elt_curve, i), TableAt(s.fbe_curve, i)};
    };
    DesignFigures figures;
    figures.highest = figures.lowest = pointAt(0);
    for (int i = 0; i < kSweepSteps; ++i) {
        const SweepPoint point = pointAt(i);
        if (point.deviation > figures.highest.deviation)
            figures.highest = point;
        if (point.deviation < figures.lowest.deviation)
            figures.lowest = point;
        // f_be is a square root the sweep checked; it is zero only where
        // 1 / (C_be * K * L_b) underflowed, and mistuning there has no bound.
        const double relative =
            point.deviation == 0.0 ? 0.0 : std::abs(point.deviation) / point.frequency;
        if (relative > figures.largestRelative) {
            figures.largestRelative = relative;
            figures.worstRelative = point;
        }
    }
    if (figures.highest.deviation > 0.0)
        figures.largestPositive = figures.highest;
    if (figures.lowest.deviation < 0.0)
        figures.largestNegative = figures.lowest;
    const UsableQ q = UsableQOverSweep(s.fbe_curve, s.elt_curve);
    figures.usableQ = q.usable;
    figures.statedQ = q.stated;
    if (q.usable)
        figures.limitingPoint = pointAt(q.step);
    // The values as the window shows them: each was rounded and shown by the
    // same run, so none of these roundings can fail here.
    figures.negatives = NegativeComponents(s);
    return figures;
}

} // namespace kalibrix
