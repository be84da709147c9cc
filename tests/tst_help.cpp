// The design guide on F1: its notes following each calculation, with the
// padder link where a padder helps; every named place of the guide filled;
// its keys; the reader's place kept when the notes change.

#include "Help.h"
#include "HelpText.h"
#include "WindowTestSupport.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocumentFragment>

using namespace kalibrix;
using namespace kalibrix::test;

class TestHelp : public QObject, private WindowDriver {
    Q_OBJECT

private slots:
    void init() { QVERIFY(Open()); }
    void cleanup() { Close(); }

    void helpOnF1();
    void helpNotes_data();
    void helpNotes();
    void guidePlacesFilled_data();
    void guidePlacesFilled();
    void helpWindowKeys();
    void helpKeepsTheReadersPlace();
};

// F1 opens the guide beside the window, its notes following each
// calculation; a second F1 opens no second guide; Esc hides it.
void TestHelp::helpOnF1()
{
    enterWorkedExample();
    field("c_min")->setFocus();
    QTest::keyClick(field("c_min"), Qt::Key_F1);
    auto* help = form_->findChild<HelpWindow*>();
    QVERIFY2(help && help->isVisible() && !help->isModal(), "F1 shows a non-modal help window");
    QCOMPARE(form_->focusWidget(), field("c_min"));
    auto* text = help->findChild<QTextBrowser*>();
    QVERIFY(text->toPlainText().contains("Még nincs eredmény"));

    clickStart();
    QVERIFY2(text->toPlainText().contains("Használható jóság: legfeljebb 3.2."),
             qPrintable(text->toPlainText()));
    replace("f_kf", "0");
    clickStart();
    QVERIFY(text->toPlainText().contains("nem korlátozza a bemenő kör jóságát"));
    replace("f_min", "0");
    clickStart();
    QVERIFY(text->toPlainText().contains("A legutóbbi számolás nem sikerült"));

    QTest::keyClick(field("c_min"), Qt::Key_F1);
    QCOMPARE(form_->findChildren<HelpWindow*>().size(), 1);
    QTest::keyClick(help, Qt::Key_Escape);
    QVERIFY(!help->isVisible());
}

// clang-format off
void TestHelp::helpNotes_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("inputs"); // in the order of kInputs
    QTest::addColumn<QString>("shown");      // a part of the notes
    QTest::addColumn<QString>("absent");     // no part of the notes
    QTest::addColumn<bool>("padderLink");

    const QLocale hu(QLocale::Hungarian, QLocale::Hungary);
    const QStringList worked{"12", "500", "10", "0.52", "1.62", "0.455"};
    QTest::newRow("worked example: padder link") << QLocale::c() << worked << "pozitív eltérés: 70217.63 Hz" << "" << true;
    QTest::newRow("worked example, Hungarian: grouped digits") << hu << worked << QString("pozitív eltérés: 70") + QChar(0x00A0) + "217,63 Hz" << "" << true;
    QTest::newRow("FM: trimmers enough, no link") << QLocale::c() << QStringList{"10", "40", "5", "87.5", "108", "10.7"} << "padder nem kell" << "" << false;
    QTest::newRow("negative Cp_b: what to change, no padder") << QLocale::c() << QStringList{"12", "100", "10", "0.52", "1.62", "0.455"} << "nagyobb kapacitásarányú hangolókondenzátort" << "padder" << false;
}
// clang-format on

// The notes follow a calculation in the window's locale, and link to the
// padder design exactly where a padder helps.
void TestHelp::helpNotes()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, inputs);
    QFETCH(QString, shown);
    QFETCH(QString, absent);
    QFETCH(bool, padderLink);
    Close();
    QVERIFY(Open(locale));
    for (std::size_t i = 0; i < kInputs.size(); ++i)
        replace(QString::fromStdString(std::string(kInputs[i].name)), inputs[qsizetype(i)]);
    clickStart();
    const QString notes = DesignNotesHtml(form_->calculator(), LastRun::Complete);
    const QString plain = QTextDocumentFragment::fromHtml(notes).toRawText();
    QVERIFY2(plain.contains(shown), qPrintable(plain));
    QVERIFY2(absent.isEmpty() || !plain.contains(absent), qPrintable(plain));
    QCOMPARE(notes.contains(QLatin1String(kPadderLink)), padderLink);
}

// clang-format off
void TestHelp::guidePlacesFilled_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("shortWaveQ");

    QTest::newRow("C") << QLocale::c() << "15000";
    QTest::newRow("Hungarian") << QLocale(QLocale::Hungarian, QLocale::Hungary) << QString("15") + QChar(0x00A0) + "000";
}
// clang-format on

// Every named place of the guide is filled, its numbers as the locale writes
// them.
void TestHelp::guidePlacesFilled()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, shortWaveQ);
    QLocale::setDefault(locale);
    const QString guide = GuideHtml(QStringLiteral("adatok"));
    const qsizetype unfilled = guide.indexOf("{{");
    QVERIFY2(unfilled < 0, qPrintable(guide.mid(unfilled, 40)));
    const QString plain = QTextDocumentFragment::fromHtml(guide).toRawText();
    QVERIFY2(plain.contains("használható jóság " + shortWaveQ + "."), qPrintable(plain));
}

// Each time the help opens, its text has the focus and its top in view, also
// after notes changed while it was hidden; Enter closes it only on
// "Bezárás", as Space does there.
void TestHelp::helpWindowKeys()
{
    for (int opening = 1; opening <= 2; ++opening) {
        QTest::keyClick(field("c_min"), Qt::Key_F1);
        auto* help = form_->findChild<HelpWindow*>();
        QVERIFY2(help && help->isVisible(), "F1 shows the help");
        auto* text = help->findChild<QTextBrowser*>();
        QCOMPARE(help->focusWidget(), text);
        QVERIFY2(text->verticalScrollBar()->value() == 0,
                 "a reader who never scrolled finds the notes at the top");
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY2(help->isVisible(), "Enter in the text leaves the help open");
        auto* close = help->findChild<QPushButton*>();
        close->setFocus();
        QTest::keyClick(close, opening == 1 ? Qt::Key_Return : Qt::Key_Space);
        QVERIFY2(!help->isVisible(), "Enter or Space on Bezárás closes the help");
        enterWorkedExample();
        clickStart();
    }
}

// Longer notes above the reader's place in the guide leave the same text at
// the top of the view.
void TestHelp::helpKeepsTheReadersPlace()
{
    QTest::keyClick(field("c_min"), Qt::Key_F1);
    auto* text = form_->findChild<HelpWindow*>()->findChild<QTextBrowser*>();
    QVERIFY(text->find("Hárompontos együttfutás padderrel"));
    QScrollBar* scroll = text->verticalScrollBar();
    scroll->setValue(text->cursorRect().top() + scroll->value());
    const auto topBlock = [text] { return text->cursorForPosition(QPoint(0, 0)).block().text(); };
    const QString before = topBlock();
    enterWorkedExample();
    clickStart();
    QCOMPARE(topBlock(), before);
    QVERIFY(scroll->value() > 0);
}
QTEST_MAIN(TestHelp)
#include "tst_help.moc"
