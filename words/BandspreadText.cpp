// SPDX-License-Identifier: GPL-3.0-or-later
#include "BandspreadText.h"

#include "NumberText.h"
#include "Phrases.h"
#include "TrackingCalculator.h"

namespace kalibrix {

QString InputCircuitName(InputCircuit circuit)
{
    switch (circuit) {
    case InputCircuit::TrimmerOnly:
        return QStringLiteral("Trimmerrel (a főablak terve szerint)");
    case InputCircuit::Bandspread:
        return QStringLiteral("Soros kondenzátorral is (sávkiterjesztés)");
    }
    return {};
}

QString InputCircuitSentence(InputCircuit circuit)
{
    return QStringLiteral("Bemenő kör: %1.").arg(InputCircuitName(circuit));
}

QString CoilComputeName(const QString& caption)
{
    return caption + QStringLiteral(" a beírt tekerccsel");
}

QString InputValueCaption(const InputValueSpec& spec, const QString& prefix)
{
    return QStringLiteral("%1%2 (%3)")
        .arg(prefix, QString::fromUtf8(spec.symbol), QString::fromUtf8(spec.unit));
}

QString InputValueText(InputValue value, const BandspreadInput& input, bool userCoil,
                       const TrackingCalculator& calc)
{
    const std::string& separator = calc.decimalSeparator;
    switch (value) {
    case InputValue::Lb:
        return userCoil ? GeneralNumber(input.L_b * 1e6, separator)
                        : NumberPhrase(FormatSignificant(input.L_b * 1e6, 4, separator), separator);
    case InputValue::Cs_b:
        return PicofaradText(input.C_s, calc);
    case InputValue::Cp_b:
        return PicofaradText(input.C_p, calc);
    }
    return {};
}

namespace {

QString Microhenry(double L, const std::string& separator)
{
    return NumberPhrase(FormatFixed(L * 1e6, CoilDecimals(L), separator), separator);
}

// The definite article before a step's number as it is read out: "az" before
// a vowel, egy (1), öt (5), ötven (50..59), "a" otherwise.
QString Article(qsizetype n)
{
    return n == 1 || n == 5 || (n >= 50 && n < 60) ? QStringLiteral("az") : QStringLiteral("a");
}

// The trimmer-only circuit's parts as the main window shows them.
QString TrimmerOnlyParts(const TrackingCalculator& calc)
{
    const CalculationState& s = calc.state;
    return QStringLiteral("Lb = %1 µH és Cp_b = %2 pF")
        .arg(NumberPhrase(calc.FormatValue(TrackingCalculator::RoundToMicrohenry(s.L_b)),
                          calc.decimalSeparator),
             PicofaradText(s.C_tb, calc));
}

} // namespace

QString CoilRangeText(const CoilRange& range, const std::string& separator)
{
    return QStringLiteral("%1 … %2 µH")
        .arg(Microhenry(range.lowest, separator), Microhenry(range.highest, separator));
}

QString CoilRangeLabel(const CoilRange& range, const std::string& separator)
{
    return QStringLiteral("a sávot átfogó tekercsek: %1").arg(CoilRangeText(range, separator));
}

QString CoilFieldText(double L)
{
    return QString::fromStdString(FormatGeneral(L * 1e6, "."));
}

QString BandspreadFailureText(const BandspreadError& error, const QString& typed,
                              const CoilRange* range, const TrackingCalculator& calc)
{
    switch (error.failure()) {
    case BandspreadFailure::NoCoilRange:
        return QStringLiteral(
            "Nincs sávkiterjesztéses terv: nincs olyan tekercs, amellyel a hangolókondenzátor "
            "soros kondenzátorral és pozitív trimmerrel átfogná a sávot. Ehhez a "
            "hangolókondenzátor legkisebb értéke (C_h_min) legyen pozitív, a legnagyobb pedig "
            "nagyobb nála.");
    case BandspreadFailure::CoilNotANumber:
        return QStringLiteral("Az Lb mezőben nincs szám: írja be a bemenő kör tekercsének "
                              "induktivitását µH-ben, például 15 vagy 2,5.");
    case BandspreadFailure::CoilOutsideRange:
        if (!range)
            break;
        return QStringLiteral(
                   "Az Lb = %1 µH tekerccsel a bemenő kör nem építhető meg: a sávot csak a "
                   "%2 közötti tekercsek fogják át. Kisebb tekercshez a hangolókondenzátor teljes "
                   "változása sem elég, nagyobbhoz a Cp_b trimmer negatív lenne. Írjon be "
                   "ebbe a tartományba eső értéket.")
            .arg(typed.trimmed(), CoilRangeText(*range, calc.decimalSeparator));
    }
    return {};
}

QString BandspreadGain(const BandspreadDesign& design, const TrackingCalculator& calc)
{
    return QStringLiteral(
               "A soros kondenzátor az eltérésen és a használható jóságon nem változtat: a két "
               "kör a hangolókondenzátort ugyanúgy képezi le, ezért ezek bármilyen tekercs "
               "mellett a csak trimmeres bemenő kör tervével azonosak. Amit ad, az a megépíthető "
               "alkatrész: Lb = %1 µH, Cs_b = %2 pF és Cp_b = %3 pF a csak trimmeres %4 helyett.")
        .arg(InputValueText(InputValue::Lb, design.input, true, calc),
             PicofaradText(design.input.C_s, calc), PicofaradText(design.input.C_p, calc),
             TrimmerOnlyParts(calc));
}

QString StandardInputNote(const BandspreadDesign& design)
{
    QStringList notes;
    for (const auto& [series, row] : {std::pair{QStringLiteral("E12"), &design.e12},
                                      std::pair{QStringLiteral("E24"), &design.e24}}) {
        if (row->trimmerNegative)
            notes << QStringLiteral("Az %1 Cs_b-vel a bemenő kör a sáv széleire csak negatív "
                                    "Cp_b trimmerrel állna be; ennek a körnek csak a Cs_b "
                                    "értéke áll a táblázatban.")
                         .arg(series);
        else if (row->alignmentFailed)
            notes << QStringLiteral("Az %1 Cs_b-hez nincs olyan tekercs és trimmer, amellyel a "
                                    "bemenő kör pontosan a sáv széleire állna be; ennek a "
                                    "körnek csak a Cs_b értéke áll a táblázatban, és az "
                                    "oszcillátor sora a kiszámolt bemenő körhöz készült.")
                         .arg(series);
    }
    // The own padder, the parallel pairs and the tolerance band are fitted
    // against the trimmer-only input circuit alone.
    notes << QStringLiteral("A saját padder, a párhuzamos padderpár és a tűrés a "
                            "sávkiterjesztéses bemenő körhöz nincs kiszámolva: ezeket a program "
                            "csak a trimmeres bemenő körhöz adja meg.");
    return notes.join(u' ');
}

QString BandspreadRecipeHeading(QString heading)
{
    return heading.replace(QStringLiteral("a bemenő kör a főablak terve szerint"),
                           QStringLiteral("a Cs_b soros kondenzátor beforrasztva, "
                                          "sávkiterjesztéses bemenő körrel"));
}

QStringList BandspreadRecipeSteps(const TrackingCalculator& calc, qsizetype stepsBefore,
                                  const std::function<QString(double)>& dial)
{
    const QString low = dial(calc.state.f_min);
    const QString high = dial(calc.state.f_max);
    return {
        QStringLiteral("A bemenő kör: állítsa a skálát a sáv aljára, %1-re, adjon %1-es jelet, "
                       "és a bemenő kör tekercsének vasmagjával hangolja a jelet maximumra.")
            .arg(low),
        QStringLiteral("Állítsa a skálát a sáv tetejére, %1-re, adjon %1-es jelet, és a bemenő "
                       "kör Cp_b trimmerével hangolja a jelet maximumra.")
            .arg(high),
        QStringLiteral("Ismételje %1 %2. és %3. lépést, amíg egyik állítás sem mozdítja el a "
                       "másikat.")
            .arg(Article(stepsBefore + 1))
            .arg(stepsBefore + 1)
            .arg(stepsBefore + 2),
    };
}

QString BandspreadAdviceHtml(const TrackingCalculator& calc, const QString& link,
                             const QString& padderWindowTitle)
{
    const CalculationState& s = calc.state;
    // The gang's share of the tank's capacitance at the bottom of the band.
    const double share = s.C_h_max / (s.C_h_max + s.C_tb + s.C_sz);
    return QStringLiteral(
               "<li><b>Sávkiterjesztés ajánlott.</b> Ehhez a keskeny sávhoz a csak trimmeres "
               "bemenő kör %1 értéket kíván: a tekercs ehhez a frekvenciához nagyon kicsi, a "
               "„trimmer” valójában egy nagy állandó kondenzátor, és a sáv alján a "
               "hangolókondenzátor a kör kapacitásának csak %2%-át adja. A hangolókondenzátorral "
               "sorba kötött kondenzátorral (sávkiterjesztés) ugyanez a sáv valódi tekerccsel "
               "és trimmerrel fogható át. <a href=\"%3\">Sávkiterjesztéses terv: „%4” ablak, "
               "„%5” (F2).</a></li>")
        .arg(TrimmerOnlyParts(calc).toHtmlEscaped(), PercentText(share, calc.decimalSeparator),
             link, padderWindowTitle.toHtmlEscaped(),
             InputCircuitName(InputCircuit::Bandspread).toHtmlEscaped());
}

} // namespace kalibrix
