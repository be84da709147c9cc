// SPDX-License-Identifier: GPL-3.0-or-later
// The padder window that F2 opens: it follows the main window's calculations
// and keeps an earlier design after a failed one, refuses own points that do
// not lie rising within the band, shows the selectivity with the Q and
// circuits typed, saves its design in "adatok" and copies the same text or a
// field's selection; its keys, tab stops and the graph's readout for a screen
// reader. What the texts say is tested on its own, in
// tst_words.

#include "Help.h"
#include "PadderGraph.h"
#include "PadderText.h"
#include "SelectivityText.h"
#include "WindowTestSupport.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace kalibrix;
using namespace kalibrix::test;

class TestPadderWindow : public QObject, private WindowDriver {
    Q_OBJECT

private slots:
    void cleanup() { Close(); }

    void followsCalculations_data();
    void followsCalculations();
    void ownPoints_data();
    void ownPoints();
    void selectivity_data();
    void selectivity();
    void qFollowsBand();
    void inputCircuit_data();
    void inputCircuit();
    void save_data();
    void save();
    void fittedPadders_data();
    void fittedPadders();
    void copy_data();
    void copy();
    void keys_data();
    void keys();
    void tabStopsAfterClosing();
    void readoutForScreenReader_data();
    void readoutForScreenReader();

private:
    // The worked example, or the six inputs in the order of kInputs,
    // calculated, then F2: the padder window, shown.
    QDialog* CalculateAndOpen(const QLocale& locale = QLocale::c(), const QStringList& inputs = {})
    {
        if (!Open(locale))
            return nullptr;
        if (inputs.isEmpty())
            enterWorkedExample();
        for (qsizetype i = 0; i < inputs.size(); ++i)
            replace(QString::fromLatin1(kInputs[std::size_t(i)].name), inputs[i]);
        clickStart();
        QTest::keyClick(form_.get(), Qt::Key_F2);
        return form_->findChild<QDialog*>(QStringLiteral("padder"));
    }

    // Types a coil into the bandspread circuit's field as the user would,
    // then Enter.
    static void EnterCoil(QDialog* padder, const QString& text)
    {
        QLineEdit* coil = Control<QLineEdit>(*padder, QStringLiteral("Lb (µH)"));
        coil->setFocus();
        coil->clear();
        TypeText(coil, text);
        QTest::keyClick(coil, Qt::Key_Return);
    }

    static QString Text(QDialog* padder, const QString& name)
    {
        return Control<QLineEdit>(*padder, name)->text();
    }
};

// clang-format off
void TestPadderWindow::followsCalculations_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("C locale") << QLocale::c();
    QTest::newRow("Hungarian") << QLocale(QLocale::Hungarian, QLocale::Hungary);
}
// clang-format on

void TestPadderWindow::followsCalculations()
{
    QFETCH(QLocale, locale);
    QDialog* padder = CalculateAndOpen(locale);
    QVERIFY2(padder && padder->isVisible(), "F2 shows the padder window");
    const QString lo = Text(padder, QStringLiteral("Lo (µH)"));
    QVERIFY2(lo.contains(locale.decimalPoint()), qPrintable(lo));
    QVERIFY(!Text(padder, QStringLiteral("E24 Q")).isEmpty());

    replace(QStringLiteral("f_min"), QStringLiteral("0.53"));
    QElapsedTimer timer;
    timer.start();
    clickStart();
    qInfo("calculation with the padder window open: %lld ms", timer.elapsed());
    QVERIFY2(Text(padder, QStringLiteral("Lo (µH)")) != lo, "a new calculation, a new design");

    // A failed calculation leaves the earlier design, said to be an earlier
    // one, until a calculation completes again.
    const QString earlier = Text(padder, QStringLiteral("Lo (µH)"));
    replace(QStringLiteral("f_max"), QString());
    clickStart();
    QCOMPARE(Text(padder, QStringLiteral("Lo (µH)")), earlier);
    const QString status = Control<QLabel>(*padder, QStringLiteral("status"))->text();
    QVERIFY2(status.startsWith("A főablak legutóbbi számolása nem sikerült. Az ablak egy korábbi"),
             qPrintable(status));
    // So does the reason for no design there.
    Control<QRadioButton>(*padder, QStringLiteral("placement2"))->click();
    Control<QLineEdit>(*padder, QStringLiteral("own2"))->clear();
    QTest::mouseClick(Control(*padder, QStringLiteral("ownCompute")), Qt::LeftButton);
    const QString refused = Control<QLabel>(*padder, QStringLiteral("status"))->text();
    QVERIFY2(refused.startsWith("A főablak legutóbbi számolása nem sikerült")
                 && refused.endsWith(MissingPoint(1)),
             qPrintable(refused));
    Control<QRadioButton>(*padder, QStringLiteral("placement0"))->click();
    replace(QStringLiteral("f_max"), QStringLiteral("1.62"));
    clickStart();
    QCOMPARE(Text(padder, QStringLiteral("Lo (µH)")), earlier);
    QVERIFY2(!Control<QLabel>(*padder, QStringLiteral("status"))->text().contains("nem sikerült"),
             "a calculation that completes ends the note on the failed one");
}

