// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ScaleAxis.h"

#include <QColor>
#include <QImage>
#include <QPointF>

#include <memory>
#include <optional>

class QFont;
class QFrame;
class QPainter;
class QString;

namespace kalibrix {

// The drawing operations of a picture box, on an image that the widget keeps
// and paints: clear, a user coordinate system given by two corners, lines,
// single points, a current drawing position and text printed there. Every
// coordinate is a user coordinate once Scale has been called.
//
// Sizes and pixels are logical (96-dpi) pixels. The image holds `ratio`
// device pixels per logical pixel, so that a screen scaled by that ratio
// shows the drawing sharp: a level or upright line one logical pixel wide,
// and a single point, covers the whole number of device pixels nearest to
// `ratio` (exactly `ratio` at a whole ratio), the same for every line; sloped
// lines and text are drawn at device resolution.
class PictureSurface {
public:
    PictureSurface();
    ~PictureSurface();

    // Clears to `background` at `size` logical pixels (at least one by one),
    // drawn at `ratio` device pixels per logical pixel.
    void Cls(QSize size, const QColor& background, qreal ratio = 1.0);
    // (left, top) lies on the top-left logical pixel, (right, bottom) on the
    // bottom-right one; either axis may run backwards.
    void Scale(double left, double top, double right, double bottom);

    // A line in `colour`; its end becomes the current position.
    void Line(double x1, double y1, double x2, double y2, const QColor& colour);
    // A line from the current position to (x, y), which becomes current.
    void LineTo(double x, double y, const QColor& colour);
    // A single point, which becomes the current position.
    void PSet(double x, double y, const QColor& colour);
    // Text with its top-left corner at the current position, no background.
    void Print(const QString& text, const QFont& font, const QColor& colour);

    // User coordinates of a position in logical pixels; nothing before the
    // first Scale.
    std::optional<QPointF> UserPoint(QPointF pixel) const;

    // Completes the pending operations, so that image() holds them; drawing
    // may go on afterwards.
    void Finish();
    // The drawing as of the last Cls or Finish, its device pixel ratio set.
    const QImage& image() const { return image_; }

private:
    struct Axes {
        ScaleAxis x;
        ScaleAxis y;
    };

    QPoint ToPixel(double x, double y) const;
    // The exact position of (x, y) in logical coordinates, where logical
    // pixel p spans p .. p + 1.
    QPointF ToPosition(double x, double y) const;
    // The painter, its pen in `colour`.
    QPainter& Painter(const QColor& colour);

    QImage image_;
    QSize size_; // logical pixels
    // One painter serves all the drawing operations from the first after Cls
    // until Finish: opening a painter for each line of the graph took longer
    // than drawing the line. Declared after image_, so that it ends before
    // the image goes.
    std::unique_ptr<QPainter> painter_;
    std::optional<Axes> axes_;
    double currentX_ = 0.0;
    double currentY_ = 0.0;
};

// While the picture box holds the focus, the style's focus indicator drawn
// over its border, so that a keyboard user sees where the focus is; what the
// box shows inside its border stays as it is.
void PaintFocusFrame(const QFrame& box, QPainter& painter);

} // namespace kalibrix
