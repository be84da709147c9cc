#pragma once

#include "PictureSurface.h"

#include <QFrame>

namespace kalibrix {
class TrackingCalculator;
}

// The picture area pct_main: draws the input circuit's deviation across the
// band from the sweep tables, and shows the value under the pointer as its
// tool tip. Both do nothing while L_b is zero (nothing computed yet).
// The drawing is kept in an image, so it survives being covered; a click
// draws it anew from the tables.
class DeviationGraph : public QFrame {
    Q_OBJECT
public:
    explicit DeviationGraph(const kalibrix::TrackingCalculator& calc, QWidget* parent = nullptr);

    void DrawDeviationGraph();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const kalibrix::TrackingCalculator& calc_;
    PictureSurface surface_;
    bool leftPressed_ = false;
};
