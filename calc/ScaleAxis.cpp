// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScaleAxis.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kalibrix {

ScaleAxis::ScaleAxis(double first, double last, int pixels)
    : first_(first), last_(last), span_(pixels > 1 ? pixels - 1 : 1)
{
}

double ScaleAxis::ToPosition(double u) const
{
    // Halving is exact and keeps both differences finite even when the
    // coordinates span the whole range of a double. Dividing before scaling
    // keeps a coordinate inside the area finite; one far outside may still
    // overflow to an infinity, which the clamp turns into the limit.
    const double p = (u / 2 - first_ / 2) / (last_ / 2 - first_ / 2) * span_;
    return std::clamp(p, -kPixelLimit, kPixelLimit);
}

int ScaleAxis::ToPixel(double u) const
{
    return static_cast<int>(std::lround(ToPosition(u)));
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
