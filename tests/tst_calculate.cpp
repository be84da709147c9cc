// SPDX-License-Identifier: GPL-3.0-or-later
// The calculate action from end to end in the window: its results under the
// C and the Hungarian locale, a missing input, what a run failing at a given
// step leaves behind, the tool tip over the graph it draws, and the save.

#include "WindowTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QMouseEvent>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

// Pixels of the graph's zero line colour, bright magenta.
int MagentaPixels(QWidget* graph)
{
    const QImage image = graph->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == qRgb(255, 0, 255);
    return n;
}

} // namespace

class TestCalculate : public QObject, private WindowDriver {
    Q_OBJECT

private slots:
    void init() { QVERIFY(Open()); }
    void cleanup() { Close(); }

    void calculate_data();
    void calculate();
    void failingRun_data();
    void failingRun();
    void toolTipAfterCalculation_data();
    void toolTipAfterCalculation();
    void graphDescription_data();
    void graphDescription();
    void save_data();
    void save();
};

// clang-format off
void TestCalculate::calculate_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("inputs"); // c_min c_max c_szort f_min f_max f_kf
    // in the order of kOutputFields; none to check only that all are filled,
    // or "missing"
    QTest::addColumn<QStringList>("results");

    QStringList worked;
    for (const kalibrix::InputSpec& input : kalibrix::kInputs)
        worked << QStringOf(worked_example::Typed(input.field));
    QTest::newRow("worked example") << QLocale::c() << worked << WorkedExampleResults(QLocale::c());
    QTest::newRow("worked example, Hungarian decimal comma") << QLocale(QLocale::Hungarian, QLocale::Hungary) << worked << WorkedExampleResults(QLocale(QLocale::Hungarian, QLocale::Hungary));
    QStringList noStray = worked;
    noStray[2] = "";
    QTest::newRow("empty stray capacitance counts as 0 pF") << QLocale::c() << noStray << QStringList{};
    QTest::newRow("long input and long result (n_elt -10431976.31) show their start") << QLocale::c() << QStringList{"1", "1000.000000000000000001", "0", "0.1", "30", "10.7"} << QStringList{};

    for (qsizetype i = 0; i < kInputFields.size(); ++i) {
        if (!kalibrix::kInputs[static_cast<std::size_t>(i)].required)
            continue;
        QStringList missing = worked;
        missing[i] = "";
        QTest::addRow("%s empty", qPrintable(kInputFields[i])) << QLocale::c() << missing << QStringList{"missing"};
    }
}
// clang-format on

void TestCalculate::calculate()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, results);

    QVERIFY(OpenWindow(form_, locale));
    for (qsizetype i = 0; i < kInputFields.size(); ++i)
        enter(kInputFields[i], inputs[i]);
    QWidget* graph = control("pct_main");
    QCOMPARE(MagentaPixels(graph), 0);
    clickStart();

    if (results == QStringList{"missing"}) {
        QCOMPARE(messages_, QStringList{kMissingData});
        QVERIFY(!control("Command1")->isVisible());
        QVERIFY(field("c_tb")->text().isEmpty());
        QCOMPARE(state().C_tb, 0.0);
        QCOMPARE(MagentaPixels(graph), 0);
        return;
    }
    QVERIFY(messages_.isEmpty());
    QVERIFY(control("Command1")->isVisible());
    for (qsizetype i = 0; i < results.size(); ++i)
        QCOMPARE(field(kOutputFields[i])->text(), results[i]);
    for (const QString& output : kOutputFields)
        QVERIFY(!field(output)->text().isEmpty());
    for (const QString& name : kInputFields + kOutputFields)
        QVERIFY2(field(name)->cursorPosition() == 0,
                 qPrintable(name + " shows the end of its text"));
    if (results.isEmpty())
        QCOMPARE(state().C_sz, 0.0);

    // The graph is drawn: its magenta zero line runs across the area.
    const int innerWidth = static_cast<QFrame*>(graph)->contentsRect().width();
    QVERIFY2(MagentaPixels(graph) >= 0.9 * innerWidth,
             qPrintable(QString::number(MagentaPixels(graph))));
}

