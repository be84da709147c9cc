// The words about a design, read as a user reads them: the padder window's
// refusals, verdicts and rows (which its file and clipboard share), the help's
// notes and guide, and the number phrases they are written with. Hungarian
// locale and decimal comma unless a row says otherwise.

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

// A design's or a refusal's text, as the padder window shows it.
QString PadderOutcome(const TrackingCalculator& calc, PointPlacement placement,
                      const std::array<double, 3>& own = {})
{
    try {
        return DescribePadderDesign(DesignThreePoint(calc.state, placement, own), calc).verdict;
    } catch (const ThreePointError& error) {
        return FailureText(error, calc, own);
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

    const int q = int(PointPlacement::LargestUsableQ);
    const int own = int(PointPlacement::OwnPoints);
    QTest::newRow("55.8 pF: the input circuit cannot be built") << QStringList{"12", "500", "55.8", "0.52", "1.62", "0.455"} << q << QStringList{} << "Nincs padderes terv: a bemenő kör Cp_b trimmere negatív (−11,74 pF), így már a bemenő kör sem építhető meg, mert a hangolókondenzátor a szórt kapacitással együtt sem fogja át a sávot. Válasszon nagyobb kapacitásarányú hangolókondenzátort, csökkentse a szórt kapacitást, vagy szűkítse a sávot (fmin, fmax).";
    QTest::newRow("reversed band") << QStringList{"12", "500", "10", "1.62", "0.52", "0.455"} << q << QStringList{} << "Nincs padderes terv: az fmin (1,620 MHz) nagyobb, mint az fmax (0,520 MHz), a sáv szélei fel vannak cserélve. Cserélje fel a főablakban a két frekvenciát.";
    QTest::newRow("zero IF: no padder needed") << QStringList{"12", "500", "10", "0.52", "1.62", "0"} << q << QStringList{} << "Nincs padderes terv: a középfrekvencia nulla, így az oszcillátor a bemenő körrel azonos frekvencián rezeg, és a két kör együtt hangolódik: padder nem kell. Ha keverős vevőt tervez, adja meg a főablakban a középfrekvenciát.";
    QTest::newRow("negative IF") << QStringList{"12", "500", "10", "0.52", "1.62", "-0.455"} << q << QStringList{} << "Nincs padderes terv: a középfrekvencia (−0,455 MHz) negatív. Az oszcillátor a vett jel fölött egy középfrekvenciával rezeg: adja meg a főablakban a középfrekvenciát pozitív számként.";
    QTest::newRow("own points 2 Hz apart") << kWorked << own << QStringList{"0.6", "1.000001", "1.000003"} << "Az F2 pont (1,000 MHz) és az F3 pont (1,000 MHz) túl közel van egymáshoz: legalább a sáv egy lépésnyi, 2,20 kHz távolságra kell lenniük, különben a padder értéke a kerekítési hibákon múlik. Válasszon távolabbi pontokat.";
    QTest::newRow("own point outside the band") << kWorked << own << QStringList{"0.5", "1", "1.4"} << "Az F1 pont (0,500 MHz) a sávon kívül esik: a pontoknak a 0,520–1,620 MHz sávba kell esniük, fmin ≤ F1 < F2 < F3 ≤ fmax.";
    QTest::newRow("own points falling") << kWorked << own << QStringList{"0.6", "1.5", "1.4"} << "Az F2 pont (1,500 MHz) nem kisebb az F3 pontnál (1,400 MHz): a pontokat növekvő sorrendben adja meg (F1 < F2 < F3).";
}
// clang-format on

void TestWords::padderRefusals()
{
    QFETCH(QStringList, inputs);
    QFETCH(int, placement);
    QFETCH(QStringList, own);
    QFETCH(QString, expected);
    const TrackingCalculator calc = Calculate(inputs, kHungarian);
    std::array<double, 3> points{};
    for (qsizetype i = 0; i < own.size(); ++i)
        points[std::size_t(i)] = ScaledInput(own[i].toStdString(), kHertzPerMegahertz);
    const QString outcome = PadderOutcome(calc, PointPlacement(placement), points);
    QVERIFY2(outcome == expected, qPrintable(outcome));
}

// clang-format off
void TestWords::padderVerdicts_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("expected");

    QTest::newRow("worked example: for the lower-Q circuits") << kWorked << "A padderes terv legfeljebb Q = 85 jósági tényezőjű bemenő kört enged meg: a sávban szokásos, 50–150-es terhelt jóságú bemenő körök közül csak a kisebb jóságúakhoz elég.";
    QTest::newRow("FM: trimmers enough") << QStringList{"5", "20", "5", "87.5", "108", "10.7"} << "Csak trimmeres (kétpontos) kiegyenlítéssel is elég a sávban szokásos, 10–30-as terhelt jóságú bemenő körökhöz; padder nem kell.";
    QTest::newRow("short wave below the VHF line") << QStringList{"10", "365", "10", "10", "29.9", "10.7"} << "A padderes terv legfeljebb Q = 84 jósági tényezőjű bemenő kört enged meg: a sávban szokásos, 50–150-es terhelt jóságú bemenő körök közül csak a kisebb jóságúakhoz elég.";
    QTest::newRow("the same band from the VHF line") << QStringList{"10", "365", "10", "30", "89.7", "10.7"} << "A padderes terv legfeljebb Q = 160 jósági tényezőjű bemenő kört enged meg: a sávban szokásos, 10–30-as terhelt jóságú bemenő körökhöz elég.";
    QTest::newRow("IF of 1 000 000 MHz: judged, no canned text") << QStringList{"12", "500", "10", "0.52", "1.62", "1000000"} << "A padderes terv is csak legfeljebb Q = 47 jósági tényezőjű bemenő kört enged meg: a sávban szokásos, 50–150-es terhelt jóságú bemenő körökhöz ez sem elég.";
}
// clang-format on

