// SPDX-License-Identifier: GPL-3.0-or-later
// The six numeric input fields and the read-only result fields: the key
// filter, storing on focus loss, a number beyond a double, focus moved to
// another window, read-only fields, Enter and Esc, the Hungarian context
// menu, and a window torn down while a field holds the focus.

#include "Translation.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>

#include <cmath>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

// One key press as the window system delivers it: the key, its modifiers and
// the character it types (empty for keys that type nothing).
struct KeyStroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};
using KeyStrokes = QList<KeyStroke>;

KeyStroke Typed(QChar c)
{
    return {Qt::Key(c.toUpper().unicode()), Qt::NoModifier, QString(c)};
}

KeyStroke Key(Qt::Key key, const QString& text = {},
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return {key, modifiers, text};
}

// Ctrl+letter as an X server delivers it: the control character as text.
KeyStroke Control(char letter)
{
    return {Qt::Key(letter), Qt::ControlModifier, QString(QChar(letter - 'A' + 1))};
}

// The ways a text is pasted into a field without typing it.
enum class PastePath {
    ContextMenu, // "Beillesztés" of the field's context menu
    ShiftInsert,
    MiddleClick, // the X11 selection
};

KeyStrokes TypedText(const QString& text)
{
    KeyStrokes strokes;
    for (QChar c : text)
        strokes.append(Typed(c));
    return strokes;
}

} // namespace

Q_DECLARE_METATYPE(KeyStrokes)
Q_DECLARE_METATYPE(PastePath)

class TestNumericFields : public QObject, private WindowDriver {
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QVERIFY(Open()); }
    void cleanup() { Close(); }

    void keyFilter_data();
    void keyFilter();
    void storeOnFocusLoss_data();
    void storeOnFocusLoss();
    void clickOnStartStoresTheEditedField();
    void tooLargeNumber_data();
    void tooLargeNumber();
    void otherWindowLeavesTheFocusInTheField_data();
    void otherWindowLeavesTheFocusInTheField();
    void readOnlyFieldsRejectEditing_data();
    void readOnlyFieldsRejectEditing();
    void enterAndEscTriggerNoButton_data();
    void enterAndEscTriggerNoButton();
    void hungarianContextMenu();
    void longPasteIsKeptWhole_data();
    void longPasteIsKeptWhole();
    void teardownWithTheFocusInAField_data();
    void teardownWithTheFocusInAField();

private:
    void send(QWidget* target, const KeyStrokes& strokes);
    static void paste(QLineEdit* target, const QString& text, PastePath path);
};

void TestNumericFields::send(QWidget* target, const KeyStrokes& strokes)
{
    for (const KeyStroke& stroke : strokes)
        QTest::sendKeyEvent(QTest::Click, target, stroke.key, stroke.text, stroke.modifiers);
}

void TestNumericFields::paste(QLineEdit* target, const QString& text, PastePath path)
{
    switch (path) {
    case PastePath::ContextMenu: {
        QGuiApplication::clipboard()->setText(text);
        std::unique_ptr<QMenu> menu(target->createStandardContextMenu());
        const QList<QAction*> actions = menu->actions();
        const auto action = std::ranges::find_if(
            actions, [](const QAction* a) { return a->text().contains("Beilleszt"); });
        QVERIFY2(action != actions.end(), "the context menu has \"Beillesztés\"");
        (*action)->trigger();
        break;
    }
    case PastePath::ShiftInsert:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
        break;
    case PastePath::MiddleClick:
        QGuiApplication::clipboard()->setText(text, QClipboard::Selection);
        QTest::mouseClick(target, Qt::MiddleButton);
        break;
    }
}

void TestNumericFields::initTestCase()
{
    QVERIFY(InstallHungarianTranslation(*qApp));
}

