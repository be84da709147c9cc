// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesignNotes.h"

#include "BandspreadText.h"
#include "DesignFigures.h"
#include "DesignVerdict.h"
#include "PadderText.h"
#include "Phrases.h"
#include "TrackingCalculator.h"

#include <cmath>

namespace kalibrix {
namespace {

// A Q this many times the band's typical upper Q "far exceeds" it.
constexpr double kFarAbove = 10.0;

QString DeviationLine(const QString& what, const SweepPoint& point, const TrackingCalculator& calc)
{
    return QStringLiteral("<li>%1: %2 Hz, %3-nél.</li>")
        .arg(what, GeneralNumber(point.deviation, calc.decimalSeparator),
             MegahertzText(point.frequency, calc));
}

QString BandLine(BandKind kind, const std::string& separator)
{
    const TypicalQ typical = TypicalLoadedQ(kind);
    const QString range = RangeText(typical.low, typical.high, separator);
    const QString edge = GeneralNumber(kVhfLowerEdge / kHertzPerMegahertz, separator);
    switch (kind) {
    case BandKind::BelowVhf:
        return QStringLiteral("<li>A %1 MHz alatti (hosszú-, közép- és rövidhullámú) bemenő "
                              "körök terhelt jósága jellemzően %2.</li>")
            .arg(edge, range);
    case BandKind::Vhf:
        return QStringLiteral("<li>Az URH (%1 MHz fölötti) bemenő körök terhelt jósága "
                              "jellemzően csak %2; egy terheletlen URH-tekercsé is csak "
                              "100–200.</li>")
            .arg(edge, range);
    }
    return {};
}

// What the design allows, as the verdict's subject: "legfeljebb Q = 85
// jósági tényezőt enged meg", or for a stated Q of zero, that it allows none.
QString Allows(double statedQ, const std::string& separator)
{
    if (statedQ == 0.0)
        return QStringLiteral("semmilyen jóságú bemenő körrel nem működik az egész sávban");
    return QStringLiteral("legfeljebb Q = %1 jósági tényezőt enged meg")
        .arg(GeneralNumber(statedQ, separator));
}

QString VerdictSentence(Verdict verdict, const DesignFigures& figures, TypicalQ typical,
                        const std::string& separator)
{
    const QString range = RangeText(typical.low, typical.high, separator);
    const double q = figures.statedQ.value_or(0.0);
    switch (verdict) {
    case Verdict::NoMistuning:
        return QStringLiteral("Az elhangolódás nem korlátozza a bemenő kör jóságát: bármilyen "
                              "jóságú körrel működik, padder nem kell.");
    case Verdict::TrimmersEnough:
        return QStringLiteral("A terv %1, ez a bemenő kör jellemző terhelt jóságának (%2) "
                              "felső határát %3: csak trimmeres (kétpontos) kiegyenlítéssel is "
                              "elég; padder nem kell.")
            .arg(Allows(q, separator), range,
                 q >= kFarAbove * typical.high ? QStringLiteral("jóval meghaladja")
                                               : QStringLiteral("is eléri"));
    case Verdict::TrimmersForLowQ:
        return QStringLiteral("A terv %1, a bemenő kör jellemző terhelt jósága pedig %2: a "
                              "kisebb jóságú körökhöz csak trimmeres (kétpontos) kiegyenlítéssel "
                              "is elég, a nagyobb jóságúakhoz padder kell.")
            .arg(Allows(q, separator), range);
    case Verdict::PadderNeeded:
        return QStringLiteral("A terv %1, a bemenő kör jellemző terhelt jósága viszont %2. Csak "
                              "trimmeres kiegyenlítéssel az elhangolódás a sáv egy részén 3 "
                              "dB-nél nagyobb veszteséget okoz: padder kell.")
            .arg(Allows(q, separator), range);
    case Verdict::BandEdgesSwapped:
        return QStringLiteral("A terv így nem építhető meg: az fmin nagyobb, mint az fmax, a sáv "
                              "szélei fel vannak cserélve, ezért negatív az Lb, az Lo és a "
                              "trimmerek értéke. Cserélje fel a két frekvenciát.");
    case Verdict::CapacitorRangeShort:
        return QStringLiteral("A terv így nem építhető meg, mert negatív kapacitású trimmer nem "
                              "létezik: a hangolókondenzátor tartománya nem fogja át a sávot. "
                              "Válasszon nagyobb kapacitásarányú hangolókondenzátort, csökkentse "
                              "a szórt kapacitást, vagy szűkítse a sávot (fmin, fmax).");
    case Verdict::OscillatorTrimmerNegative:
        return QStringLiteral("A terv így nem építhető meg, mert negatív kapacitású trimmer nem "
                              "létezik. Pozitív középfrekvenciánál a Cp_o nem lehet negatív, ha a "
                              "Cp_b nem az: ellenőrizze a középfrekvencia előjelét, vagy "
                              "csökkentse a szórt kapacitást.");
    case Verdict::TuningCapacitanceNegative:
        return QStringLiteral("A terv így nem építhető meg: a hangolókondenzátor kapacitása nem "
                              "lehet negatív. Adja meg a C_h_min valódi, pozitív értékét.");
    }
    return {};
}

QString NegativeLine(const NegativeComponent& negative, const TrackingCalculator& calc)
{
    const QString value =
        NumberPhrase(calc.FormatValue(negative.picofarad), calc.decimalSeparator) + " pF";
    switch (negative.component) {
    case Component::Cp_b:
        return QStringLiteral("A Cp_b negatív (%1): a hangolókondenzátor kapacitásaránya a szórt "
                              "kapacitással együtt is kisebb a sáv frekvenciaarányának "
                              "négyzeténél, (C_h_max + C_sz) / (C_h_min + C_sz) &lt; "
                              "(fmax / fmin)².")
            .arg(value);
    case Component::Cp_o:
        return QStringLiteral(
                   "A Cp_o negatív (%1): az oszcillátorkörnek kevesebb párhuzamos kapacitás "
                   "kellene, mint maga a szórt kapacitás, mert (Ch1 + C_sz) / (Ch2 + C_sz) &lt; "
                   "((F2 + fkf) / (F1 + fkf))², ahol Ch1 és Ch2 a hangoló kapacitás az F1 és az F2 "
                   "pontban. Pozitív középfrekvenciánál a Cp_o mindig nagyobb a Cp_b-nél, így ez "
                   "csak negatív Cp_b mellett fordul elő: először a Cp_b-t kell rendbe tenni.")
            .arg(value);
    case Component::Ch1:
    case Component::Ch2:
        return QStringLiteral(
                   "A Ch az %1 pontban negatív (%2): a bemenő kör hangolókondenzátor nélkül, csak "
                   "a Cp_b trimmerrel és a szórt kapacitással is e pont alatt rezonál, "
                   "1 / (4π² · Lb · f²) &lt; Cp_b + C_sz. Ez csak negatív C_h_min mellett fordul "
                   "elő, és csak akkor, ha C_h_min &lt; −(Cp_b + C_sz) · (1 − (F2 / fmax)²).")
            .arg(negative.component == Component::Ch1 ? QStringLiteral("F1") : QStringLiteral("F2"),
                 value);
    }
    return {};
}

QString UsableQLine(const DesignFigures& figures, const std::string& separator)
{
    if (*figures.statedQ == 0.0)
        return QStringLiteral("<li>Használható jóság: nincs. A sáv egy részén az eltérés "
                              "nagyobb, mint maga a vett frekvencia: ott semmilyen jóságú bemenő "
                              "kör nem engedi át a jelet 3 dB-nél kisebb veszteséggel.</li>");
    return QStringLiteral("<li>Használható jóság: legfeljebb %1. Ennél nagyobb jóságú bemenő "
                          "körnél a jel az elhangolódás miatt a sáv valamely pontján 3 dB-nél "
                          "jobban gyengül (a legkisebb 1 / |x − 1/x|, x = (f + eltérés) / f, "
                          "lefelé kerekítve; kis eltérésnél ez f / (2 · |eltérés|)).</li>")
        .arg(GeneralNumber(*figures.statedQ, separator));
}

QString FinishedDesignNotes(const TrackingCalculator& calc, const DesignFigures& figures)
{
    const CalculationState& s = calc.state;
    const std::string& separator = calc.decimalSeparator;
    QString notes = QStringLiteral("<ul>");
    notes += figures.largestPositive ? DeviationLine(QStringLiteral("Legnagyobb pozitív eltérés"),
                                                     *figures.largestPositive, calc)
                                     : QStringLiteral("<li>Pozitív eltérés nincs a sávban.</li>");
    notes += figures.largestNegative ? DeviationLine(QStringLiteral("Legnagyobb negatív eltérés"),
                                                     *figures.largestNegative, calc)
                                     : QStringLiteral("<li>Negatív eltérés nincs a sávban.</li>");

    if (const std::optional<SweepPoint>& worst = figures.worstRelative) {
        notes += QStringLiteral("<li>Legnagyobb relatív eltérés, |eltérés| / f: %1%, %2-nél.</li>")
                     .arg(PercentText(figures.largestRelative, separator),
                          MegahertzText(worst->frequency, calc));
        notes += UsableQLine(figures, separator);
    }
    // The band's typical Q matters only to a design that can be built; one
    // that cannot is told what to change instead.
    const BandKind band = KindOfBand(s.f_min);
    const Verdict verdict = JudgeDesign(figures, s);
    if (CanBeBuilt(verdict))
        notes += BandLine(band, separator);
    if (!BandEdgesSwapped(s))
        for (const NegativeComponent& negative : figures.negatives)
            notes += QStringLiteral("<li>%1</li>").arg(NegativeLine(negative, calc));

    if (CanBeBuilt(verdict) && BandspreadAdvised(s))
        notes +=
            BandspreadAdviceHtml(calc, QString::fromLatin1(kBandspreadLink), kPadderWindowTitle);
    QString judgement = VerdictSentence(verdict, figures, TypicalLoadedQ(band), separator);
    if (PadderHelps(verdict))
        judgement += QStringLiteral(" <a href=\"%1\">A padderes terv: „%2” (F2).</a>")
                         .arg(QString::fromLatin1(kPadderLink), kPadderWindowTitle);
    return notes + QStringLiteral("<li><b>Értékelés:</b> %1</li></ul>").arg(judgement);
}

} // namespace

QString NotesHtml(const TrackingCalculator& calc, LastRun lastRun, const QString& startCaption)
{
    const QString heading = QStringLiteral("<h2>Megjegyzések a mostani tervhez</h2>");
    const std::optional<DesignFigures> figures =
        lastRun == LastRun::Complete ? FiguresOfDesign(calc.state) : std::nullopt;
    if (figures)
        return heading + FinishedDesignNotes(calc, *figures);
    if (lastRun == LastRun::None)
        return heading
               + QStringLiteral("<p>Még nincs eredmény: adja meg a bemeneti adatokat, és nyomja "
                                "meg a „%1” gombot.</p>")
                     .arg(startCaption);
    if (BandEdgesSwapped(calc.state))
        return heading
               + QStringLiteral("<p>A legutóbbi számolás nem sikerült: az fmin nagyobb, mint az "
                                "fmax, a sáv szélei fel vannak cserélve. Cserélje fel a két "
                                "frekvenciát.</p>");
    return heading
           + QStringLiteral("<p>A legutóbbi számolás nem sikerült; az eltérések nem készültek "
                            "el, ezért a tervről itt nincs mit mondani. A hibaüzenet lehetséges "
                            "okait lent, az üzenetről szóló rész sorolja fel.</p>");
}

} // namespace kalibrix