void TestWords::padderVerdicts()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, expected);
    const QString outcome =
        PadderOutcome(Calculate(inputs, kHungarian), PointPlacement::LargestUsableQ);
    QVERIFY2(outcome == expected, qPrintable(outcome));
}

// clang-format off
void TestWords::padderRows_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("e24Unalignable");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");

    QTest::newRow("worked example: usable Q 85,06 stated 85") << kHungarian << false << "Q" << "85";
    QTest::newRow("padder to three significant digits") << kHungarian << false << "Cpad" << "548";
    QTest::newRow("an input in the locale's form") << kHungarian << false << "f_min" << "0,52";
    QTest::newRow("an input, C locale") << QLocale::c() << false << "f_min" << "0.52";
    QTest::newRow("input circuit: Lb") << kHungarian << false << "Lb" << "172,18";
    QTest::newRow("aligned E24: its coil") << kHungarian << false << "E24 Lo" << "94,74";
    QTest::newRow("unalignable E24: nominal value kept") << kHungarian << true << "E24 Cpad" << "560";
    QTest::newRow("unalignable E24: no coil") << kHungarian << true << "E24 Lo" << "";
    QTest::newRow("unalignable E24: no Q") << kHungarian << true << "E24 Q" << "";
    QTest::newRow("unalignable E24: E12 still shown") << kHungarian << true << "E12 Q" << "69";
}
// clang-format on

// The rows that the window's fields, the file and the clipboard all read.
void TestWords::padderRows()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, e24Unalignable);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QLocale::setDefault(locale);
    const TrackingCalculator calc = Calculate(kWorked, locale);
    const PadderDesignText design = DescribePadderDesign(WorkedDesign(calc, e24Unalignable), calc);
    const auto row = std::ranges::find(design.rows, label, &PadderRow::label);
    QVERIFY2(row != design.rows.end(), qPrintable(label));
    QCOMPARE(row->text, text);
}