// clang-format off
void TestCalculate::failingRun_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("afterWorkedExample"); // a successful run comes first
    QTest::addColumn<QStringList>("changes");     // field, text, field, text, ...
    QTest::addColumn<QStringList>("shown");       // afterwards, in the order of kOutputFields

    // The fields that the failing run reached show its texts; the others keep
    // what they showed before.
    const auto shown = [](const QStringList& fresh, const QStringList& before) {
        return fresh + before.mid(fresh.size());
    };
    const QStringList c = WorkedExampleResults(QLocale::c());
    const QStringList hu = WorkedExampleResults(QLocale(QLocale::Hungarian, QLocale::Hungary));
    const QStringList none(kOutputFields.size(), QString());

    // f_max 1.6: c_tb 35.63 pF, L_b 171.69 uH, f_h1 = 0.52 + 1.08/6.85 = 0.678,
    // f_h2 = 1.6 - 1.08/6.85 = 1.442 MHz. With the IF at 1e300 MHz both
    // oscillator frequencies round to the same double: ko2 - 1 is zero in
    // step 14.
    const QStringList hugeIf{"f_max", "1.6", "f_kf", "1e300"};
    const QStringList hugeIfShown{"35.63", "171.69", "0.678", "1.442"};
    // c_max 400, f_max 1.6 and the oscillator 0.5 MHz below the signal: the
    // oscillator's fixed capacitance C_osz = -15.23 pF lies below -C_h_min,
    // so at step 0 the oscillator's capacitance is negative and the sweep
    // takes the square root of a negative number. Every solver field is new;
    // C_to = -25.229 pF shows as -25.22, negative values rounding toward zero.
    const QStringList oscillatorBelow{"c_max", "400", "f_max", "1.6", "f_kf", "-0.5"};
    const QStringList oscillatorBelowShown{"23.82",  "215.93", "0.678", "1.442",
                                           "-25.22", "221.62", "22.57", "3888.25"};
    QStringList oscillatorBelowShownHungarian = oscillatorBelowShown;
    oscillatorBelowShownHungarian.replaceInStrings(".", ",");

    QTest::newRow("f_kf cleared: step 2, nothing changes") << QLocale::c() << true << QStringList{"f_kf", ""} << c;
    QTest::newRow("f_min 0: division by zero in step 4, nothing changes") << QLocale::c() << true << QStringList{"f_min", "0"} << c;
    QTest::newRow("f_min equals f_max: division by zero in step 5, nothing shown") << QLocale::c() << true << QStringList{"f_min", "1.62"} << c;
    QTest::newRow("capacitor and stray 0 pF: C_tb 0, division by zero in step 7") << QLocale::c() << true << QStringList{"c_min", "0", "c_max", "0", "c_szort", "0"} << shown({"0.00"}, c);
    QTest::newRow("IF 1e300 MHz: division by zero in step 14") << QLocale::c() << true << hugeIf << shown(hugeIfShown, c);
    QTest::newRow("oscillator below the signal: square root of a negative in the sweep") << QLocale::c() << true << oscillatorBelow << shown(oscillatorBelowShown, c);
    QTest::newRow("Hungarian: square root of a negative in the sweep") << QLocale(QLocale::Hungarian, QLocale::Hungary) << true << oscillatorBelow << shown(oscillatorBelowShownHungarian, hu);

    QTest::newRow("first run, f_min 0") << QLocale::c() << false << QStringList{"f_min", "0"} << none;
    QTest::newRow("first run, IF 1e300 MHz") << QLocale::c() << false << hugeIf << shown(hugeIfShown, none);
    QTest::newRow("first run fails in the sweep") << QLocale::c() << false << oscillatorBelow << shown(oscillatorBelowShown, none);
}
// clang-format on

void TestCalculate::failingRun()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, afterWorkedExample);
    QFETCH(QStringList, changes);
    QFETCH(QStringList, shown);

    QVERIFY(OpenWindow(form_, locale));
    enterWorkedExample();
    if (afterWorkedExample) {
        clickStart();
        QVERIFY(messages_.isEmpty());
        QVERIFY(control("Command1")->isVisible());
    }
    for (qsizetype i = 0; i + 1 < changes.size(); i += 2)
        replace(changes[i], changes[i + 1]);
    const QImage graphBefore = control("pct_main")->grab().toImage();

    clickStart();

    QCOMPARE(messages_, QStringList{kMissingData});
    QStringList texts;
    for (const QString& output : kOutputFields)
        texts << field(output)->text();
    QCOMPARE(texts, shown);
    QCOMPARE(control("Command1")->isVisible(), afterWorkedExample);
    QCOMPARE(control("pct_main")->grab().toImage(), graphBefore);
}

// clang-format off
void TestCalculate::toolTipAfterCalculation_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("x");  // sweep step, 499 at the left edge, 0 at the right
    QTest::addColumn<double>("fy"); // share of the inner height from the top
    QTest::addColumn<QString>("text");

    // The worked example: H = 80000 Hz, so the top row is 80000 Hz and the
    // middle row 0 Hz; step i sits at f_max - i (f_max - f_min) / 499 MHz:
    // step 100 at 1.39956, 101 at 1.39735, 102 at 1.39515, 249 at 1.07110,
    // 250 at 1.06890. An exact half lands only in the middle column
    // (X 249.5); it goes to the even step.
    QTest::newRow("X 249.5, middle: the even step 250") << QLocale::c() << 249.5 << 0.5 << "0.00   1.069";
    QTest::newRow("X 100.25, top: step 100") << QLocale::c() << 100.25 << 0.0 << "80000.00   1.400";
    QTest::newRow("X 100.75, bottom: step 101") << QLocale::c() << 100.75 << 1.0 << "-80000.00   1.397";
    QTest::newRow("Hungarian, X 101.75: step 102") << QLocale(QLocale::Hungarian, QLocale::Hungary) << 101.75 << 0.0 << "80000,00   1,395";
}
// clang-format on

