// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BandspreadText.h"
#include "DesignVerdict.h"
#include "PadderFit.h"
#include "ThreePointTracking.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class QDateTime;

namespace kalibrix {

class TrackingCalculator;

// The Hungarian texts of the padder window and of the design it saves and
// copies.

// The window's title, which the help's notes and guide name too.
inline const QString kPadderWindowTitle = QStringLiteral("Hárompontos együttfutás (padderrel)");

// The results of a three-point design, in the order the window shows them.
enum class PadderValue { Lo, Cpad, Cp_o, F1, F2, F3, Ch1, Ch2, Ch3, p_elt, n_elt, Q };

struct PadderValueSpec {
    PadderValue value;
    const char* symbol;   // begins the field's caption and accessible name
    const char* unit;     // as the window writes it, after the symbol in brackets
    const char* fileUnit; // as the file writes it, in plain letters
};

inline constexpr std::array<PadderValueSpec, 12> kPadderValues{{
    {PadderValue::Lo, "Lo", "µH", "uH"},
    {PadderValue::Cpad, "Cpad", "pF", "pf"},
    {PadderValue::Cp_o, "Cp_o", "pF", "pf"},
    {PadderValue::F1, "F1", "MHz", "MHz"},
    {PadderValue::F2, "F2", "MHz", "MHz"},
    {PadderValue::F3, "F3", "MHz", "MHz"},
    {PadderValue::Ch1, "Ch1", "pF", "pf"},
    {PadderValue::Ch2, "Ch2", "pF", "pf"},
    {PadderValue::Ch3, "Ch3", "pF", "pf"},
    {PadderValue::p_elt, "p_elt", "Hz", "Hz"},
    {PadderValue::n_elt, "n_elt", "Hz", "Hz"},
    {PadderValue::Q, "Q", "", ""},
}};

// The values shown for each standard padder, in this order.
inline constexpr std::array<PadderValue, 6> kStandardValues{PadderValue::Cpad,  PadderValue::Lo,
                                                            PadderValue::Cp_o,  PadderValue::p_elt,
                                                            PadderValue::n_elt, PadderValue::Q};

// "Lo (µH)", "Q": the caption and accessible name of a value, after `prefix`
// ("E12 ") for a standard padder's value.
QString ValueCaption(const PadderValueSpec& spec, const QString& prefix = {});

QString PlacementName(PointPlacement placement);

// One row of a padder design: what the file writes as "label = text  unit",
// and, for a row the window shows too, the field that shows `text`: the
// design's value `value` or bandspread input value `input` (standard < 0),
// or that of the E12 (0), E24 (1) or the builder's own (2) padder or
// bandspread series. The rows of the fitted padders' points, the pairs and
// the tolerance band have no `value`: their labels name them.
struct PadderRow {
    QString label;
    QString text; // empty where the value does not exist
    QString unit;
    std::optional<PadderValue> value;
    int standard = -1;
    std::optional<InputValue> input;
};

// Everything the padder window and its file say about one design, read by
// both so that they cannot disagree: the rows (the six inputs, which input
// circuit was designed and its parts, the placement, the design's values,
// the E12, E24 and own padders' values and alignment points, the pairs and
// the tolerance band; a padder that cannot be aligned keeps only its nominal
// value, and so does a standard Cs_b whose circuit cannot be built), the note
// on such a part, the verdict and the whole alignment recipe. With `spread`
// (whose oscillator `design` is) the input circuit is the bandspread one,
// else the main window's. Every number with the calculation's
// decimal separator, grouped as the default locale groups digits, "−" as minus.
struct PadderDesignText {
    std::vector<PadderRow> rows;
    QString standardNote; // empty when both standard padders can be aligned
    QString verdict;
    QString recipeHeading;
    QStringList recipeSteps;
};

PadderDesignText DescribePadderDesign(const ThreePointDesign& design, const PadderChoices& choices,
                                      const TrackingCalculator& calc,
                                      const BandspreadDesign* spread = nullptr);

// The verdict and the alignment steps as the window shows them, in HTML.
QString VerdictHtml(const PadderDesignText& text);
QString AlignmentRecipeHtml(const PadderDesignText& text);

// The saved and copied text, without line ends: the date and time, then
// every row, the note, the verdict and the numbered alignment steps.
QStringList PadderFileLines(const ThreePointDesign& design, const PadderChoices& choices,
                            const TrackingCalculator& calc, const QDateTime& now,
                            const BandspreadDesign* spread = nullptr);

// The window's status line over a design: its placement, or how the search
// for it ended; `earlierRun` when the main window's last calculation failed
// and the design is that of an earlier one.
QString DesignStatus(const ThreePointDesign& design, bool earlierRun);

// What the window says in place of a design: before a calculation completed
// (naming the main window's button by `startCaption`), for a refused design,
// for an own point left empty (0, 1, 2 for F1, F2, F3) or too large, and for
// a failure that no check of the design foresaw.
QString NoResultsYet(const QString& startCaption);
QString FailureText(const ThreePointError& error, const TrackingCalculator& calc,
                    const std::array<double, 3>& ownPoints);
QString MissingPoint(int point);
QString PointTooLarge(int point);
QString UnforeseenFailure();

// `why` there is no design, after the main window's last calculation failed
// and the window works on an earlier one.
QString NoDesignAfterFailedRun(const QString& why);

} // namespace kalibrix
