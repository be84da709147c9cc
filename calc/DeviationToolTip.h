// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace kalibrix {

class TrackingCalculator;

// x rounded to the nearest integer, an exact half to the even neighbour, if
// that is a sweep step 0..499.
std::optional<int> NearestStep(double x);

// Tool tip for the pointer at user coordinates (x, y) over the deviation
// graph: FormatValue(y), the height in Hz, then three blanks, then
// FormatMegahertz of fbe_curve at NearestStep(x). Nothing while L_b is 0
// (nothing computed yet) or when x rounds to no step. y must be finite.
std::optional<std::string> DeviationToolTip(const TrackingCalculator& calc, double x, double y);

} // namespace kalibrix
