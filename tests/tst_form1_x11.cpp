// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric fields and buttons under a real X server: keys and clicks come
// from xdotool, so Ctrl+letter arrives with its control character and a click
// moves the focus as it does for a user.

#include "WindowTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

// How long a wait for what the X server delivers may take: generous for a
// sanitizer build on a loaded machine, a wait that passes ends at once.
constexpr int kDeliveryMs = 20'000;

// Runs xdotool with the given arguments; its events are queued at the X
// server when it returns. A run that takes longer than `seconds` is killed
// and counts as failed.
bool Xdotool(const QStringList& arguments, int seconds = 10, QByteArray* output = nullptr)
{
    QProcess xdotool;
    if (!output)
        xdotool.setStandardOutputFile(QProcess::nullDevice());
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForFinished(seconds * 1'000)) {
        qWarning("xdotool %s did not finish within %d s", qPrintable(arguments.join(' ')), seconds);
        xdotool.kill();
        xdotool.waitForFinished(1'000);
        return false;
    }
    if (output)
        *output = xdotool.readAllStandardOutput();
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

QStringList Center(const QWidget* widget)
{
    const QPoint center = widget->mapToGlobal(widget->rect().center());
    return {QString::number(center.x()), QString::number(center.y())};
}

bool Click(const QWidget* widget)
{
    return Xdotool(QStringList{"mousemove"} + Center(widget) + QStringList{"click", "1"});
}

// Records the text of every key press with a character that reaches a widget.
class KeyTextRecorder : public QObject {
public:
    QStringList texts;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().isEmpty())
            texts << static_cast<QKeyEvent*>(event)->text();
        return false;
    }
};

} // namespace

class TestForm1X11 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlKeysArriveAsControlCharacters();
    void keyFilter_data();
    void keyFilter();
    void clickOnStartAfterTyping();
    void tooLargeNumberWithTheRealMessageBox();
    void exitEndsTheProgram();

private:
    QLineEdit* field(const char* name) const { return Control<QLineEdit>(*form_, name); }
    QWidget* control(const QString& name) const { return Control(*form_, name); }
    void typeInto(const char* name, const QString& text);

    std::unique_ptr<Form1> form_;
    QStringList messages_;
};

void TestForm1X11::init()
{
    RecordMessages(messages_);
    QVERIFY2(OpenWindow(form_), "the window did not become active within 5 s");
    QCOMPARE(QApplication::focusWidget(), control("c_min"));
}

void TestForm1X11::cleanup()
{
    CloseWindow(form_);
}

// Clicks into the field and types the text; waits until the field shows what
// the key filter lets through.
void TestForm1X11::typeInto(const char* name, const QString& text)
{
    QVERIFY(Click(field(name)));
    QTRY_VERIFY2_WITH_TIMEOUT(field(name)->hasFocus(), "the clicked field took no focus in 20 s",
                              kDeliveryMs);
    QVERIFY(Xdotool({"type", "--delay", "5", text}));
    QString filtered = text;
    filtered.replace(',', '.');
    QTRY_COMPARE_WITH_TIMEOUT(field(name)->text(), filtered, kDeliveryMs);
}

void TestForm1X11::controlKeysArriveAsControlCharacters()
{
    KeyTextRecorder recorder;
    field("c_min")->installEventFilter(&recorder);
    QVERIFY(Xdotool({"key", "ctrl+v", "ctrl+c", "1"}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.texts.size(), 3, kDeliveryMs);
    QCOMPARE(recorder.texts, (QStringList{"\x16", "\x03", "1"}));
}

// clang-format off
void TestForm1X11::keyFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("comma, letters and signs") << "4,7x-+ e" << QStringList{} << "4.7";
    QTest::newRow("Ctrl+V") << "12" << QStringList{"ctrl+v"} << "12";
    QTest::newRow("Ctrl+X after selecting") << "12" << QStringList{"shift+Home", "ctrl+x"} << "12";
    QTest::newRow("Ctrl+Z") << "12" << QStringList{"ctrl+z"} << "12";
    QTest::newRow("Ctrl+C") << "12" << QStringList{"shift+Home", "ctrl+c"} << "12";
    QTest::newRow("Enter and Esc") << "12" << QStringList{"Return", "KP_Enter", "Escape"} << "12";
    QTest::newRow("backspace") << "123" << QStringList{"BackSpace"} << "12";
    QTest::newRow("Delete") << "123" << QStringList{"Home", "Delete"} << "23";
    QTest::newRow("arrows") << "13" << QStringList{"Left", "2", "Right", "4"} << "1234";
    QTest::newRow("keypad") << "" << QStringList{"KP_1", "KP_Decimal", "KP_5"} << "1.5";
}
// clang-format on

