// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kalibrix {

// The deviation graph's vertical axis limit H (Hz) from the smallest
// deviation (first element of elt_sorted) and the largest one (last element).
// M is the larger of floor(largest) and floor(|smallest|); with n the number
// of digits of M written in the general number form and d its leading digit,
// H = (d + 1) * 10^(n - 1), always above M: M = 347 gives 400, M = 0 gives 1.
// An H beyond the range of a double is held at the largest finite double.
double AxisLimit(double smallest, double largest);

} // namespace kalibrix
