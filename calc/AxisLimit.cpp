// SPDX-License-Identifier: GPL-3.0-or-later
#include "AxisLimit.h"

#include "NumberText.h"

#include <cmath>
#include <limits>
#include <string>

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

} // namespace kalibrix
