#pragma once

#include <optional>
#include <string>

// The numbers behind the deviation graph: its vertical axis limit, the sweep
// step under the pointer, its tool tip text and the mapping between user
// coordinates and pixels.
namespace kalibrix {

class TrackingCalculator;

// Axis limit H (Hz) from the smallest deviation (first element of elt_sorted)
// and the largest one (last element). M is the larger of floor(largest) and
// floor(|smallest|); with n the number of digits of M written in the general
// number form and d its leading digit, H = (d + 1) * 10^(n - 1), always above
// M: M = 347 gives 400, M = 0 gives 1. An H beyond the range of a double is
// held at the largest finite double.
double AxisLimit(double smallest, double largest);

// x rounded to the nearest integer, an exact half to the even neighbour, if
// that is a sweep step 0..499.
std::optional<int> NearestStep(double x);

// Tool tip for the pointer at user coordinates (x, y) over the graph:
// FormatValue(y), the height in Hz, then three blanks, then FormatMegahertz of
// fbe_curve at NearestStep(x). Nothing while L_b is 0 (nothing computed yet)
// or when x rounds to no step. y must be finite.
std::optional<std::string> DeviationToolTip(const TrackingCalculator& calc, double x, double y);

// One axis of a user coordinate system laid over `pixels` pixels: coordinate
// `first` lies on pixel 0 and `last` on pixel pixels - 1, so both edge values
// land on the outermost pixels and are visible. `last` may be below `first`
// (the axis runs backwards). With span = pixels - 1:
//   pixel       p = (u - first) * span / (last - first)
//   coordinate  u = first * (1 - t) + last * t,   t = p / span
class ScaleAxis {
public:
    // Pixels beyond any area, yet far inside the range of int: mapped pixels
    // are held within +-kPixelLimit before they are rounded to an int.
    static constexpr double kPixelLimit = 1048576.0;

    ScaleAxis(double first, double last, int pixels);

    // Nearest pixel of u; a coordinate far outside the area, however large,
    // gives a pixel far outside it on the same side.
    int ToPixel(double u) const;
    // Coordinate at pixel position p (fractions allowed), held within the
    // finite doubles.
    double ToUser(double p) const;

private:
    double first_;
    double last_;
    double span_;
};

} // namespace kalibrix
