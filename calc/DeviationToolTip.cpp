// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviationToolTip.h"

#include "CalculationState.h"
#include "TrackingCalculator.h"

#include <cmath>

namespace kalibrix {

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

} // namespace kalibrix