void TestForm1X11::keyFilter()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, keys);
    QFETCH(QString, expected);

    QGuiApplication::clipboard()->setText("99");
    QLineEdit* target = field("c_min");
    QVERIFY(Xdotool({"type", "--delay", "5", typed}));
    if (!keys.isEmpty())
        QVERIFY(Xdotool(QStringList{"key"} + keys));
    // A final End and 9 show when every key before them has been handled.
    QVERIFY(Xdotool({"key", "End", "9"}));
    QTRY_COMPARE_WITH_TIMEOUT(target->text(), expected + "9", kDeliveryMs);

    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("99"));
    QVERIFY(messages_.isEmpty());
    QVERIFY(!control("Command1")->isVisible());
}

void TestForm1X11::clickOnStartAfterTyping()
{
    typeInto("c_min", "12");
    typeInto("c_max", "500");
    typeInto("c_szort", "10");
    typeInto("f_min", "0,52");
    typeInto("f_max", "1,62");
    typeInto("f_kf", "0,455");
    QCOMPARE(form_->calculator().state.f_kf, 0.0);

    QVERIFY(Click(control("start")));
    QTRY_VERIFY_WITH_TIMEOUT(control("Command1")->isVisible(), kDeliveryMs);
    QCOMPARE(form_->calculator().state.f_kf, 0.455e6);
    QCOMPARE(field("c_tb")->text(), QStringLiteral("34.06"));
    QCOMPARE(field("l_o")->text(), QStringLiteral("51.23"));
    QVERIFY(messages_.isEmpty());
}

void TestForm1X11::tooLargeNumberWithTheRealMessageBox()
{
    SetMessageHandler({});
    typeInto("c_min", "12");
    typeInto("c_max", "500");
    QVERIFY(Click(field("c_min")));
    QTRY_VERIFY_WITH_TIMEOUT(field("c_min")->hasFocus(), kDeliveryMs);
    field("c_min")->setText(QString(400, '9'));

    // Each message box that opens is read, then closed with Enter from inside
    // its own modal loop. Enter reaches the box only once it is mapped and
    // holds the focus, and a key sent earlier is lost: so it is sent only to
    // the active box, and again on every tick until the box is gone. A box
    // still open after 20 s is closed through its OK button and fails the test,
    // so that the modal loop can never outlast the test.
    QStringList shown;
    QStringList stuck;
    QElapsedTimer openFor;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (!box->property("seen").toBool()) {
            box->setProperty("seen", true);
            shown << box->text();
            openFor.start();
        }
        if (openFor.hasExpired(20'000)) {
            stuck << box->text();
            box->button(QMessageBox::Ok)->click();
        } else if (box->isVisible() && QApplication::activeWindow() == box) {
            Xdotool({"key", "Return"});
        }
    });
    closer.start(200);

    // The click on "Számol" makes c_min lose the focus and brings its
    // message; the message box takes the rest of that click, so nothing is
    // calculated with the value the user has not yet corrected.
    QVERIFY(Click(control("start")));
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, 30'000);
    QVERIFY(shown.first().contains("túl nagy"));
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 30'000);
    QVERIFY2(stuck.isEmpty(), "the message box did not close on Enter within 20 s");
    QCOMPARE(form_->calculator().state.C_h_min, 12e-12);

    // The window goes on working: no button is left pressed, and the next
    // click on "Számol" runs it and reports the missing data.
    auto* start = static_cast<QPushButton*>(control("start"));
    QVERIFY(!start->isDown());
    QCOMPARE(form_->focusWidget(), start);
    QVERIFY(Click(start));
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, 30'000);
    QCOMPARE(shown.last(), kMissingData);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 30'000);
    QVERIFY2(stuck.isEmpty(), "the message box did not close on Enter within 20 s");
    QVERIFY(!start->isDown());
}

void TestForm1X11::exitEndsTheProgram()
{
    // kilép's centre in the client area, from this test's own window: the
    // program lays its window out the same way.
    const QWidget* kilep = control(QStringLiteral("kilép"));
    const QPoint centre = kilep->mapTo(form_.get(), kilep->rect().center());
    form_->hide();

    QProcess program;
    program.start(QStringLiteral(KALIBRIX_EXECUTABLE));
    QVERIFY2(program.waitForStarted(30'000), "the program did not start within 30 s");
    QByteArray window;
    QVERIFY2(Xdotool({"search", "--sync", "--onlyvisible", "--pid",
                      QString::number(program.processId()), "--name", "^Kalibrix $"},
                     60, &window),
             "the program's window did not appear within 60 s");

    // The window may be mapped before it takes clicks: click until it ends.
    // A click after the window has closed, while the program is still
    // exiting, fails on the window gone: only the program's end counts.
    const QString id = QString::fromLatin1(window.split('\n').first());
    const QString x = QString::number(centre.x());
    const QString y = QString::number(centre.y());
    const QStringList click{"mousemove", "--window", id, x, y, "click", "1"};
    QDeadlineTimer deadline(30'000);
    while (program.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        Xdotool(click);
        program.waitForFinished(250);
    }
    QVERIFY2(program.state() == QProcess::NotRunning,
             "the program did not end on clicks on \"Kilép\" within 30 s");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_MAIN(TestForm1X11)
#include "tst_form1_x11.moc"
