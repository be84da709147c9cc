// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The graph pct_main grabbed and read pixel by pixel: where its grid lines,
// zero line and curve lie in device pixels at any device pixel ratio, and a
// graph shown on a chosen screen at the size the window gives it.

#include "CalcTestSupport.h"
#include "DeviationGraph.h"

#include <QApplication>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace kalibrix::test {

inline const QSize kGraphSize(809, 313); // pct_main in Frame7
inline const QColor kMagenta(255, 0, 255);

inline QRect Scaled(const QRect& rect, qreal ratio)
{
    return QRect((QPointF(rect.topLeft()) * ratio).toPoint(),
                 (QSizeF(rect.size()) * ratio).toSize());
}

// The inner drawing area of the grabbed graph, in device pixels. Step 499
// lies on the left logical pixel column and step 0 on the right one, H on
// the top row and -H on the bottom row.
class Picture {
public:
    explicit Picture(DeviationGraph& graph)
        : ratio_(graph.devicePixelRatioF()), logical_(graph.contentsRect().size()),
          image_(graph.grab()
                     .toImage()
                     .copy(Scaled(graph.contentsRect(), ratio_))
                     .convertToFormat(QImage::Format_RGB32)),
          foreground_(graph.palette().color(QPalette::ButtonText).rgb()),
          background_(graph.palette().color(QPalette::Button).rgb())
    {
    }

    const QImage& image() const { return image_; }
    qreal ratio() const { return ratio_; }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    // Logical pixels of a step and of a deviation, at ratio 1 also device pixels.
    double ColumnOf(double step) const { return (499.0 - step) / 499.0 * (logical_.width() - 1); }
    double RowOf(double y, double H) const { return (H - y) / (2.0 * H) * (logical_.height() - 1); }
    // Device coordinates of the exact point: logical pixel p spans p .. p + 1.
    QPointF DevicePoint(double step, double y, double H) const
    {
        return ratio_ * QPointF(ColumnOf(step) + 0.5, RowOf(y, H) + 0.5);
    }
    // Whether device pixel (x, y) lies in the logical rectangle.
    bool Within(const QRect& logical, int x, int y) const
    {
        return Scaled(logical, ratio_).contains(x, y);
    }

    bool Foreground(int x, int y) const { return image_.pixel(x, y) == foreground_; }
    bool Magenta(int x, int y) const { return image_.pixel(x, y) == kMagenta.rgb(); }
    bool Inked(int x, int y) const { return image_.pixel(x, y) != background_; }

    // Rows drawn across at least 95% of the width (grid and zero line).
    QList<int> FullRows() const
    {
        QList<int> rows;
        for (int y = 0; y < height(); ++y) {
            int n = 0;
            for (int x = 0; x < width(); ++x)
                n += Foreground(x, y) || Magenta(x, y);
            if (n >= 0.95 * width())
                rows << y;
        }
        return rows;
    }

    // Columns drawn in the foreground colour down at least 95% of the height.
    QList<int> FullColumns() const
    {
        QList<int> columns;
        for (int x = 0; x < width(); ++x) {
            int n = 0;
            for (int y = 0; y < height(); ++y)
                n += Foreground(x, y);
            if (n >= 0.95 * height())
                columns << x;
        }
        return columns;
    }

    // Pixels in `area` that differ from the background, grid lines left out.
    int InkedOffGrid(const QRect& area) const
    {
        const QList<int> rows = FullRows();
        const QList<int> columns = FullColumns();
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += !rows.contains(y) && !columns.contains(x) && Inked(x, y);
        return n;
    }

    // Foreground rows of column x off the horizontal grid lines.
    QList<int> CurveRowsAt(int x) const
    {
        const QList<int> grid = FullRows();
        QList<int> rows;
        for (int y = 0; y < height(); ++y)
            if (!grid.contains(y) && Foreground(x, y))
                rows << y;
        return rows;
    }

private:
    qreal ratio_;
    QSize logical_;
    QImage image_;
    QRgb foreground_;
    QRgb background_;
};

// Logical areas of the worked example's captions, which alone are drawn with
// blended (antialiased) pixels.
inline const QRect kTitleArea(0, 0, 200, 20);
inline const QRect kFrequencyArea(740, 150, 65, 25);

inline bool InCaption(const Picture& picture, int x, int y)
{
    return picture.Within(kTitleArea, x, y) || picture.Within(kFrequencyArea, x, y);
}

// Runs of consecutive values: the device rows or columns of each line.
inline QList<QPair<int, int>> Runs(const QList<int>& values)
{
    QList<QPair<int, int>> runs;
    for (int v : values) {
        if (!runs.isEmpty() && runs.back().second == v - 1)
            runs.back().second = v;
        else
            runs.append({v, v});
    }
    return runs;
}

inline double DistanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 == 0.0 ? 0.0 : std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

// The curve as drawn, in device coordinates: from (0, 0) through every step.
inline QList<QPointF> CurveAt(const Picture& picture, const SweepTable& curve, double H)
{
    QList<QPointF> points{picture.DevicePoint(0.0, 0.0, H)};
    for (int i = 0; i < kSweepSteps; ++i)
        points << picture.DevicePoint(i, curve[static_cast<std::size_t>(i)], H);
    return points;
}

// A line one logical pixel wide reaches half a logical pixel to either side
// of the exact curve, and its square ends as far along it, so the centre of
// every device pixel it covers lies within r * sqrt(1/2) device pixels of the
// curve; half a device pixel more allows for the rasterizer's rounding and,
// at ratio 1, for the ends rounded to whole pixels.
inline double CurveTolerance(qreal ratio)
{
    return ratio * std::sqrt(0.5) + 0.5;
}

