// SPDX-License-Identifier: GPL-3.0-or-later
// pct_main as the window uses it: the worked example's graph checked by its
// pixels (grid, magenta zero line, curve, captions), nothing drawn before a
// calculation, a click drawing anew from the tables, the pointer's tool tip,
// and tables holding values far beyond the axis; the lines of the drawing
// surface against the toolkit's own line drawing; and the worked example's
// graph at the device pixel ratio of every screen, which tests/CMakeLists.txt
// runs a second time on two screens scaled by 2 and by 1.5.

#include "GraphPixels.h"

#include <QPainter>
#include <QToolTip>

#include <limits>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

constexpr double kMax = std::numeric_limits<double>::max();

bool Near(const QList<int>& found, double expected, double tolerance)
{
    return std::any_of(found.begin(), found.end(),
                       [&](int v) { return std::abs(v - expected) <= tolerance; });
}

QString Listed(const QList<int>& values)
{
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts.join(' ');
}

} // namespace

class TestGraph : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void workedExampleGrid();
    void workedExampleCurve_data();
    void workedExampleCurve();
    void workedExampleCrossesZero_data();
    void workedExampleCrossesZero();
    void captions_data();
    void captions();
    void nothingBeforeCalculation();
    void clickWithoutResultsKeepsGraph();
    void clickDrawsAnewFromTables();
    void toolTip_data();
    void toolTip();
    void toolTipUnchanged_data();
    void toolTipUnchanged();
    void visibleToolTipFollowsPointer();
    void extremeTables_data();
    void extremeTables();
    void surfaceLines_data();
    void surfaceLines();
    void workedExampleOnEveryScreen_data() { AddScreenRows(); }
    void workedExampleOnEveryScreen();
};

void TestGraph::workedExampleGrid()
{
    GraphUnderTest g;
    QVERIFY(QTest::qWaitForWindowExposed(&g.graph));
    g.DrawWorkedExample();
    const Picture picture(g.graph);
    if (qEnvironmentVariableIsSet("KALIBRIX_GRAPH_PNG"))
        g.graph.grab().save(qEnvironmentVariable("KALIBRIX_GRAPH_PNG"));

    // H = 80000: lines every 16000 Hz from -80000 up to 80000.
    const QList<int> rows = picture.FullRows();
    QCOMPARE(rows.size(), 11);
    for (int k = 0; k <= 10; ++k)
        QVERIFY2(Near(rows, picture.RowOf(-80000.0 + 16000.0 * k, 80000.0), 1.0),
                 qPrintable(Listed(rows)));

    // Steps 0, 50, ..., 450; the line at step 500 lies beyond the left edge.
    const QList<int> columns = picture.FullColumns();
    QCOMPARE(columns.size(), 10);
    for (int step = 0; step <= 450; step += 50)
        QVERIFY2(Near(columns, picture.ColumnOf(step), 1.0), qPrintable(Listed(columns)));

    // The zero line, bright magenta, across the middle and nowhere else.
    const int zeroRow = qRound(picture.RowOf(0.0, 80000.0));
    QCOMPARE(zeroRow, (picture.height() - 1) / 2);
    int magenta = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.Magenta(x, y)) {
                QCOMPARE(y, zeroRow);
                ++magenta;
            }
    QVERIFY(magenta >= 0.9 * picture.width());
}

// clang-format off
void TestGraph::workedExampleCurve_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("inward"); // column offset from the step's own, off the edge grid line
    QTest::addColumn<double>("deviation");

    QTest::newRow("step 0, f_max: right edge, below zero") << 0.0 << -1 << -60984.26;
    QTest::newRow("step 256: the peak") << 256.0 << 0 << 70217.63;
    QTest::newRow("step 499, f_min: left edge, the minimum") << 499.0 << 1 << -74580.2;
}
// clang-format on

void TestGraph::workedExampleCurve()
{
    QFETCH(double, step);
    QFETCH(int, inward);
    QFETCH(double, deviation);

    GraphUnderTest g;
    g.DrawWorkedExample();
    const Picture picture(g.graph);

    // In this column the curve is nearly level: it shows within a few pixels
    // of the deviation's row and nowhere else.
    const QList<int> rows = picture.CurveRowsAt(qRound(picture.ColumnOf(step)) + inward);
    QVERIFY(!rows.isEmpty());
    const double expected = picture.RowOf(deviation, 80000.0);
    for (int y : rows)
        QVERIFY2(
            std::abs(y - expected) <= 3.0,
            qPrintable(QStringLiteral("rows %1, expected %2").arg(Listed(rows)).arg(expected)));
}

// clang-format off
void TestGraph::workedExampleCrossesZero_data()
{
    QTest::addColumn<double>("step");

    QTest::newRow("near f_h2, 1.459 MHz: steps 72..73") << 72.5;
    QTest::newRow("near f_h1, 0.681 MHz: steps 426..427") << 426.5;
}
// clang-format on

