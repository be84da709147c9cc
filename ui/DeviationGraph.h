// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"
#include "PictureSurface.h"

#include <QFrame>

#include <optional>

namespace kalibrix {

class TrackingCalculator;

// Every deviation graph runs from sweep step 0 (f_max) at its right edge to
// step 499 (f_min) at its left edge, with an upright grid line every 50 steps.
inline constexpr double kLeftEdgeStep = kSweepSteps - 1;
inline constexpr int kGridStepSpacing = 50;

// The frame of every deviation graph on `surface`, for the axis limit H (Hz):
// user coordinates with sweep step 499 (f_min) at the left edge and H at the
// top, level grid lines every H/5 from -H, the zero line in bright magenta,
// and an upright line every 50 steps.
void DrawDeviationGrid(PictureSurface& surface, double H, const QColor& foreground);

// A graph area's border, pointer, focus, colours and pointer tracking, and
// a screen reader's view of it as a chart; for its constructor.
void SetUpGraphArea(QFrame& graph);

// Paints a graph's drawing inside its border (none for a null image), and
// the focus indicator over the border while the graph holds the focus; for
// its paintEvent.
void PaintGraphImage(QFrame& graph, const QImage& image);

// The picture area pct_main: draws the input circuit's deviation across the
// band from the sweep tables, and shows the value under the pointer as its
// tool tip. Both do nothing while L_b is zero (nothing computed yet).
// The drawing is kept in an image at the screen's device pixel ratio, so it
// survives being covered and is sharp on a scaled screen; a click draws it
// anew from the tables. On a screen of another ratio the same graph is drawn
// again at that ratio. A screen reader hears it as a chart, and while it
// holds the focus its border shows the style's focus indicator.
class DeviationGraph : public QFrame {
    Q_OBJECT
public:
    explicit DeviationGraph(const TrackingCalculator& calc, QWidget* parent = nullptr);

    void DrawDeviationGraph();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // What the last drawing showed: its axis limit (Hz) and curve.
    struct Shown {
        double H;
        SweepTable curve;
    };

    // Draws `shown_` onto the surface at the widget's device pixel ratio.
    void Render();

    const TrackingCalculator& calc_;
    PictureSurface surface_;
    std::optional<Shown> shown_;
    bool leftPressed_ = false;
};

} // namespace kalibrix
