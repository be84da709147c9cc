// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The mapping between a picture area's user coordinates and its pixels, on
// which the deviation graph's drawing surface and its pointer position rest.
namespace kalibrix {

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

    // Pixel position of u, fractions kept, held within +-kPixelLimit; a
    // coordinate far outside the area, however large, gives a position far
    // outside it on the same side.
    double ToPosition(double u) const;
    // Nearest pixel of u: ToPosition rounded.
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
