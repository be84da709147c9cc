#include "PictureSurface.h"

#include <QFontMetrics>
#include <QPainter>

void PictureSurface::Cls(QSize size, const QColor& background)
{
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

void PictureSurface::Line(double x1, double y1, double x2, double y2, const QColor& colour)
{
    QPainter painter(&image_);
    painter.setPen(colour);
    painter.drawLine(ToPixel(x1, y1), ToPixel(x2, y2));
    currentX_ = x2;
    currentY_ = y2;
}

void PictureSurface::LineTo(double x, double y, const QColor& colour)
{
    Line(currentX_, currentY_, x, y, colour);
}

void PictureSurface::PSet(double x, double y, const QColor& colour)
{
    QPainter painter(&image_);
    painter.setPen(colour);
    painter.drawPoint(ToPixel(x, y));
    currentX_ = x;
    currentY_ = y;
}

void PictureSurface::Print(const QString& text, const QFont& font, const QColor& colour)
{
    QPainter painter(&image_);
    painter.setFont(font);
    painter.setPen(colour);
    const QPoint topLeft = ToPixel(currentX_, currentY_);
    painter.drawText(topLeft + QPoint(0, QFontMetrics(font, &image_).ascent()), text);
}

std::optional<QPointF> PictureSurface::UserPoint(QPointF pixel) const
{
    if (!axes_)
        return std::nullopt;
    return QPointF(axes_->x.ToUser(pixel.x()), axes_->y.ToUser(pixel.y()));
}
