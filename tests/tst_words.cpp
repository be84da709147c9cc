// SPDX-License-Identifier: GPL-3.0-or-later
// The words about a design, read as a user reads them: the padder window's
// refusals, verdicts and rows (which its file and clipboard share), the help's
// notes and guide, and the number phrases they are written with. Hungarian
// locale and decimal comma unless a row says otherwise.

#include "BandspreadText.h"
#include "CalcTestSupport.h"
#include "DesignNotes.h"
#include "Guide.h"
#include "PadderText.h"
#include "Phrases.h"
#include "ThreePointTracking.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

const QLocale kHungarian(QLocale::Hungarian, QLocale::Hungary);
const QString kNbsp(QChar(0x00A0));
const QString kMinus(QChar(0x2212));

class NoOutput : public OutputSink {
public:
    void ShowOutput(OutputField, const std::string&) override {}
};

// The six inputs typed in the order of kInputs, calculated as "Számol"
// calculates them; a run that fails leaves what it stored.
TrackingCalculator Calculate(const QStringList& inputs, const QLocale& locale)
{
    TrackingCalculator calc;
    calc.decimalSeparator = locale.decimalPoint().toStdString();
    for (std::size_t i = 0; i < kInputs.size(); ++i)
        calc.state.*kInputs[i].member =
            ScaledInput(inputs[qsizetype(i)].toStdString(), kInputs[i].factor);
    NoOutput sink;
    try {
        SolveTracking(calc, sink);
    } catch (const CalculationError&) {
        calc.state.sweep_i = 0;
    }
    return calc;
}

// HTML as a reader hears it: the tags dropped, the entities the texts use
// decoded.
QString Plain(QString html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression blanks(QStringLiteral("[ \\n]+"));
    return html.remove(tag)
        .replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&amp;", "&")
        .replace(blanks, QStringLiteral(" "));
}

const QStringList kWorked{"12", "500", "10", "0.52", "1.62", "0.455"};

const QStringList k49m{"15", "365", "25", "5.9", "6.2", "0.455"};

// A design's or a refusal's text, as the padder window shows it; with a
// `coil` (µH, as typed) the design's input circuit is the bandspread one.
QString PadderOutcome(const TrackingCalculator& calc, PointPlacement placement,
                      const std::array<double, 3>& own = {}, const QString& coil = {})
{
    try {
        if (coil.isNull())
            return DescribePadderDesign(DesignThreePoint(calc.state, placement, own), {}, calc)
                .verdict;
        const BandspreadDesign spread =
            DesignBandspread(calc.state, coil.toStdString(), placement, own);
        return DescribePadderDesign(spread.oscillator, {}, calc, &spread).verdict;
    } catch (const ThreePointError& error) {
        return FailureText(error, calc, own);
    } catch (const BandspreadError& error) {
        const CoilRange range = BandspreadCoilRange(calc.state);
        return BandspreadFailureText(error, coil, &range, calc);
    }
}

// The worked example's design with the points placed for the largest usable
// Q, and with its E24 padder marked as one that cannot be aligned at F1 and
// F3, as the design marks such a row.
ThreePointDesign WorkedDesign(const TrackingCalculator& calc, bool e24Unalignable)
{
    ThreePointDesign design = DesignThreePoint(calc.state, PointPlacement::LargestUsableQ);
    design.e24.trimmerNegative = e24Unalignable;
    return design;
}

} // namespace

class TestWords : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(kHungarian); }

    void phrases_data();
    void phrases();
    void padderRefusals_data();
    void padderRefusals();
    void padderVerdicts_data();
    void padderVerdicts();
    void padderRows_data();
    void padderRows();
    void recipe_data();
    void recipe();
    void fileHoldsTheWholeDesign();
    void status_data();
    void status();
    void notes_data();
    void notes();
    void guidePlacesFilled_data();
    void guidePlacesFilled();
};

