#pragma once

#include <QFrame>

namespace kalibrix {
class TrackingCalculator;
}

// The picture area pct_main: draws the input circuit's deviation across the
// band from the sweep tables, and shows the value under the pointer as its
// tool tip. Both do nothing while L_b is zero (nothing computed yet).
class DeviationGraph : public QFrame {
    Q_OBJECT
public:
    explicit DeviationGraph(const kalibrix::TrackingCalculator& calc, QWidget* parent = nullptr);

    void DrawDeviationGraph();

private:
    const kalibrix::TrackingCalculator& calc_;
};
