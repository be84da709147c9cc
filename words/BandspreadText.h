// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bandspread.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <string>

namespace kalibrix {

class TrackingCalculator;

// The Hungarian texts of the bandspread input circuit: the padder window's
// choice of input circuit, the coil field and its range, the circuit's values
// and their refusals, what the design gains, its alignment, and the notes'
// advice for a design that should take it.

// The padder window's two input circuits. Their names begin the choices'
// accessible names and fill the saved design's "Bemenő kör" row.
enum class InputCircuit { TrimmerOnly, Bandspread };
QString InputCircuitName(InputCircuit circuit);

// The padder window's section that chooses the input circuit, its row of the
// designed circuit's values, the note under the standard circuits' rows, the
// name of the button (captioned `caption`) that designs for the coil typed,
// and the sentence that names the designed circuit after the window's status
// and the graph's description.
inline const QString kInputCircuitTitle = QStringLiteral("Bemenő kör");
inline const QString kDesignedInputRow = QStringLiteral("Kiszámolt");
inline const QString kStandardInputTitle =
    QStringLiteral("Az E12-es és E24-es Cs_b-vel a tekercs és a trimmer a sáv széleire "
                   "beállítva.");
QString CoilComputeName(const QString& caption);
QString InputCircuitSentence(InputCircuit circuit);

// The bandspread input circuit's values in the order the window shows them;
// the E12 and E24 circuits' after their prefix ("E12 Cs_b (pF)").
enum class InputValue { Lb, Cs_b, Cp_b };

struct InputValueSpec {
    InputValue value;
    const char* symbol;   // begins the field's caption and accessible name
    const char* unit;     // as the window writes it
    const char* fileUnit; // as the file writes it
};

inline constexpr std::array<InputValueSpec, 3> kInputValues{{
    {InputValue::Lb, "Lb", "µH", "uH"},
    {InputValue::Cs_b, "Cs_b", "pF", "pf"},
    {InputValue::Cp_b, "Cp_b", "pF", "pf"},
}};

// "Cs_b (pF)", "E12 Lb (µH)"; the coil field's caption is that of Lb.
QString InputValueCaption(const InputValueSpec& spec, const QString& prefix = {});

// A value of a bandspread input circuit as the window and the file show it:
// the user's coil as typed, a re-set coil to four significant digits like
// the oscillator's, a capacitor in pF to 0.01 pF.
QString InputValueText(InputValue value, const BandspreadInput& input, bool userCoil,
                       const TrackingCalculator& calc);

// The coils that cover the band, each end as its step states it:
// "0,1964 … 21,498 µH"; beside the coil field, with what it means.
QString CoilRangeText(const CoilRange& range, const std::string& separator);
QString CoilRangeLabel(const CoilRange& range, const std::string& separator);

// The coil (H) as the coil field starts with it, in µH with a point.
QString CoilFieldText(double L);

// Why there is no bandspread design: no coil covers the band, the coil is
// not a number, or it lies outside `range` (`typed` as the user typed it).
QString BandspreadFailureText(const BandspreadError& error, const QString& typed,
                              const CoilRange* range, const TrackingCalculator& calc);

// What bandspread buys, after the design's verdict: the same curve and Q,
// parts that can be built, against the trimmer-only circuit's.
QString BandspreadGain(const BandspreadDesign& design, const TrackingCalculator& calc);

// The note under the standard values of a bandspread design: which standard
// Cs_b gives a circuit that cannot be built, and that the own padder, the
// pairs and the tolerance band are left out.
QString StandardInputNote(const BandspreadDesign& design);

// The alignment's heading in bandspread mode, from the padder's `heading`,
// and the input circuit's steps that follow the oscillator's `stepsBefore`
// steps: the coil's core at the bottom edge, the trimmer at the top,
// repeated. `dial` writes a frequency as the dial reads it.
QString BandspreadRecipeHeading(QString heading);
QStringList BandspreadRecipeSteps(const TrackingCalculator& calc, qsizetype stepsBefore,
                                  const std::function<QString(double)>& dial);

// The notes' advice, as an HTML list item with a link to `link`, for a design
// that BandspreadAdvised judges one: its Lb and Cp_b as the reason.
QString BandspreadAdviceHtml(const TrackingCalculator& calc, const QString& link,
                             const QString& padderWindowTitle);

} // namespace kalibrix
