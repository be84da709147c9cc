// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PadderFit.h"
#include "PadderGraphMarks.h"
#include "PadderText.h"

#include <QColor>
#include <QGroupBox>

#include <map>
#include <optional>
#include <utility>
#include <vector>

class QLineEdit;

namespace kalibrix {

// The padders a builder can fit, in the padder window: each standard
// padder's alignment points A1 and A2, the builder's own padder (typed in pF)
// with its values and points, the best E12 and E24 pairs with their Q, and
// the smallest Q over the fitted padder's tolerance band. Every read-only
// field is named by the row of the design's text it shows.
class PadderFitPanel : public QGroupBox {
    Q_OBJECT
public:
    PadderFitPanel(QWidget* parent, int fieldMinimumWidth);

    // The own padder as typed (F); none when the field is empty. Throws
    // OverflowError for a number too large.
    std::optional<double> OwnPadder() const;
    QLineEdit* OwnPadderField() const { return own_; }

    // Shows the rows whose labels name a field of the panel; the others'
    // fields are emptied.
    void ShowRows(const std::vector<PadderRow>& rows);
    void Clear();

signals:
    // Enter in the own padder's field.
    void OwnPadderEntered();

private:
    QLineEdit* Field(const QString& label, const QString& unit);

    int fieldMinimumWidth_;
    QLineEdit* own_ = nullptr;
    std::map<QString, QLineEdit*> fields_; // by the row's label
};

// A fitted padder's curve on the padder graph.
struct FittedCurve {
    QString name;
    QColor colour;
    const PadderCurve* curve;
};

// The curves of the fitted padders beside the design's and the E24 one, in
// the order the legend names them: E12, the own padder, the E12 and E24
// pairs; those that cannot be aligned are left out.
std::vector<FittedCurve> FittedCurves(const ThreePointDesign& design, const PadderChoices& choices,
                                      const TrackingCalculator& calc);
// The graph's band, ticks and marks: the tolerance band's envelope, the
// frequency ticks, the design's tracking points F1 to F3 in `designColour`,
// and each aligned padder's A1 and A2 in its curve's colour (E24 in
// `e24Colour`).
GraphMarks FittedMarks(const ThreePointDesign& design, const PadderChoices& choices,
                       const TrackingCalculator& calc, const QColor& designColour,
                       const QColor& e24Colour);
// The legend's line for the shaded band, with its colour; an empty text
// without one.
std::pair<QString, QColor> BandLegend(const PadderChoices& choices, const TrackingCalculator& calc);

} // namespace kalibrix