// clang-format off
void TestWords::phrases_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("stated Q 15000, Hungarian: grouped") << kHungarian << "15" + kNbsp + "000";
    QTest::newRow("stated Q 15000, C: ungrouped") << QLocale::c() << "15000";
    QTest::newRow("stated Q none") << kHungarian << "korlátlan";
    QTest::newRow("general -0.24: minus sign") << kHungarian << kMinus + "0,24";
    QTest::newRow("range 50..150") << kHungarian << "50–150";
    QTest::newRow("percent of -0.000894: three digits, no sign") << kHungarian << "0,0894";
}
// clang-format on

// Each phrase in the row's locale, named by the row's first word.
void TestWords::phrases()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QLocale::setDefault(locale);
    const std::string sep = locale.decimalPoint().toStdString();
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    QString phrase;
    if (tag.startsWith("stated Q none"))
        phrase = StatedQText(std::nullopt, sep);
    else if (tag.startsWith("stated Q"))
        phrase = StatedQText(15000.0, sep);
    else if (tag.startsWith("general"))
        phrase = GeneralNumber(-0.24, sep);
    else if (tag.startsWith("range"))
        phrase = RangeText(50, 150, sep);
    else
        phrase = PercentText(-0.000894, sep);
    QCOMPARE(phrase, expected);
}

// clang-format off
void TestWords::padderRefusals_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<int>("placement");
    QTest::addColumn<QStringList>("own"); // MHz, for own points
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("coil"); // µH: bandspread; null: the main window's input circuit

    const int q = int(PointPlacement::LargestUsableQ);
    const int own = int(PointPlacement::OwnPoints);
    QTest::newRow("55.8 pF: the input circuit cannot be built") << QStringList{"12", "500", "55.8", "0.52", "1.62", "0.455"} << q << QStringList{} << "Nincs padderes terv: a bemenő kör Cp_b trimmere negatív (−11,74 pF), így már a bemenő kör sem építhető meg, mert a hangolókondenzátor a szórt kapacitással együtt sem fogja át a sávot. Válasszon nagyobb kapacitásarányú hangolókondenzátort, csökkentse a szórt kapacitást, vagy szűkítse a sávot (fmin, fmax)." << QString();
    QTest::newRow("reversed band") << QStringList{"12", "500", "10", "1.62", "0.52", "0.455"} << q << QStringList{} << "Nincs padderes terv: az fmin (1,620 MHz) nagyobb, mint az fmax (0,520 MHz), a sáv szélei fel vannak cserélve. Cserélje fel a főablakban a két frekvenciát." << QString();
    QTest::newRow("zero IF: no padder needed") << QStringList{"12", "500", "10", "0.52", "1.62", "0"} << q << QStringList{} << "Nincs padderes terv: a középfrekvencia nulla, így az oszcillátor a bemenő körrel azonos frekvencián rezeg, és a két kör együtt hangolódik: padder nem kell. Ha keverős vevőt tervez, adja meg a főablakban a középfrekvenciát." << QString();
    QTest::newRow("negative IF") << QStringList{"12", "500", "10", "0.52", "1.62", "-0.455"} << q << QStringList{} << "Nincs padderes terv: a középfrekvencia (−0,455 MHz) negatív. Az oszcillátor a vett jel fölött egy középfrekvenciával rezeg: adja meg a főablakban a középfrekvenciát pozitív számként." << QString();
    QTest::newRow("own points 2 Hz apart") << kWorked << own << QStringList{"0.6", "1.000001", "1.000003"} << "Az F2 pont (1,000 MHz) és az F3 pont (1,000 MHz) túl közel van egymáshoz: legalább a sáv egy lépésnyi, 2,20 kHz távolságra kell lenniük, különben a padder értéke a kerekítési hibákon múlik. Válasszon távolabbi pontokat." << QString();
    QTest::newRow("own point outside the band") << kWorked << own << QStringList{"0.5", "1", "1.4"} << "Az F1 pont (0,500 MHz) a sávon kívül esik: a pontoknak a 0,520–1,620 MHz sávba kell esniük, fmin ≤ F1 < F2 < F3 ≤ fmax." << QString();
    QTest::newRow("own points falling") << kWorked << own << QStringList{"0.6", "1.5", "1.4"} << "Az F2 pont (1,500 MHz) nem kisebb az F3 pontnál (1,400 MHz): a pontokat növekvő sorrendben adja meg (F1 < F2 < F3)." << QString();
    QTest::newRow("bandspread: coil outside its range") << k49m << q << QStringList{} << "Az Lb = 25 µH tekerccsel a bemenő kör nem építhető meg: a sávot csak a 0,1964 … 21,498 µH közötti tekercsek fogják át. Kisebb tekercshez a hangolókondenzátor teljes változása sem elég, nagyobbhoz a Cp_b trimmer negatív lenne. Írjon be ebbe a tartományba eső értéket." << "25";
    QTest::newRow("bandspread: coil not a number") << k49m << q << QStringList{} << "Az Lb mezőben nincs szám: írja be a bemenő kör tekercsének induktivitását µH-ben, például 15 vagy 2,5." << "";
    QTest::newRow("bandspread: the padder's refusal first") << QStringList{"15", "365", "25", "6.2", "5.9", "0.455"} << q << QStringList{} << "Nincs padderes terv: az fmin (6,200 MHz) nagyobb, mint az fmax (5,900 MHz), a sáv szélei fel vannak cserélve. Cserélje fel a főablakban a két frekvenciát." << "15";
}
// clang-format on

