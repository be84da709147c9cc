// SPDX-License-Identifier: GPL-3.0-or-later
#include "PadderText.h"

#include "DesignFigures.h"
#include "InputFields.h"
#include "LocaleDateTime.h"
#include "NumberText.h"
#include "PadderFitText.h"
#include "Phrases.h"
#include "ResultsFileFormat.h"
#include "TrackingCalculator.h"

#include <QDateTime>

#include <algorithm>
#include <iterator>

namespace kalibrix {
namespace {

// Width of a file line's name: with "= " after it, labels are 13 characters
// wide, as in the results file.
constexpr int kFileNameWidth = 11;

QString FileLine(const PadderRow& row)
{
    // A value that does not exist leaves its unit out too.
    // A longer label keeps a blank before its "=".
    const QString name = row.label.size() < kFileNameWidth ? row.label.leftJustified(kFileNameWidth)
                                                           : row.label + u' ';
    return name + QStringLiteral("= ") + row.text
           + (row.unit.isEmpty() || row.text.isEmpty() ? QString()
                                                       : QStringLiteral("  ") + row.unit);
}

const QString kPointNames[] = {QStringLiteral("F1"), QStringLiteral("F2"), QStringLiteral("F3")};

QString PointName(int point)
{
    return kPointNames[static_cast<std::size_t>(point)];
}

// The Hungarian adjective suffix of a whole number as it is read out: 150
// (százötven) takes "-es", 30 (harminc) "-as", 5 (öt) "-ös", 6 (hat) "-os".
// The last non-zero digit decides, and for round hundreds (száz) "-as",
// thousands (ezer) "-es".
QString AdjectiveSuffix(long long n)
{
    static const char* const units[] = {"", "es", "es", "as", "es", "ös", "os", "es", "as", "es"};
    static const char* const tens[] = {"", "es", "as", "as", "es", "es", "as", "es", "as", "es"};
    if (n % 10 != 0)
        return QString::fromUtf8(units[n % 10]);
    if (n % 100 != 0)
        return QString::fromUtf8(tens[(n / 10) % 10]);
    return n % 1000 != 0 ? QStringLiteral("as") : QStringLiteral("es");
}

// The band's typical loaded Q as an adjective: "50–150-es".
QString TypicalRangeAdjective(const TypicalQ& typical, const std::string& separator)
{
    return RangeText(typical.low, typical.high, separator) + u'-'
           + AdjectiveSuffix(static_cast<long long>(typical.high));
}

QString Picofarad(double capacitance, const TrackingCalculator& calc)
{
    return PicofaradText(capacitance, calc);
}

QString ValueText(PadderValue value, const ThreePointDesign& design,
                  const PadderOscillator& oscillator, const PadderCurve& curve,
                  const TrackingCalculator& calc)
{
    const std::string& separator = calc.decimalSeparator;
    switch (value) {
    case PadderValue::Lo:
        return NumberPhrase(FormatSignificant(oscillator.L_o * 1e6, 4, separator), separator);
    case PadderValue::Cpad:
        return NumberPhrase(FormatSignificant(oscillator.C_p / kFaradPerPicofarad, 3, separator),
                            separator);
    case PadderValue::Cp_o:
        return Picofarad(oscillator.C_to, calc);
    case PadderValue::F1:
    case PadderValue::F2:
    case PadderValue::F3:
        return NumberPhrase(
            calc.FormatMegahertz(design.f[static_cast<std::size_t>(value)
                                          - static_cast<std::size_t>(PadderValue::F1)]),
            separator);
    case PadderValue::Ch1:
    case PadderValue::Ch2:
    case PadderValue::Ch3:
        return Picofarad(design.C_h[static_cast<std::size_t>(value)
                                    - static_cast<std::size_t>(PadderValue::Ch1)],
                         calc);
    case PadderValue::p_elt:
        return GeneralNumber(curve.largestPositive, separator);
    case PadderValue::n_elt:
        return GeneralNumber(curve.largestNegative, separator);
    case PadderValue::Q:
        return StatedQText(curve.statedQ, separator);
    }
    return {};
}

const PadderValueSpec& SpecOf(PadderValue value)
{
    return kPadderValues[static_cast<std::size_t>(value)];
}

PadderRow ValueRow(PadderValue value, const QString& text, const QString& prefix, int standard)
{
    const PadderValueSpec& spec = SpecOf(value);
    return {prefix + QString::fromUtf8(spec.symbol),
            text,
            QString::fromUtf8(spec.fileUnit),
            value,
            standard,
            std::nullopt};
}

PadderRow InputRow(InputValue value, const QString& text, const QString& prefix, int standard)
{
    const InputValueSpec& spec = kInputValues[static_cast<std::size_t>(value)];
    return {prefix + QString::fromUtf8(spec.symbol),
            text,
            QString::fromUtf8(spec.fileUnit),
            std::nullopt,
            standard,
            value};
}

// A row of the file alone.
PadderRow FileRow(const QString& label, const QString& text, const QString& unit)
{
    return {label, text, unit, std::nullopt, -1, std::nullopt};
}

// The inputs as the calculation holds them, which input circuit was
// designed, and its parts: the main window's as it shows them, or the
// bandspread one's.
void AddInputRows(const TrackingCalculator& calc, const BandspreadDesign* spread,
                  std::vector<PadderRow>& rows)
{
    const CalculationState& s = calc.state;
    for (std::size_t i = 0; i < kInputs.size(); ++i)
        rows.push_back(FileRow(
            QString::fromLatin1(kResultsFileLines[i].label).section(u'=', 0, 0).trimmed(),
            GeneralNumber(s.*(kInputs[i].member) / kInputs[i].factor, calc.decimalSeparator),
            QString::fromLatin1(kResultsFileLines[i].unit).trimmed()));
    rows.push_back(FileRow(
        QStringLiteral("Bemenő kör"),
        InputCircuitName(spread ? InputCircuit::Bandspread : InputCircuit::TrimmerOnly), {}));
    if (spread) {
        std::ranges::transform(
            kInputValues, std::back_inserter(rows), [&](const InputValueSpec& spec) {
                return InputRow(spec.value, InputValueText(spec.value, spread->input, true, calc),
                                {}, -1);
            });
        return;
    }
    rows.push_back(
        FileRow(QStringLiteral("Lb"),
                NumberPhrase(calc.FormatValue(TrackingCalculator::RoundToMicrohenry(s.L_b)),
                             calc.decimalSeparator),
                QStringLiteral("uH")));
    rows.push_back(FileRow(QStringLiteral("Cp_b"), Picofarad(s.C_tb, calc), QStringLiteral("pf")));
}

// Which standard padders cannot be aligned, and why.
QString StandardPadderNote(const ThreePointDesign& design)
{
    QStringList notes;
    for (const auto& [series, padder] : {std::pair{QStringLiteral("E12"), &design.e12},
                                         std::pair{QStringLiteral("E24"), &design.e24}}) {
        if (padder->trimmerNegative)
            notes << QStringLiteral("Az %1 padderrel az oszcillátor nem állítható be: a trimmer "
                                    "negatív lenne.")
                         .arg(series);
        else if (padder->alignmentFailed)
            notes << QStringLiteral("Az %1 padderhez nincs olyan tekercs és trimmer, amellyel az "
                                    "oszcillátor két ponton pontosan beállítható.")
                         .arg(series);
    }
    if (notes.isEmpty())
        return {};
    return notes.join(u' ') + QStringLiteral(" Ennek csak a névleges értéke áll a táblázatban.");
}

QString VerdictText(const ThreePointDesign& design, const TrackingCalculator& calc)
{
    const BandKind kind = KindOfBand(calc.state.f_min);
    const std::string& separator = calc.decimalSeparator;
    const QString q = StatedQText(design.curve.statedQ, separator);
    const QString typical = TypicalRangeAdjective(TypicalLoadedQ(kind), separator);
    switch (PadderVerdictOf(design, calc)) {
    case PadderVerdict::NotNeeded:
        return QStringLiteral("Csak trimmeres (kétpontos) kiegyenlítéssel is elég a sávban "
                              "szokásos, %1 terhelt jóságú bemenő körökhöz; padder nem kell.")
            .arg(typical);
    case PadderVerdict::NoMistuning:
        return QStringLiteral("A padderes terv eltérése a sáv minden pontján nulla: bármilyen "
                              "jóságú bemenő körrel működik.");
    case PadderVerdict::Enough:
        return QStringLiteral("A padderes terv legfeljebb Q = %1 jósági tényezőjű bemenő kört "
                              "enged meg: a sávban szokásos, %2 terhelt jóságú bemenő körökhöz "
                              "elég.")
            .arg(q, typical);
    case PadderVerdict::EnoughForLowQ:
        return QStringLiteral("A padderes terv legfeljebb Q = %1 jósági tényezőjű bemenő kört "
                              "enged meg: a sávban szokásos, %2 terhelt jóságú bemenő körök közül "
                              "csak a kisebb jóságúakhoz elég.")
            .arg(q, typical);
    case PadderVerdict::NotEnough:
        return QStringLiteral("A padderes terv is csak legfeljebb Q = %1 jósági tényezőjű bemenő "
                              "kört enged meg: a sávban szokásos, %2 terhelt jóságú bemenő "
                              "körökhöz ez sem elég.")
            .arg(q, typical);
    }
    return {};
}

} // namespace

QString ValueCaption(const PadderValueSpec& spec, const QString& prefix)
{
    QString symbol = prefix + QString::fromUtf8(spec.symbol);
    if (*spec.unit == '\0')
        return symbol;
    return QStringLiteral("%1 (%2)").arg(symbol, QString::fromUtf8(spec.unit));
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

PadderDesignText DescribePadderDesign(const ThreePointDesign& design, const PadderChoices& choices,
                                      const TrackingCalculator& calc,
                                      const BandspreadDesign* spread)
{
    PadderDesignText text;
    AddInputRows(calc, spread, text.rows);
    text.rows.push_back(FileRow(QStringLiteral("Pontok"), PlacementName(design.placement), {}));
    for (const PadderValueSpec& spec : kPadderValues)
        text.rows.push_back(
            ValueRow(spec.value,
                     ValueText(spec.value, design, design.oscillator, design.curve, calc), {}, -1));
    std::vector<std::pair<QString, const StandardPadder*>> padders{
        {QStringLiteral("E12 "), &design.e12}, {QStringLiteral("E24 "), &design.e24}};
    if (choices.own)
        padders.emplace_back(kOwnPadderPrefix, &*choices.own);
    for (std::size_t series = 0; series < padders.size(); ++series) {
        const auto& [prefix, padder] = padders[series];
        if (spread) {
            const StandardInput& input = series == 0 ? spread->e12 : spread->e24;
            for (const InputValueSpec& spec : kInputValues)
                text.rows.push_back(
                    InputRow(spec.value,
                             input.Aligned() || spec.value == InputValue::Cs_b
                                 ? InputValueText(spec.value, input.input, false, calc)
                                 : QString(),
                             prefix, static_cast<int>(series)));
        }
        for (const PadderValue value : kStandardValues) {
            const bool shown = padder->Aligned() || value == PadderValue::Cpad;
            text.rows.push_back(
                ValueRow(value,
                         shown ? ValueText(value, design, padder->oscillator, padder->curve, calc)
                               : QString(),
                         prefix, static_cast<int>(series)));
        }
        for (PadderRow& row : AlignmentRows(*padder, prefix, calc))
            text.rows.push_back(std::move(row));
    }
    for (PadderRow& row : PairAndToleranceRows(choices, calc))
        text.rows.push_back(std::move(row));
    text.standardNote = StandardPadderNote(design);
    text.verdict = VerdictText(design, calc);
    if (spread) {
        const QString inputNote = StandardInputNote(*spread);
        if (!inputNote.isEmpty())
            text.standardNote =
                inputNote + (text.standardNote.isEmpty() ? QString() : u' ' + text.standardNote);
        text.verdict += u' ' + BandspreadGain(*spread, calc);
    }
    AlignmentRecipe recipe = RecipeFor(design, choices, calc);
    text.recipeHeading = std::move(recipe.heading);
    text.recipeSteps = std::move(recipe.steps);
    if (spread) {
        // The recipe's fifth to seventh steps align the input circuit: the
        // bandspread one at the band's edges instead.
        constexpr qsizetype kInputSteps = 4;
        text.recipeHeading = BandspreadRecipeHeading(text.recipeHeading);
        const QStringList input = BandspreadRecipeSteps(
            calc, kInputSteps, [&](double f) { return DialFrequency(f, calc); });
        for (qsizetype k = 0; k < input.size() && kInputSteps + k < text.recipeSteps.size(); ++k)
            text.recipeSteps[kInputSteps + k] = input[k];
    }
    return text;
}

QString VerdictHtml(const PadderDesignText& text)
{
    return QStringLiteral("<b>Értékelés:</b> ") + text.verdict.toHtmlEscaped();
}

QString AlignmentRecipeHtml(const PadderDesignText& text)
{
    QString html = QStringLiteral("<p><b>%1</b></p><ol>").arg(text.recipeHeading.toHtmlEscaped());
    for (const QString& step : text.recipeSteps)
        html += QStringLiteral("<li>%1</li>").arg(step.toHtmlEscaped());
    return html + QStringLiteral("</ol>");
}

QStringList PadderFileLines(const ThreePointDesign& design, const PadderChoices& choices,
                            const TrackingCalculator& calc, const QDateTime& now,
                            const BandspreadDesign* spread)
{
    const PadderDesignText text = DescribePadderDesign(design, choices, calc, spread);
    const DateAndTime stamp = LocaleDateAndTime(now);
    QStringList lines{stamp.date + u' ' + stamp.time};
    for (const PadderRow& row : text.rows)
        lines << FileLine(row);
    if (!text.standardNote.isEmpty())
        lines << text.standardNote;
    lines << QStringLiteral("Értékelés: ") + text.verdict << text.recipeHeading;
    for (qsizetype i = 0; i < text.recipeSteps.size(); ++i)
        lines << QStringLiteral("%1. %2").arg(i + 1).arg(text.recipeSteps[i]);
    return lines;
}

QString DesignStatus(const ThreePointDesign& design, bool earlierRun)
{
    QString status = earlierRun ? QStringLiteral("A főablak legutóbbi számolása nem sikerült. Az "
                                                 "ablak egy korábbi, sikeres számolás padderes "
                                                 "tervét mutatja")
                                : QStringLiteral("Padderes terv a főablak utolsó számolásához");
    if (design.converged)
        return status
               + QStringLiteral(", a pontok helye: %1.")
                     .arg(PlacementName(design.placement).toLower());
    return status
           + QStringLiteral(". A pontok keresése („%1”) nem jutott el a céljáig: a négy "
                            "eltéréscsúcs nem lett egyforma. A terv a keresés utolsó pontjaival "
                            "készült, megépíthető, de nem a legjobb; a „Saját pontok” "
                            "választással a pontok kézzel is áthelyezhetők.")
                 .arg(PlacementName(design.placement));
}

QString NoResultsYet(const QString& startCaption)
{
    return QStringLiteral("Még nincs eredmény: a padderes terv a főablak utolsó sikeres "
                          "számolásából készül. Adja meg ott a bemeneti adatokat, és nyomja meg "
                          "a „%1” gombot.")
        .arg(startCaption);
}

QString UnforeseenFailure()
{
    return QStringLiteral("Nincs padderes terv: egy érték kiszámítása vagy kiírása nem sikerült "
                          "(túl nagy, vagy nem értelmezhető szám lett). Próbáljon más pontokat "
                          "vagy más bemeneti adatokat.");
}

QString NoDesignAfterFailedRun(const QString& why)
{
    return QStringLiteral("A főablak legutóbbi számolása nem sikerült. Az ablak egy korábbi, "
                          "sikeres számolással dolgozik. ")
           + why;
}

QString MissingPoint(int point)
{
    return QStringLiteral("Az %1 pont nincs megadva; a három pontot MHz-ben kell beírni.")
        .arg(PointName(point));
}

QString PointTooLarge(int point)
{
    return QStringLiteral("Az %1 pontnak beírt szám túl nagy.").arg(PointName(point));
}

QString FailureText(const ThreePointError& error, const TrackingCalculator& calc,
                    const std::array<double, 3>& ownPoints)
{
    const int point = error.point();
    const auto own = [&](int i) {
        return MegahertzText(ownPoints[static_cast<std::size_t>(i)], calc);
    };
    const CalculationState& s = calc.state;
    switch (error.failure()) {
    case ThreePointFailure::BandEdgesSwapped:
        return QStringLiteral("Nincs padderes terv: az fmin (%1) nagyobb, mint az fmax (%2), a "
                              "sáv szélei fel vannak cserélve. Cserélje fel a főablakban a két "
                              "frekvenciát.")
            .arg(MegahertzText(s.f_min, calc), MegahertzText(s.f_max, calc));
    case ThreePointFailure::LowerEdgeNotPositive:
        return QStringLiteral("Nincs padderes terv: a sáv alsó széle, az fmin (%1) nem pozitív, "
                              "ilyen frekvenciára hangolt kör nincs. Adja meg a főablakban az "
                              "fmin értékét pozitív számként.")
            .arg(MegahertzText(s.f_min, calc));
    case ThreePointFailure::IntermediateFrequencyNotPositive:
        if (s.f_kf == 0.0)
            return QStringLiteral("Nincs padderes terv: a középfrekvencia nulla, így az "
                                  "oszcillátor a bemenő körrel azonos frekvencián rezeg, és a két "
                                  "kör együtt hangolódik: padder nem kell. Ha keverős vevőt "
                                  "tervez, adja meg a főablakban a középfrekvenciát.");
        return QStringLiteral("Nincs padderes terv: a középfrekvencia (%1) negatív. Az "
                              "oszcillátor a vett jel fölött egy középfrekvenciával rezeg: adja "
                              "meg a főablakban a középfrekvenciát pozitív számként.")
            .arg(MegahertzText(s.f_kf, calc));
    case ThreePointFailure::InputTrimmerNegative:
        return QStringLiteral("Nincs padderes terv: a bemenő kör Cp_b trimmere negatív (%1 pF), "
                              "így már a bemenő kör sem építhető meg, mert a hangolókondenzátor a "
                              "szórt kapacitással együtt sem fogja át a sávot. Válasszon nagyobb "
                              "kapacitásarányú hangolókondenzátort, csökkentse a szórt "
                              "kapacitást, vagy szűkítse a sávot (fmin, fmax).")
            .arg(Picofarad(s.C_tb, calc));
    case ThreePointFailure::PointsTooClose:
        return QStringLiteral("Az %1 pont (%2) és az %3 pont (%4) túl közel van egymáshoz: "
                              "legalább a sáv egy lépésnyi, %5 kHz távolságra kell lenniük, "
                              "különben a padder értéke a kerekítési hibákon múlik. Válasszon "
                              "távolabbi pontokat.")
            .arg(PointName(point), own(point), PointName(point + 1), own(point + 1),
                 NumberPhrase(FormatSignificant(SweepStepWidth(s) / 1e3, 3, calc.decimalSeparator),
                              calc.decimalSeparator));
    case ThreePointFailure::PointOutsideBand:
        return QStringLiteral("Az %1 pont (%2) a sávon kívül esik: a pontoknak a %3 sávba kell "
                              "esniük, fmin ≤ F1 < F2 < F3 ≤ fmax.")
            .arg(PointName(point), own(point), BandText(calc));
    case ThreePointFailure::PointsNotRising:
        return QStringLiteral("Az %1 pont (%2) nem kisebb az %3 pontnál (%4): a pontokat növekvő "
                              "sorrendben adja meg (F1 < F2 < F3).")
            .arg(PointName(point), own(point), PointName(point + 1), own(point + 1));
    case ThreePointFailure::NegativeTrimmer:
        return QStringLiteral(
            "Nincs megépíthető padderes terv: az oszcillátor trimmere negatív lenne, a szórt "
            "kapacitásnál kisebb párhuzamos kapacitás kellene az oszcillátor "
            "hangolókondenzátorával. Csökkentse a szórt kapacitást (C_sz), vagy válasszon más "
            "pontokat.");
    case ThreePointFailure::NonFinite:
        return QStringLiteral("Nincs padderes terv: a számolás egyik értéke nem véges szám, vagy "
                              "a padder, illetve az oszcillátortekercs nem lenne pozitív. "
                              "Ellenőrizze a főablak bemeneti adatait: a sávot, a "
                              "középfrekvenciát és a hangolókondenzátor két értékét.");
    case ThreePointFailure::FailedCheck:
        return QStringLiteral(
            "Nincs padderes terv: a kapott értékeket visszahelyettesítve az oszcillátor nem követi "
            "a bemenő kört a három ponton, mert ennél a sávnál és középfrekvenciánál a padder "
            "értéke a kerekítési hibákon múlik. Ez a középfrekvenciához képest nagyon keskeny "
            "sávon fordul elő; szélesebb sávval vagy kisebb középfrekvenciával számolható, és "
            "hogy elég-e a trimmer, a főablak kétpontos terve megmutatja.");
    }
    return {};
}

} // namespace kalibrix