// clang-format off
void TestNumericFields::keyFilter_data()
{
    QTest::addColumn<KeyStrokes>("keys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("digits") << TypedText("0123456789") << "0123456789";
    QTest::newRow("point") << TypedText("3.14") << "3.14";
    QTest::newRow("comma becomes a point") << TypedText("4,7") << "4.7";
    QTest::newRow("points are not counted") << TypedText("1.2.3") << "1.2.3";
    QTest::newRow("letters") << TypedText("a1bZ2") << "12";
    QTest::newRow("exponent letter") << TypedText("1e3E") << "13";
    QTest::newRow("blank") << TypedText("4 7") << "47";
    QTest::newRow("signs") << TypedText("+5-") << "5";
    QTest::newRow("other characters") << TypedText("1;:/x_é") << "1";
    QTest::newRow("Enter") << TypedText("12") + KeyStrokes{Key(Qt::Key_Return, "\r")} << "12";
    QTest::newRow("keypad Enter") << TypedText("12") + KeyStrokes{Key(Qt::Key_Enter, "\r")} << "12";
    QTest::newRow("Esc") << TypedText("12") + KeyStrokes{Key(Qt::Key_Escape, "\x1b")} << "12";
    QTest::newRow("Ctrl+V with its control character") << TypedText("12") + KeyStrokes{Control('V')} << "12";
    QTest::newRow("Ctrl+V with the letter") << TypedText("12") + KeyStrokes{Key(Qt::Key_V, "v", Qt::ControlModifier)} << "12";
    QTest::newRow("Ctrl+X after selecting") << TypedText("12") + KeyStrokes{Key(Qt::Key_Home, {}, Qt::ShiftModifier), Control('X')} << "12";
    QTest::newRow("Ctrl+Z after typing") << TypedText("12") + KeyStrokes{Control('Z')} << "12";
    QTest::newRow("backspace") << TypedText("123") + KeyStrokes{Key(Qt::Key_Backspace, "\b")} << "12";
    const KeyStrokes twoLeft{Key(Qt::Key_Left), Key(Qt::Key_Left)};
    QTest::newRow("Ctrl+Backspace with its character") << TypedText("123.45") + twoLeft + KeyStrokes{Key(Qt::Key_Backspace, "\b", Qt::ControlModifier)} << "123.45";
    QTest::newRow("Ctrl+Backspace without a character") << TypedText("123.45") + twoLeft + KeyStrokes{Key(Qt::Key_Backspace, {}, Qt::ControlModifier)} << "123.45";
    QTest::newRow("Delete") << TypedText("123") + KeyStrokes{Key(Qt::Key_Home), Key(Qt::Key_Delete)} << "23";
    QTest::newRow("Delete with its character") << TypedText("123") + KeyStrokes{Key(Qt::Key_Home), Key(Qt::Key_Delete, "\x7f")} << "23";
    QTest::newRow("arrows") << TypedText("13") + KeyStrokes{Key(Qt::Key_Left)} + TypedText("2") + KeyStrokes{Key(Qt::Key_Right)} + TypedText("4") << "1234";
    QTest::newRow("Home and End") << TypedText("2") + KeyStrokes{Key(Qt::Key_Home)} + TypedText("1") + KeyStrokes{Key(Qt::Key_End)} + TypedText("3") << "123";
}
// clang-format on

void TestNumericFields::keyFilter()
{
    QFETCH(KeyStrokes, keys);
    QFETCH(QString, expected);

    QGuiApplication::clipboard()->setText("99");
    for (const QString& name : kInputFields) {
        QLineEdit* target = field(name);
        target->setFocus();
        send(target, keys);
        QCOMPARE(target->text(), expected);
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("99"));
    QVERIFY(messages_.isEmpty());
}

// clang-format off
void TestNumericFields::storeOnFocusLoss_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<PastePath>("path");
    QTest::addColumn<double>("stored");

    const auto typed = [](const char* name, const char* fieldName, const char* text,
                          double stored) {
        QTest::newRow(name) << fieldName << text << "" << PastePath::ContextMenu << stored;
    };
    typed("4,7 in c_min", "c_min", "4,7", 4.7e-12);
    typed("10.7 in f_kf", "f_kf", "10.7", 1.07e7);
    typed(".5 in c_szort", "c_szort", ".5", 5e-13);
    typed("5. in c_max", "c_max", "5.", 5e-12);
    typed("1.62 in f_max", "f_max", "1.62", 1.62e6);

    const auto pasted = [](const char* name, const char* fieldName, const char* text,
                           PastePath path, double stored) {
        QTest::newRow(name) << fieldName << "" << text << path << stored;
    };
    pasted("pasted blank 4 blank 7 in f_max", "f_max", " 4 7", PastePath::ContextMenu, 47e6);
    pasted("pasted -3 in c_szort", "c_szort", "-3", PastePath::ContextMenu, -3e-12);
    pasted("pasted 2e3 in f_min", "f_min", "2e3", PastePath::ContextMenu, 2e9);
    pasted("pasted text in c_max", "c_max", "abc", PastePath::ContextMenu, 0.0);
    pasted("pasted 1,62 in f_max from the context menu", "f_max", "1,62", PastePath::ContextMenu,
           1.62e6);
    pasted("pasted 1,62 in f_max with Shift+Insert", "f_max", "1,62", PastePath::ShiftInsert,
           1.62e6);
    pasted("pasted 1,62 in f_max with a middle click", "f_max", "1,62", PastePath::MiddleClick,
           1.62e6);
}
// clang-format on

