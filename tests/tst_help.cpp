// SPDX-License-Identifier: GPL-3.0-or-later
// The design guide on F1: its notes following each calculation, its keys,
// the reader's place kept when the notes change. What the notes and the guide
// say is tested on its own, in tst_words.

#include "Help.h"
#include "HelpText.h"
#include "WindowTestSupport.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>

using namespace kalibrix;
using namespace kalibrix::test;

class TestHelp : public QObject, private WindowDriver {
    Q_OBJECT

private slots:
    void init() { QVERIFY(Open()); }
    void cleanup() { Close(); }

    void helpOnF1();
    void guideEveryPlaceFilled();
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

// Every named place of the guide is filled, the main window's captions and
// tab order among them.
void TestHelp::guideEveryPlaceFilled()
{
    const QString guide = GuideHtml(QStringLiteral("adatok"));
    const qsizetype unfilled = guide.indexOf("{{");
    QVERIFY2(unfilled < 0, qPrintable(guide.mid(unfilled, 40)));
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
