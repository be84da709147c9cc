#include "GraphScale.h"

#include "CalculationState.h"
#include "NumberText.h"
#include "TrackingCalculator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kalibrix {

double AxisLimit(double smallest, double largest)
{
    const double A = std::floor(largest);
    const double B = std::floor(std::fabs(smallest));
    const double M = A > B ? A : B;

    // M is a whole number, never negative: its general form is digits only.
    const std::string digits = FormatGeneral(M, ".");
    // (d + 1) * 10^(n - 1), multiplying n - 1 times rather than n times and
    // dividing by 10, so that no step overflows while the result still fits.
    double H = (digits.front() - '0') + 1.0;
    for (std::size_t k = 1; k < digits.size(); ++k)
        H *= 10.0;
    return std::isinf(H) ? std::numeric_limits<double>::max() : H;
}

std::optional<int> NearestStep(double x)
{
    double r = std::floor(x);
    // Exact for every double: x and floor(x) differ by less than one.
    const double fraction = x - r;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    if (!(r >= 0.0 && r <= kSweepSteps - 1))
        return std::nullopt;
    return static_cast<int>(r);
}

std::optional<std::string> DeviationToolTip(const TrackingCalculator& calc, double x, double y)
{
    if (calc.state.L_b == 0.0)
        return std::nullopt;
    const std::optional<int> step = NearestStep(x);
    if (!step)
        return std::nullopt;
    return calc.FormatValue(y) + "   " + calc.FormatMegahertz(TableAt(calc.state.fbe_curve, *step));
}

ScaleAxis::ScaleAxis(double first, double last, int pixels)
    : first_(first), last_(last), span_(pixels > 1 ? pixels - 1 : 1)
{
}

int ScaleAxis::ToPixel(double u) const
{
    // Halving is exact and keeps both differences finite even when the
    // coordinates span the whole range of a double. Dividing before scaling
    // keeps a coordinate inside the area finite; one far outside may still
    // overflow to an infinity, which the clamp turns into the limit.
    const double p = (u / 2 - first_ / 2) / (last_ / 2 - first_ / 2) * span_;
    return static_cast<int>(std::lround(std::clamp(p, -kPixelLimit, kPixelLimit)));
}

double ScaleAxis::ToUser(double p) const
{
    const double t = p / span_;
    // A weighted mean of the edge values: finite inside the area, and at worst
    // an infinity of the right sign beyond it.
    const double u = first_ * (1.0 - t) + last_ * t;
    constexpr double kMax = std::numeric_limits<double>::max();
    return std::clamp(u, -kMax, kMax);
}

} // namespace kalibrix
