#include "PictureSurface.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

PictureSurface::PictureSurface() = default;
PictureSurface::~PictureSurface() = default;

void PictureSurface::Cls(QSize size, const QColor& background)
{
    painter_.reset();
    image_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(background);
}

void PictureSurface::Scale(double left, double top, double right, double bottom)
{
    axes_ = Axes{kalibrix::ScaleAxis(left, right, image_.width()),
                 kalibrix::ScaleAxis(top, bottom, image_.height())};
}

QPoint PictureSurface::ToPixel(double x, double y) const
{
    return QPoint(axes_->x.ToPixel(x), axes_->y.ToPixel(y));
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
    if (from.x() == to.x() || from.y() == to.y()) {
        // A level or upright line covers its pixels from end to end, both
        // ends included, exactly as the line drawing does; filling them is
        // several times quicker for the grid's long lines.
        painter.fillRect(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                               QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))),
                         colour);
    } else {
        painter.drawLine(from, to);
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
    QPainter& painter = Painter(colour);
    painter.drawPoint(ToPixel(x, y));
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