// clang-format off
void TestPadderWindow::ownPoints_data()
{
    QTest::addColumn<QStringList>("points"); // F1 F2 F3, MHz as typed
    QTest::addColumn<QString>("message");    // the start of the status line; none: a design
    QTest::newRow("inside, rising") << QStringList{"0.6", "1", "1.4"} << QString();
    QTest::newRow("F1 below fmin") << QStringList{"0.5", "1", "1.4"} << QStringLiteral("Az F1 pont (0.500 MHz) a sávon kívül esik");
    QTest::newRow("F3 above fmax") << QStringList{"0.6", "1", "1.7"} << QStringLiteral("Az F3 pont (1.700 MHz) a sávon kívül esik");
    QTest::newRow("F2 above F3") << QStringList{"0.6", "1.5", "1.4"} << QStringLiteral("Az F2 pont (1.500 MHz) nem kisebb az F3");
    QTest::newRow("F2 missing") << QStringList{"0.6", "", "1.4"} << MissingPoint(1);
    QTest::newRow("F3 huge, within a double") << QStringList{"0.6", "1", "1e302"} << QStringLiteral("Az F3 pont");
    QTest::newRow("F3 beyond a double") << QStringList{"0.6", "1", "1e400"} << QStringLiteral("Az F3 pontnak beírt szám túl nagy");
}
// clang-format on

void TestPadderWindow::ownPoints()
{
    QFETCH(QStringList, points);
    QFETCH(QString, message);
    QDialog* padder = CalculateAndOpen();
    QVERIFY(padder);
    Control<QRadioButton>(*padder, QStringLiteral("placement2"))->click();
    for (int i = 0; i < 3; ++i) {
        auto* field = Control<QLineEdit>(*padder, QStringLiteral("own%1").arg(i + 1));
        field->setFocus();
        field->setText(points[i]);
    }
    QTest::mouseClick(Control(*padder, QStringLiteral("ownCompute")), Qt::LeftButton);

    const QString status = Control<QLabel>(*padder, QStringLiteral("status"))->text();
    const QString f1 = Text(padder, QStringLiteral("F1 (MHz)"));
    if (message.isEmpty()) {
        QCOMPARE(f1, QStringLiteral("0.600"));
    } else {
        QVERIFY2(status.startsWith(message), qPrintable(status));
        for (QLineEdit* field : padder->findChildren<QLineEdit*>())
            QVERIFY2(!field->isReadOnly() || field->text().isEmpty(),
                     qPrintable(field->objectName()));
    }
}

// clang-format off
void TestPadderWindow::fittedPadders_data()
{
    QTest::addColumn<QString>("own");   // typed into "Saját padder (pF)", then Enter
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label"); // the file's and clipboard's row
    QTest::addColumn<QString>("text");

    QTest::newRow("E24 560 pF: A1") << "" << "E24 A1 (MHz)" << "E24 A1" << "0.557";
    QTest::newRow("E12 560 pF: A2") << "" << "E12 A2 (MHz)" << "E12 A2" << "1.494";
    QTest::newRow("E24 pair") << "" << "E24 pár (pF)" << "E24 pár" << "510 + 47";
    QTest::newRow("E24 pair's Q") << "" << "E24 pár Q" << "E24 pár Q" << "84";
    QTest::newRow("E12 pair's Q") << "" << "E12 pár Q" << "E12 pár Q" << "80";
    QTest::newRow("E24 within 2 %") << "" << "Q ±2%" << "Q ±2%" << "69";
    QTest::newRow("E24 within 5 %") << "" << "Q ±5%" << "Q ±5%" << "54";
    QTest::newRow("no own padder: its row empty") << "" << "Saját padder Q" << "" << "";
    QTest::newRow("own 556 pF: its Q") << "556" << "Saját padder Q" << "Saját padder Q" << "83";
    QTest::newRow("own 556,0 pF with a comma: its A1") << "556,0" << "Saját padder A1 (MHz)" << "Saját padder A1" << "0.560";
}
// clang-format on