void TestGraph::workedExampleCrossesZero()
{
    QFETCH(double, step);

    GraphUnderTest g;
    g.DrawWorkedExample();
    const Picture picture(g.graph);

    // The curve, drawn after the zero line, replaces its magenta where it crosses.
    const int zeroRow = qRound(picture.RowOf(0.0, 80000.0));
    const QList<int> grid = picture.FullColumns();
    QList<int> crossings;
    for (int x = 0; x < picture.width(); ++x)
        if (!grid.contains(x) && picture.Foreground(x, zeroRow))
            crossings << x;
    QVERIFY2(Near(crossings, picture.ColumnOf(step), 3.0), qPrintable(Listed(crossings)));
}

// clang-format off
void TestGraph::captions_data()
{
    QTest::addColumn<QRect>("area"); // inner pixels
    QTest::addColumn<bool>("inked");

    // " A bemenőkör elhangolódása" from the top-left corner; the curve peaks
    // below row 16, so the rows above it hold nothing but the caption.
    QTest::newRow("title at the top-left") << QRect(1, 1, 150, 14) << true;
    QTest::newRow("nothing beside the title") << QRect(330, 1, 60, 14) << false;
    // "f_hangolás" below the zero line from step 35 on; the curve is far
    // below there and far above at steps 112..151.
    QTest::newRow("f_hangolás at step 35") << QRect(750, 156, 50, 12) << true;
    QTest::newRow("nothing on the zero line elsewhere") << QRect(560, 156, 60, 12) << false;
}
// clang-format on

void TestGraph::captions()
{
    QFETCH(QRect, area);
    QFETCH(bool, inked);

    GraphUnderTest g;
    g.DrawWorkedExample();
    const Picture picture(g.graph);
    const int n = picture.InkedOffGrid(area);
    if (inked)
        QVERIFY2(n >= 30, qPrintable(QString::number(n)));
    else
        QCOMPARE(n, 0);
}

void TestGraph::nothingBeforeCalculation()
{
    GraphUnderTest g;
    QVERIFY(QTest::qWaitForWindowExposed(&g.graph));
    g.FillTables();
    g.calc.state.L_b = 0.0;
    const QImage empty = Picture(g.graph).image();

    g.Click();
    QCOMPARE(Picture(g.graph).image(), empty);
    g.graph.DrawDeviationGraph();
    QCOMPARE(Picture(g.graph).image(), empty);
}

void TestGraph::clickWithoutResultsKeepsGraph()
{
    GraphUnderTest g;
    QVERIFY(QTest::qWaitForWindowExposed(&g.graph));
    g.DrawWorkedExample();
    const QImage drawn = Picture(g.graph).image();

    g.calc.state.L_b = 0.0;
    g.calc.state.elt_curve.fill(0.0);
    g.Click();
    QCOMPARE(Picture(g.graph).image(), drawn);
}

void TestGraph::clickDrawsAnewFromTables()
{
    GraphUnderTest g;
    QVERIFY(QTest::qWaitForWindowExposed(&g.graph));
    g.DrawWorkedExample();
    const QImage workedExample = Picture(g.graph).image();

    // New tables: H = 400 and a level curve at 100 Hz. A repaint still shows
    // the drawing made before; the click draws from the tables.
    g.FillTables();
    g.calc.state.elt_curve.fill(100.0);
    g.graph.repaint();
    QCOMPARE(Picture(g.graph).image(), workedExample);

    g.Click();
    const Picture picture(g.graph);
    const QList<int> rows = picture.FullRows();
    QCOMPARE(rows.size(), 12);
    QVERIFY2(Near(rows, picture.RowOf(100.0, 400.0), 1.0), qPrintable(Listed(rows)));
}

// clang-format off
void TestGraph::toolTip_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<double>("fx"); // share of the inner width from the left
    QTest::addColumn<double>("fy"); // share of the inner height from the top
    QTest::addColumn<QString>("text");

    // H = 400, so Y = 400 (1 - 2 fy); X = 499 (1 - fx).
    QTest::newRow("top-right: H, step 0") << "." << 1.0 << 0.0 << "400.00   1.000";
    QTest::newRow("bottom-left: -H, step 499") << "." << 0.0 << 1.0 << "-400.00   1.499";
    QTest::newRow("centre: X 249.5 to even 250") << "." << 0.5 << 0.5 << "0.00   1.250";
    QTest::newRow("X 374.25, Y 200") << "." << 0.25 << 0.25 << "200.00   1.374";
    QTest::newRow("comma: X 124.75, Y -200") << "," << 0.75 << 0.75 << "-200,00   1,125";
    QTest::newRow("below the area, X inside") << "." << 0.5 << 1.25 << "-600.00   1.250";
}
// clang-format on

