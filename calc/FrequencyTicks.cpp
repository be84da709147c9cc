// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrequencyTicks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kalibrix {

std::vector<double> FrequencyTicks(double f_min, double f_max, int most)
{
    std::vector<double> ticks;
    const double width = f_max - f_min;
    if (!(width > 0.0) || !std::isfinite(width) || most < 1)
        return ticks;
    // The step at which `most` ticks would just fit, rounded up to 1, 2, 2.5
    // or 5 times a power of ten.
    const double rough = width / most;
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    constexpr std::array<double, 4> kMantissas{1.0, 2.0, 2.5, 5.0};
    const auto fits =
        std::ranges::find_if(kMantissas, [&](double m) { return m * decade >= rough; });
    const double step = (fits == kMantissas.end() ? 10.0 : *fits) * decade;
    // Whole multiples, so that a tick reads as a round number.
    for (double k = std::ceil(f_min / step); k * step <= f_max; k += 1.0)
        ticks.push_back(k * step);
    return ticks;
}

} // namespace kalibrix
