#include "HelpText.h"

#include "DesignFigures.h"
#include "NumberText.h"
#include "PadderLink.h"
#include "TrackingCalculator.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace kalibrix {
namespace {

// Above this frequency (Hz) input circuits are VHF ones, with a Q of a few
// hundred or more; below it, on long, medium and short waves, 50 to 150.
constexpr double kVhfFrom = 30e6;
constexpr double kTypicalQLow = 50.0;
constexpr double kTypicalQHigh = 150.0;
constexpr double kTypicalVhfQ = 300.0;

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// A ratio in per cent to three significant digits (14.3, 0.0894, 0.00328),
// so that small relative deviations keep their digits.
QString Percent(double ratio, const std::string& separator)
{
    const double percent = 100.0 * ratio;
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(percent))), 0, 12);
    return Text(FormatFixed(percent, decimals, separator));
}

QString DeviationLine(const QString& what, const SweepPoint& point, const TrackingCalculator& calc)
{
    return QStringLiteral("<li>%1: %2 Hz, %3 MHz-nél.</li>")
        .arg(what, Text(FormatGeneral(point.deviation, calc.decimalSeparator)),
             Text(calc.FormatMegahertz(point.frequency)));
}

const QString kPadder =
    QStringLiteral("padder: az oszcillátor hangoló kondenzátorával sorba kötött kondenzátor");

QString Verdict(const DesignFigures& figures, const CalculationState& s, const QString& q)
{
    if (!figures.statedQ)
        return QStringLiteral("Bármilyen jóságú bemenő körrel működik; padder nem kell.");
    const double stated = *figures.statedQ;
    if (s.f_max >= kVhfFrom) {
        const QString typical =
            QStringLiteral("Az URH bemenő körök jósága jellemzően néhány száz vagy több; ");
        if (stated >= kTypicalVhfQ)
            return typical
                   + QStringLiteral("ez a terv legfeljebb %1 jóságú körrel csak "
                                    "trimmerekkel is jól működik.")
                         .arg(q);
        return typical
               + QStringLiteral("ez a terv csak legfeljebb %1 jóságú kört visel el. "
                                "Csak trimmerekkel a bemenő kör a sáv egy részén 3 dB-nél "
                                "többet veszít: padder kell (%2).")
                     .arg(q, kPadder);
    }
    const QString typical =
        QStringLiteral("A 30 MHz alatti bemenő körök jósága jellemzően 50 és 150 közé esik; ");
    if (stated >= kTypicalQHigh)
        return typical
               + QStringLiteral("ez a terv ilyen körrel csak trimmerekkel is jól működik, "
                                "padder nem kell.");
    if (stated >= kTypicalQLow)
        return typical
               + QStringLiteral("ez a terv csak a legfeljebb %1 jóságú körrel működik "
                                "jól. Jobb körhöz padder kell (%2).")
                     .arg(q, kPadder);
    return typical
           + QStringLiteral("ez a terv csak legfeljebb %1 jóságú kört visel el. Csak "
                            "trimmerekkel a bemenő kör a sáv egy részén 3 dB-nél többet "
                            "veszít: ehhez a tervhez a gyakorlatban padder kell (%2).")
                 .arg(q, kPadder);
}