// The fitted padders' fields show what the file and the clipboard say.
void TestPadderWindow::fittedPadders()
{
    QFETCH(QString, own);
    QFETCH(QString, field);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QDialog* padder = CalculateAndOpen();
    QVERIFY(padder);
    if (!own.isEmpty()) {
        auto* ownField = Control<QLineEdit>(*padder, QStringLiteral("ownPadder"));
        ownField->setFocus();
        QTest::keyClicks(ownField, own);
        QTest::keyClick(ownField, Qt::Key_Return);
    }
    QCOMPARE(Text(padder, field), text);
    if (label.isEmpty())
        return;
    QTest::mouseClick(Control(*padder, QStringLiteral("copy")), Qt::LeftButton);
    const QString copied = QGuiApplication::clipboard()->text();
    const QString line = (label.size() < 11 ? label.leftJustified(11) : label + ' ') + "= " + text;
    QVERIFY2(copied.contains(line), qPrintable(line + "\n---\n" + copied));
}

// The worked example's two-point design at its band's Q of 50 loses 23.8 dB
// at 520 kHz, where its image rejection is 17.1 dB and its IF rejection
// -1.3 dB; two circuits double the figures.
// clang-format off
void TestPadderWindow::selectivity_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("q");        // typed into the Q field; none: as prefilled
    QTest::addColumn<int>("circuits");
    QTest::addColumn<QStringList>("twoPoint"); // image, loss, IF; none: every figure empty
    QTest::newRow("the band's Q, one circuit") << QLocale::c() << QString() << 1 << QStringList{"17.1 (0.520 MHz)", "23.8 (0.520 MHz)", "−1.3 (0.520 MHz)"};
    QTest::newRow("two circuits double the dB, Hungarian") << QLocale(QLocale::Hungarian, QLocale::Hungary) << QString() << 2 << QStringList{"34,1 (0,520 MHz)", "47,7 (0,520 MHz)", "−2,6 (0,520 MHz)"};
    QTest::newRow("Q typed with a decimal comma") << QLocale::c() << QStringLiteral("50,0") << 1 << QStringList{"17.1 (0.520 MHz)", "23.8 (0.520 MHz)", "−1.3 (0.520 MHz)"};
    QTest::newRow("Q of zero: a message, no figures") << QLocale::c() << QStringLiteral("0") << 1 << QStringList{};
    QTest::newRow("Q beyond the double range: a message, no figures") << QLocale::c() << QStringLiteral("1e400") << 1 << QStringList{};
    QTest::newRow("Q not a number: a message, no figures") << QLocale::c() << QStringLiteral("5x") << 1 << QStringList{};
}
// clang-format on

void TestPadderWindow::selectivity()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, q);
    QFETCH(int, circuits);
    QFETCH(QStringList, twoPoint);
    QDialog* padder = CalculateAndOpen(locale);
    QVERIFY(padder);
    if (!q.isEmpty()) {
        auto* field = Control<QLineEdit>(*padder, kQFieldName);
        field->setFocus();
        field->clear();
        TypeText(field, q);
    }
    Control<QSpinBox>(*padder, kCircuitsName)->setValue(circuits);

    auto* message = Control<QLabel>(*padder, QStringLiteral("selectivityMessage"));
    QCOMPARE(message->isVisible(), twoPoint.isEmpty());
    const QString description =
        Control(*padder, QStringLiteral("selectivityGraph"))->accessibleDescription();
    for (std::size_t f = 0; f < kSelectivityFigures.size(); ++f) {
        const QString name =
            SelectivityFieldName(kSelectivityFigures[f], QStringLiteral("kétpontos"));
        const QString shown = Text(padder, name);
        QCOMPARE(shown, twoPoint.value(static_cast<qsizetype>(f)));
        // The three-point curve's figures are there whenever the two-point's are.
        QCOMPARE(Text(padder,
                      SelectivityFieldName(kSelectivityFigures[f], QStringLiteral("hárompontos")))
                     .isEmpty(),
                 twoPoint.isEmpty());
    }
    if (!twoPoint.isEmpty())
        QVERIFY2(description.contains(QStringLiteral("kétpontos: legkisebb ")
                                      + twoPoint[0].section(u' ', 0, 0)),
                 qPrintable(description));
}

