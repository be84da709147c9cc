// SPDX-License-Identifier: GPL-3.0-or-later
// The window's pictures beside the graph at the device pixel ratio of every
// screen: the circuit diagram drawn from its SVG, the graph and the diagram
// drawn anew when moved to a screen of another ratio, and the window icon
// from the image made for each ratio. tests/CMakeLists.txt runs the screen
// tests a second time on two screens scaled by 2 and by 1.5.

#include "GraphPixels.h"
#include "Pictures.h"

#include <QColorSpace>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

// Device pixels of the circuit diagram, 408 x 130 logical pixels, at ratio r.
QSize DiagramPixels(qreal r)
{
    return QSize(qCeil(408 * r), qCeil(130 * r));
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void diagramOnEveryScreen_data() { AddScreenRows(); }
    void diagramOnEveryScreen();
    void movedToAnotherRatio();
    void windowIcon_data();
    void windowIcon();
};

void TestPictures::diagramOnEveryScreen()
{
    QFETCH(int, screen);

    QScreen* const on = QGuiApplication::screens().at(screen);
    CircuitDiagram diagram;
    ShowOn(diagram, on);
    QVERIFY(QTest::qWaitForWindowExposed(&diagram));
    const qreal r = on->devicePixelRatio();
    QTRY_COMPARE(diagram.pixmap().devicePixelRatio(), r);
    QCOMPARE(diagram.pixmap().size(), DiagramPixels(r));

    // At ratio 1 the shipped 96-dpi image; at any other the same drawing at
    // that resolution, which brought down to 408 x 130 is that image again
    // but for its blended edges.
    const QImage shipped =
        QImage(QStringLiteral(":/circuit.png")).convertToFormat(QImage::Format_RGB32);
    const QImage shown =
        diagram.pixmap()
            .toImage()
            .scaled(shipped.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    if (r == 1.0) {
        QCOMPARE(shown, shipped);
        return;
    }
    double difference = 0.0;
    for (int y = 0; y < shipped.height(); ++y)
        for (int x = 0; x < shipped.width(); ++x)
            difference += std::abs(qGray(shown.pixel(x, y)) - qGray(shipped.pixel(x, y)));
    difference /= 255.0 * shipped.width() * shipped.height();
    QVERIFY2(difference < 0.02, qPrintable(QString::number(difference)));
}

void TestPictures::movedToAnotherRatio()
{
    // From the screen of the lowest ratio to that of the highest, where a
    // drawing kept at the old ratio would show enlarged.
    QList<QScreen*> screens = QGuiApplication::screens();
    std::ranges::sort(screens, {}, &QScreen::devicePixelRatio);
    QScreen* const from = screens.front();
    QScreen* const to = screens.back();
    if (from->devicePixelRatio() == to->devicePixelRatio())
        QSKIP("no screen of another ratio (the scaled run has one)");

    GraphUnderTest g(from);
    CircuitDiagram diagram;
    ShowOn(diagram, from);
    QVERIFY(QTest::qWaitForWindowExposed(&g.graph));
    QVERIFY(QTest::qWaitForWindowExposed(&diagram));
    g.DrawWorkedExample();
    const SweepTable drawn = g.calc.state.elt_curve;
    QTRY_COMPARE(diagram.pixmap().devicePixelRatio(), from->devicePixelRatio());

    // New tables, not drawn: the move shows the graph drawn before, drawn
    // anew at the other screen's ratio.
    g.FillTables();
    ShowOn(g.graph, to);
    ShowOn(diagram, to);
    const qreal r = to->devicePixelRatio();
    QTRY_COMPARE(g.graph.devicePixelRatioF(), r);
    const Picture picture(g.graph);
    const QString fault = GridFault(picture);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(FarFromCurve(picture, CurveAt(picture, drawn, 80000.0)).size(), 0);

    QTRY_COMPARE(diagram.pixmap().devicePixelRatio(), r);
    QCOMPARE(diagram.pixmap().size(), DiagramPixels(r));
}

// clang-format off
void TestPictures::windowIcon_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QString>("file");

    QTest::newRow("scale 1: the 32 px icon") << 1.0 << ":/kalibrix.png";
    QTest::newRow("scale 1.5: 48 px") << 1.5 << ":/kalibrix-48.png";
    QTest::newRow("scale 2: 64 px") << 2.0 << ":/kalibrix-64.png";
    QTest::newRow("scale 4: 128 px") << 4.0 << ":/kalibrix-128.png";
}
// clang-format on

void TestPictures::windowIcon()
{
    QFETCH(qreal, ratio);
    QFETCH(QString, file);

    // The icon's 32 logical pixels come from the image made for the ratio,
    // not from another size scaled.
    const QPixmap pixmap = WindowIcon().pixmap(QSize(32, 32), ratio);
    QCOMPARE(pixmap.devicePixelRatio(), ratio);
    // The pixels only: the icon does not keep the file's colour space.
    const auto pixels = [](const QImage& image) {
        QImage plain = image.convertToFormat(QImage::Format_ARGB32);
        plain.setColorSpace(QColorSpace());
        plain.setDevicePixelRatio(1.0);
        return plain;
    };
    QCOMPARE(pixels(pixmap.toImage()), pixels(QImage(file)));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
