#include "DesignFigures.h"

#include "TrackingCalculator.h"

#include <cmath>
#include <utility>

namespace kalibrix {

double RoundDownToTwoSignificant(double x)
{
    // Outside this range the powers of ten below would overflow; no Q lies there.
    if (!(x > 1e-290 && x < 1e290))
        return x;
    // x = m * 10^e with m a whole number 10..99. Scaling by a power of ten,
    // exact as a double up to 10^22, rounds once, by half a unit in the last
    // place at most.
    const auto scaled = [x](int e) {
        return e < 0 ? x * std::pow(10.0, -e) : x / std::pow(10.0, e);
    };
    int e = static_cast<int>(std::floor(std::log10(x))) - 1;
    double m = std::floor(scaled(e));
    if (m >= 100.0)
        m = std::floor(scaled(++e));
    else if (m < 10.0)
        m = std::floor(scaled(--e));
    return e < 0 ? m / std::pow(10.0, -e) : m * std::pow(10.0, e);
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
    if (const std::optional<SweepPoint>& worst = figures.worstRelative) {
        figures.usableQ = worst->frequency / (2.0 * std::abs(worst->deviation));
        figures.usableQSafe = RoundDownToTwoSignificant(*figures.usableQ);
    }

    // The values as the window shows them: each was rounded and shown by the
    // same run, so none of these roundings can fail here.
    const std::pair<Component, double> shown[] = {
        {Component::Cp_b, TrackingCalculator::RoundToPicofarad(s.C_tb)},
        {Component::Cp_o, TrackingCalculator::RoundToPicofarad(s.C_osz - s.C_sz)},
        {Component::Ch1, TrackingCalculator::RoundToPicofarad(s.C_hp1)},
        {Component::Ch2, TrackingCalculator::RoundToPicofarad(s.C_hp2)},
    };
    for (const auto& [component, picofarad] : shown)
        if (picofarad < 0.0)
            figures.negatives.push_back({component, picofarad});
    return figures;
}

} // namespace kalibrix
