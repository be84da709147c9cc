// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviationGraph.h"

#include "Accessibility.h"
#include "AxisLimit.h"
#include "DeviationToolTip.h"
#include "TrackingCalculator.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace kalibrix {

namespace {

// Bright magenta, colour 13 of the classic 16-colour palette.
const QColor kZeroLineColour(255, 0, 255);

// The grid and the zero line reach one step beyond the left edge, where
// they are clipped.
constexpr double kGridEnd = kSweepSteps;
constexpr double kGridDivisions = 5.0; // horizontal lines per half axis
constexpr double kFrequencyCaptionStep = 35.0;

} // namespace

void DrawDeviationGrid(PictureSurface& surface, double H, const QColor& foreground)
{
    surface.Scale(kLeftEdgeStep, H, 0.0, -H);

    // y grows by H/5 from -H for as long as it stays within H: eleven lines
    // while the additions are exact. Past the largest double y becomes
    // infinite, which ends the loop too.
    double y = -H;
    while (y <= H) {
        surface.Line(0.0, y, kGridEnd, y, foreground);
        y += H / kGridDivisions;
    }

    surface.Line(0.0, 0.0, kGridEnd, 0.0, kZeroLineColour);

    for (int x = 0; x <= kGridEnd; x += kGridStepSpacing)
        surface.Line(x, H, x, -H, foreground);
}

void SetUpGraphArea(QFrame& graph)
{
    // A screen reader hears the graph as a chart; as a QFrame it would be
    // read as a frame.
    ReadAsChart(*graph.metaObject());
    graph.setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    graph.setCursor(Qt::CrossCursor);
    graph.setFocusPolicy(Qt::StrongFocus);
    graph.setMouseTracking(true);
    // A picture box's default colours: button face behind, button text on it.
    graph.setBackgroundRole(QPalette::Button);
    graph.setForegroundRole(QPalette::ButtonText);
    graph.setAutoFillBackground(true);
}

void PaintGraphImage(QFrame& graph, const QImage& image)
{
    QPainter painter(&graph);
    if (!image.isNull()) {
        const QRect area = graph.contentsRect();
        painter.setClipRect(area);
        painter.drawImage(area.topLeft(), image);
        painter.setClipping(false);
    }
    PaintFocusFrame(graph, painter);
}

DeviationGraph::DeviationGraph(const TrackingCalculator& calc, QWidget* parent)
    : QFrame(parent), calc_(calc)
{
    SetUpGraphArea(*this);
}

void DeviationGraph::DrawDeviationGraph()
{
    const CalculationState& s = calc_.state;
    if (s.L_b == 0.0)
        return;

    shown_ = Shown{AxisLimit(TableAt(s.elt_sorted, 0), TableAt(s.elt_sorted, kSweepSteps - 1)),
                   s.elt_curve};
    Render();
    update();
}

void DeviationGraph::Render()
{
    const double H = shown_->H;
    const QColor foreground = palette().color(foregroundRole());

    surface_.Cls(contentsRect().size(), palette().color(backgroundRole()), devicePixelRatioF());
    DrawDeviationGrid(surface_, H, foreground);

    surface_.PSet(0.0, 0.0, foreground);
    for (int i = 0; i < kSweepSteps; ++i)
        surface_.LineTo(i, shown_->curve[static_cast<std::size_t>(i)], foreground);

    surface_.PSet(kLeftEdgeStep, H, foreground);
    surface_.Print(QStringLiteral(" A bemenőkör elhangolódása"), font(), foreground);
    surface_.PSet(kFrequencyCaptionStep, 0.0, foreground);
    surface_.Print(QStringLiteral("f_hangolás"), font(), foreground);

    surface_.Finish();
}

void DeviationGraph::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    // Moved to a screen of another ratio: the same graph, drawn for it.
    if (shown_ && surface_.image().devicePixelRatio() != devicePixelRatioF())
        Render();
    PaintGraphImage(*this, surface_.image());
}

void DeviationGraph::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        leftPressed_ = true;
}

void DeviationGraph::mouseReleaseEvent(QMouseEvent* event)
{
    // A click: the left button pressed over the area and released over it.
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        if (rect().contains(event->position().toPoint()))
            DrawDeviationGraph();
    }
}

void DeviationGraph::mouseMoveEvent(QMouseEvent* event)
{
    const std::optional<QPointF> user =
        surface_.UserPoint(event->position() - contentsRect().topLeft());
    if (!user)
        return;
    const std::optional<std::string> text = DeviationToolTip(calc_, user->x(), user->y());
    if (!text)
        return;
    setToolTip(QString::fromStdString(*text));
    if (QToolTip::isVisible())
        QToolTip::showText(event->globalPosition().toPoint(), toolTip(), this);
}

} // namespace kalibrix