void TestGraph::toolTip()
{
    QFETCH(QString, separator);
    QFETCH(double, fx);
    QFETCH(double, fy);
    QFETCH(QString, text);

    GraphUnderTest g;
    g.calc.decimalSeparator = separator.toStdString();
    g.FillTables();
    g.graph.DrawDeviationGraph();
    g.MoveTo(g.Inner(fx, fy));
    QCOMPARE(g.graph.toolTip(), text);
}

// clang-format off
void TestGraph::toolTipUnchanged_data()
{
    QTest::addColumn<bool>("drawFirst");
    QTest::addColumn<bool>("computedAtMove");
    QTest::addColumn<QPoint>("offset"); // pixels from the inner area's right edge, middle height
    QTest::addColumn<QString>("text");

    const QString centre = QStringLiteral("0.00   1.250");
    QTest::newRow("nothing computed yet") << false << false << QPoint(-402, 0) << QString();
    QTest::newRow("L_b set, no graph drawn yet") << false << true << QPoint(-402, 0) << QString();
    QTest::newRow("L_b back to 0 after a graph") << true << false << QPoint(-201, 0) << centre;
    QTest::newRow("right of the area: X -0.62 to -1") << true << true << QPoint(1, 0) << centre;
    QTest::newRow("left of the area: X beyond 499") << true << true << QPoint(-810, 0) << centre;
}
// clang-format on

void TestGraph::toolTipUnchanged()
{
    QFETCH(bool, drawFirst);
    QFETCH(bool, computedAtMove);
    QFETCH(QPoint, offset);
    QFETCH(QString, text);

    GraphUnderTest g;
    QVERIFY(g.graph.toolTip().isEmpty());
    g.FillTables();
    if (drawFirst) {
        g.graph.DrawDeviationGraph();
        g.MoveTo(g.Inner(0.5, 0.5));
    }
    if (!computedAtMove)
        g.calc.state.L_b = 0.0;
    g.MoveTo(g.Inner(1.0, 0.5) + offset);
    QCOMPARE(g.graph.toolTip(), text);
}

void TestGraph::visibleToolTipFollowsPointer()
{
    GraphUnderTest g;
    QVERIFY(QTest::qWaitForWindowExposed(&g.graph));
    g.FillTables();
    g.graph.DrawDeviationGraph();
    g.MoveTo(g.Inner(0.5, 0.5));
    QToolTip::showText(g.graph.mapToGlobal(g.Inner(0.5, 0.5)), g.graph.toolTip(), &g.graph);
    QVERIFY(QToolTip::isVisible());

    g.MoveTo(g.Inner(1.0, 0.0));
    QCOMPARE(QToolTip::text(), QStringLiteral("400.00   1.000"));
    QToolTip::hideText();
}

// clang-format off
void TestGraph::extremeTables_data()
{
    QTest::addColumn<double>("smallest");
    QTest::addColumn<double>("largest");
    QTest::addColumn<double>("even"); // elt_curve at even steps
    QTest::addColumn<double>("odd");  // and at odd steps

    QTest::newRow("1e300 with H 400") << -347.5 << 212.3 << 1e300 << 1e300;
    QTest::newRow("alternating largest doubles with H 400") << -347.5 << 212.3 << kMax << -kMax;
    QTest::newRow("H at the largest double") << -kMax << kMax << -kMax << 5.0;
    QTest::newRow("mixed: H 2e300, curve inside") << -1e300 << 0.0 << 5e299 << -4e299;
}
// clang-format on

void TestGraph::extremeTables()
{
    QFETCH(double, smallest);
    QFETCH(double, largest);
    QFETCH(double, even);
    QFETCH(double, odd);

    GraphUnderTest g;
    CalculationState& s = g.calc.state;
    s.L_b = 1.0;
    s.elt_sorted.front() = smallest;
    s.elt_sorted.back() = largest;
    for (int i = 0; i < kSweepSteps; ++i)
        s.elt_curve[static_cast<std::size_t>(i)] = i % 2 == 0 ? even : odd;
    g.graph.DrawDeviationGraph();

    const Picture picture(g.graph);
    QVERIFY(picture.FullColumns().contains(picture.width() - 1));
    int magenta = 0;
    for (int x = 0; x < picture.width(); ++x)
        magenta += picture.Magenta(x, qRound(picture.RowOf(0.0, 1.0)));
    QVERIFY(magenta > 0);

    // The pointer at the corners and beyond them: finite coordinates only.
    for (const QPoint& corner : {g.Inner(0.0, 0.0), g.Inner(1.0, 1.0), g.Inner(0.5, -2.0)}) {
        g.MoveTo(corner);
        QVERIFY(!g.graph.toolTip().isEmpty());
    }
}

