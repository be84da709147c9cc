// SPDX-License-Identifier: GPL-3.0-or-later
#include "PadderFitText.h"

#include "DesignFigures.h"
#include "NumberText.h"
#include "Phrases.h"
#include "TrackingCalculator.h"

namespace kalibrix {

namespace {

QString SeriesName(StandardSeries series)
{
    return series == StandardSeries::E12 ? QStringLiteral("E12") : QStringLiteral("E24");
}

// Whole picofarads as a phrase: "560", "3 900".
QString WholePicofarads(double capacitance, const TrackingCalculator& calc)
{
    return NumberPhrase(FormatFixed(capacitance / kFaradPerPicofarad, 0, calc.decimalSeparator),
                        calc.decimalSeparator);
}

// The axis reads kHz while the whole band lies below the VHF line.
bool AxisInKilohertz(const TrackingCalculator& calc)
{
    return calc.state.f_max < kVhfLowerEdge;
}

PadderRow Row(const QString& label, const QString& text, const QString& unit)
{
    return {label, text, unit, std::nullopt, -1, std::nullopt};
}

// The padder the recipe is written for: the builder's own when typed and
// aligned, else E24, else E12; none when no fitted padder can be aligned.
struct RecipePadder {
    const StandardPadder* padder = nullptr;
    QString name; // "az E24-es, 560 pF-os padderrel"
};

RecipePadder ChoosePadder(const ThreePointDesign& design, const PadderChoices& choices,
                          const TrackingCalculator& calc)
{
    if (choices.own && choices.own->Aligned())
        return {&*choices.own, QStringLiteral("a saját, %1 pF-os padderrel")
                                   .arg(WholePicofarads(choices.own->nominal, calc))};
    for (const auto& [series, padder] :
         {std::pair{StandardSeries::E24, &design.e24}, std::pair{StandardSeries::E12, &design.e12}})
        if (padder->Aligned())
            return {padder, QStringLiteral("az %1-es, %2 pF-os padderrel")
                                .arg(SeriesName(series), WholePicofarads(padder->nominal, calc))};
    return {};
}

const QString kSetUp = QStringLiteral(
    "A jelgenerátort kösse a vevő antennabemenetére, a KF-kimenetre kimenetjelzőt (nívómérőt "
    "vagy oszcilloszkópot); minden beállítás a KF-kimeneten mért jel maximumára történik.");

// The oscillator and the input circuit, each at a low and a high point:
// steps 2 to 7 after the set-up.
QStringList CircuitSteps(const QString& low, const QString& high)
{
    return {
        QStringLiteral("Oszcillátor, alsó pont: adjon %1-es jelet, hangolja a vevőt a skála "
                       "%1-es jeléhez, és az oszcillátortekercs vasmagjával állítsa a jelet "
                       "maximumra.")
            .arg(low),
        QStringLiteral("Oszcillátor, felső pont: adjon %1-es jelet, hangolja a vevőt a skála "
                       "%1-es jeléhez, és az oszcillátor trimmerével (Cp_o) állítsa a jelet "
                       "maximumra.")
            .arg(high),
        QStringLiteral("Ismételje a 2. és a 3. lépést, amíg egyik állítás sem mozdítja el a "
                       "másikat."),
        QStringLiteral("Bemenő kör, alsó pont: adjon %1-es jelet, hangolja rá a vevőt, és a "
                       "bemenő kör tekercsének vasmagjával állítsa a jelet maximumra.")
            .arg(low),
        QStringLiteral("Bemenő kör, felső pont: adjon %1-es jelet, hangolja rá a vevőt, és a "
                       "bemenő kör trimmerével (Cp_b) állítsa a jelet maximumra.")
            .arg(high),
        QStringLiteral("Ismételje az 5. és a 6. lépést, amíg egyik állítás sem mozdítja el a "
                       "másikat."),
    };
}

} // namespace

QString PairLabel(StandardSeries series)
{
    return SeriesName(series) + QStringLiteral(" pár");
}

QString PairQLabel(StandardSeries series)
{
    return PairLabel(series) + QStringLiteral(" Q");
}

QString ToleranceLabel(double tolerance)
{
    return QStringLiteral("Q ±%1%").arg(std::lround(tolerance * 100.0));
}

QString StandardCurveName(StandardSeries series, double nominal, const TrackingCalculator& calc)
{
    return QStringLiteral("%1-es padder (%2 pF)")
        .arg(SeriesName(series),
             GeneralNumber(nominal / kFaradPerPicofarad, calc.decimalSeparator));
}

QString OwnCurveName(double nominal, const TrackingCalculator& calc)
{
    return QStringLiteral("saját padder (%1 pF)")
        .arg(GeneralNumber(nominal / kFaradPerPicofarad, calc.decimalSeparator));
}

QString PairCurveName(StandardSeries series, const PadderPair& pair, const TrackingCalculator& calc)
{
    return QStringLiteral("%1-es pár (%2 + %3 pF)")
        .arg(SeriesName(series), WholePicofarads(pair.larger, calc),
             WholePicofarads(pair.smaller, calc));
}

QString ToleranceBandLegend(const PadderTolerance& tolerance, const TrackingCalculator& calc)
{
    const ToleranceQ& widest = tolerance.bands.back();
    return QStringLiteral("a %1 pF-os padder ±%2 %-os tűréssávja: Q legalább %3")
        .arg(GeneralNumber(tolerance.nominal / kFaradPerPicofarad, calc.decimalSeparator))
        .arg(std::lround(widest.tolerance * 100.0))
        .arg(StatedQText(widest.statedQ, calc.decimalSeparator));
}

QString AxisTickText(double f, const TrackingCalculator& calc)
{
    const double unit = AxisInKilohertz(calc) ? 1e3 : kHertzPerMegahertz;
    return GeneralNumber(f / unit, calc.decimalSeparator);
}

QString AxisUnit(const TrackingCalculator& calc)
{
    return AxisInKilohertz(calc) ? QStringLiteral("kHz") : QStringLiteral("MHz");
}

QString DialFrequency(double f, const TrackingCalculator& calc)
{
    if (f >= kVhfLowerEdge)
        return MegahertzText(f, calc);
    return NumberPhrase(FormatFixed(f / 1e3, 0, calc.decimalSeparator), calc.decimalSeparator)
           + QStringLiteral(" kHz");
}

std::vector<PadderRow> AlignmentRows(const StandardPadder& padder, const QString& prefix,
                                     const TrackingCalculator& calc)
{
    std::vector<PadderRow> rows;
    for (std::size_t i = 0; i < kAlignmentPointNames.size(); ++i)
        rows.push_back(Row(prefix + QString::fromLatin1(kAlignmentPointNames[i]),
                           padder.Aligned() ? NumberPhrase(
                               calc.FormatMegahertz(padder.alignment[i]), calc.decimalSeparator)
                                            : QString(),
                           QStringLiteral("MHz")));
    return rows;
}

std::vector<PadderRow> PairAndToleranceRows(const PadderChoices& choices,
                                            const TrackingCalculator& calc)
{
    std::vector<PadderRow> rows;
    for (const auto& [series, pair] : {std::pair{StandardSeries::E12, &choices.e12Pair},
                                       std::pair{StandardSeries::E24, &choices.e24Pair}}) {
        const QString parts =
            *pair ? QStringLiteral("%1 + %2").arg(WholePicofarads((*pair)->larger, calc),
                                                  WholePicofarads((*pair)->smaller, calc))
                  : QString();
        rows.push_back(Row(PairLabel(series), parts, QStringLiteral("pf")));
        rows.push_back(
            Row(PairQLabel(series),
                *pair ? StatedQText((*pair)->fit.curve.statedQ, calc.decimalSeparator) : QString(),
                {}));
    }
    for (std::size_t b = 0; b < kPadderTolerances.size(); ++b)
        rows.push_back(Row(ToleranceLabel(kPadderTolerances[b]),
                           choices.tolerance ? StatedQText(choices.tolerance->bands[b].statedQ,
                                                           calc.decimalSeparator)
                                             : QString(),
                           {}));
    return rows;
}

PadderVerdict PadderVerdictOf(const ThreePointDesign& design, const TrackingCalculator& calc)
{
    const std::optional<DesignFigures> figures = FiguresOfDesign(calc.state);
    const std::optional<Verdict> twoPoint =
        figures ? std::optional(JudgeDesign(*figures, calc.state)) : std::nullopt;
    return JudgePadder(twoPoint, design.curve.statedQ, KindOfBand(calc.state.f_min));
}

AlignmentRecipe RecipeFor(const ThreePointDesign& design, const PadderChoices& choices,
                          const TrackingCalculator& calc)
{
    AlignmentRecipe recipe;
    const CalculationState& s = calc.state;
    if (PadderVerdictOf(design, calc) == PadderVerdict::NotNeeded) {
        // The main window's two-point design: its tracking points, its trimmers.
        recipe.heading = QStringLiteral("Kiegyenlítés (behangolás) padder nélkül, csak "
                                        "trimmerekkel, a főablak kétpontos terve szerint:");
        recipe.steps << kSetUp
                     << CircuitSteps(DialFrequency(s.f_h1, calc), DialFrequency(s.f_h2, calc));
        return recipe;
    }
    const RecipePadder chosen = ChoosePadder(design, choices, calc);
    // No fitted padder aligns: the design's own padder, exact at all three
    // points.
    StandardPadder ideal;
    ideal.nominal = design.oscillator.C_p;
    ideal.alignment = {design.f[0], design.f[2]};
    ideal.checkPoint = design.f[1];
    ideal.tracksAtCheck = true;
    const StandardPadder& padder = chosen.padder ? *chosen.padder : ideal;
    const QString name =
        chosen.padder ? chosen.name
                      : QStringLiteral("a terv %1 pF-os padderével")
                            .arg(NumberPhrase(FormatSignificant(ideal.nominal / kFaradPerPicofarad,
                                                                3, calc.decimalSeparator),
                                              calc.decimalSeparator));
    recipe.heading = QStringLiteral("Kiegyenlítés (behangolás) %1, a bemenő kör a főablak "
                                    "terve szerint:")
                         .arg(name);
    const QString check = DialFrequency(padder.checkPoint, calc);
    recipe.steps << kSetUp
                 << CircuitSteps(DialFrequency(padder.alignment[0], calc),
                                 DialFrequency(padder.alignment[1], calc));
    if (padder.tracksAtCheck)
        recipe.steps << QStringLiteral("Ellenőrzés %1-en: adjon %1-es jelet, és hangolja rá a "
                                       "vevőt. Itt a két kör együtt fut: a bemenő kör tekercséhez "
                                       "közelített hangolópálca (egyik végén sárgaréz, a másikon "
                                       "ferrit) egyik vége sem növelheti a jelet.")
                            .arg(check);
    else
        recipe.steps << QStringLiteral("Ellenőrzés %1-en, a sáv közepén: adjon %1-es jelet, és "
                                       "hangolja rá a vevőt. Itt a terv szerint a bemenő kör %2 "
                                       "Hz-cel %3 rezonál; a bemenő kör tekercséhez közelített "
                                       "hangolópálca (egyik végén sárgaréz, a másikon ferrit) "
                                       "ennél nagyobb elhangolódást nem mutathat.")
                            .arg(check,
                                 NumberPhrase(FormatFixed(std::abs(padder.checkDeviation), 0,
                                                          calc.decimalSeparator),
                                              calc.decimalSeparator),
                                 padder.checkDeviation > 0.0 ? QStringLiteral("a jel alatt")
                                                             : QStringLiteral("a jel fölött"));
    if (chosen.padder) {
        // A positive deviation, the oscillator high: the input circuit lies
        // below the signal, and the brass end (less inductance) raises it.
        const QString up = QStringLiteral("növelni");
        const QString down = QStringLiteral("csökkenteni");
        recipe.steps << QStringLiteral("Ha a hangolópálca sárgaréz vége növeli a jelet (a bemenő "
                                       "kör a jel alatt rezonál, az oszcillátor a kelleténél "
                                       "magasabban jár), a paddert %1 kell; ha a ferrit vége, "
                                       "akkor %2. Utána ismételje a 2–7. lépést.")
                            .arg(padder.increaseWhenHigh ? up : down,
                                 padder.increaseWhenHigh ? down : up);
    }
    return recipe;
}

} // namespace kalibrix
