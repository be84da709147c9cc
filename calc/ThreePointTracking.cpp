#include "ThreePointTracking.h"

#include "DesignFigures.h"
#include "TrackingCalculator.h"

#include <algorithm>
#include <cmath>

namespace kalibrix {

ThreePointError::ThreePointError(ThreePointFailure failure, int point)
    : std::runtime_error("three-point design"), failure_(failure), point_(point)
{
}

ThreePointFailure ThreePointError::failure() const
{
    return failure_;
}

int ThreePointError::point() const
{
    return point_;
}

namespace {

double GangAt(const CalculationState& s, double f)
{
    return 1.0 / (s.L_b * K * f * f) - (s.C_tb + s.C_sz);
}

PadderCurve Sweep(const CalculationState& s, const PadderOscillator& o)
{
    PadderCurve curve;
    for (int i = 0; i < kSweepSteps; ++i) {
        const double f_be = s.f_max - i * (s.f_max - s.f_min) / 499.0;
        const double C_h = GangAt(s, f_be);
        const double C_par = C_h + o.C_to + s.C_sz;
        const double C = C_par * o.C_p / (C_par + o.C_p);
        const double f_osz = 1.0 / std::sqrt(K * o.L_o * C);
        const double d = std::round(((f_osz - s.f_kf) - f_be) * 100.0) / 100.0;
        curve.deviation[static_cast<std::size_t>(i)] = d;
        const std::optional<double> q = QLimit(f_be, d);
        if (q && (!curve.usableQ || *q < *curve.usableQ))
            curve.usableQ = q;
    }
    curve.largestPositive = *std::ranges::max_element(curve.deviation);
    curve.largestNegative = *std::ranges::min_element(curve.deviation);
    if (curve.usableQ)
        curve.statedQ = RoundDownToTwoSignificant(*curve.usableQ);
    return curve;
}

} // namespace

ThreePointDesign DesignThreePoint(const CalculationState& s, PointPlacement placement,
                                  const std::array<double, 3>& ownPoints)
{
    ThreePointDesign d;
    d.placement = placement;
    const double span = s.f_max - s.f_min;
    d.f = placement == PointPlacement::OwnPoints
              ? ownPoints
              : std::array<double, 3>{s.f_min + 0.07 * span, s.f_min + 0.5 * span,
                                      s.f_max - 0.07 * span};
    for (int i = 0; i < 3; ++i) {
        if (d.f[i] < s.f_min || d.f[i] > s.f_max)
            throw ThreePointError(ThreePointFailure::PointOutsideBand, i);
        if (i < 2 && d.f[i] >= d.f[i + 1])
            throw ThreePointError(ThreePointFailure::PointsNotRising, i);
    }
    std::array<double, 3> fo2{};
    for (std::size_t i = 0; i < 3; ++i) {
        d.C_h[i] = GangAt(s, d.f[i]);
        fo2[i] = (d.f[i] + s.f_kf) * (d.f[i] + s.f_kf);
    }
    const auto& x = d.C_h;
    const double R = (fo2[0] - fo2[1]) * (x[2] - x[1]) / ((fo2[1] - fo2[2]) * (x[1] - x[0]));
    const double C_t = (x[2] - R * x[0]) / (R - 1.0);
    const double a = (1.0 / (x[0] + C_t) - 1.0 / (x[1] + C_t)) / (fo2[0] - fo2[1]);
    const double b = a * fo2[0] - 1.0 / (x[0] + C_t);
    d.oscillator = {a / K, 1.0 / b, C_t - s.C_sz};
    if (!std::isfinite(d.oscillator.L_o) || !std::isfinite(d.oscillator.C_p))
        throw ThreePointError(ThreePointFailure::NonFinite);
    if (d.oscillator.C_to < 0.0)
        throw ThreePointError(ThreePointFailure::NegativeTrimmer);
    d.curve = Sweep(s, d.oscillator);
    d.e12 = {d.oscillator.C_p, d.oscillator, d.curve};
    d.e24 = d.e12;
    return d;
}

} // namespace kalibrix