// The Q field follows the band (50 below VHF, 10 at VHF) until the user types.
void TestPadderWindow::qFollowsBand()
{
    QDialog* padder = CalculateAndOpen();
    QVERIFY(padder);
    auto* q = Control<QLineEdit>(*padder, kQFieldName);
    QCOMPARE(q->text(), QStringLiteral("50"));
    const std::pair<const char*, const char*> fm[] = {{"c_min", "10"},  {"c_max", "40"},
                                                      {"c_szort", "5"}, {"f_min", "87.5"},
                                                      {"f_max", "108"}, {"f_kf", "10.7"}};
    for (const auto& [name, text] : fm)
        replace(QString::fromLatin1(name), QString::fromLatin1(text));
    clickStart();
    QCOMPARE(q->text(), QStringLiteral("10"));
    q->setFocus();
    q->clear();
    TypeText(q, QStringLiteral("30"));
    replace(QStringLiteral("f_min"), QStringLiteral("88"));
    clickStart();
    QCOMPARE(q->text(), QStringLiteral("30"));
}

// clang-format off
void TestPadderWindow::inputCircuit_data()
{
    QTest::addColumn<QStringList>("inputs");  // empty: the worked example
    QTest::addColumn<QString>("step");        // "bandspread", "trimmer", "again" (both, then "Számol"), or a coil typed, then Enter
    QTest::addColumn<bool>("bandspread");     // the choice afterwards
    QTest::addColumn<QString>("cs_b");        // the design's Cs_b (pF)
    QTest::addColumn<QString>("status");      // a part of the status line

    const QStringList band49m{"15", "365", "25", "5.9", "6.2", "0.455"};
    const QString trimmer = InputCircuitSentence(InputCircuit::TrimmerOnly);
    const QString spread = InputCircuitSentence(InputCircuit::Bandspread);
    QTest::newRow("worked example: the trimmer, as the verdict says") << QStringList{} << QString() << false << "" << trimmer;
    QTest::newRow("49 m on 15-365 pF: bandspread, as the verdict says, coil 17 uH") << band49m << QString() << true << "18.63" << spread;
    QTest::newRow("worked example switched to bandspread: coil 220 uH") << QStringList{} << "bandspread" << true << "2037.10" << spread;
    QTest::newRow("49 m switched to the trimmer") << band49m << "trimmer" << false << "" << trimmer;
    // The default coil, 220 uH, for 0.53-1.62 MHz.
    QTest::newRow("the choice kept over a new calculation") << QStringList{} << "again" << true << "1703.47" << spread;
    QTest::newRow("49 m, coil 15 uH") << band49m << "15" << true << "24.87" << spread;
    QTest::newRow("49 m, coil 15,0 with a decimal comma") << band49m << "15,0" << true << "24.87" << spread;
    QTest::newRow("49 m, coil outside its range: refused") << band49m << "25" << true << "" << "Az Lb = 25 µH tekerccsel a bemenő kör nem építhető meg: a sávot csak a 0.1964 … 21.498 µH közötti";
    QTest::newRow("49 m, no coil: refused") << band49m << "" << true << "" << "Az Lb mezőben nincs szám";
}
// clang-format on