// Foreground pixels off the grid and the captions: the curve's.
inline QList<QPoint> CurvePixels(const Picture& picture)
{
    const QList<int> rows = picture.FullRows();
    const QList<int> columns = picture.FullColumns();
    QList<QPoint> pixels;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.Foreground(x, y) && !rows.contains(y) && !columns.contains(x)
                && !InCaption(picture, x, y))
                pixels << QPoint(x, y);
    return pixels;
}

// Curve pixels farther from the exact curve than CurveTolerance.
inline QList<QPoint> FarFromCurve(const Picture& picture, const QList<QPointF>& curve)
{
    const double tolerance = CurveTolerance(picture.ratio());
    QList<QPoint> far;
    for (const QPoint& pixel : CurvePixels(picture)) {
        const QPointF centre = QPointF(pixel) + QPointF(0.5, 0.5);
        bool near = false;
        for (qsizetype k = 1; k < curve.size() && !near; ++k)
            near = DistanceToSegment(centre, curve[k - 1], curve[k]) <= tolerance;
        if (!near)
            far << pixel;
    }
    return far;
}

// What is wrong with the worked example's grid, if anything. Every line is
// one logical pixel wide, on that logical pixel: r device pixels, and at a
// fractional ratio the same whole number for every line, one or two at 1.5;
// level lines lie every 16000 Hz from -80000 up, upright ones at steps 0, 50,
// ..., 450. Off the captions no pixel is a blend of the colours.
inline QString GridFault(const Picture& picture)
{
    const qreal r = picture.ratio();
    int widthOfAll = 0;
    const auto misplaced = [r, &widthOfAll](const QList<QPair<int, int>>& lines,
                                            const QList<double>& logical) {
        if (lines.size() != logical.size())
            return QStringLiteral("%1 lines instead of %2").arg(lines.size()).arg(logical.size());
        for (qsizetype k = 0; k < lines.size(); ++k) {
            const int p = qRound(logical[k]);
            const auto [first, last] = lines[k];
            const int width = last - first + 1;
            widthOfAll = widthOfAll == 0 ? width : widthOfAll;
            if (first + 1 <= p * r || last >= (p + 1) * r || width < std::floor(r)
                || width > std::ceil(r) || width != widthOfAll)
                return QStringLiteral("device %1..%2 for logical %3").arg(first).arg(last).arg(p);
        }
        return QString();
    };
    QList<double> levels;
    for (int k = 10; k >= 0; --k)
        levels << picture.RowOf(-80000.0 + 16000.0 * k, 80000.0);
    QList<double> uprights;
    for (int step = 450; step >= 0; step -= 50)
        uprights << picture.ColumnOf(step);
    QString fault = misplaced(Runs(picture.FullRows()), levels);
    if (fault.isEmpty())
        fault = misplaced(Runs(picture.FullColumns()), uprights);
    if (!fault.isEmpty())
        return fault;

    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (!InCaption(picture, x, y) && picture.Inked(x, y) && !picture.Foreground(x, y)
                && !picture.Magenta(x, y))
                return QStringLiteral("blended pixel at %1, %2").arg(x).arg(y);
    return QString();
}

// The screens the platform offers, one row each.
inline void AddScreenRows()
{
    QTest::addColumn<int>("screen");
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (qsizetype i = 0; i < screens.size(); ++i)
        QTest::addRow("screen %s at ratio %g", qPrintable(screens[i]->name()),
                      screens[i]->devicePixelRatio())
            << static_cast<int>(i);
}

// The top-level widget on the screen, where it takes the screen's ratio.
inline void ShowOn(QWidget& widget, QScreen* screen)
{
    widget.setScreen(screen);
    widget.move(screen->geometry().topLeft());
    widget.show();
}

// A calculator and its graph at the size the window gives it.
struct GraphUnderTest {
    TrackingCalculator calc;
    DeviationGraph graph{calc};

    explicit GraphUnderTest(QScreen* screen = QGuiApplication::primaryScreen())
    {
        graph.resize(kGraphSize);
        ShowOn(graph, screen);
    }

    // Solves the worked example and draws its graph, as "Számol" does.
    void DrawWorkedExample()
    {
        worked_example::Enter(calc.state);
        OutputRecorder fields;
        SolveTracking(calc, fields);
        graph.DrawDeviationGraph();
    }

    // H = 400 (extremes -347.5 and 212.3), fbe_curve[i] = 1.000 MHz + i kHz.
    void FillTables()
    {
        CalculationState& s = calc.state;
        s.L_b = 172.18e-6;
        for (int i = 0; i < kSweepSteps; ++i) {
            const auto k = static_cast<std::size_t>(i);
            s.elt_curve[k] = 212.3 - 559.8 * i / 499.0;
            s.elt_sorted[k] = -347.5 + 559.8 * i / 499.0;
            s.fbe_curve[k] = 1e6 + 1e3 * i;
        }
        s.elt_sorted[kSweepSteps - 1] = 212.3;
    }

    QPoint Inner(double fx, double fy) const
    {
        const QRect area = graph.contentsRect();
        return area.topLeft()
               + QPoint(qRound(fx * (area.width() - 1)), qRound(fy * (area.height() - 1)));
    }

    void MoveTo(QPoint position)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(position), graph.mapToGlobal(QPointF(position)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&graph, &move);
    }

    void Click() { QTest::mouseClick(&graph, Qt::LeftButton, {}, graph.rect().center()); }
};
} // namespace kalibrix::test
