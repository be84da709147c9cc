#include "PadderText.h"

#include "InputFields.h"
#include "LocaleDateTime.h"
#include "NumberText.h"
#include "ResultsFileFormat.h"
#include "TrackingCalculator.h"

#include <QDateTime>

namespace kalibrix {
namespace {

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// Width of a file line's name: with "= " after it, labels are 13 characters
// wide, as in the results file.
constexpr int kFileNameWidth = 11;

QString FileLine(const QString& name, const QString& value, const QString& unit)
{
    return name.leftJustified(kFileNameWidth) + QStringLiteral("= ") + value
           + (unit.isEmpty() ? QString() : QStringLiteral("  ") + unit);
}

const QString kPointNames[] = {QStringLiteral("F1"), QStringLiteral("F2"), QStringLiteral("F3")};

QString Megahertz(double f, const TrackingCalculator& calc)
{
    return Text(calc.FormatMegahertz(f)) + QStringLiteral(" MHz");
}

QString Band(const TrackingCalculator& calc)
{
    return QStringLiteral("%1–%2 MHz")
        .arg(Text(calc.FormatMegahertz(calc.state.f_min)),
             Text(calc.FormatMegahertz(calc.state.f_max)));
}

QString StatedQ(const PadderCurve& curve, const TrackingCalculator& calc)
{
    return curve.statedQ ? Text(FormatGeneral(*curve.statedQ, calc.decimalSeparator))
                         : QStringLiteral("korlátlan");
}

} // namespace

QString ValueCaption(const PadderValueSpec& spec, const QString& prefix)
{
    QString symbol = prefix + QString::fromUtf8(spec.symbol);
    if (*spec.unit == '\0')
        return symbol;
    return QStringLiteral("%1 (%2)").arg(symbol, QString::fromUtf8(spec.unit));
}

QString ValueText(PadderValue value, const ThreePointDesign& design,
                  const PadderOscillator& oscillator, const PadderCurve& curve,
                  const TrackingCalculator& calc)
{
    const std::string& separator = calc.decimalSeparator;
    const auto picofarad = [&calc](double C) {
        return Text(calc.FormatValue(TrackingCalculator::RoundToPicofarad(C)));
    };
    switch (value) {
    case PadderValue::Lo:
        return Text(FormatSignificant(oscillator.L_o * 1e6, 4, separator));
    case PadderValue::Cpad:
        return Text(FormatSignificant(oscillator.C_p / kFaradPerPicofarad, 3, separator));
    case PadderValue::Cp_o:
        return picofarad(oscillator.C_to);
    case PadderValue::F1:
    case PadderValue::F2:
    case PadderValue::F3:
        return Text(calc.FormatMegahertz(
            design.f[static_cast<std::size_t>(value) - static_cast<std::size_t>(PadderValue::F1)]));
    case PadderValue::Ch1:
    case PadderValue::Ch2:
    case PadderValue::Ch3:
        return picofarad(design.C_h[static_cast<std::size_t>(value)
                                    - static_cast<std::size_t>(PadderValue::Ch1)]);
    case PadderValue::p_elt:
        return Text(FormatGeneral(curve.largestPositive, separator));
    case PadderValue::n_elt:
        return Text(FormatGeneral(curve.largestNegative, separator));
    case PadderValue::Q:
        return StatedQ(curve, calc);
    }
    return {};
}

std::array<QString, kStandardValues.size()> StandardTexts(const StandardPadder& padder,
                                                          const ThreePointDesign& design,
                                                          const TrackingCalculator& calc)
{
    std::array<QString, kStandardValues.size()> texts;
    for (std::size_t v = 0; v < kStandardValues.size(); ++v)
        if (padder.Aligned() || kStandardValues[v] == PadderValue::Cpad)
            texts[v] = ValueText(kStandardValues[v], design, padder.oscillator, padder.curve, calc);
    return texts;
}

QString StandardPadderNote(const ThreePointDesign& design)
{
    QStringList series;
    if (!design.e12.Aligned())
        series << QStringLiteral("E12");
    if (!design.e24.Aligned())
        series << QStringLiteral("E24");
    if (series.isEmpty())
        return {};
    return QStringLiteral("Az %1 padderrel az oszcillátor F1-en és F3-on nem állítható be: a "
                          "trimmer negatív lenne.")
        .arg(series.join(QStringLiteral(" és az ")));
}

QString PlacementName(PointPlacement placement)
{
    switch (placement) {
    case PointPlacement::LargestUsableQ:
        return QStringLiteral("Legnagyobb használható jóság");
    case PointPlacement::SmallestDeviation:
        return QStringLiteral("Legkisebb eltérés");
    case PointPlacement::OwnPoints:
        return QStringLiteral("Saját pontok");
    }
    return {};
}

QString NoResultsYet()
{
    return QStringLiteral("Még nincs eredmény: a padderes terv a főablak utolsó sikeres "
                          "számolásából készül. Adja meg ott a bemeneti adatokat, és nyomja meg "
                          "a „Számol” gombot.");
}

QString MissingPoint(int point)
{
    return QStringLiteral("Az %1 pont nincs megadva; a három pontot MHz-ben kell beírni.")
        .arg(kPointNames[point]);
}

QString FailureText(const ThreePointError& error, const TrackingCalculator& calc,
                    const std::array<double, 3>& ownPoints)
{
    const int point = error.point();
    switch (error.failure()) {
    case ThreePointFailure::PointOutsideBand:
        return QStringLiteral("Az %1 pont (%2) a sávon kívül esik: a pontoknak a %3 sávba kell "
                              "esniük, fmin ≤ F1 < F2 < F3 ≤ fmax.")
            .arg(kPointNames[point], Megahertz(ownPoints[static_cast<std::size_t>(point)], calc),
                 Band(calc));
    case ThreePointFailure::PointsNotRising:
        return QStringLiteral("Az %1 pont (%2) nem kisebb az %3 pontnál (%4): a pontok sorrendje "
                              "F1 < F2 < F3.")
            .arg(kPointNames[point], Megahertz(ownPoints[static_cast<std::size_t>(point)], calc),
                 kPointNames[point + 1],
                 Megahertz(ownPoints[static_cast<std::size_t>(point) + 1], calc));
    case ThreePointFailure::NegativeTrimmer:
        return QStringLiteral(
            "Nincs megépíthető padderes terv: az oszcillátor trimmere negatív lenne, mert a "
            "hangoló kondenzátor a szórt kapacitással együtt sem fogja át a sávot (ezért negatív "
            "a Cp_b is). Nagyobb kapacitásarányú hangoló kondenzátor, kisebb szórt kapacitás vagy "
            "keskenyebb sáv kell.");
    case ThreePointFailure::BandEdgesSwapped:
    case ThreePointFailure::LowerEdgeNotPositive:
    case ThreePointFailure::IntermediateFrequencyNotPositive:
    case ThreePointFailure::InputTrimmerNegative:
    case ThreePointFailure::PointsTooClose:
    case ThreePointFailure::NonFinite:
        return QStringLiteral("Nincs padderes terv: a számolás egyik értéke nem véges szám "
                              "(túl nagy, vagy nullával kellene osztani).");
    case ThreePointFailure::FailedCheck:
        return QStringLiteral(
            "Nincs padderes terv: a kapott értékeket visszahelyettesítve az oszcillátor nem a "
            "három ponton követi a bemenő kört. A nagyon keskeny sáv rosszul kondicionált (az "
            "5,9–6,2 MHz-es sávban a padder kb. 89 nF lenne); ilyen sávon a kétpontos terv is "
            "elég.");
    }
    return {};
}

QString VerdictText(const std::optional<Verdict>& twoPoint, const ThreePointDesign& design,
                    const TrackingCalculator& calc)
{
    if (twoPoint == Verdict::NoMistuning || twoPoint == Verdict::TrimmersEnough)
        return QStringLiteral("A kétpontos terv csak trimmerekkel is elég jó a sáv jellemző "
                              "bemenő köréhez: nem kell padder.");
    const BandKind kind = KindOfBand(calc.state.f_min);
    const TypicalQ typical = TypicalLoadedQ(kind);
    const QString q = StatedQ(design.curve, calc);
    const QString range =
        QStringLiteral("%1–%2").arg(Text(FormatGeneral(typical.low, calc.decimalSeparator)),
                                    Text(FormatGeneral(typical.high, calc.decimalSeparator)));
    switch (JudgeMistuning(design.curve.statedQ, kind)) {
    case Verdict::NoMistuning:
        return QStringLiteral("A padderes terv eltérése a sáv minden pontján nulla: bármilyen "
                              "jóságú bemenő körrel működik.");
    case Verdict::TrimmersEnough:
        return QStringLiteral("A padderes terv legfeljebb %1 jóságú bemenő kört visel el: a sáv "
                              "jellemző, %2 jóságú bemenő köréhez megfelel.")
            .arg(q, range);
    case Verdict::TrimmersForLowQ:
        return QStringLiteral("A padderes terv legfeljebb %1 jóságú bemenő kört visel el: a sáv "
                              "jellemző, %2 jóságú körei közül csak a gyengébbekhez felel meg.")
            .arg(q, range);
    default:
        return QStringLiteral("A padderes terv is csak legfeljebb %1 jóságú bemenő kört visel el: "
                              "a sáv jellemző, %2 jóságú bemenő köréhez ez sem elég.")
            .arg(q, range);
    }
}

QString AlignmentRecipeHtml(const ThreePointDesign& design, const TrackingCalculator& calc)
{
    const QString f1 = Megahertz(design.f[0], calc);
    const QString f2 = Megahertz(design.f[1], calc);
    const QString f3 = Megahertz(design.f[2], calc);
    return QStringLiteral(
               "<p><b>Beállítás</b> (a bemenő kör a főablak terve szerint, a padder beépítve):</p>"
               "<ol>"
               "<li>Hangolja a vevőt %1-re, és az oszcillátor tekercsének magjával állítsa be "
               "a vételt.</li>"
               "<li>Hangolja %2-re, és az oszcillátor trimmerével állítsa be a vételt.</li>"
               "<li>Ismételje a két lépést, amíg mindkét ponton a helyén marad a vétel.</li>"
               "<li>Ellenőrizze %3-en: itt is a hangolásnak megfelelő állomás szóljon, "
               "utánállítás nélkül.</li>"
               "</ol>")
        .arg(f1, f3, f2);
}

QString LegendEntry(const QString& name, const PadderCurve& curve, const TrackingCalculator& calc)
{
    return QStringLiteral("%1, használható jóság: %2").arg(name, StatedQ(curve, calc));
}

QString PadderGraphDescription(const QStringList& names,
                               const std::vector<const PadderCurve*>& curves,
                               const TrackingCalculator& calc)
{
    QString text = QStringLiteral("Grafikon: a bemenő kör eltérése, (fosz - fkf) - fbe, a %1 "
                                  "sávban, balra fmin, jobbra fmax.")
                       .arg(Band(calc));
    for (std::size_t i = 0; i < curves.size(); ++i)
        text += QStringLiteral(" %1: legnagyobb %2 Hz, legkisebb %3 Hz, használható jóság %4.")
                    .arg(names[static_cast<qsizetype>(i)],
                         Text(FormatGeneral(curves[i]->largestPositive, calc.decimalSeparator)),
                         Text(FormatGeneral(curves[i]->largestNegative, calc.decimalSeparator)),
                         StatedQ(*curves[i], calc));
    return text;
}

QStringList PadderFileLines(const ThreePointDesign& design, const TrackingCalculator& calc,
                            const QDateTime& now)
{
    const DateAndTime stamp = LocaleDateAndTime(now);
    QStringList lines{stamp.date + u' ' + stamp.time};
    // The inputs as the user types them, with a point, like the results file.
    for (std::size_t i = 0; i < kInputs.size(); ++i)
        lines << QLatin1String(kResultsFileLines[i].label)
                     + Text(FormatGeneral(calc.state.*(kInputs[i].member) / kInputs[i].factor, "."))
                     + QLatin1String(kResultsFileLines[i].unit);
    lines << FileLine(QStringLiteral("Pontok"), PlacementName(design.placement), {});
    for (const PadderValueSpec& spec : kPadderValues)
        lines << FileLine(QString::fromUtf8(spec.symbol),
                          ValueText(spec.value, design, design.oscillator, design.curve, calc),
                          QString::fromUtf8(spec.fileUnit));
    for (const auto& [prefix, padder] : {std::pair{QStringLiteral("E12 "), &design.e12},
                                         std::pair{QStringLiteral("E24 "), &design.e24}}) {
        const std::array<QString, kStandardValues.size()> texts =
            StandardTexts(*padder, design, calc);
        for (std::size_t v = 0; v < kStandardValues.size(); ++v) {
            const PadderValueSpec& spec =
                kPadderValues[static_cast<std::size_t>(kStandardValues[v])];
            lines << FileLine(prefix + QString::fromUtf8(spec.symbol), texts[v],
                              QString::fromUtf8(spec.fileUnit));
        }
    }
    if (const QString note = StandardPadderNote(design); !note.isEmpty())
        lines << note;
    return lines;
}

} // namespace kalibrix