// The input circuit follows the verdict until the user chooses one, and the
// coil typed, with Enter, designs the bandspread circuit or says why not.
void TestPadderWindow::inputCircuit()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, step);
    QFETCH(bool, bandspread);
    QFETCH(QString, cs_b);
    QFETCH(QString, status);
    QDialog* padder = CalculateAndOpen(QLocale::c(), inputs);
    QVERIFY(padder);
    if (step == "bandspread" || step == "trimmer" || step == "again") {
        QTest::mouseClick(Control(*padder, step == "trimmer" ? QStringLiteral("inputTrimmer")
                                                             : QStringLiteral("inputBandspread")),
                          Qt::LeftButton);
        if (step == "again") {
            replace(QStringLiteral("f_min"), QStringLiteral("0.53"));
            clickStart();
        }
    } else if (!step.isNull()) {
        EnterCoil(padder, step);
    }
    QCOMPARE(Control<QRadioButton>(*padder, QStringLiteral("inputBandspread"))->isChecked(),
             bandspread);
    QCOMPARE(Text(padder, QStringLiteral("Cs_b (pF)")), cs_b);
    const QString shown = Control<QLabel>(*padder, QStringLiteral("status"))->text();
    QVERIFY2(shown.contains(status), qPrintable(shown));
    // A refused coil leaves no design; any other leaves one.
    QCOMPARE(Text(padder, QStringLiteral("Lo (µH)")).isEmpty(), cs_b.isEmpty() && bandspread);
    // The pairs and the tolerance band are fitted to the trimmer-only circuit
    // alone: a bandspread design leaves them out and says so.
    if (bandspread && !cs_b.isEmpty()) {
        QCOMPARE(Text(padder, QStringLiteral("E24 pár Q")), QString());
        QVERIFY(Control<QLabel>(*padder, QStringLiteral("standardNote"))
                    ->text()
                    .contains(QStringLiteral("nincs kiszámolva")));
    }
}

// clang-format off
void TestPadderWindow::save_data()
{
    QTest::addColumn<QStringList>("inputs"); // empty: the worked example
    QTest::addColumn<QString>("coil");       // µH: the bandspread input circuit
    QTest::addColumn<int>("lineCount");

    // The date, the inputs, which input circuit and its parts, the placement,
    // the values, the standard padders with their two alignment points (and
    // their input circuits), the two pairs with their Q, the two tolerance
    // bands, the verdict, the steps' heading and nine steps (seven where no
    // padder is needed), then the
    // selectivity's Q, its nine figures and its verdict; the last line end
    // leaves an empty line.
    QTest::newRow("the main window's input circuit") << QStringList{} << QString() << 1 + 6 + 1 + 2 + 1 + 12 + 2 * (6 + 2) + 2 * 2 + 2 + 1 + 1 + 9 + 1 + 9 + 1 + 1;
    QTest::newRow("bandspread, 49 m with Lb 15 uH, the note on what is left out") << QStringList{"15", "365", "25", "5.9", "6.2", "0.455"} << "15" << 1 + 6 + 1 + 3 + 1 + 12 + 2 * (3 + 6 + 2) + 2 * 2 + 2 + 1 + 1 + 1 + 7 + 1 + 9 + 1 + 1;
}
// clang-format on

void TestPadderWindow::save()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, coil);
    QFETCH(int, lineCount);
    QDialog* padder = CalculateAndOpen(QLocale::c(), inputs);
    QVERIFY(padder);
    if (!coil.isNull())
        EnterCoil(padder, coil);
    QTest::mouseClick(Control(*padder, QStringLiteral("save")), Qt::LeftButton);
    QCOMPARE(messages_, QStringList{"Célszerűnek látszik a mentésnek nevet adni"});

    const QString name =
        QStringLiteral("tst_padderwindow_%1").arg(QCoreApplication::applicationPid());
    Control<QLineEdit>(*padder, QStringLiteral("fileName"))->setText(name);
    QTest::mouseClick(Control(*padder, QStringLiteral("save")), Qt::LeftButton);
    const QString path =
        QCoreApplication::applicationDirPath() + QStringLiteral("/adatok/") + name + ".txt";
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(QStringLiteral("\r\n"));
    file.remove();
    QCOMPARE(lines.size(), lineCount);
    const InputCircuit circuit =
        coil.isNull() ? InputCircuit::TrimmerOnly : InputCircuit::Bandspread;
    QVERIFY(lines.contains(QStringLiteral("Bemenő kör = ") + InputCircuitName(circuit)));
    // Every value the window shows is the file's, the bandspread circuit's too.
    const auto inFile = [&](const QString& symbol, const QString& caption) {
        const auto* field = padder->findChild<QLineEdit*>(caption);
        if (!field)
            return;
        const QString label = symbol.leftJustified(11) + "= ";
        const auto line =
            std::ranges::find_if(lines, [&](const QString& l) { return l.startsWith(label); });
        QVERIFY2(line != lines.end(), qPrintable(label));
        QVERIFY2(line->mid(label.size()).startsWith(field->text()), qPrintable(*line));
    };
    for (const auto& prefix : {QString(), QStringLiteral("E12 "), QStringLiteral("E24 ")}) {
        for (const PadderValueSpec& spec : kPadderValues)
            inFile(prefix + spec.symbol, ValueCaption(spec, prefix));
        for (const InputValueSpec& spec : kInputValues)
            if (!coil.isNull())
                inFile(prefix + spec.symbol, InputValueCaption(spec, prefix));
    }
    if (!coil.isNull())
        return;
    const qsizetype section = lines.indexOf(
        QStringLiteral("Szelektivitás: Q (bemenő kör) = 50, hangolt körök száma = 1"));
    QVERIFY2(section > 0, "the selectivity section is saved");
    QCOMPARE(lines[section + 1],
             QStringLiteral("Tükörelnyomás legalább (dB): kétpontos = 17.1 (0.520 MHz)"));
    QVERIFY2(lines[section + 10].startsWith(QStringLiteral("Értékelés: A sávhoz legalább 24 dB")),
             qPrintable(lines[section + 10]));

    // Ctrl+C in a field without a selection copies the same text, from the
    // design's fields and from the selectivity's.
    padder->activateWindow();
    QTRY_VERIFY2(QApplication::activeWindow() == padder, "the padder window becomes active");
    for (const QString& fieldName :
         {QStringLiteral("Lo (µH)"),
          SelectivityFieldName(SelectivityFigure::Loss, QStringLiteral("E24-es padder"))}) {
        QGuiApplication::clipboard()->clear();
        QLineEdit* field = Control<QLineEdit>(*padder, fieldName);
        field->setFocus();
        field->deselect();
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().split(u'\n').mid(1),
                 lines.mid(1, lines.size() - 2));
    }
}