// The saved design is whole: the inputs and the input circuit, the placement,
// every value, both standard padders, the note on the one that cannot be
// aligned, the verdict and the numbered alignment steps.
void TestWords::fileHoldsTheWholeDesign()
{
    const TrackingCalculator calc = Calculate(kWorked, kHungarian);
    const QStringList lines = PadderFileLines(WorkedDesign(calc, true), calc,
                                              QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    const QStringList expected{
        "f_min      = 0,52  MHz",
        "Lb         = 172,18  uH",
        "Cp_b       = 34,06  pf",
        "Pontok     = Legnagyobb használható jóság",
        "n_elt      = " + kMinus + "9" + kNbsp + "495,05  Hz",
        "E12 Q      = 69",
        "E24 Cpad   = 560  pf",
        "E24 Lo     = ",
        QStringLiteral("Az E24 padderrel az oszcillátor F1-en és F3-on nem állítható be: a "
                       "trimmer negatív lenne. Ennek csak a névleges értéke áll a táblázatban."),
        QStringLiteral("1. Állítsa a skálát 560 kHz-re, adjon 560 kHz-es jelet a "
                       "jelgenerátorral, és az oszcillátortekercs vasmagjával hangolja a jelet "
                       "maximumra."),
    };
    for (const QString& line : expected)
        QVERIFY2(lines.contains(line), qPrintable(line + "\n---\n" + lines.join(u'\n')));
    QVERIFY2(lines.last().startsWith("4. "), "the alignment steps close the file");
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

    QTest::newRow("worked example: padder needed") << kWorked << "Értékelés: A terv legfeljebb Q = 3,2 jósági tényezőt enged meg, a bemenő kör jellemző terhelt jósága viszont 50–150. Csak trimmeres kiegyenlítéssel az elhangolódás a sáv egy részén 3 dB-nél nagyobb veszteséget okoz: padder kell." << true;
    QTest::newRow("grouped deviation") << kWorked << "pozitív eltérés: 70" + kNbsp + "217,63 Hz" << true;
    QTest::newRow("trimmers serve only low-Q circuits") << QStringList{"10", "365", "10", "5.9", "12", "0.455"} << "Értékelés: A terv legfeljebb Q = 81 jósági tényezőt enged meg, a bemenő kör jellemző terhelt jósága pedig 50–150: a kisebb jóságú körökhöz csak trimmeres (kétpontos) kiegyenlítéssel is elég, a nagyobb jóságúakhoz padder kell." << true;
    QTest::newRow("short wave: Q far above the typical") << QStringList{"10", "50", "10", "5.9", "6.2", "0.455"} << "Értékelés: A terv legfeljebb Q = 15" + kNbsp + "000 jósági tényezőt enged meg, ez a bemenő kör jellemző terhelt jóságának (50–150) felső határát jóval meghaladja: csak trimmeres (kétpontos) kiegyenlítéssel is elég; padder nem kell." << false;
    QTest::newRow("FM: the VHF line and its typical Q") << QStringList{"5", "20", "5", "87.5", "108", "10.7"} << "Az URH (30 MHz fölötti) bemenő körök terhelt jósága jellemzően csak 10–30; egy terheletlen URH-tekercsé is csak 100–200." << false;
    QTest::newRow("zero IF: no mistuning") << QStringList{"12", "500", "10", "0.52", "1.62", "0"} << "Értékelés: Az elhangolódás nem korlátozza a bemenő kör jóságát: bármilyen jóságú körrel működik, padder nem kell." << false;
    QTest::newRow("IF above the band: no usable Q") << QStringList{"12", "500", "10", "0.15", "30", "45"} << "Használható jóság: nincs." << false;
    QTest::newRow("55.8 pF: what to change") << QStringList{"12", "500", "55.8", "0.52", "1.62", "0.455"} << "A Cp_b negatív (−11,74 pF)" << false;
    QTest::newRow("reversed band") << QStringList{"12", "500", "10", "1.62", "0.52", "0.455"} << "Értékelés: A terv így nem építhető meg: az fmin nagyobb, mint az fmax, a sáv szélei fel vannak cserélve" << false;
}
// clang-format on

// The help's notes after a press of "Számol", and their link to the padder
// design exactly where a padder helps.
void TestWords::notes()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, shown);
    QFETCH(bool, padderLink);
    const TrackingCalculator calc = Calculate(inputs, kHungarian);
    const LastRun run = calc.state.sweep_i == kSweepSteps ? LastRun::Complete : LastRun::Failed;
    const QString notes = NotesHtml(calc, run, QStringLiteral("Számol"));
    const QString plain = Plain(notes);
    QVERIFY2(plain.contains(shown), qPrintable(plain));
    QCOMPARE(notes.contains(QLatin1String(kPadderLink)), padderLink);
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