void TestNumericFields::storeOnFocusLoss()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(PastePath, path);
    QFETCH(double, stored);

    QLineEdit* target = field(fieldName);
    target->setFocus();
    TypeText(target, typed);
    if (!pasted.isEmpty()) {
        if (path == PastePath::MiddleClick && !QGuiApplication::clipboard()->supportsSelection())
            QSKIP("no selection to paste with a middle click on this platform");
        paste(target, pasted, path);
        // A pasted comma becomes a point, as a typed one does; the rest stays.
        QCOMPARE(target->text(), QString(pasted).replace(u',', u'.'));
    }
    QCOMPARE(state().*StoredIn(fieldName), 0.0);

    QTest::keyClick(target, Qt::Key_Tab);
    QVERIFY(!target->hasFocus());
    QCOMPARE(state().*StoredIn(fieldName), stored);

    // Leaving it again unchanged stores the same; clearing it stores zero.
    target->setFocus();
    field("filenev")->setFocus();
    QCOMPARE(state().*StoredIn(fieldName), stored);
    target->clear();
    target->setFocus();
    field("filenev")->setFocus();
    QCOMPARE(state().*StoredIn(fieldName), 0.0);
}

void TestNumericFields::clickOnStartStoresTheEditedField()
{
    enterWorkedExample();
    field("f_kf")->clear();
    TypeText(field("f_kf"), "0,455");
    QVERIFY(field("f_kf")->hasFocus());
    QCOMPARE(state().f_kf, 0.0);

    clickStart();
    QCOMPARE(state().f_kf, 0.455e6);
    QVERIFY(messages_.isEmpty());
    QCOMPARE(field("l_o")->text(), QStringLiteral("51.23"));
}

// clang-format off
void TestNumericFields::tooLargeNumber_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("leaveByClickOnStart");

    QTest::newRow("400 digits in c_min") << "c_min" << QString(400, '9') << false;
    QTest::newRow("1e303 MHz in f_kf, beyond a double only in Hz") << "f_kf" << QString("1") + QString(303, '0') << false;
    QTest::newRow("pasted 1e400 in c_max") << "c_max" << "1e400" << false;
    QTest::newRow("400 digits in c_min, then a click on Számol") << "c_min" << QString(400, '9') << true;
}
// clang-format on

void TestNumericFields::tooLargeNumber()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, text);
    QFETCH(bool, leaveByClickOnStart);

    QLineEdit* target = field(fieldName);
    enter(fieldName, "12");
    field("filenev")->setFocus();
    const double before = state().*StoredIn(fieldName);
    QVERIFY(before != 0.0);

    target->setText(text);
    target->setFocus();
    if (leaveByClickOnStart) {
        // The message takes the click: no calculation, no button left pressed.
        clickStart();
        QVERIFY(!static_cast<QPushButton*>(control("start"))->isDown());
    } else {
        QTest::keyClick(target, Qt::Key_Tab);
    }

    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_.first().contains("túl nagy"));
    QCOMPARE(state().*StoredIn(fieldName), before);
    QVERIFY(std::isfinite(state().*StoredIn(fieldName)));

    // The window goes on working: the next field takes input and the
    // corrected field stores again.
    QVERIFY(!target->hasFocus());
    target->setText("3");
    target->setFocus();
    field("filenev")->setFocus();
    QCOMPARE(state().*StoredIn(fieldName), 3 * before / 12);
    QCOMPARE(messages_.size(), 1);
}

// clang-format off
void TestNumericFields::otherWindowLeavesTheFocusInTheField_data()
{
    QTest::addColumn<bool>("contextMenu");

    QTest::newRow("another window activated") << false;
    QTest::newRow("the field's context menu opened") << true;
}
// clang-format on

void TestNumericFields::otherWindowLeavesTheFocusInTheField()
{
    QFETCH(bool, contextMenu);

    // Activating another window, or opening a popup over this one, is no
    // focus loss within this window: nothing is stored, and a number too
    // large brings no message (which would itself take the activation again
    // and again).
    enter("c_min", QString(400, '9'));
    QWidget other;
    std::unique_ptr<QMenu> menu(field("c_min")->createStandardContextMenu());
    if (contextMenu) {
        menu->popup(field("c_min")->mapToGlobal(QPoint()));
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    } else {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    }
    QVERIFY(messages_.isEmpty());
    QCOMPARE(state().C_h_min, 0.0);

    menu->close();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(QApplication::focusWidget(), control("c_min"));
}

// clang-format off
void TestNumericFields::readOnlyFieldsRejectEditing_data()
{
    QTest::addColumn<KeyStrokes>("keys");

    QTest::newRow("typing") << TypedText("123abc");
    QTest::newRow("backspace and Delete") << KeyStrokes{Key(Qt::Key_Backspace, "\b"), Key(Qt::Key_Home), Key(Qt::Key_Delete)};
    QTest::newRow("paste") << KeyStrokes{Key(Qt::Key_V, "v", Qt::ControlModifier)};
    QTest::newRow("cut") << KeyStrokes{Key(Qt::Key_A, "a", Qt::ControlModifier), Key(Qt::Key_X, "x", Qt::ControlModifier)};
}
// clang-format on