// clang-format off
void TestPadderWindow::copy_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QKeyCombination>("select"); // before Ctrl+C; none: no selection
    QTest::addColumn<bool>("design");            // the design copied, else the field's text

    QTest::newRow("result field, selected as Tab selects it") << "Lo (µH)" << (Qt::ControlModifier | Qt::Key_A) << false;
    QTest::newRow("own point, Ctrl+A: its text") << "own1" << (Qt::ControlModifier | Qt::Key_A) << false;
    QTest::newRow("own point, no selection: the design") << "own1" << QKeyCombination() << true;
}
// clang-format on

// Ctrl+C copies a field's selection where there is one, else the design.
void TestPadderWindow::copy()
{
    QFETCH(QString, field);
    QFETCH(QKeyCombination, select);
    QFETCH(bool, design);
    QDialog* padder = CalculateAndOpen();
    QVERIFY(padder);
    Control<QRadioButton>(*padder, QStringLiteral("placement2"))->click();
    QTRY_VERIFY2(QApplication::activeWindow() == padder, "the padder window becomes active");
    auto* target = Control<QLineEdit>(*padder, field);
    target->setFocus();
    target->deselect();
    if (select != QKeyCombination())
        QTest::keyClick(target, select.key(), select.keyboardModifiers());
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    if (design)
        QVERIFY2(copied.contains(QStringLiteral("Pontok")), qPrintable(copied));
    else
        QCOMPARE(copied, target->text());
}

// clang-format off
void TestPadderWindow::keys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("effect"); // own design, message, copied, closed, help

    QTest::newRow("Enter in an own point's field") << "own3" << int(Qt::Key_Return) << "own design";
    QTest::newRow("Enter (keypad) in an own point's field") << "own1" << int(Qt::Key_Enter) << "own design";
    QTest::newRow("Enter on the own points' Számol") << "ownCompute" << int(Qt::Key_Return) << "own design";
    QTest::newRow("Enter on Ment, no name") << "save" << int(Qt::Key_Return) << "message";
    QTest::newRow("Enter on Másolás") << "copy" << int(Qt::Key_Return) << "copied";
    QTest::newRow("Enter on Bezárás") << "close" << int(Qt::Key_Return) << "closed";
    QTest::newRow("Esc in an own point's field") << "own2" << int(Qt::Key_Escape) << "closed";
    QTest::newRow("F1 in an own point's field") << "own2" << int(Qt::Key_F1) << "help";
    QTest::newRow("F1 on the graph") << "graph" << int(Qt::Key_F1) << "help";
}
// clang-format on

