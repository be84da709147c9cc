#include "PictureSurface.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace kalibrix {

PictureSurface::PictureSurface() = default;
PictureSurface::~PictureSurface() = default;

void PictureSurface::Cls(QSize size, const QColor& background, qreal ratio)
{
    painter_.reset();
    size_ = size.expandedTo(QSize(1, 1));
    // Whole device pixels covering the logical area; the painter then works
    // in logical pixels, scaled by the ratio.
    image_ = QImage(qCeil(size_.width() * ratio), qCeil(size_.height() * ratio), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(background);
}

void PictureSurface::Scale(double left, double top, double right, double bottom)
{
    axes_ = Axes{ScaleAxis(left, right, size_.width()),
                 ScaleAxis(top, bottom, size_.height())};
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
        painter.fillRect(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                               QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))),
                         colour);
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
    // One logical pixel, whole at every ratio.
    Painter(colour).fillRect(QRect(ToPixel(x, y), QSize(1, 1)), colour);
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

} // namespace kalibrix
