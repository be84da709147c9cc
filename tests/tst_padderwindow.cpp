// The padder window that F2 opens: it follows the main window's calculations
// and keeps an earlier design after a failed one, refuses own points that do
// not lie rising within the band, shows the selectivity with the Q and
// circuits typed, and saves its design in "adatok" and copies the same text,
// the values the window shows. What the texts say is tested on its own, in
// tst_words.

#include "PadderText.h"
#include "SelectivityText.h"
#include "WindowTestSupport.h"

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
    void save();
    void fittedPadders_data();
    void fittedPadders();

private:
    // The worked example calculated, then F2: the padder window, shown.
    QDialog* CalculateAndOpen(const QLocale& locale = QLocale::c())
    {
        if (!Open(locale))
            return nullptr;
        enterWorkedExample();
        clickStart();
        QTest::keyClick(form_.get(), Qt::Key_F2);
        return form_->findChild<QDialog*>(QStringLiteral("padder"));
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

    // A failed calculation leaves the earlier design, said to be an earlier one.
    const QString earlier = Text(padder, QStringLiteral("Lo (µH)"));
    replace(QStringLiteral("f_max"), QString());
    clickStart();
    QCOMPARE(Text(padder, QStringLiteral("Lo (µH)")), earlier);
    const QString status = Control<QLabel>(*padder, QStringLiteral("status"))->text();
    QVERIFY2(status.startsWith("A főablak legutóbbi számolása nem sikerült. Az ablak egy korábbi"),
             qPrintable(status));
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
        field->clear();
        TypeText(field, points[i]);
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
    QTest::newRow("the band's Q, one circuit") << QLocale::c() << QString() << 1 << QStringList{"17.1 (0.520 MHz)", "23.8 (0.520 MHz)", "-1.3 (0.520 MHz)"};
    QTest::newRow("two circuits double the dB, Hungarian") << QLocale(QLocale::Hungarian, QLocale::Hungary) << QString() << 2 << QStringList{"34,1 (0,520 MHz)", "47,7 (0,520 MHz)", "-2,6 (0,520 MHz)"};
    QTest::newRow("Q typed with a decimal comma") << QLocale::c() << QStringLiteral("50,0") << 1 << QStringList{"17.1 (0.520 MHz)", "23.8 (0.520 MHz)", "-1.3 (0.520 MHz)"};
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

void TestPadderWindow::save()
{
    QDialog* padder = CalculateAndOpen();
    QVERIFY(padder);
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
    // The date, the inputs, the input circuit, the placement, the values,
    // the standard padders with their two alignment points, the two pairs
    // with their Q, the two tolerance bands, the verdict, the steps' heading
    // and nine steps, then the selectivity's Q, its nine figures and its
    // verdict; the last line end leaves an empty line.
    QCOMPARE(lines.size(),
             1 + 6 + 2 + 1 + 12 + 2 * (6 + 2) + 2 * 2 + 2 + 1 + 1 + 9 + 1 + 9 + 1 + 1);
    // Every value the window shows is the file's.
    for (const auto& prefix : {QString(), QStringLiteral("E12 "), QStringLiteral("E24 ")})
        for (const PadderValueSpec& spec : kPadderValues) {
            const auto* field = padder->findChild<QLineEdit*>(ValueCaption(spec, prefix));
            if (!field)
                continue;
            const QString name = (prefix + spec.symbol).leftJustified(11) + "= ";
            const auto line =
                std::ranges::find_if(lines, [&](const QString& l) { return l.startsWith(name); });
            QVERIFY2(line != lines.end(), qPrintable(name));
            QVERIFY2(line->mid(name.size()).startsWith(field->text()), qPrintable(*line));
        }
    const qsizetype selectivity = lines.indexOf(
        QStringLiteral("Szelektivitás: Q (bemenő kör) = 50, hangolt körök száma = 1"));
    QVERIFY2(selectivity > 0, "the selectivity section is saved");
    QCOMPARE(lines[selectivity + 1],
             QStringLiteral("Tükörelnyomás legalább (dB): kétpontos = 17.1 (0.520 MHz)"));
    QVERIFY2(
        lines[selectivity + 10].startsWith(QStringLiteral("Értékelés: A sávhoz legalább 24 dB")),
        qPrintable(lines[selectivity + 10]));

    // Ctrl+C in a result field that Tab has selected copies the same text,
    // from the design's fields and from the selectivity's.
    padder->activateWindow();
    QTRY_VERIFY2(QApplication::activeWindow() == padder, "the padder window becomes active");
    for (const QString& fieldName :
         {QStringLiteral("Lo (µH)"),
          SelectivityFieldName(SelectivityFigure::Loss, QStringLiteral("E24-es padder"))}) {
        QGuiApplication::clipboard()->clear();
        QLineEdit* field = Control<QLineEdit>(*padder, fieldName);
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().split(u'\n').mid(1),
                 lines.mid(1, lines.size() - 2));
    }
}

QTEST_MAIN(TestPadderWindow)
#include "tst_padderwindow.moc"
