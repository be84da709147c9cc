// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ThreePointTracking.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kalibrix {

class TrackingCalculator;

// What a screen reader says for the windows' controls beyond their captions,
// and the graphs' legends and descriptions.

// The spoken name of a text field from the label that names it: the label's
// caption for an input, and for a result field its frame's caption first,
// then the label's, then the qualifier if there is one, e.g.
// "Bemenő kör ( uH, pf ): Lb".
QString FieldName(const QString& frameCaption, const QString& labelCaption,
                  const QString& qualifier, bool isResult);

// The name and description of the circuit diagram.
QString DiagramName();
QString DiagramDescription();

// The name of the deviation graph, and its description: before a
// calculation what it will show once the button `startCaption` is pressed;
// afterwards the band and the largest and smallest deviation with the input
// frequency of each, in the numbers the window shows.
QString GraphName();
QString MainGraphDescription(const TrackingCalculator& calc, const QString& startCaption);

// The padder graph's curves: the three-point design, the E24 padder aligned
// at F1 and F3 (its nominal value in the name), the two-point design.
QString ThreePointCurveName();
QString E24CurveName(const ThreePointDesign& design, const TrackingCalculator& calc);
QString TwoPointCurveName();
// The two-point and E24 curves' names without their details, where a column
// heading or a field's name must stay the same from design to design.
QString TwoPointShortName();
QString E24ShortName();

// The padder graph's legend entry: the curve's name and its usable Q.
QString LegendEntry(const QString& name, const PadderCurve& curve, const TrackingCalculator& calc);

// The padder graph's description: the band, then each curve's extremes; with
// no design, that there is none.
QString PadderGraphDescription(const QStringList& names,
                               const std::vector<const PadderCurve*>& curves,
                               const TrackingCalculator& calc);
QString EmptyPadderGraphDescription();

} // namespace kalibrix