void TestWords::padderRefusals()
{
    QFETCH(QStringList, inputs);
    QFETCH(int, placement);
    QFETCH(QStringList, own);
    QFETCH(QString, expected);
    QFETCH(QString, coil);
    const TrackingCalculator calc = Calculate(inputs, kHungarian);
    std::array<double, 3> points{};
    for (qsizetype i = 0; i < own.size(); ++i)
        points[std::size_t(i)] = ScaledInput(own[i].toStdString(), kHertzPerMegahertz);
    const QString outcome = PadderOutcome(calc, PointPlacement(placement), points, coil);
    QVERIFY2(outcome == expected, qPrintable(outcome));
}

// clang-format off
void TestWords::padderVerdicts_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("coil"); // µH: bandspread; null: the main window's input circuit

    QTest::newRow("worked example: for the lower-Q circuits") << kWorked << "A padderes terv legfeljebb Q = 85 jósági tényezőjű bemenő kört enged meg: a sávban szokásos, 50–150-es terhelt jóságú bemenő körök közül csak a kisebb jóságúakhoz elég." << QString();
    QTest::newRow("FM: trimmers enough") << QStringList{"5", "20", "5", "87.5", "108", "10.7"} << "Csak trimmeres (kétpontos) kiegyenlítéssel is elég a sávban szokásos, 10–30-as terhelt jóságú bemenő körökhöz; padder nem kell." << QString();
    QTest::newRow("short wave below the VHF line") << QStringList{"10", "365", "10", "10", "29.9", "10.7"} << "A padderes terv legfeljebb Q = 84 jósági tényezőjű bemenő kört enged meg: a sávban szokásos, 50–150-es terhelt jóságú bemenő körök közül csak a kisebb jóságúakhoz elég." << QString();
    QTest::newRow("the same band from the VHF line") << QStringList{"10", "365", "10", "30", "89.7", "10.7"} << "A padderes terv legfeljebb Q = 160 jósági tényezőjű bemenő kört enged meg: a sávban szokásos, 10–30-as terhelt jóságú bemenő körökhöz elég." << QString();
    QTest::newRow("IF of 1 000 000 MHz: judged, no canned text") << QStringList{"12", "500", "10", "0.52", "1.62", "1000000"} << "A padderes terv is csak legfeljebb Q = 47 jósági tényezőjű bemenő kört enged meg: a sávban szokásos, 50–150-es terhelt jóságú bemenő körökhöz ez sem elég." << QString();
    QTest::newRow("bandspread 49 m, Lb 15: the same Q, parts that can be built") << k49m << "Csak trimmeres (kétpontos) kiegyenlítéssel is elég a sávban szokásos, 50–150-es terhelt jóságú bemenő körökhöz; padder nem kell. A soros kondenzátor az eltérésen és a használható jóságon nem változtat: a két kör a hangolókondenzátort ugyanúgy képezi le, ezért ezek bármilyen tekercs mellett a csak trimmeres bemenő kör tervével azonosak. Amit ad, az a megépíthető alkatrész: Lb = 15 µH, Cs_b = 24,87 pF és Cp_b = 64,22 pF a csak trimmeres Lb = 0,20 µH és Cp_b = 3" + kNbsp + "316,34 pF helyett." << "15";
}
// clang-format on

