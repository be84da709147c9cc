// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DesignVerdict.h"
#include "PadderFit.h"
#include "PadderText.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kalibrix {

class TrackingCalculator;

// The words about the padders a builder can fit: each padder's alignment
// points, the parallel pairs, the tolerance band and the whole alignment
// recipe.

// "E12 A1", "Saját padder A2": the caption of a fitted padder's alignment
// point, after the padder's prefix.
inline constexpr std::array<const char*, 2> kAlignmentPointNames{"A1", "A2"};

// The caption and accessible name that begin a fitted padder's values: the
// builder's own padder, the pairs, the tolerance band.
inline const QString kOwnPadderPrefix = QStringLiteral("Saját padder ");
inline const QString kOwnPadderCaption = QStringLiteral("Saját padder (pF)");
QString PairLabel(StandardSeries series);  // "E12 pár"
QString PairQLabel(StandardSeries series); // "E12 pár Q"
QString ToleranceLabel(double tolerance);  // "Q ±2%"

// A fitted padder's A1 and A2 rows, in MHz like F1 to F3; empty texts for a
// padder that cannot be aligned.
std::vector<PadderRow> AlignmentRows(const StandardPadder& padder, const QString& prefix,
                                     const TrackingCalculator& calc);
// The pairs ("510 + 47" and its Q) and the tolerance band's smallest Q.
std::vector<PadderRow> PairAndToleranceRows(const PadderChoices& choices,
                                            const TrackingCalculator& calc);

// The padder verdict of the design in `calc`: the two-point design's verdict
// when it can be judged, then the padder design's stated Q.
PadderVerdict PadderVerdictOf(const ThreePointDesign& design, const TrackingCalculator& calc);

// The whole alignment, in the design's own frequencies (kHz below 30 MHz,
// MHz above): the signal generator on the aerial input and the maximum at
// the IF output; the oscillator's core at A1 and its trimmer at A2, repeated;
// the input circuit's core at the low point and Cp_b at the high point,
// repeated; the check, and which way the padder must change when it is off.
// With the builder's own padder when one is typed, the E24 one otherwise; no
// padder at all when the verdict says none is needed.
struct AlignmentRecipe {
    QString heading;
    QStringList steps;
};
AlignmentRecipe RecipeFor(const ThreePointDesign& design, const PadderChoices& choices,
                          const TrackingCalculator& calc);

// The graph's names of the fitted padders' curves: "E12-es padder (560 pF)",
// "saját padder (556 pF)", "E24-es pár (510 + 47 pF)"; and the legend of the
// shaded tolerance band with its smallest Q.
QString StandardCurveName(StandardSeries series, double nominal, const TrackingCalculator& calc);
QString OwnCurveName(double nominal, const TrackingCalculator& calc);
QString PairCurveName(StandardSeries series, const PadderPair& pair,
                      const TrackingCalculator& calc);
QString ToleranceBandLegend(const PadderTolerance& tolerance, const TrackingCalculator& calc);

// The frequency axis's tick labels: the number alone, in kHz when the whole
// band lies below 30 MHz, in MHz otherwise, and that unit.
QString AxisTickText(double f, const TrackingCalculator& calc);
QString AxisUnit(const TrackingCalculator& calc);

// A frequency as a signal generator and a dial read it: kHz below 30 MHz,
// MHz above: "557 kHz", "94,808 MHz".
QString DialFrequency(double f, const TrackingCalculator& calc);

} // namespace kalibrix