void TestCalculate::toolTipAfterCalculation()
{
    QFETCH(QLocale, locale);
    QFETCH(double, x);
    QFETCH(double, fy);
    QFETCH(QString, text);

    QVERIFY(OpenWindow(form_, locale));
    enterWorkedExample();
    clickStart();
    QVERIFY(messages_.isEmpty());

    auto* graph = control<QFrame>("pct_main");
    const QRect area = graph->contentsRect();
    const QPointF position(area.left() + (499.0 - x) / 499.0 * (area.width() - 1),
                           area.top() + fy * (area.height() - 1));
    QMouseEvent move(QEvent::MouseMove, position, graph->mapToGlobal(position), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(graph, &move);
    QCOMPARE(graph->toolTip(), text);
}

// clang-format off
void TestCalculate::graphDescription_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("f_kf"); // typed over the worked example's before a second run
    QTest::addColumn<QString>("description");

    // The worked example: the largest deviation at step 256 (1.056 MHz), the
    // smallest at the lower band edge. An IF of 0.5 MHz moves the oscillator
    // 45 kHz up, and every deviation with it.
    const QString worked = QStringLiteral(
        "Grafikon: a bemenő kör eltérése, (fosz - fkf) - fbe, a 0.520–1.620 MHz sávban, balra "
        "0.520 MHz, jobbra 1.620 MHz. Legnagyobb eltérés: 70217.63 Hz, 1.056 MHz-nél. Legkisebb "
        "eltérés: -74580.2 Hz, 0.520 MHz-nél.");
    QTest::newRow("worked example") << QLocale::c() << QString() << worked;
    QTest::newRow("worked example, Hungarian") << QLocale(QLocale::Hungarian, QLocale::Hungary) << QString() << QString(worked).replace(QRegularExpression("(\\d)\\.(\\d)"), "\\1,\\2");
    QTest::newRow("kept current by a second calculation") << QLocale::c() << "0.5" << QStringLiteral("Grafikon: a bemenő kör eltérése, (fosz - fkf) - fbe, a 0.520–1.620 MHz " "sávban, balra 0.520 MHz, jobbra 1.620 MHz. Legnagyobb eltérés: ");
}
// clang-format on

// The graph's description for a screen reader: what it shows before any
// calculation, then the band and both extremes with their frequencies.
void TestCalculate::graphDescription()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, f_kf);
    QFETCH(QString, description);

    QVERIFY(Open(locale));
    QAccessibleInterface* graph = QAccessible::queryAccessibleInterface(control("pct_main"));
    QVERIFY(graph->text(QAccessible::Description).contains("Számol"));
    enterWorkedExample();
    clickStart();
    const QString first = graph->text(QAccessible::Description);
    if (f_kf.isEmpty()) {
        QCOMPARE(first, description);
        return;
    }
    replace("f_kf", f_kf);
    clickStart();
    QVERIFY(messages_.isEmpty());
    const QString second = graph->text(QAccessible::Description);
    QVERIFY2(second.startsWith(description) && second != first, qPrintable(second));
}

// clang-format off
void TestCalculate::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("written");

    QTest::newRow("empty name asks for one") << "" << false;
    QTest::newRow("name") << "tst_form1_save" << true;
    QTest::newRow("name leaving the folder") << "../tst_form1_outside" << false;
}
// clang-format on

void TestCalculate::save()
{
    QFETCH(QString, name);
    QFETCH(bool, written);

    const QDir folder(QCoreApplication::applicationDirPath() + "/adatok");
    const QString path = folder.filePath(name + ".txt");
    QFile::remove(path);

    enterWorkedExample();
    clickStart();
    enter("filenev", name);
    QTest::mouseClick(control("Command1"), Qt::LeftButton);

    QCOMPARE(QFile::exists(path), written);
    if (name.isEmpty()) {
        QCOMPARE(messages_,
                 QStringList{QStringLiteral("Célszerűnek látszik a mentésnek nevet adni")});
        QCOMPARE(QApplication::focusWidget(), control("filenev"));
    } else if (written) {
        QVERIFY(messages_.isEmpty());
        const QString mismatch = SavedFileMismatch(path, *form_);
        QFile::remove(path);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    } else {
        QCOMPARE(messages_.size(), 1);
        QVERIFY(!messages_.first().isEmpty());
    }
}

QTEST_MAIN(TestCalculate)
#include "tst_calculate.moc"