void TestWords::padderVerdicts()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, expected);
    QFETCH(QString, coil);
    const QString outcome =
        PadderOutcome(Calculate(inputs, kHungarian), PointPlacement::LargestUsableQ, {}, coil);
    QVERIFY2(outcome == expected, qPrintable(outcome));
}

// clang-format off
void TestWords::padderRows_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("e24Unalignable");
    QTest::addColumn<double>("own"); // the builder's own padder, pF; 0: none
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("coil"); // µH: bandspread on 49 m; null: the worked example

    QTest::newRow("worked example: usable Q 85,06 stated 85") << kHungarian << false << 0.0 << "Q" << "85" << QString();
    QTest::newRow("padder to three significant digits") << kHungarian << false << 0.0 << "Cpad" << "558" << QString();
    QTest::newRow("an input in the locale's form") << kHungarian << false << 0.0 << "f_min" << "0,52" << QString();
    QTest::newRow("an input, C locale") << QLocale::c() << false << 0.0 << "f_min" << "0.52" << QString();
    QTest::newRow("input circuit: Lb") << kHungarian << false << 0.0 << "Lb" << "172,18" << QString();
    QTest::newRow("aligned E24: its coil at its own points") << kHungarian << false << 0.0 << "E24 Lo" << "92,30" << QString();
    QTest::newRow("aligned E24: A1 in MHz like F1") << kHungarian << false << 0.0 << "E24 A1" << "0,557" << QString();
    QTest::newRow("aligned E24: A2") << kHungarian << false << 0.0 << "E24 A2" << "1,494" << QString();
    QTest::newRow("unalignable E24: nominal value kept") << kHungarian << true << 0.0 << "E24 Cpad" << "560" << QString();
    QTest::newRow("unalignable E24: no coil") << kHungarian << true << 0.0 << "E24 Lo" << "" << QString();
    QTest::newRow("unalignable E24: no Q") << kHungarian << true << 0.0 << "E24 Q" << "" << QString();
    QTest::newRow("unalignable E24: no points") << kHungarian << true << 0.0 << "E24 A1" << "" << QString();
    QTest::newRow("unalignable E24: E12 still shown") << kHungarian << true << 0.0 << "E12 Q" << "83" << QString();
    QTest::newRow("E24 pair as the builder solders it") << kHungarian << false << 0.0 << "E24 pár" << "510 + 47" << QString();
    QTest::newRow("E24 pair's Q 84,2 stated") << kHungarian << false << 0.0 << "E24 pár Q" << "84" << QString();
    QTest::newRow("E12 pair") << kHungarian << false << 0.0 << "E12 pár" << "470 + 82" << QString();
    QTest::newRow("E24 560 pF within 2 %: 69,6") << kHungarian << false << 0.0 << "Q ±2%" << "69" << QString();
    QTest::newRow("E24 560 pF within 5 %: 54,6") << kHungarian << false << 0.0 << "Q ±5%" << "54" << QString();
    QTest::newRow("no own padder: no own row") << kHungarian << false << 0.0 << "Saját padder Q" << QString() << QString();
    QTest::newRow("a measured 556 pF: its Q") << kHungarian << false << 556.0 << "Saját padder Q" << "83" << QString();
    QTest::newRow("a measured 556 pF: its A1") << kHungarian << false << 556.0 << "Saját padder A1" << "0,560" << QString();
    QTest::newRow("a measured 556 pF: the tolerance is its own") << kHungarian << false << 556.0 << "Q ±5%" << "54" << QString();
    QTest::newRow("the main window's input circuit named") << kHungarian << false << 0.0 << "Bemenő kör" << "Trimmerrel (a főablak terve szerint)" << QString();
    QTest::newRow("bandspread: its input circuit named") << kHungarian << false << 0.0 << "Bemenő kör" << "Soros kondenzátorral is (sávkiterjesztés)" << "15";
    QTest::newRow("bandspread: the coil as typed") << kHungarian << false << 0.0 << "Lb" << "15" << "15";
    QTest::newRow("bandspread: Cs_b to 0,01 pF") << kHungarian << false << 0.0 << "Cs_b" << "24,87" << "15";
    QTest::newRow("bandspread: Cp_b to 0,01 pF") << kHungarian << false << 0.0 << "Cp_b" << "64,22" << "15";
    QTest::newRow("bandspread: E12 Cs_b nominal") << kHungarian << false << 0.0 << "E12 Cs_b" << "27,00" << "15";
    QTest::newRow("bandspread: E12 coil re-set, four digits") << kHungarian << false << 0.0 << "E12 Lb" << "14,43" << "15";
    QTest::newRow("bandspread: E24 trimmer re-set") << kHungarian << false << 0.0 << "E24 Cp_b" << "60,52" << "15";
}
// clang-format on