QString NegativeLine(const NegativeComponent& negative, const TrackingCalculator& calc)
{
    const QString value = Text(calc.FormatValue(negative.picofarad)) + QStringLiteral(" pF");
    switch (negative.component) {
    case Component::Cp_b:
        return QStringLiteral(
                   "A Cp_b negatív (%1): a hangoló kondenzátor kapacitásaránya a szórt "
                   "kapacitással együtt is kisebb a sáv frekvenciaarányának négyzeténél, (C_h_max "
                   "+ C_sz) / "
                   "(C_h_min + C_sz) &lt; (fmax / fmin)². Negatív trimmer nincs: nagyobb "
                   "kapacitásarányú hangoló kondenzátor, kisebb szórt kapacitás vagy keskenyebb "
                   "sáv kell.")
            .arg(value);
    case Component::Cp_o:
        return QStringLiteral(
                   "A Cp_o negatív (%1): az oszcillátor körnek kevesebb párhuzamos kapacitás "
                   "kellene, mint maga a szórt kapacitás, mert (Ch1 + C_sz) / (Ch2 + C_sz) &lt; "
                   "((F2 + fkf) / (F1 + fkf))², ahol Ch1 és Ch2 a hangoló kapacitás az F1 és az F2 "
                   "pontban. Kisebb szórt kapacitás vagy nagyobb középfrekvencia segít.")
            .arg(value);
    case Component::Ch1:
    case Component::Ch2:
        return QStringLiteral(
                   "A Ch az %1 pontban negatív (%2): a bemenő kör hangoló kapacitás nélkül, csak a "
                   "Cp_b trimmerrel és a szórt kapacitással is e pont alatt rezonál, "
                   "1 / (4π² · Lb · f²) &lt; Cp_b + C_sz. A hangoló kondenzátor kapacitása nem "
                   "lehet negatív: ez negatívnak megadott C_h_min mellett fordul elő.")
            .arg(negative.component == Component::Ch1 ? QStringLiteral("F1") : QStringLiteral("F2"),
                 value);
    }
    return {};
}

} // namespace

QString DesignNotesHtml(const TrackingCalculator& calc, bool sweepCurrent)
{
    const QString heading = QStringLiteral("<h2>Megjegyzések a mostani tervhez</h2>");
    const std::optional<DesignFigures> figures =
        sweepCurrent ? FiguresOfDesign(calc.state) : std::nullopt;
    if (!figures)
        return heading
               + QStringLiteral("<p>Még nincs eredmény: adja meg a bemeneti adatokat, és nyomja "
                                "meg a „Számol” gombot. Ha a számolás az „Egy, vagy több adat "
                                "hiányzik.” üzenettel áll meg, az eltérések nem készültek el, "
                                "ezért a tervről itt nincs mit mondani.</p>");

    const CalculationState& s = calc.state;
    const std::string& separator = calc.decimalSeparator;
    QString notes = heading + QStringLiteral("<ul>");
    notes += figures->largestPositive ? DeviationLine(QStringLiteral("Legnagyobb pozitív eltérés"),
                                                      *figures->largestPositive, calc)
                                      : QStringLiteral("<li>Pozitív eltérés nincs a sávban.</li>");
    notes += figures->largestNegative ? DeviationLine(QStringLiteral("Legnagyobb negatív eltérés"),
                                                      *figures->largestNegative, calc)
                                      : QStringLiteral("<li>Negatív eltérés nincs a sávban.</li>");

    QString q;
    if (const std::optional<SweepPoint>& worst = figures->worstRelative) {
        q = Text(FormatGeneral(*figures->statedQ, separator));
        notes +=
            QStringLiteral("<li>Legnagyobb relatív eltérés, |eltérés| / f: %1 %, %2 MHz-nél.</li>")
                .arg(Percent(figures->largestRelative, separator),
                     Text(calc.FormatMegahertz(worst->frequency)));
        notes += QStringLiteral("<li>Használható jóság: legfeljebb %1. Ennél jobb bemenő kört az "
                                "elhangolódás a sáv valamely pontján 3 dB-nél jobban csillapít "
                                "(a legkisebb f / (2 · |eltérés|), lefelé kerekítve).</li>")
                     .arg(q);
    } else {
        notes += QStringLiteral("<li>Az eltérés a sáv minden pontján nulla: az elhangolódás nem "
                                "korlátozza a bemenő kör jóságát.</li>");
    }

    if (s.f_min > s.f_max) {
        notes += QStringLiteral("<li>Az fmin nagyobb, mint az fmax: a sáv szélei fel vannak "
                                "cserélve, ezért negatív az Lb, az Lo és a trimmerek értéke. "
                                "Cserélje fel a két frekvenciát.</li>");
    } else {
        for (const NegativeComponent& negative : figures->negatives)
            notes += QStringLiteral("<li>%1</li>").arg(NegativeLine(negative, calc));
    }
    notes += QStringLiteral("<li><b>Értékelés:</b> %1</li>").arg(Verdict(*figures, s, q));
    return notes + PadderLinkHtml(*figures, s) + QStringLiteral("</ul>");
}

