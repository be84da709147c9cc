#pragma once

#include "DesignVerdict.h"
#include "ThreePointTracking.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class QDateTime;

namespace kalibrix {

class TrackingCalculator;

// The Hungarian texts of the padder window, and the numbers it shows.

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

// The text of a value: Lo in µH to 4 significant digits, Cpad in pF to 3,
// Cp_o and Ch in pF and F in MHz as the main window shows them, the extremes
// in the general number form, Q as stated (rounded down to two significant
// digits). `oscillator` and `curve` are the design's or a standard padder's.
QString ValueText(PadderValue value, const ThreePointDesign& design,
                  const PadderOscillator& oscillator, const PadderCurve& curve,
                  const TrackingCalculator& calc);

// A standard padder's values; for one that cannot be aligned, only its
// nominal value, the other values being empty.
std::array<QString, kStandardValues.size()> StandardTexts(const StandardPadder& padder,
                                                          const ThreePointDesign& design,
                                                          const TrackingCalculator& calc);
// What the window says under the standard padders: empty, or which of them
// cannot be aligned at F1 and F3.
QString StandardPadderNote(const ThreePointDesign& design);

QString PlacementName(PointPlacement placement);

// What the window says in place of a design.
QString NoResultsYet();
QString FailureText(const ThreePointError& error, const TrackingCalculator& calc,
                    const std::array<double, 3>& ownPoints);
// An own point left empty (0, 1, 2 for F1, F2, F3).
QString MissingPoint(int point);

// The verdict: from the two-point design's figures (none when its verdict
// cannot be judged), then from the padder design's stated Q.
QString VerdictText(const std::optional<Verdict>& twoPoint, const ThreePointDesign& design,
                    const TrackingCalculator& calc);

// The alignment steps with the design's own frequencies, as HTML.
QString AlignmentRecipeHtml(const ThreePointDesign& design, const TrackingCalculator& calc);

// The graph's legend entry: the curve's name and its usable Q.
QString LegendEntry(const QString& name, const PadderCurve& curve, const TrackingCalculator& calc);
// The graph's description for a screen reader: the band, then each curve's
// extremes.
QString PadderGraphDescription(const QStringList& names,
                               const std::vector<const PadderCurve*>& curves,
                               const TrackingCalculator& calc);

// The saved and copied text, without line ends: the date and time, the six
// inputs, the placement, every value with its unit, and the E12 and E24 rows.
QStringList PadderFileLines(const ThreePointDesign& design, const TrackingCalculator& calc,
                            const QDateTime& now);

} // namespace kalibrix