// The rows that the window's fields, the file and the clipboard all read.
void TestWords::padderRows()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, e24Unalignable);
    QFETCH(double, own);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QString, coil);
    QLocale::setDefault(locale);
    const TrackingCalculator calc = Calculate(coil.isNull() ? kWorked : k49m, locale);
    std::optional<BandspreadDesign> spread;
    if (!coil.isNull())
        spread = DesignBandspread(calc.state, coil.toStdString(), PointPlacement::LargestUsableQ);
    const ThreePointDesign worked =
        spread ? spread->oscillator : WorkedDesign(calc, e24Unalignable);
    const PadderChoices choices =
        FitPadders(calc.state, worked, own > 0.0 ? std::optional(own * 1e-12) : std::nullopt);
    const PadderDesignText design =
        DescribePadderDesign(worked, choices, calc, spread ? &*spread : nullptr);
    const auto row = std::ranges::find(design.rows, label, &PadderRow::label);
    QCOMPARE(row != design.rows.end(), !text.isNull());
    if (row != design.rows.end())
        QCOMPARE(row->text, text);
}

// clang-format off
void TestWords::recipe_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<double>("own");  // pF; 0: none
    QTest::addColumn<int>("step");    // 1 for the first; 0: the heading
    QTest::addColumn<QString>("says");

    QTest::newRow("worked example: the E24 padder named") << kWorked << 0.0 << 0 << "az E24-es, 560 pF-os padderrel";
    QTest::newRow("worked example: generator on the aerial, maximum at the IF") << kWorked << 0.0 << 1 << "antennabemenetére, a KF-kimenetre";
    QTest::newRow("worked example: oscillator core at A1, in kHz") << kWorked << 0.0 << 2 << "adjon 557 kHz-es jelet";
    QTest::newRow("worked example: oscillator trimmer at A2") << kWorked << 0.0 << 3 << "1 494 kHz-es jeléhez, és az oszcillátor trimmerével";
    QTest::newRow("worked example: input core at the low point") << kWorked << 0.0 << 5 << "557 kHz-es jelet, hangolja rá a vevőt, és a bemenő kör tekercsének vasmagjával";
    QTest::newRow("worked example: input Cp_b at the high point") << kWorked << 0.0 << 6 << "1 494 kHz-es jelet, hangolja rá a vevőt, és a bemenő kör trimmerével (Cp_b)";
    QTest::newRow("worked example: checked at the third tracking point") << kWorked << 0.0 << 8 << "Ellenőrzés 902 kHz-en";
    QTest::newRow("worked example: brass end rising, a smaller padder") << kWorked << 0.0 << 9 << "a paddert csökkenteni kell";
    // 500 pF tracks at 570 and 1035 kHz only: the band's middle lies beyond.
    QTest::newRow("own 500 pF: mid-band check with its deviation") << kWorked << 500.0 << 8 << "1 562 Hz-cel a jel alatt";
    QTest::newRow("own 500 pF: beyond A2 a larger padder mends it") << kWorked << 500.0 << 9 << "a paddert növelni kell";
    QTest::newRow("short wave: kHz grouped") << QStringList{"12", "500", "10", "3.5", "10", "0.455"} << 0.0 << 2 << "3 539 kHz";
    QTest::newRow("FM: none needed, no padder") << QStringList{"10", "40", "5", "87.5", "108", "10.7"} << 0.0 << 0 << "padder nélkül";
    QTest::newRow("FM: the two-point points, in MHz") << QStringList{"10", "40", "5", "87.5", "108", "10.7"} << 0.0 << 2 << "90,493 MHz";
}
// clang-format on

