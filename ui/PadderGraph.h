// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"
#include "PadderGraphMarks.h"
#include "PictureSurface.h"

#include <QColor>
#include <QFrame>
#include <QString>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kalibrix {

// One curve of the padder graph: its name in the hover readout, its colour
// and its deviation per sweep step (Hz).
struct GraphCurve {
    QString name;
    QColor colour;
    SweepTable deviation{};
};

// The padder window's graphs: several deviation curves (or, in another unit,
// other figures per sweep step) over the band, drawn
// like the main graph (step 0, f_max, at the right edge; the zero line in
// magenta) with the main graph's drawing layer, so that it is sharp at every
// scale. The vertical axis fits the curves marked `scaled`; the others are
// clipped where they leave it. Hovering, or the arrow keys while the graph
// has the focus, read out the frequency and every curve's deviation there:
// in its tool tip, and for a screen reader at the head of its description.
class PadderGraph : public QFrame {
    Q_OBJECT
public:
    explicit PadderGraph(QWidget* parent = nullptr);

    // The curves (the first `scaled` of them set the axis) over the input
    // circuit's frequency per step (Hz), numbers written with `separator`.
    void ShowCurves(std::vector<GraphCurve> curves, std::size_t scaled, const SweepTable& frequency,
                    const std::string& separator);
    // What the next ShowCurves draws beside the curves: a shaded band, the
    // frequency ticks, the marks at points.
    void SetMarks(GraphMarks marks) { marks_ = std::move(marks); }
    void Clear();
    // The unit of the curves' values, "Hz" unless set, and their decimals in
    // the readout: -1 for the general number form.
    void SetUnit(const QString& unit, int decimals);

    // What the graph shows, for a screen reader; the readout goes before it.
    void SetDescription(const QString& description);

    // What the readout says for sweep step `step`.
    QString Readout(int step) const;

signals:
    void ReadoutChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Shown {
        std::vector<GraphCurve> curves;
        double H; // Hz, the axis limit
        SweepTable frequency;
        std::string separator;
    };

    void Render();
    void ReadAt(int step);
    void Describe(const QString& readout);
    QString Value(double value) const;

    PictureSurface surface_;
    std::optional<Shown> shown_;
    GraphMarks marks_;
    int readStep_ = 0;
    QString description_;
    QString unit_ = QStringLiteral("Hz");
    int decimals_ = -1;
};

} // namespace kalibrix
