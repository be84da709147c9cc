// SPDX-License-Identifier: GPL-3.0-or-later
#include "PadderGraph.h"

#include "AxisLimit.h"
#include "DeviationGraph.h"
#include "NumberText.h"
#include "Phrases.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace kalibrix {

PadderGraph::PadderGraph(QWidget* parent) : QFrame(parent)
{
    SetUpGraphArea(*this);
}

void PadderGraph::ShowCurves(std::vector<GraphCurve> curves, std::size_t scaled,
                             const SweepTable& frequency, const std::string& separator)
{
    double smallest = 0.0;
    double largest = 0.0;
    for (std::size_t c = 0; c < scaled && c < curves.size(); ++c) {
        const auto [low, high] = std::ranges::minmax(curves[c].deviation);
        smallest = std::min(smallest, low);
        largest = std::max(largest, high);
    }
    shown_ = Shown{std::move(curves), AxisLimit(smallest, largest), frequency, separator};
    Render();
    update();
    ReadAt(readStep_);
}

void PadderGraph::Clear()
{
    shown_.reset();
    marks_ = {};
    setToolTip(QString());
    update();
    Describe(QString());
    emit ReadoutChanged(QString());
}

void PadderGraph::SetDescription(const QString& description)
{
    description_ = description;
    Describe(shown_ ? Readout(readStep_) : QString());
}

void PadderGraph::Describe(const QString& readout)
{
    setAccessibleDescription(readout.isEmpty() ? description_
                                               : readout + QStringLiteral(". ") + description_);
}

void PadderGraph::SetUnit(const QString& unit, int decimals)
{
    unit_ = unit;
    decimals_ = decimals;
}

QString PadderGraph::Value(double value) const
{
    const std::string& separator = shown_->separator;
    return (decimals_ < 0 ? GeneralNumber(value, separator)
                          : NumberPhrase(FormatFixed(value, decimals_, separator), separator))
           + u' ' + unit_;
}

QString PadderGraph::Readout(int step) const
{
    if (!shown_)
        return {};
    const auto i = static_cast<std::size_t>(std::clamp(step, 0, kSweepSteps - 1));
    QStringList parts;
    for (const GraphCurve& curve : shown_->curves)
        parts << curve.name + u' ' + Value(curve.deviation[i]);
    return QStringLiteral("%1 MHz: %2")
        .arg(NumberPhrase(
                 FormatFixed(shown_->frequency[i] / kHertzPerMegahertz, 3, shown_->separator),
                 shown_->separator),
             parts.join(QStringLiteral(", ")));
}

void PadderGraph::Render()
{
    const double H = shown_->H;
    const QColor foreground = palette().color(foregroundRole());
    surface_.Cls(contentsRect().size(), palette().color(backgroundRole()), devicePixelRatioF());
    DrawDeviationGrid(surface_, H, foreground);
    // The grid again over the band, which would otherwise hide it.
    if (marks_.band) {
        DrawBand(surface_, *marks_.band, H);
        DrawDeviationGrid(surface_, H, foreground);
    }

    // The first curve is drawn last, on top of the others.
    for (auto curve = shown_->curves.rbegin(); curve != shown_->curves.rend(); ++curve) {
        surface_.PSet(0.0, curve->deviation[0], curve->colour);
        for (int i = 1; i < kSweepSteps; ++i)
            surface_.LineTo(i, curve->deviation[static_cast<std::size_t>(i)], curve->colour);
    }

    DrawTicksAndMarks(surface_, marks_, H, font(), foreground);
    surface_.PSet(kLeftEdgeStep, H, foreground);
    surface_.Print(QStringLiteral(" ± %1 %2").arg(GeneralNumber(H, shown_->separator), unit_),
                   font(), foreground);
    surface_.Finish();
}

void PadderGraph::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (shown_ && surface_.image().devicePixelRatio() != devicePixelRatioF())
        Render();
    PaintGraphImage(*this, shown_ ? surface_.image() : QImage());
}

void PadderGraph::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (shown_)
        Render();
}

void PadderGraph::mouseMoveEvent(QMouseEvent* event)
{
    const std::optional<QPointF> user =
        surface_.UserPoint(event->position() - contentsRect().topLeft());
    if (!shown_ || !user)
        return;
    ReadAt(static_cast<int>(std::lround(user->x())));
    if (QToolTip::isVisible())
        QToolTip::showText(event->globalPosition().toPoint(), toolTip(), this);
}

// Left and right move the readout one step along the band (towards f_min and
// f_max, as drawn), Page Up and Page Down one grid column, Home and End to the
// band's edges.
void PadderGraph::keyPressEvent(QKeyEvent* event)
{
    int step = readStep_;
    switch (event->key()) {
    case Qt::Key_Left:
        ++step;
        break;
    case Qt::Key_Right:
        --step;
        break;
    case Qt::Key_PageUp:
        step += kGridStepSpacing;
        break;
    case Qt::Key_PageDown:
        step -= kGridStepSpacing;
        break;
    case Qt::Key_Home:
        step = kSweepSteps - 1;
        break;
    case Qt::Key_End:
        step = 0;
        break;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    if (shown_)
        ReadAt(step);
}

void PadderGraph::ReadAt(int step)
{
    readStep_ = std::clamp(step, 0, kSweepSteps - 1);
    const QString text = Readout(readStep_);
    setToolTip(text);
    Describe(text);
    emit ReadoutChanged(text);
}

} // namespace kalibrix