// The whole alignment recipe, in the design's own frequencies.
void TestWords::recipe()
{
    QFETCH(QStringList, inputs);
    QFETCH(double, own);
    QFETCH(int, step);
    QFETCH(QString, says);
    const TrackingCalculator calc = Calculate(inputs, kHungarian);
    const ThreePointDesign design = DesignThreePoint(calc.state, PointPlacement::LargestUsableQ);
    const PadderDesignText text = DescribePadderDesign(
        design,
        FitPadders(calc.state, design, own > 0.0 ? std::optional(own * 1e-12) : std::nullopt),
        calc);
    QVERIFY(step <= text.recipeSteps.size());
    const QString said = step == 0 ? text.recipeHeading : text.recipeSteps[step - 1];
    // Digits grouped with a no-break space, read here as a blank.
    QVERIFY2(QString(said).replace(kNbsp, QStringLiteral(" ")).contains(says), qPrintable(said));
}

// The saved design is whole: the inputs and the input circuit, the placement,
// every value, both standard padders, the note on the one that cannot be
// aligned, the verdict and the numbered alignment steps.
void TestWords::fileHoldsTheWholeDesign()
{
    const TrackingCalculator calc = Calculate(kWorked, kHungarian);
    const ThreePointDesign design = WorkedDesign(calc, true);
    const QStringList lines = PadderFileLines(design, FitPadders(calc.state, design, 556e-12), calc,
                                              QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    const QStringList expected{
        "f_min      = 0,52  MHz",
        "Bemenő kör = Trimmerrel (a főablak terve szerint)",
        "Lb         = 172,18  uH",
        "Cp_b       = 34,06  pf",
        "Pontok     = Legnagyobb használható jóság",
        "n_elt      = " + kMinus + "9" + kNbsp + "495,05  Hz",
        "E12 Q      = 83",
        "E12 A1     = 0,557  MHz",
        "E24 Cpad   = 560  pf",
        "E24 Lo     = ",
        "Saját padder Q = 83",
        "Saját padder A1 = 0,560  MHz",
        "E24 pár    = 510 + 47  pf",
        "Q ±5%      = 54",
        QStringLiteral("Az E24 padderrel az oszcillátor nem állítható be: a trimmer negatív "
                       "lenne. Ennek csak a névleges értéke áll a táblázatban."),
        QStringLiteral("Kiegyenlítés (behangolás) a saját, 556 pF-os padderrel, a bemenő kör a "
                       "főablak terve szerint:"),
        QStringLiteral("2. Oszcillátor, alsó pont: adjon 560 kHz-es jelet, hangolja a vevőt a "
                       "skála 560 kHz-es jeléhez, és az oszcillátortekercs vasmagjával állítsa a "
                       "jelet maximumra."),
    };
    for (const QString& line : expected)
        QVERIFY2(lines.contains(line), qPrintable(line + "\n---\n" + lines.join(u'\n')));
    QVERIFY2(lines.last().startsWith("9. "), "the alignment steps close the file");

    // In bandspread mode the input circuit is aligned at the band's edges.
    const TrackingCalculator band = Calculate(k49m, kHungarian);
    const BandspreadDesign spread =
        DesignBandspread(band.state, "15", PointPlacement::LargestUsableQ);
    const QStringList spreadLines = PadderFileLines(
        spread.oscillator, {}, band, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)), &spread);
    const QStringList spreadExpected{
        "Cs_b       = 24,87  pf",
        "E12 Cs_b   = 27,00  pf",
        "5. A bemenő kör: állítsa a skálát a sáv aljára, 5" + kNbsp + "900 kHz-re, adjon 5" + kNbsp
            + "900 kHz-es jelet, és a bemenő kör tekercsének vasmagjával hangolja a jelet "
              "maximumra.",
        QStringLiteral("7. Ismételje az 5. és 6. lépést, amíg egyik állítás sem mozdítja el a "
                       "másikat."),
    };
    for (const QString& line : spreadExpected)
        QVERIFY2(spreadLines.contains(line),
                 qPrintable(line + "\n---\n" + spreadLines.join(u'\n')));
}