QString GuideHtml(const QString& resultsFolder)
{
    QStringList html;
    html << QStringLiteral(
        "<h2>Tervezési útmutató</h2>"
        "<p>A Kalibrix egy középfrekvenciás (szuperheterodin) vevő két hangolt körét méretezi: a "
        "bemenő kört és az oszcillátor kört. Mindkettőt ugyanaz a kettős forgókondenzátor "
        "hangolja, és az oszcillátor egy középfrekvenciával a bemenő kör fölött fut. Minden "
        "számolás alapja a párhuzamos rezgőkör frekvenciája: f = 1 / (2π · √(L · C)).</p>");

    html << QStringLiteral(
        "<h3>A módszer: kétpontos együttfutás, csak trimmerekkel</h3>"
        "<p>A bemenő kör a hangoló kondenzátorral párhuzamos Cp_b trimmert kap, akkorát, hogy a "
        "kondenzátor tartománya éppen a sávot fogja át: (C_h_max + C_sz + Cp_b) / (C_h_min + C_sz "
        "+ Cp_b) = (fmax / fmin)², ahol C_sz a szórt kapacitás. Az Lb tekercs úgy készül, hogy a "
        "kondenzátor legkisebb értékénél a kör az fmax-on rezonáljon: "
        "Lb = 1 / (4π² · fmax² · (C_h_min + C_sz + Cp_b)).</p>"
        "<p>Az oszcillátor kör Lo tekercsét és Cp_o trimmerét a program úgy választja meg, hogy "
        "két pontban, az F1 és az F2 együttfutási pontban az oszcillátor pontosan fkf-fel a bemenő "
        "kör fölött fusson. A két pont a sáv egyik, illetve másik szélétől (fmax − fmin) / 6,85 "
        "távolságra van: F1 = fmin + (fmax − fmin) / 6,85, F2 = fmax − (fmax − fmin) / 6,85. Az "
        "eltérés a sávban közel parabola alakú; egy parabola legnagyobb hibája akkor a "
        "legkisebb, ha a két nullhelye a sávszélesség 1 / (4 + 2√2) = 1 / 6,83 részére esik a "
        "szélektől, és a 6,85 ehhez áll közel. A két ponton kívül és között a bemenő kör kissé "
        "elhangolódik; ezt mutatja a „Maximális eltérések” keret és a grafikon.</p>");

    // The typical designs are a list rather than a table: a screen reader
    // reads a table's cells with the document's frame markers between them.
    html << QStringLiteral(
        "<h3>Bemeneti adatok</h3>"
        "<p>A mezők számjegyet és tizedesjelet fogadnak el; a beírt vesszőből pont lesz.</p>"
        "<ul>"
        "<li><b>„C_h_min ( pf )”</b> és <b>„C_h_max ( pf )”</b>: a hangoló kondenzátor legkisebb "
        "és legnagyobb kapacitása pF-ban. Jellemző értékek: légszigetelésű forgókondenzátor "
        "közép- és hosszúhullámra 12–500 pF vagy 10–365 pF; műanyag fóliás kis forgókondenzátor "
        "AM-szakasza kb. 8–270 pF, URH-szakasza kb. 5–20 pF; rövidhullámú sávkiterjesztéshez "
        "kis kapacitású kondenzátor, például 10–50 pF.</li>"
        "<li><b>„fmin ( MHz)”</b> és <b>„fmax ( MHz)”</b>: a sáv alsó és felső széle MHz-ben; "
        "az fmin kisebb legyen az fmax-nál.</li>"
        "<li><b>„középfrekvencia ( MHz )”</b>: a középfrekvencia, fkf, MHz-ben; ennyivel fut az "
        "oszcillátor a bemenő kör fölött. AM-vevőben jellemzően 0,455 MHz (455 kHz), "
        "URH-FM-vevőben 10,7 MHz.</li>"
        "<li><b>„C szórt kapacitás ( pf )”</b>: a szerelés, a tekercs és az erősítőfokozat "
        "szórt kapacitása pF-ban, jellemzően 5–20 pF. Mindkét körben ugyanekkorának számít. "
        "Üresen hagyva 0 pF.</li>"
        "</ul>"
        "<p>Jellemző tervek (a használható jóságot lásd lent):</p>"
        "<ul>"
        "<li>Középhullám: fmin–fmax 0,52–1,62 MHz, középfrekvencia 0,455 MHz, hangoló "
        "kondenzátor 12–500 pF, szórt kapacitás 10 pF; használható jóság 3,4.</li>"
        "<li>Hosszúhullám: 0,15–0,285 MHz, 0,455 MHz, 12–500 pF, 10 pF; használható jóság "
        "5,3.</li>"
        "<li>Rövidhullámú sávkiterjesztés (49 m-es sáv): 5,9–6,2 MHz, 0,455 MHz, 10–50 pF, "
        "10 pF; használható jóság 15 000.</li>"
        "<li>URH-FM: 87,5–108 MHz, 10,7 MHz, 10–40 pF, 5 pF; használható jóság 550.</li>"
        "</ul>");

    html << QStringLiteral(
        "<h3>Kimeneti adatok</h3>"
        "<ul>"
        "<li><b>„Bemenő kör ( uH, pf )”</b>: <b>Lb</b>, a bemenő kör tekercsének induktivitása "
        "µH-ben, és <b>Cp_b</b>, a bemenő kör trimmere pF-ban. A trimmer mellett a szórt "
        "kapacitás is a körben van.</li>"
        "<li><b>„Oszcillátor kör ( uH, pf )”</b>: <b>Lo</b>, az oszcillátor tekercse µH-ben, és "
        "<b>Cp_o</b>, az oszcillátor trimmere pF-ban; az oszcillátor teljes állandó párhuzamos "
        "kapacitása Cp_o + C_sz.</li>"
        "<li><b>„Együttfutási pontok ( MHz )”</b>: <b>F1</b> és <b>F2</b>, a két frekvencia "
        "MHz-ben, ahol az oszcillátor pontosan követi a bemenő kört. Ezeken a pontokon érdemes "
        "a kész vevőt beállítani: F1-nél a tekercsmaggal, F2-nél a trimmerrel.</li>"
        "<li><b>„Hangoló kapacitás ( pf )”</b>: a két <b>Ch</b> mező a hangoló kondenzátor "
        "kapacitása pF-ban az F1 (felső mező) és az F2 (alsó mező) pontban.</li>"
        "<li><b>„Maximális eltérések”</b>: a bemenő kör legnagyobb (felső mező) és legkisebb "
        "(alsó mező) eltérése a sávban, Hz-ben. Az eltérés (fosz − fkf) − fbe: az oszcillátor "
        "frekvenciája a középfrekvenciával csökkentve, ez a vett jel frekvenciája, kevesebb a "
        "bemenő kör saját fbe frekvenciája. Pozitív eltérésnél a vett jel a bemenő kör "
        "hangolása fölött van.</li>"
        "<li><b>Grafikon</b>: ugyanez az eltérés a sáv 500 egyenletesen elosztott pontjában, "
        "balra fmin, jobbra fmax, a nullvonal bíborszínű. Az egérmutató fölötte megmutatja a "
        "magasságához tartozó eltérést (Hz) és az alatta lévő bemenő frekvenciát (MHz); "
        "kattintásra a grafikon újrarajzolódik.</li>"
        "</ul>");

    html << QStringLiteral(
        "<h3>Mit jelent az eltérés?</h3>"
        "<p>Egy Q jóságú hangolt kör sávszélessége f / Q; a hangolásától Δf-re lévő jelet "
        "1 / √(1 + (2Q · Δf / f)²) arányban engedi át, vagyis Δf = f / (2Q) eltérésnél 3 dB-lel "
        "gyengébben. Az eltérést ezért a bemenő kör fél sávszélességével, f / (2Q)-val kell "
        "összevetni. Ha a sáv minden pontján |eltérés| ≤ f / (2Q), a bemenő kör elhangolódása "
        "legfeljebb 3 dB veszteséget okoz. Fordítva: a terv legfeljebb Q = f / (2 · |eltérés|) "
        "jóságú bemenő kört visel el, a sáv legrosszabb pontján számolva. Ezt a "
        "„Megjegyzések a mostani tervhez” rész „használható jóság” néven adja meg.</p>"
        "<p>Példa: középhullámon, 0,52 MHz-en a −74 580 Hz-es eltérés a jel 14 %-a; ezt 3 dB-nél "
        "kisebb veszteséggel csak legfeljebb 3,4 jóságú kör viseli el, a középhullámú bemenő "
        "körök jósága viszont 50–150.</p>");

    html << QStringLiteral(
        "<h3>Mikor elég a trimmer, mikor kell padder?</h3>"
        "<p>Az oszcillátornak kisebb frekvenciaarányt kell átfognia, mint a bemenő körnek: "
        "(fmax + fkf) / (fmin + fkf) &lt; fmax / fmin. Párhuzamos trimmerrel ez csak két pontban "
        "teljesülhet pontosan; a hiba annál nagyobb, minél szélesebb a sáv (fmax / fmin) és "
        "minél nagyobb a középfrekvencia a jelhez képest.</p>"
        "<ul>"
        "<li><b>Csak trimmer elég</b> a relatíve keskeny sávokon: rövidhullámú "
        "sávkiterjesztésnél vagy URH-FM-en (87,5–108 MHz, 10,7 MHz), ahol a használható jóság "
        "néhány száz vagy több.</li>"
        "<li><b>Padder kell</b> a széles sávokon, közép- és hosszúhullámon. A padder az "
        "oszcillátor hangoló kondenzátorával sorba kötött kondenzátor; a trimmerrel együtt az "
        "oszcillátort három pontban futtatja együtt a bemenő körrel, és az eltérést nagyságrenddel "
        "csökkenti. A Kalibrix padderes kört nem méretez: a „Megjegyzések” rész jelzi, ha a "
        "terv padder nélkül nem elég jó.</li>"
        "</ul>");

    html << QStringLiteral(
        "<h3>Negatív Cp_b, Cp_o vagy Ch</h3>"
        "<p>A negatív érték nem hiba: a képletek eredménye, amely azt jelzi, hogy a terv így nem "
        "építhető meg.</p>"
        "<ul>"
        "<li><b>Negatív Cp_b</b>: a hangoló kondenzátor tartománya a szórt kapacitással együtt "
        "sem fogja át a sávot, (C_h_max + C_sz) / (C_h_min + C_sz) &lt; (fmax / fmin)². "
        "Nagyobb kapacitásarányú kondenzátor, kisebb szórt kapacitás vagy keskenyebb sáv kell.</li>"
        "<li><b>Negatív Cp_o</b>: az oszcillátornak kevesebb párhuzamos kapacitás kellene, mint "
        "maga a szórt kapacitás, (Ch1 + C_sz) / (Ch2 + C_sz) &lt; ((F2 + fkf) / (F1 + fkf))², "
        "ahol Ch1 és Ch2 a hangoló kapacitás az F1 és az F2 pontban. Kisebb szórt kapacitás vagy "
        "nagyobb középfrekvencia segít.</li>"
        "<li><b>Negatív Ch</b>: a bemenő kör hangoló kapacitás nélkül is az együttfutási pont "
        "alatt rezonál, 1 / (4π² · Lb · f²) &lt; Cp_b + C_sz. Ez negatívnak megadott C_h_min "
        "mellett fordul elő.</li>"
        "<li>Ha az fmin nagyobb az fmax-nál, a sáv szélei fel vannak cserélve, és az Lb, az Lo "
        "és a trimmerek is negatívak.</li>"
        "</ul>");

    html << QStringLiteral(
        "<h3>„Egy, vagy több adat hiányzik.”</h3>"
        "<p>Ez az egyetlen üzenet két különböző dolgot jelent:</p>"
        "<ul>"
        "<li>üres a „C_h_min ( pf )”, a „C_h_max ( pf )”, az „fmin ( MHz)”, az „fmax ( MHz)” "
        "vagy a „középfrekvencia ( MHz )” mező (a „C szórt kapacitás ( pf )” üresen "
        "maradhat);</li>"
        "<li>a terv nem számolható ki: az fmin 0 (az fmax / fmin osztás nullával osztana), az "
        "fmin egyenlő az fmax-szal ((fmax / fmin)² − 1 = 0), vagy a képletek valamelyik lépése "
        "nem hajtható végre, például negatív szám négyzetgyöke kellene (ha az oszcillátor "
        "kapacitása valahol a sávban negatív lenne, mert a középfrekvencia negatív), nulla "
        "összkapacitással kellene osztani, vagy egy érték túl nagy lenne.</li>"
        "</ul>"
        "<p>Az üzenet előtt már kiírt eredmények az új értéket mutatják, a többi mező a korábbi "
        "számolásét; ilyenkor a „Megjegyzések” rész sem értékel.</p>");

    html << QStringLiteral(
        "<h3>Kijelzési pontosság</h3>"
        "<p>A kapacitásokat és az induktivitásokat a program két tizedesre mutatja: a pF-ot "
        "0,01 pF-ra, a µH-t 0,01 µH-ra. Egy néhányszor tíz nH-s URH-tekercsnek így csak egy-két "
        "értékes jegye látszik: az URH-FM tervben az Lb 0,04 (valójában kb. 0,038 µH). A mentett "
        "fájl ugyanazt tartalmazza, amit az ablak mutat. Pontosabb értékhez számolja ki az "
        "induktivitást a rezonancia képletéből: Lb = 1 / (4π² · fmax² · (C_h_min + C_sz + "
        "Cp_b)).</p>");

    html << QStringLiteral(
                "<h3>Mentés</h3>"
                "<p>Az első sikeres számolás után megjelenik a „Ment” gomb. Írjon nevet a „Mentés "
                "neve” mezőbe, és nyomja meg a „Ment” gombot: a program a(z) <b>%1</b> mappába "
                "írja a nevet .txt kiterjesztéssel, és a mappát az első mentéskor létrehozza. Az "
                "azonos nevű fájlt kérdés nélkül felülírja. A fájl 17 sora: a dátum és az idő, "
                "majd a hat bemeneti adat és a tíz eredmény pontosan úgy, ahogy a mezőkben áll, "
                "mértékegységgel (pf, MHz, uH, Hz), CR LF sorvégekkel, a rendszer "
                "karakterkészletében.</p>")
                .arg(resultsFolder.toHtmlEscaped());

    html << QStringLiteral(
        "<h3>Billentyűzet</h3>"
        "<ul>"
        "<li><b>F1</b> a főablak bármely mezőjéből megnyitja ezt a segítséget, vagy előre hozza, "
        "ha már nyitva van. A segítség mellett a főablak tovább használható; a számolás után a "
        "„Megjegyzések” rész frissül.</li>"
        "<li><b>Tab</b> a következő, <b>Shift+Tab</b> az előző elemre lép. A sorrend: "
        "„C_h_min ( pf )”, „C_h_max ( pf )”, „fmax ( MHz)”, „fmin ( MHz)”, „középfrekvencia "
        "( MHz )”, „Számol”, a kapcsolási rajz, „C szórt kapacitás ( pf )”, Lo, Cp_o, Lb, Cp_b, "
        "F1, F2, a két „Maximális eltérések” mező, „Kilép”, a grafikon, „Mentés neve”, „Ment” "
        "(ha látszik), végül a két Ch mező.</li>"
        "<li><b>Szóköz</b> megnyomja a kijelölt gombot („Számol”, „Ment”, „Kilép”). Az Enter és "
        "az Esc a főablakban egyik gombot sem nyomja meg.</li>"
        "<li>Ebben az ablakban a nyilak és a Page Up / Page Down görgetnek; az <b>Esc</b> vagy a "
        "„Bezárás” gomb bezárja.</li>"
        "</ul>");
    return html.join(QString());
}

} // namespace kalibrix
