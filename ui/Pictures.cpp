// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

#include "PictureSurface.h"

#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QtMath>

// The icon and the diagram are compiled into the static library that holds
// this file; resources of a static library are registered by hand, outside
// any namespace. Registering them again changes nothing.
static void InitResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace kalibrix {

namespace {

// A PNG image compiled into the program. Told the format and kept from
// guessing, the reader goes straight to Qt's own PNG decoder; left to guess,
// it first loads every installed image-format plugin (SVG, JPEG, GIF, ICO and
// the libraries behind them) to ask each whether it reads PNG.
QPixmap ResourcePng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// The diagram at `ratio` device pixels per logical pixel. At ratio 1 it is
// the shipped 96-dpi image; at any other it is drawn from the same SVG source
// at that resolution (about 1.5 ms at ratio 2 once the font is loaded).
QPixmap DiagramAt(qreal ratio)
{
    if (ratio == 1.0)
        return ResourcePng(QStringLiteral(":/circuit.png"));
    QSvgRenderer svg(QStringLiteral(":/circuit.svg"));
    const QSize size = svg.defaultSize();
    QImage image(qCeil(size.width() * ratio), qCeil(size.height() * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    svg.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

CircuitDiagram::CircuitDiagram(QWidget* parent) : QLabel(parent)
{
    InitResources();
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CircuitDiagram::paintEvent(QPaintEvent* event)
{
    // Made when first painted, once the window is on its screen and its ratio
    // known, and made again when the window moves to a screen of another
    // ratio: nothing is drawn for a ratio that is never shown, and nothing
    // before the window appears.
    if (ratio_ != devicePixelRatioF()) {
        ratio_ = devicePixelRatioF();
        setPixmap(DiagramAt(ratio_));
    }
    QLabel::paintEvent(event);
    QPainter painter(this);
    PaintFocusFrame(*this, painter);
}

QIcon WindowIcon()
{
    InitResources();
    // The 32-pixel icon proper comes first, its larger drawings after. All
    // are read at once: the window system is handed every size as the
    // window is shown.
    QIcon icon;
    icon.addPixmap(ResourcePng(QStringLiteral(":/kalibrix.png")));
    for (const int size : {48, 64, 96, 128})
        icon.addPixmap(ResourcePng(QStringLiteral(":/kalibrix-%1.png").arg(size)));
    return icon;
}

} // namespace kalibrix