// clang-format off
void TestWords::status_data()
{
    QTest::addColumn<bool>("converged");
    QTest::addColumn<bool>("earlierRun");
    QTest::addColumn<QString>("expected");

    QTest::newRow("converged: named by its placement") << true << false << "Padderes terv a főablak utolsó számolásához, a pontok helye: legnagyobb használható jóság.";
    QTest::newRow("unconverged: what happened") << false << false << "Padderes terv a főablak utolsó számolásához. A pontok keresése („Legnagyobb használható jóság”) nem jutott el a céljáig: a négy eltéréscsúcs nem lett egyforma. A terv a keresés utolsó pontjaival készült, megépíthető, de nem a legjobb; a „Saját pontok” választással a pontok kézzel is áthelyezhetők.";
    QTest::newRow("after a failed calculation: an earlier design") << true << true << "A főablak legutóbbi számolása nem sikerült. Az ablak egy korábbi, sikeres számolás padderes tervét mutatja, a pontok helye: legnagyobb használható jóság.";
}
// clang-format on

// The padder window's status line over a design.
void TestWords::status()
{
    QFETCH(bool, converged);
    QFETCH(bool, earlierRun);
    QFETCH(QString, expected);
    ThreePointDesign design = WorkedDesign(Calculate(kWorked, kHungarian), false);
    design.converged = converged;
    QCOMPARE(DesignStatus(design, earlierRun), expected);
}

