#include "Pictures.h"

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

namespace {

// The diagram at `ratio` device pixels per logical pixel. At ratio 1 it is
// the shipped 96-dpi image; at any other it is drawn from the same SVG source
// at that resolution (about 1.5 ms at ratio 2 once the font is loaded).
QPixmap DiagramAt(qreal ratio)
{
    if (ratio == 1.0)
        return QPixmap(QStringLiteral(":/circuit.png"));
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
}

QIcon WindowIcon()
{
    InitResources();
    // Added with their sizes, the files are read only when a size is asked
    // for. The 32-pixel icon proper comes first, its larger drawings after.
    QIcon icon;
    icon.addFile(QStringLiteral(":/kalibrix.png"), QSize(32, 32));
    for (const int size : {48, 64, 96, 128})
        icon.addFile(QStringLiteral(":/kalibrix-%1.png").arg(size), QSize(size, size));
    return icon;
}