void TestNumericFields::readOnlyFieldsRejectEditing()
{
    QFETCH(KeyStrokes, keys);

    enterWorkedExample();
    clickStart();
    QGuiApplication::clipboard()->setText("99");
    for (const QString& name : kOutputFields) {
        QLineEdit* target = field(name);
        const QString shown = target->text();
        QVERIFY(!shown.isEmpty());
        target->setFocus();
        QVERIFY(target->hasFocus());
        send(target, keys);
        QCOMPARE(target->text(), shown);

        // Selecting and copying still work.
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), shown);
        QGuiApplication::clipboard()->setText("99");
    }
}

// clang-format off
void TestNumericFields::enterAndEscTriggerNoButton_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");

    for (const char* name : {"c_min", "filenev", "start", "kilép", "l_b", "pct_main"}) {
        QTest::addRow("Enter in %s", name) << QString::fromUtf8(name) << int(Qt::Key_Return);
        QTest::addRow("keypad Enter in %s", name) << QString::fromUtf8(name) << int(Qt::Key_Enter);
        QTest::addRow("Esc in %s", name) << QString::fromUtf8(name) << int(Qt::Key_Escape);
    }
}
// clang-format on

void TestNumericFields::enterAndEscTriggerNoButton()
{
    QFETCH(QString, focused);
    QFETCH(int, key);

    enterWorkedExample();
    control(focused)->setFocus();
    QTest::keyClick(control(focused), Qt::Key(key));

    QVERIFY(form_->isVisible());
    QVERIFY(!control("Command1")->isVisible());
    QVERIFY(field("l_b")->text().isEmpty());
    QVERIFY(messages_.isEmpty());
}

void TestNumericFields::hungarianContextMenu()
{
    std::unique_ptr<QMenu> menu(field("c_min")->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    QVERIFY2(!texts.contains("&Paste"), qPrintable(texts.join('|')));
    QVERIFY2(texts.join('|').contains("Beilleszt"), qPrintable(texts.join('|')));
}

// clang-format off
void TestNumericFields::longPasteIsKeptWhole_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<double>("stored"); // NaN for the file name, which stores nothing

    QTest::newRow("100,000 letters in filenev") << "filenev" << QString(100'000, u'x') << std::nan("");
    // The leading number is 12 only when the last two characters are kept.
    QTest::newRow("99,998 zeros and 12 in c_min") << "c_min" << QString(99'998, u'0') + QStringLiteral("12") << 1.2e-11;
}
// clang-format on

void TestNumericFields::longPasteIsKeptWhole()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, pasted);
    QFETCH(double, stored);

    QLineEdit* target = field(fieldName);
    target->setFocus();
    // The paste of the context menu, which the key filter does not see.
    QGuiApplication::clipboard()->setText(pasted);
    target->paste();
    QCOMPARE(target->text().size(), pasted.size());
    QVERIFY(target->text() == pasted);

    QTest::keyClick(target, Qt::Key_Tab);
    if (!std::isnan(stored))
        QCOMPARE(state().*StoredIn(fieldName), stored);
    QVERIFY(messages_.isEmpty());
}

// clang-format off
void TestNumericFields::teardownWithTheFocusInAField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("closedFirst");

    QTest::newRow("closed, then destroyed") << "12" << true;
    QTest::newRow("destroyed while shown, text not yet stored") << "12" << false;
    QTest::newRow("destroyed while shown, a number beyond a double typed") << QString(400, '9') << false;
}
// clang-format on

// The field that holds the focus loses it while the window goes. The
// controls that write into the calculation state or read it (the six fields,
// the graph) must go while the window is still whole, before its state;
// once its own destructor has run, the window is a plain QWidget to
// qobject_cast. No message appears.
void TestNumericFields::teardownWithTheFocusInAField()
{
    QFETCH(QString, typed);
    QFETCH(bool, closedFirst);

    QObject* const window = form_.get();
    QStringList outlivedTheState;
    for (const QString& name : kInputFields + QStringList{"pct_main"})
        connect(control(name), &QObject::destroyed, this, [&outlivedTheState, window, name] {
            if (!qobject_cast<Form1*>(window))
                outlivedTheState << name;
        });

    enter("c_min", typed);
    QVERIFY(field("c_min")->hasFocus());
    if (closedFirst)
        form_->close();
    form_.reset();
    QCoreApplication::processEvents();
    QCOMPARE(outlivedTheState, QStringList{});
    QVERIFY(messages_.isEmpty());
}

QTEST_MAIN(TestNumericFields)
#include "tst_numericfields.moc"