// clang-format off
void TestWords::notes_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("shown");   // a part of the notes
    QTest::addColumn<bool>("padderLink");
    QTest::addColumn<bool>("bandspreadLink"); // Cp_b + C_sz above 2 C_h_max: bandspread advised

    QTest::newRow("worked example: padder needed") << kWorked << "Értékelés: A terv legfeljebb Q = 3,2 jósági tényezőt enged meg, a bemenő kör jellemző terhelt jósága viszont 50–150. Csak trimmeres kiegyenlítéssel az elhangolódás a sáv egy részén 3 dB-nél nagyobb veszteséget okoz: padder kell." << true << false;
    QTest::newRow("grouped deviation") << kWorked << "pozitív eltérés: 70" + kNbsp + "217,63 Hz" << true << false;
    QTest::newRow("trimmers serve only low-Q circuits") << QStringList{"10", "365", "10", "5.9", "12", "0.455"} << "Értékelés: A terv legfeljebb Q = 81 jósági tényezőt enged meg, a bemenő kör jellemző terhelt jósága pedig 50–150: a kisebb jóságú körökhöz csak trimmeres (kétpontos) kiegyenlítéssel is elég, a nagyobb jóságúakhoz padder kell." << true << false;
    QTest::newRow("short wave: Q far above the typical") << QStringList{"10", "50", "10", "5.9", "6.2", "0.455"} << "Értékelés: A terv legfeljebb Q = 15" + kNbsp + "000 jósági tényezőt enged meg, ez a bemenő kör jellemző terhelt jóságának (50–150) felső határát jóval meghaladja: csak trimmeres (kétpontos) kiegyenlítéssel is elég; padder nem kell." << false << true;
    QTest::newRow("FM: the VHF line and its typical Q") << QStringList{"5", "20", "5", "87.5", "108", "10.7"} << "Az URH (30 MHz fölötti) bemenő körök terhelt jósága jellemzően csak 10–30; egy terheletlen URH-tekercsé is csak 100–200." << false << false;
    QTest::newRow("zero IF: no mistuning") << QStringList{"12", "500", "10", "0.52", "1.62", "0"} << "Értékelés: Az elhangolódás nem korlátozza a bemenő kör jóságát: bármilyen jóságú körrel működik, padder nem kell." << false << false;
    QTest::newRow("IF above the band: no usable Q") << QStringList{"12", "500", "10", "0.15", "30", "45"} << "Használható jóság: nincs." << false << false;
    QTest::newRow("55.8 pF: what to change") << QStringList{"12", "500", "55.8", "0.52", "1.62", "0.455"} << "A Cp_b negatív (−11,74 pF)" << false << false;
    QTest::newRow("reversed band") << QStringList{"12", "500", "10", "1.62", "0.52", "0.455"} << "Értékelés: A terv így nem építhető meg: az fmin nagyobb, mint az fmax, a sáv szélei fel vannak cserélve" << false << false;
    QTest::newRow("49 m on 15-365 pF: bandspread advised, Lb and Cp_b the reason") << QStringList{"15", "365", "25", "5.9", "6.2", "0.455"} << "Sávkiterjesztés ajánlott. Ehhez a keskeny sávhoz a csak trimmeres bemenő kör Lb = 0,20 µH és Cp_b = 3" + kNbsp + "316,34 pF értéket kíván: a tekercs ehhez a frekvenciához nagyon kicsi, a „trimmer” valójában egy nagy állandó kondenzátor, és a sáv alján a hangolókondenzátor a kör kapacitásának csak 9,85%-át adja." << false << true;
}
// clang-format on

// The help's notes after a press of "Számol", and their links to the padder
// design exactly where a padder helps, and to its bandspread mode exactly
// where bandspread should serve.
void TestWords::notes()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, shown);
    QFETCH(bool, padderLink);
    QFETCH(bool, bandspreadLink);
    const TrackingCalculator calc = Calculate(inputs, kHungarian);
    const LastRun run = calc.state.sweep_i == kSweepSteps ? LastRun::Complete : LastRun::Failed;
    const QString notes = NotesHtml(calc, run, QStringLiteral("Számol"));
    const QString plain = Plain(notes);
    QVERIFY2(plain.contains(shown), qPrintable(plain));
    QCOMPARE(notes.contains(QLatin1String(kPadderLink)), padderLink);
    QCOMPARE(notes.contains(QLatin1String(kBandspreadLink)), bandspreadLink);
}

// clang-format off
void TestWords::guidePlacesFilled_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("shortWaveQ");
    QTest::addColumn<QString>("rule");

    QTest::newRow("C") << QLocale::c() << "15000" << "(fmax − fmin) / 6.85";
    QTest::newRow("Hungarian") << kHungarian << "15" + kNbsp + "000" << "(fmax − fmin) / 6,85";
}
// clang-format on

// Every named place of the guide is filled, its numbers as the locale writes
// them, the design rule's among them.
void TestWords::guidePlacesFilled()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, shortWaveQ);
    QFETCH(QString, rule);
    QLocale::setDefault(locale);
    GuideWindow window;
    for (const OutputField field : kOutputFieldsInStepOrder)
        window.resultNames[std::size_t(field)] = QStringLiteral("r%1").arg(int(field));
    const QString guide = FillGuide(window);
    const QString plain = Plain(guide);
    QVERIFY2(plain.contains("használható jóság " + shortWaveQ + "."), qPrintable(plain));
    QVERIFY2(plain.contains(rule), qPrintable(plain));
}

QTEST_GUILESS_MAIN(TestWords)
#include "tst_words.moc"
