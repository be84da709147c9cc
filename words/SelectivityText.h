// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DesignVerdict.h"
#include "Selectivity.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace kalibrix {

class TrackingCalculator;

// The Hungarian texts of the padder window's "Szelektivitás" section: the
// image and IF rejection and the loss by mistracking of each curve.

inline const QString kSelectivityTitle = QStringLiteral("Szelektivitás");
inline const QString kQFieldName = QStringLiteral("Q (bemenő kör)");
inline const QString kCircuitsName = QStringLiteral("Hangolt körök száma");

// "Tükörelnyomás legalább (dB)", and the field's name with its curve after
// it: "Tükörelnyomás legalább (dB): kétpontos".
QString SelectivityCaption(SelectivityFigure figure);
QString SelectivityFieldName(SelectivityFigure figure, const QString& curve);

// A figure to 0.1 dB with the dial frequency where it occurs,
// "17,1 (0,520 MHz)"; a bound as "> 9246,6"; empty for none.
QString SelectivityFieldText(const std::optional<SelectivityExtreme>& extreme,
                             const TrackingCalculator& calc);

// The band's typical lower loaded Q, as the Q field is prefilled with it.
QString TypicalQText(const TrackingCalculator& calc);

// The Q field's text as a Q: a positive finite number, read with a point or a
// comma; none otherwise.
std::optional<double> ReadQ(const QString& text);
QString InvalidQText();

// One curve's figures for the words below: none when the curve is not drawn.
struct NamedSelectivity {
    QString name;
    std::optional<SelectivityFigures> figures;
};

// The verdict line: the band's image rule, then for each drawn curve whether
// its image rejection meets it, how many circuits would, and whether its
// loss is acceptable.
QString SelectivityVerdictText(const std::vector<NamedSelectivity>& curves, int circuits,
                               const TrackingCalculator& calc);

// The image-rejection graph's description for a screen reader, and its
// description while nothing is shown.
QString SelectivityGraphDescription(const std::vector<NamedSelectivity>& curves,
                                    const TrackingCalculator& calc);
QString NoSelectivityGraph();

// The section's lines in the saved and copied text.
QStringList SelectivityFileLines(const QString& qText, int circuits,
                                 const std::vector<NamedSelectivity>& curves,
                                 const TrackingCalculator& calc);

// The guide's places of the image rejection: the band rules (rule.below_vhf.*,
// rule.vhf.*: db, q, f and f_kf in MHz; rule.loss) and one circuit of Q 50 at
// 25 MHz with a 455 kHz, 1.6 MHz and 10.7 MHz IF (sw25.if455, sw25.if1600,
// sw25.if10700), numbers written with `separator`.
void AddSelectivityPlaces(QHash<QString, QString>& places, const std::string& separator);

// The places of one solved typical design after `prefix` ("mw."), at its
// band's typical lower Q: sel_q; for the two-point design where its image
// rejection is smallest, ideal_image_at_worst (perfect tracking), image,
// image_at (MHz), converted_khz (the station the oscillator converts there),
// and loss, ideal_if and if (the smallest IF rejection, ideal and mistracked);
// image_2 and loss_2 with two circuits; circuits_needed; padder_image and
// padder_loss of the three-point design for the largest usable Q. Numbers
// use the calculator's separator.
void AddDesignSelectivityPlaces(const TrackingCalculator& calc, const QString& prefix,
                                QHash<QString, QString>& places);

} // namespace kalibrix