// clang-format off
void TestGraph::surfaceLines_data()
{
    QTest::addColumn<QList<QLine>>("lines"); // pixels of a 50 x 30 surface
    QTest::addColumn<bool>("readBetween");   // the drawing is finished after each line

    QTest::newRow("level, left to right") << QList<QLine>{{3, 7, 40, 7}} << false;
    QTest::newRow("level, right to left") << QList<QLine>{{40, 7, 3, 7}} << false;
    QTest::newRow("upright, both ways") << QList<QLine>{{5, 2, 5, 25}, {9, 25, 9, 2}} << false;
    QTest::newRow("a single pixel") << QList<QLine>{{12, 12, 12, 12}} << false;
    QTest::newRow("beyond every edge") << QList<QLine>{{-1000, 0, 1000, 0}, {49, 1000, 49, -1000}, {60, 5, 70, 5}} << false;
    QTest::newRow("sloped") << QList<QLine>{{0, 0, 49, 29}, {45, 3, 2, 20}} << false;
    QTest::newRow("drawing goes on after the image is read") << QList<QLine>{{0, 1, 49, 1}, {2, 0, 30, 29}, {20, 0, 20, 29}} << true;
}
// clang-format on

void TestGraph::surfaceLines()
{
    QFETCH(QList<QLine>, lines);
    QFETCH(bool, readBetween);

    // User coordinates equal to pixels.
    const QSize size(50, 30);
    PictureSurface surface;
    surface.Cls(size, Qt::white);
    surface.Scale(0.0, 0.0, size.width() - 1, size.height() - 1);
    QImage expected(size, QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setPen(QColor(Qt::black));
    for (const QLine& line : lines) {
        surface.Line(line.x1(), line.y1(), line.x2(), line.y2(), Qt::black);
        if (readBetween)
            surface.Finish();
        painter.drawLine(line);
    }
    painter.end();
    surface.Finish();
    QCOMPARE(surface.image(), expected);
}

void TestGraph::workedExampleOnEveryScreen()
{
    QFETCH(int, screen);

    GraphUnderTest g(QGuiApplication::screens().at(screen));
    QVERIFY(QTest::qWaitForWindowExposed(&g.graph));
    g.DrawWorkedExample();
    const Picture picture(g.graph);
    QCOMPARE(picture.ratio(), QGuiApplication::screens().at(screen)->devicePixelRatio());
    const QString fault = GridFault(picture);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));

    // The curve's pixels lie along the exact curve at device resolution.
    const QList<QPointF> curve = CurveAt(picture, g.calc.state.elt_curve, 80000.0);

    const QList<QPoint> far = FarFromCurve(picture, curve);
    QVERIFY2(far.isEmpty(),
             qPrintable(QStringLiteral("%1 pixels far from the curve, the first at %2, %3")
                            .arg(far.size())
                            .arg(far.value(0).x())
                            .arg(far.value(0).y())));

    // And the curve is there along its whole length: ink near every point.
    const double tolerance = CurveTolerance(picture.ratio());
    const QPointF reach(tolerance, tolerance);
    for (const QPointF& point : curve) {
        bool inked = false;
        const QRect around =
            QRectF(point - reach, point + reach).toAlignedRect() & picture.image().rect();
        for (int y = around.top(); y <= around.bottom() && !inked; ++y)
            for (int x = around.left(); x <= around.right() && !inked; ++x)
                inked = picture.Foreground(x, y)
                        && std::hypot(x + 0.5 - point.x(), y + 0.5 - point.y()) <= tolerance;
        QVERIFY2(inked,
                 qPrintable(QStringLiteral("nothing near %1, %2").arg(point.x()).arg(point.y())));
    }

    // Not an enlarged 96-dpi drawing, whose every logical pixel would be a
    // block of r x r equal device pixels: many of the curve's blocks are split.
    const int r = qRound(picture.ratio());
    if (r < 2 || r != picture.ratio())
        return;
    const QList<QPoint> pixels = CurvePixels(picture);
    const auto split = std::count_if(pixels.begin(), pixels.end(), [&](const QPoint& pixel) {
        const QPoint corner(pixel.x() - pixel.x() % r, pixel.y() - pixel.y() % r);
        for (int dy = 0; dy < r; ++dy)
            for (int dx = 0; dx < r; ++dx)
                if (!picture.Foreground(corner.x() + dx, corner.y() + dy))
                    return true;
        return false;
    });
    QVERIFY2(split > pixels.size() / 3,
             qPrintable(QStringLiteral("%1 of %2 in split blocks").arg(split).arg(pixels.size())));
}

QTEST_MAIN(TestGraph)
#include "tst_graph.moc"
