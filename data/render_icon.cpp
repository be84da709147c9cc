// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the program's SVG icon into one square PNG of the icon theme:
//   kalibrix_render_icon <drawing.svg> <size in pixels> <output.png>
// Run by the build for each size the hicolor theme gets, so that every PNG
// comes from the same drawing as the window icon.

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <drawing.svg> <size> <output.png>\n", argv[0]);
        return 2;
    }
    bool sizeOk = false;
    const int size = QByteArray(argv[2]).toInt(&sizeOk);
    // The bound keeps a mistyped size from asking for a huge image.
    if (!sizeOk || size < 1 || size > 1024) {
        std::fprintf(stderr, "%s: size must be a whole number of pixels from 1 to 1024\n", argv[0]);
        return 2;
    }

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: cannot read the drawing %s\n", argv[0], argv[1]);
        return 1;
    }
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);

    // Transparent where the drawing does not paint; premultiplied because
    // that is the format the raster painter works in.
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();

    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
