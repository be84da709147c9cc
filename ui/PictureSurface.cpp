// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureSurface.h"

#include <QFontMetrics>
#include <QFrame>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace kalibrix {

namespace {

// The level or upright line over logical pixels `from` to `to`, both
// included, one logical pixel thick (a single point when they are equal), as
// a rectangle in logical coordinates whose edges lie on device pixel edges at
// `ratio` device pixels per logical pixel. Along the line it covers its
// logical pixels' device pixels, edges rounded. Across it is the whole number
// of device pixels nearest to one logical pixel, at least one, centred on its
// logical pixel: at a fractional ratio a logical pixel covers one or two
// device pixels depending on where it lies (at 1.5, rows 0 .. 1.5 and
// 1.5 .. 3), so lines alike in the drawing would differ on screen. At a whole
// ratio this is exactly the logical pixels' device pixels.
QRectF DeviceAlignedLine(QPoint from, QPoint to, qreal ratio)
{
    const auto span = [ratio](int a, int b) -> std::pair<double, double> {
        if (a == b) {
            const int thickness = std::max(1, qRound(ratio));
            const double first = std::round((a + 0.5) * ratio - thickness / 2.0);
            return {first, first + thickness};
        }
        return {std::round(std::min(a, b) * ratio), std::round((std::max(a, b) + 1) * ratio)};
    };
    const auto [left, right] = span(from.x(), to.x());
    const auto [top, bottom] = span(from.y(), to.y());
    return QRectF(QPointF(left, top) / ratio, QPointF(right, bottom) / ratio);
}

} // namespace

PictureSurface::PictureSurface() = default;
PictureSurface::~PictureSurface() = default;

void PictureSurface::Cls(QSize size, const QColor& background, qreal ratio)
{
    painter_.reset();
    size_ = size.expandedTo(QSize(1, 1));
    // Whole device pixels covering the logical area; the painter then works
    // in logical pixels, scaled by the ratio.
    image_ =
        QImage(qCeil(size_.width() * ratio), qCeil(size_.height() * ratio), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(background);
}

void PictureSurface::Scale(double left, double top, double right, double bottom)
{
    axes_ = Axes{ScaleAxis(left, right, size_.width()), ScaleAxis(top, bottom, size_.height())};
}

QPoint PictureSurface::ToPixel(double x, double y) const
{
    return QPoint(axes_->x.ToPixel(x), axes_->y.ToPixel(y));
}

QPointF PictureSurface::ToPosition(double x, double y) const
{
    // Logical pixel p spans p .. p + 1 in the painter's coordinates.
    return QPointF(axes_->x.ToPosition(x) + 0.5, axes_->y.ToPosition(y) + 0.5);
}

QPainter& PictureSurface::Painter(const QColor& colour)
{
    if (!painter_)
        painter_ = std::make_unique<QPainter>(&image_);
    // Setting a pen builds a new one; most operations keep the colour.
    if (painter_->pen().color() != colour)
        painter_->setPen(colour);
    return *painter_;
}

void PictureSurface::Finish()
{
    painter_.reset();
}

void PictureSurface::Line(double x1, double y1, double x2, double y2, const QColor& colour)
{
    const QPoint from = ToPixel(x1, y1);
    const QPoint to = ToPixel(x2, y2);
    QPainter& painter = Painter(colour);
    // At one device pixel per logical pixel a line runs between whole pixels.
    // At any other ratio only lines level or upright in user coordinates (the
    // grid) keep to whole logical pixels; any other runs between the exact
    // positions of its ends at device resolution, so that the curve follows
    // its values instead of a staircase of enlarged pixels.
    const bool wholePixels = image_.devicePixelRatio() == 1.0;
    const bool level = from.y() == to.y() && (wholePixels || y1 == y2);
    const bool upright = from.x() == to.x() && (wholePixels || x1 == x2);
    if (level || upright) {
        // A level or upright line covers its pixels from end to end, both
        // ends included, exactly as the line drawing does; filling them is
        // several times quicker for the grid's long lines.
        painter.fillRect(DeviceAlignedLine(from, to, image_.devicePixelRatio()), colour);
    } else if (wholePixels) {
        painter.drawLine(from, to);
    } else {
        painter.drawLine(ToPosition(x1, y1), ToPosition(x2, y2));
    }
    currentX_ = x2;
    currentY_ = y2;
}

void PictureSurface::LineTo(double x, double y, const QColor& colour)
{
    Line(currentX_, currentY_, x, y, colour);
}

void PictureSurface::PSet(double x, double y, const QColor& colour)
{
    // One logical pixel, as thick as a level or upright line at every ratio.
    const QPoint pixel = ToPixel(x, y);
    Painter(colour).fillRect(DeviceAlignedLine(pixel, pixel, image_.devicePixelRatio()), colour);
    currentX_ = x;
    currentY_ = y;
}

void PictureSurface::Print(const QString& text, const QFont& font, const QColor& colour)
{
    QPainter& painter = Painter(colour);
    painter.setFont(font);
    const QPoint topLeft = ToPixel(currentX_, currentY_);
    painter.drawText(topLeft + QPoint(0, QFontMetrics(font, &image_).ascent()), text);
}

std::optional<QPointF> PictureSurface::UserPoint(QPointF pixel) const
{
    if (!axes_)
        return std::nullopt;
    return QPointF(axes_->x.ToUser(pixel.x()), axes_->y.ToUser(pixel.y()));
}

void PaintFocusFrame(const QFrame& box, QPainter& painter)
{
    if (!box.hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(&box);
    option.backgroundColor = box.palette().color(box.backgroundRole());
    // On every line of the border: the style's indicator is one pixel wide,
    // and on one line of the dark sunken frame alone it is hard to see. The
    // clip keeps the style's drawing (rounded corners, for one) off the
    // picture.
    painter.save();
    painter.setClipRegion(QRegion(box.rect()) - QRegion(box.contentsRect()));
    for (int inset = 0; inset < box.frameWidth(); ++inset) {
        option.rect = box.rect().adjusted(inset, inset, -inset, -inset);
        box.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &box);
    }
    painter.restore();
}

} // namespace kalibrix
