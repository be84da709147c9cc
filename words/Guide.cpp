// SPDX-License-Identifier: GPL-3.0-or-later
#include "Guide.h"

#include "BandspreadText.h"
#include "DesignFigures.h"
#include "DesignVerdict.h"
#include "InputFields.h"
#include "NumberText.h"
#include "PadderText.h"
#include "Phrases.h"
#include "ResultsFileFormat.h"
#include "SelectivityText.h"
#include "ThreePointTracking.h"
#include "TrackingCalculator.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <stdexcept>

namespace kalibrix {
namespace {

// The line count of a results file: the date line, then one line per field.
constexpr std::size_t kResultsFileLineCount = kResultsFileLines.size() + 1;

// A typical design of the guide: its key in the named places and its input
// texts in the order of kInputs, as typed into the window.
struct TypicalDesign {
    const char* key;
    std::array<const char*, kInputs.size()> inputs;
};

constexpr TypicalDesign kTypicalDesigns[] = {
    {"mw", {"12", "500", "10", "0.52", "1.62", "0.455"}},
    {"lw", {"12", "500", "10", "0.15", "0.285", "0.455"}},
    {"sw", {"10", "50", "10", "5.9", "6.2", "0.455"}},
    {"fm", {"5", "20", "5", "87.5", "108", "10.7"}},
    {"vhf", {"10", "40", "5", "65", "108", "10.7"}},
    // The 49 m band on a common broadcast gang, the bandspread example.
    {"bs", {"15", "365", "25", "5.9", "6.2", "0.455"}},
};

// Keeps each result text the solver shows, by output field.
class ResultTextRecorder : public OutputSink {
public:
    void ShowOutput(OutputField field, const std::string& text) override
    {
        texts[static_cast<std::size_t>(field)] = text;
    }
    std::array<std::string, kOutputFieldCount> texts;
};

// The named places of one typical design: DESIGN.INPUT and DESIGN.RESULT as
// the window shows them, DESIGN.q, the stated usable Q, and for its limiting
// point DESIGN.limit_frequency, DESIGN.limit_deviation, DESIGN.limit_percent
// and DESIGN.approximate_q (the narrow-band approximation there, stated as a
// Q is), DESIGN.l_b_exact, Lb in µH to three decimals, and DESIGN.padder_q,
// the stated usable Q of the three-point design with the points placed for
// the largest usable Q.
// The places of a design that should take bandspread, after its
// DESIGN.INPUT and DESIGN.RESULT: DESIGN.share, the gang's share of the
// trimmer-only tank at the band's bottom in per cent; DESIGN.range, the coils
// that cover the band; DESIGN.target, C_h_min + C_sz (pF), which the default
// coil's trimmer equals; DESIGN.lb, DESIGN.cs_b and DESIGN.cp_b, the default
// coil and its capacitors; DESIGN.e12_lb, DESIGN.e12_cs_b and DESIGN.e12_cp_b,
// the circuit re-set for the E12 Cs_b.
void AddBandspreadPlaces(const TrackingCalculator& calc, const QString& prefix,
                         QHash<QString, QString>& places)
{
    const CalculationState& s = calc.state;
    const std::string& separator = calc.decimalSeparator;
    const CoilRange range = BandspreadCoilRange(s);
    const BandspreadDesign design =
        DesignBandspread(s, CoilFieldText(DefaultBandspreadCoil(s, range)).toStdString(),
                         PointPlacement::LargestUsableQ);
    places[prefix + QStringLiteral("share")] =
        PercentText(s.C_h_max / (s.C_h_max + s.C_tb + s.C_sz), separator);
    places[prefix + QStringLiteral("range")] = CoilRangeText(range, separator);
    places[prefix + QStringLiteral("target")] = PicofaradText(s.C_h_min + s.C_sz, calc);
    for (const InputValueSpec& spec : kInputValues) {
        const QString name = QString::fromUtf8(spec.symbol).toLower();
        places[prefix + name] = InputValueText(spec.value, design.input, true, calc);
        places[prefix + QStringLiteral("e12_") + name] =
            InputValueText(spec.value, design.e12.input, false, calc);
    }
}

void AddDesignPlaces(const TypicalDesign& design, const GuideWindow& window,
                     const std::string& separator, QHash<QString, QString>& places)
{
    TrackingCalculator calc;
    calc.decimalSeparator = separator;
    const QString prefix = QString::fromLatin1(design.key) + QLatin1Char('.');
    for (std::size_t i = 0; i < kInputs.size(); ++i) {
        const double typed = ParseLeadingNumber(design.inputs[i]);
        calc.state.*(kInputs[i].member) = typed * kInputs[i].factor;
        places[prefix + Text(std::string(kInputs[i].name))] = GeneralNumber(typed, separator);
    }
    ResultTextRecorder results;
    SolveTracking(calc, results);
    for (const OutputField field : kOutputFieldsInStepOrder)
        places[prefix + window.resultNames[static_cast<std::size_t>(field)]] =
            NumberPhrase(results.texts[static_cast<std::size_t>(field)], separator);

    const std::optional<DesignFigures> figures = FiguresOfDesign(calc.state);
    if (!figures || !figures->limitingPoint)
        return;
    AddDesignSelectivityPlaces(calc, prefix, places);
    const SweepPoint& limit = *figures->limitingPoint;
    places[prefix + QStringLiteral("q")] = StatedQText(figures->statedQ, separator);
    places[prefix + QStringLiteral("limit_frequency")] =
        NumberPhrase(calc.FormatMegahertz(limit.frequency), separator);
    places[prefix + QStringLiteral("limit_deviation")] = GeneralNumber(limit.deviation, separator);
    places[prefix + QStringLiteral("limit_percent")] =
        PercentText(limit.deviation / limit.frequency, separator);
    places[prefix + QStringLiteral("approximate_q")] = GeneralNumber(
        RoundDownToTwoSignificant(ApproximateQ(limit.frequency, limit.deviation)), separator);
    try {
        if (BandspreadAdvised(calc.state))
            AddBandspreadPlaces(calc, prefix, places);
    } catch (const std::runtime_error&) {
        // No bandspread design: the guide names these places only for
        // designs that have one.
    }
    places[prefix + QStringLiteral("l_b_exact")] =
        NumberPhrase(FormatFixed(calc.state.L_b * 1e6, 3, separator), separator);
    try {
        const ThreePointDesign padder =
            DesignThreePoint(calc.state, PointPlacement::LargestUsableQ);
        places[prefix + QStringLiteral("padder_q")] = StatedQText(padder.curve.statedQ, separator);
    } catch (const ThreePointError&) {
        // A design the padder cannot improve has no such place; the guide
        // names it for the designs that have one.
    }
}

} // namespace

QString FillGuide(const GuideWindow& window)
{
    const QLocale locale;
    const std::string separator = locale.decimalPoint().toStdString();
    QHash<QString, QString> places = window.places;
    places[QStringLiteral("line_count")] = QString::number(kResultsFileLineCount);
    places[QStringLiteral("padder_window")] = kPadderWindowTitle;
    places[QStringLiteral("input_circuit.trimmer")] = InputCircuitName(InputCircuit::TrimmerOnly);
    places[QStringLiteral("input_circuit.bandspread")] = InputCircuitName(InputCircuit::Bandspread);
    places[QStringLiteral("vhf_edge")] =
        GeneralNumber(kVhfLowerEdge / kHertzPerMegahertz, separator);
    places[QStringLiteral("inset_divisor")] = GeneralNumber(kTrackingPointInsetDivisor, separator);
    // The inset that minimises a parabola's largest error: 4 + 2√2.
    places[QStringLiteral("parabola_divisor")] =
        NumberPhrase(FormatFixed(4.0 + 2.0 * std::sqrt(2.0), 2, separator), separator);
    const TypicalQ belowVhf = TypicalLoadedQ(BandKind::BelowVhf);
    const TypicalQ vhf = TypicalLoadedQ(BandKind::Vhf);
    places[QStringLiteral("typical.below_vhf")] = RangeText(belowVhf.low, belowVhf.high, separator);
    places[QStringLiteral("typical.vhf")] = RangeText(vhf.low, vhf.high, separator);
    for (const TypicalDesign& design : kTypicalDesigns)
        AddDesignPlaces(design, window, separator, places);
    AddSelectivityPlaces(places, separator);

    QFile file(QStringLiteral(":/guide.html"));
    file.open(QIODevice::ReadOnly);
    const QString html = QString::fromUtf8(file.readAll());
    // A name the program does not know stays as it is written, braces and
    // all, where the tests find it.
    static const QRegularExpression place(QStringLiteral("\\{\\{([^{}]+)\\}\\}"));
    QString filled;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : place.globalMatch(html)) {
        filled += html.mid(from, match.capturedStart() - from);
        filled += places.value(match.captured(1), match.captured(0));
        from = match.capturedEnd();
    }
    return filled + html.mid(from);
}

} // namespace kalibrix