// The own points are pasted with Ctrl+A and Ctrl+V, a decimal comma read as
// a point; then the key in the focused control.
void TestPadderWindow::keys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, effect);
    QDialog* padder = CalculateAndOpen();
    QVERIFY(padder);
    QTRY_VERIFY2(QApplication::activeWindow() == padder, "the padder window becomes active");
    Control<QRadioButton>(*padder, QStringLiteral("placement2"))->click();
    const QStringList points{"0,6", "1", "1.4"};
    for (int i = 0; i < 3; ++i) {
        auto* field = Control<QLineEdit>(*padder, QStringLiteral("own%1").arg(i + 1));
        field->setFocus();
        QGuiApplication::clipboard()->setText(points[i]);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(Control<QLineEdit>(*padder, QStringLiteral("own1"))->text(), QStringLiteral("0.6"));
    QVERIFY(Text(padder, QStringLiteral("F1 (MHz)")) != QStringLiteral("0.600"));
    QGuiApplication::clipboard()->clear();

    QWidget* target = Control(*padder, focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    const auto* help = form_->findChild<HelpWindow*>();
    QCOMPARE(Text(padder, QStringLiteral("F1 (MHz)")) == QStringLiteral("0.600"),
             effect == "own design");
    QCOMPARE(messages_.size(), effect == "message" ? 1 : 0);
    QCOMPARE(QGuiApplication::clipboard()->text().contains(QStringLiteral("Pontok")),
             effect == "copied");
    QCOMPARE(padder->isVisible(), effect != "closed");
    QCOMPARE(help && help->isVisible(), effect == "help");
}

// From "Bezárás", Tab goes round every stop of the window and back; each is a
// control that shows the focus, starting with the first placement.
void TestPadderWindow::tabStopsAfterClosing()
{
    QDialog* padder = CalculateAndOpen();
    QVERIFY(padder);
    QTRY_VERIFY2(QApplication::activeWindow() == padder, "the padder window becomes active");
    QWidget* close = Control(*padder, QStringLiteral("close"));
    close->setFocus();
    QStringList stops;
    for (int tab = 0; tab < 100 && (stops.isEmpty() || padder->focusWidget() != close); ++tab) {
        QTest::keyClick(padder->focusWidget(), Qt::Key_Tab);
        QWidget* stop = padder->focusWidget();
        stops << stop->objectName();
        QVERIFY2(stop->isVisible()
                     && (qobject_cast<QAbstractButton*>(stop) || qobject_cast<QLineEdit*>(stop)
                         || qobject_cast<QAbstractSpinBox*>(stop)
                         || qobject_cast<PadderGraph*>(stop)),
                 qPrintable(stops.join(u' ')));
    }
    QCOMPARE(stops.first(), QStringLiteral("placement0"));
    QCOMPARE(stops.last(), QStringLiteral("close"));
}

// clang-format off
void TestPadderWindow::readoutForScreenReader_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("step"); // the sweep step read out

    QTest::newRow("Left: one step towards fmin") << QList<int>{Qt::Key_Left} << 1;
    QTest::newRow("Page Up: a grid column") << QList<int>{Qt::Key_PageUp} << 50;
    QTest::newRow("Home: fmin") << QList<int>{Qt::Key_Home} << 499;
    QTest::newRow("Home, Right: one step back") << QList<int>{Qt::Key_Home, Qt::Key_Right} << 498;
}
// clang-format on

// The readout by keys heads the chart's description, as a screen reader
// reads it, and the band's summary stays after it.
void TestPadderWindow::readoutForScreenReader()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, step);
    QDialog* padder = CalculateAndOpen();
    QVERIFY(padder);
    auto* graph = Control<PadderGraph>(*padder, QStringLiteral("graph"));
    const QString summary = graph->accessibleDescription().section(QStringLiteral(". "), 1);
    graph->setFocus();
    for (const int key : keys)
        QTest::keyClick(graph, Qt::Key(key));
    const QString description =
        QAccessible::queryAccessibleInterface(graph)->text(QAccessible::Description);
    QCOMPARE(description, graph->Readout(step) + QStringLiteral(". ") + summary);
    QCOMPARE(Control<QLabel>(*padder, QStringLiteral("readout"))->text(), graph->Readout(step));
}

QTEST_MAIN(TestPadderWindow)
#include "tst_padderwindow.moc"
