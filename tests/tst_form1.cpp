// The main window: layout, fonts, tab order, the start state, the numeric
// fields' key filter and focus-loss storing, the wiring of the buttons, and the
// calculate action from end to end: its results, the graph it draws, the tool
// tip over that graph, and what a run failing at a given step leaves behind.

#include "Translation.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <cmath>

using kalibrix::CalculationState;
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

KeyStrokes TypedText(const QString& text)
{
    KeyStrokes strokes;
    for (QChar c : text)
        strokes.append(Typed(c));
    return strokes;
}

// Where each input field stores its value.
double CalculationState::*StoredIn(const QString& field)
{
    static const QHash<QString, double CalculationState::*> members{
        {"c_min", &CalculationState::C_h_min}, {"c_max", &CalculationState::C_h_max},
        {"c_szort", &CalculationState::C_sz},  {"f_min", &CalculationState::f_min},
        {"f_max", &CalculationState::f_max},   {"f_kf", &CalculationState::f_kf},
    };
    return members.value(field);
}

// The result fields; the calculation fills them in this order, the two
// extremes together at the end of the sweep.
const QStringList kOutputFields{"c_tb", "l_b", "f_1", "f_2", "c_to",
                                "c_1",  "c_2", "l_o", "p_elt", "n_elt"};

const QStringList kTextFields = kInputFields + QStringList{"filenev"} + kOutputFields;

// The worked example (c_min 12, c_max 500, c_szort 10 pF; f_min 0.52, f_max
// 1.62, f_kf 0.455 MHz), in the order of kOutputFields.
const QStringList kWorkedExampleResults{"34.06", "172.18", "0.681", "1.459", "99.91",
                                        "273.55", "25.01", "51.23", "70217.63", "-74580.2"};
const QStringList kWorkedExampleResultsHungarian{"34,06", "172,18", "0,681", "1,459", "99,91",
                                                 "273,55", "25,01", "51,23", "70217,63", "-74580,2"};

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

Q_DECLARE_METATYPE(KeyStrokes)

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void captionsFitTheirBoxes();
    void fonts();
    void tabOrder_data();
    void tabOrder();
    void startState();

    void keyFilter_data();
    void keyFilter();
    void storeOnFocusLoss_data();
    void storeOnFocusLoss();
    void clickOnStartStoresTheEditedField();
    void tooLargeNumber_data();
    void tooLargeNumber();
    void otherWindowLeavesTheFocusInTheField();
    void readOnlyFieldsRejectEditing_data();
    void readOnlyFieldsRejectEditing();
    void enterAndEscTriggerNoButton_data();
    void enterAndEscTriggerNoButton();

    void calculate_data();
    void calculate();
    void failingRun_data();
    void failingRun();
    void toolTipAfterCalculation_data();
    void toolTipAfterCalculation();
    void save_data();
    void save();
    void exitClosesTheWindow();
    void helpOnF1();
    void messageBoxStyle();
    void hungarianContextMenu();
    void longPasteIsKeptWhole_data();
    void longPasteIsKeptWhole();

private:
    template <class Widget = QWidget>
    Widget* control(const QString& name) const
    {
        return Control<Widget>(*form_, name);
    }
    QLineEdit* field(const QString& name) const { return control<QLineEdit>(name); }
    void send(QWidget* target, const KeyStrokes& strokes);
    void enter(const QString& fieldName, const QString& text);
    void replace(const QString& fieldName, const QString& text);
    void enterWorkedExample();
    void clickStart();
    const CalculationState& state() const { return form_->calculator().state; }

    std::unique_ptr<Form1> form_;
    QStringList messages_;
};

void TestForm1::send(QWidget* target, const KeyStrokes& strokes)
{
    for (const KeyStroke& stroke : strokes)
        QTest::sendKeyEvent(QTest::Click, target, stroke.key, stroke.text, stroke.modifiers);
}

// Types the text into the field as the user would, the focus staying there.
void TestForm1::enter(const QString& fieldName, const QString& text)
{
    QLineEdit* target = field(fieldName);
    target->setFocus();
    TypeText(target, text);
}

// Replaces the field's text: typed where the key filter lets every character
// through, otherwise pasted as from the context menu.
void TestForm1::replace(const QString& fieldName, const QString& text)
{
    QLineEdit* target = field(fieldName);
    target->setFocus();
    target->clear();
    static const QRegularExpression typeable(QStringLiteral("^[0-9.,]*$"));
    if (typeable.match(text).hasMatch()) {
        TypeText(target, text);
    } else {
        QGuiApplication::clipboard()->setText(text);
        target->paste();
    }
}

void TestForm1::enterWorkedExample()
{
    enter("c_min", "12");
    enter("c_max", "500");
    enter("c_szort", "10");
    enter("f_min", "0,52");
    enter("f_max", "1.62");
    enter("f_kf", "0.455");
}

void TestForm1::clickStart()
{
    QTest::mouseClick(control("start"), Qt::LeftButton);
}

void TestForm1::initTestCase()
{
    QVERIFY(InstallHungarianTranslation(*qApp));
}

void TestForm1::init()
{
    RecordMessages(messages_);
    QVERIFY(OpenWindow(form_));
}

void TestForm1::cleanup()
{
    CloseWindow(form_);
}

void TestForm1::window()
{
    QCOMPARE(form_->windowTitle(), QStringLiteral("Kalibrix "));
    QCOMPARE(form_->geometry(), QRect(184, 58, 875, 785));
    QVERIFY(!form_->windowIcon().isNull());
    QCOMPARE(form_->windowIcon().availableSizes().value(0), QSize(32, 32));
    QVERIFY(!qobject_cast<QDialog*>(form_.get()));
    const Qt::WindowFlags flags = form_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));

    // Nothing moves or scales with the window.
    const QRect before = control("pct_main")->geometry();
    form_->resize(1200, 1000);
    QCOMPARE(control("pct_main")->geometry(), before);
}

void TestForm1::controls_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");

    const auto row = [](const char* name, const char* container, int left, int top, int width,
                        int height, const char* caption = "", const char* toolTip = "") {
        QTest::newRow(name) << QString::fromUtf8(container) << QRect(left, top, width, height)
                            << QString::fromUtf8(caption) << QString::fromUtf8(toolTip);
    };
    row("Frame1", "", 240, 240, 12615, 3135, "Bemeneti adatok");
    row("Label19", "", 2760, 3480, 6975, 255,
        "Segítség, az F1 megnyomásával érhető el.            Ajánlott képernyő felbontás 1280 X "
        "1024");
    row("Frame2", "", 240, 3720, 12615, 2655, "Kimeneti datok");
    row("Frame7", "", 240, 6480, 12615, 5175);

    row("Label1", "Frame1", 240, 240, 1575, 255, "C_h_min ( pf )");
    row("c_min", "Frame1", 240, 600, 1575, 405);
    row("Label2", "Frame1", 2160, 240, 1575, 255, "C_h_max ( pf )");
    row("c_max", "Frame1", 2160, 600, 1575, 375);
    row("Label5", "Frame1", 4200, 240, 1815, 255, "középfrekvencia ( MHz )");
    row("f_kf", "Frame1", 4200, 600, 1575, 375);
    row("Label4", "Frame1", 240, 1200, 1455, 255, "fmin ( MHz)");
    row("f_min", "Frame1", 240, 1560, 1575, 375);
    row("Label3", "Frame1", 2160, 1200, 1455, 255, "fmax ( MHz)");
    row("f_max", "Frame1", 2160, 1560, 1575, 375);
    row("Label6", "Frame1", 4200, 1200, 1575, 255, "C szórt kapacitás ( pf )");
    row("c_szort", "Frame1", 4200, 1560, 1575, 375);
    row("start", "Frame1", 360, 2160, 1095, 375, "Számol");
    row("kilép", "Frame1", 1800, 2160, 1095, 375, "Kilép");
    row("Label18", "Frame1", 3000, 2280, 1095, 255, "Mentés neve");
    row("filenev", "Frame1", 4200, 2160, 1575, 375);
    row("Command1", "Frame1", 4200, 2640, 1575, 375, "Ment");
    row("Picture1", "Frame1", 6360, 240, 6135, 1935);
    row("Label16", "Frame1", 6600, 2400, 5415, 255, "Kétpontos együttfutás.");

    row("Frame4", "Frame2", 240, 480, 2175, 1815, "Bemenő kör ( uH, pf )");
    row("Frame3", "Frame2", 2640, 480, 2175, 1815, "Oszcillátor kör ( uH, pf )");
    row("Frame5", "Frame2", 5160, 480, 2175, 1815, "Együttfutási pontok ( MHz )");
    row("Frame8", "Frame2", 7680, 480, 2175, 1815, "Hangoló kapacitás ( pf )");
    row("Frame6", "Frame2", 10200, 480, 2175, 1815, "Maximális eltérések");

    row("Label9", "Frame4", 240, 240, 375, 255, "Lb");
    row("l_b", "Frame4", 240, 480, 1575, 375);
    row("Label10", "Frame4", 240, 960, 375, 255, "Cp_b");
    row("c_tb", "Frame4", 240, 1200, 1575, 375);
    row("Label7", "Frame3", 120, 240, 375, 255, "Lo");
    row("l_o", "Frame3", 240, 480, 1575, 405);
    row("Label8", "Frame3", 120, 960, 375, 255, "Cp_o");
    row("c_to", "Frame3", 240, 1200, 1575, 405);
    row("Label11", "Frame5", 240, 240, 375, 255, "F1");
    row("f_1", "Frame5", 240, 480, 1575, 450);
    row("Label12", "Frame5", 120, 960, 495, 255, "   F2");
    row("f_2", "Frame5", 240, 1200, 1575, 450);
    row("Label20", "Frame8", 240, 240, 400, 255, "Ch");
    row("c_1", "Frame8", 240, 480, 1575, 450, "",
        "Az első együttfutási ponthoz tartozó hangoló kapacitás értéke.");
    row("Label21", "Frame8", 240, 960, 400, 255, "Ch");
    row("c_2", "Frame8", 240, 1200, 1575, 450, "",
        "A második együttfutási ponthoz tartozó hangoló kapacitás értéke.");
    row("Label14", "Frame6", 240, 240, 975, 255, "(Hz)");
    row("p_elt", "Frame6", 240, 480, 1575, 450, "",
        "A bemenőkör eltérése az ideálistól:(fosz - fkf) - fbe");
    row("Label15", "Frame6", 240, 960, 615, 255, "(Hz)");
    row("n_elt", "Frame6", 240, 1200, 1575, 450, "",
        "A bemenőkör eltérése az ideálistól:(fosz - fkf) - fbe");

    row("pct_main", "Frame7", 240, 240, 12135, 4695);
}

void TestForm1::controls()
{
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);

    QWidget* widget = control(QString::fromUtf8(QTest::currentDataTag()));
    const QWidget* parent = widget->parentWidget();
    QCOMPARE(parent == form_.get() ? QString() : parent->objectName(), container);

    const auto px = [](int twips) { return qRound(twips / 15.0); };
    QCOMPARE(widget->geometry(),
             QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));

    QString shown;
    if (auto* frame = qobject_cast<QGroupBox*>(widget))
        shown = frame->title();
    else if (auto* label = qobject_cast<QLabel*>(widget))
        shown = label->text();
    else if (auto* button = qobject_cast<QPushButton*>(widget))
        shown = button->text();
    QCOMPARE(shown, caption);
    QCOMPARE(widget->toolTip(), toolTip);
}

void TestForm1::captionsFitTheirBoxes()
{
    for (const QLabel* label : form_->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName()));
    }
    for (const QPushButton* button : form_->findChildren<QPushButton*>())
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(),
                 qPrintable(button->objectName()));
}

void TestForm1::fonts()
{
    for (const QString& name : kTextFields) {
        const QLineEdit* textField = field(name);
        const QFontInfo font(textField->font());
        QVERIFY2(font.family() == "Arial" || font.family() == "Liberation Sans", qPrintable(name));
        QCOMPARE(textField->font().pointSizeF(), 14.25);
        QCOMPARE(textField->font().weight(), QFont::Normal);
        QCOMPARE(textField->alignment(), Qt::AlignCenter);
    }
    for (const char* name : {"Frame1", "Frame4", "Label1", "Label19", "start", "Command1"}) {
        QCOMPARE(control(name)->font().pointSize(), 8);
        QCOMPARE(QFontInfo(control(name)->font()).styleHint(), QFont::SansSerif);
    }
}

void TestForm1::tabOrder_data()
{
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<QStringList>("order");

    const QStringList before{"c_min", "c_max", "f_max",   "f_min", "f_kf",   "start",
                             "Picture1", "c_szort", "l_o", "c_to", "l_b", "c_tb",
                             "f_1", "f_2", "p_elt", "n_elt", "kilép", "pct_main",
                             "filenev", "c_1", "c_2"};
    QStringList after = before;
    after.insert(after.indexOf("filenev") + 1, "Command1");
    QTest::newRow("save button hidden") << false << before;
    QTest::newRow("save button shown after a calculation") << true << after;
}

void TestForm1::tabOrder()
{
    QFETCH(bool, calculated);
    QFETCH(QStringList, order);

    if (calculated) {
        enterWorkedExample();
        clickStart();
        QVERIFY(control("Command1")->isVisible());
    }
    field("c_min")->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 0; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order + QStringList{"c_min"});
}

void TestForm1::startState()
{
    for (const QString& name : kTextFields)
        QVERIFY2(field(name)->text().isEmpty(), qPrintable(name));
    QVERIFY(!control("Command1")->isVisible());
    QCOMPARE(QApplication::focusWidget(), control("c_min"));
    for (const QString& name : kInputFields)
        QCOMPARE(state().*StoredIn(name), 0.0);
}

void TestForm1::keyFilter_data()
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
    QTest::newRow("keypad Enter") << TypedText("12") + KeyStrokes{Key(Qt::Key_Enter, "\r")}
                                  << "12";
    QTest::newRow("Esc") << TypedText("12") + KeyStrokes{Key(Qt::Key_Escape, "\x1b")} << "12";
    QTest::newRow("Ctrl+V with its control character")
        << TypedText("12") + KeyStrokes{Control('V')} << "12";
    QTest::newRow("Ctrl+V with the letter") << TypedText("12")
                                                   + KeyStrokes{Key(Qt::Key_V, "v",
                                                                    Qt::ControlModifier)}
                                            << "12";
    QTest::newRow("Ctrl+X after selecting")
        << TypedText("12") + KeyStrokes{Key(Qt::Key_Home, {}, Qt::ShiftModifier), Control('X')}
        << "12";
    QTest::newRow("Ctrl+Z after typing") << TypedText("12") + KeyStrokes{Control('Z')} << "12";
    QTest::newRow("backspace") << TypedText("123") + KeyStrokes{Key(Qt::Key_Backspace, "\b")}
                               << "12";
    QTest::newRow("Delete") << TypedText("123")
                                   + KeyStrokes{Key(Qt::Key_Home), Key(Qt::Key_Delete)}
                            << "23";
    QTest::newRow("Delete with its character")
        << TypedText("123") + KeyStrokes{Key(Qt::Key_Home), Key(Qt::Key_Delete, "\x7f")}
        << "23";
    QTest::newRow("arrows") << TypedText("13") + KeyStrokes{Key(Qt::Key_Left)} + TypedText("2")
                                   + KeyStrokes{Key(Qt::Key_Right)} + TypedText("4")
                            << "1234";
    QTest::newRow("Home and End") << TypedText("2") + KeyStrokes{Key(Qt::Key_Home)}
                                         + TypedText("1") + KeyStrokes{Key(Qt::Key_End)}
                                         + TypedText("3")
                                  << "123";
}

void TestForm1::keyFilter()
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

void TestForm1::storeOnFocusLoss_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<double>("stored");

    QTest::newRow("4,7 in c_min") << "c_min" << "4,7" << "" << 4.7e-12;
    QTest::newRow("10.7 in f_kf") << "f_kf" << "10.7" << "" << 1.07e7;
    QTest::newRow(".5 in c_szort") << "c_szort" << ".5" << "" << 5e-13;
    QTest::newRow("5. in c_max") << "c_max" << "5." << "" << 5e-12;
    QTest::newRow("1.62 in f_max") << "f_max" << "1.62" << "" << 1.62e6;
    QTest::newRow("pasted blank 4 blank 7 in f_max") << "f_max" << "" << " 4 7" << 47e6;
    QTest::newRow("pasted -3 in c_szort") << "c_szort" << "" << "-3" << -3e-12;
    QTest::newRow("pasted 2e3 in f_min") << "f_min" << "" << "2e3" << 2e9;
    QTest::newRow("pasted 1,5 in f_kf") << "f_kf" << "" << "1,5" << 1e6;
    QTest::newRow("pasted text in c_max") << "c_max" << "" << "abc" << 0.0;
}

void TestForm1::storeOnFocusLoss()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(double, stored);

    QLineEdit* target = field(fieldName);
    target->setFocus();
    TypeText(target, typed);
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        target->paste();
        QCOMPARE(target->text(), pasted);
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

void TestForm1::clickOnStartStoresTheEditedField()
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

void TestForm1::tooLargeNumber_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("leaveByClickOnStart");

    QTest::newRow("400 digits in c_min") << "c_min" << QString(400, '9') << false;
    QTest::newRow("1e303 MHz in f_kf, beyond a double only in Hz")
        << "f_kf" << QString("1") + QString(303, '0') << false;
    QTest::newRow("pasted 1e400 in c_max") << "c_max" << "1e400" << false;
    QTest::newRow("400 digits in c_min, then a click on Számol")
        << "c_min" << QString(400, '9') << true;
}

void TestForm1::tooLargeNumber()
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

void TestForm1::otherWindowLeavesTheFocusInTheField()
{
    // Activating another window is no focus loss within this one: nothing is
    // stored, and a number too large brings no message (which would itself
    // take the activation again and again).
    enter("c_min", QString(400, '9'));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(messages_.isEmpty());
    QCOMPARE(state().C_h_min, 0.0);

    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(QApplication::focusWidget(), control("c_min"));
}

void TestForm1::readOnlyFieldsRejectEditing_data()
{
    QTest::addColumn<KeyStrokes>("keys");

    QTest::newRow("typing") << TypedText("123abc");
    QTest::newRow("backspace and Delete")
        << KeyStrokes{Key(Qt::Key_Backspace, "\b"), Key(Qt::Key_Home), Key(Qt::Key_Delete)};
    QTest::newRow("paste") << KeyStrokes{Key(Qt::Key_V, "v", Qt::ControlModifier)};
    QTest::newRow("cut") << KeyStrokes{Key(Qt::Key_A, "a", Qt::ControlModifier),
                                       Key(Qt::Key_X, "x", Qt::ControlModifier)};
}

void TestForm1::readOnlyFieldsRejectEditing()
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

void TestForm1::enterAndEscTriggerNoButton_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");

    for (const char* name : {"c_min", "filenev", "start", "kilép", "l_b", "pct_main"}) {
        QTest::addRow("Enter in %s", name) << QString::fromUtf8(name) << int(Qt::Key_Return);
        QTest::addRow("keypad Enter in %s", name) << QString::fromUtf8(name) << int(Qt::Key_Enter);
        QTest::addRow("Esc in %s", name) << QString::fromUtf8(name) << int(Qt::Key_Escape);
    }
}

void TestForm1::enterAndEscTriggerNoButton()
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

void TestForm1::calculate_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("inputs"); // c_min c_max c_szort f_min f_max f_kf
    // in the order of kOutputFields; none to check only that all are filled,
    // or "missing"
    QTest::addColumn<QStringList>("results");

    const QStringList worked{"12", "500", "10", "0.52", "1.62", "0.455"};
    QTest::newRow("worked example") << QLocale::c() << worked << kWorkedExampleResults;
    QTest::newRow("worked example, Hungarian decimal comma")
        << QLocale(QLocale::Hungarian, QLocale::Hungary) << worked
        << kWorkedExampleResultsHungarian;
    QStringList noStray = worked;
    noStray[2] = "";
    QTest::newRow("empty stray capacitance counts as 0 pF")
        << QLocale::c() << noStray << QStringList{};

    const char* names[] = {"c_min", "c_max", "f_min", "f_max", "f_kf"};
    const int positions[] = {0, 1, 3, 4, 5};
    for (int i = 0; i < 5; ++i) {
        QStringList missing = worked;
        missing[positions[i]] = "";
        QTest::addRow("%s empty", names[i]) << QLocale::c() << missing << QStringList{"missing"};
    }
}

void TestForm1::calculate()
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
    if (results.isEmpty())
        QCOMPARE(state().C_sz, 0.0);

    // The graph is drawn: its magenta zero line runs across the area.
    const int innerWidth = static_cast<QFrame*>(graph)->contentsRect().width();
    QVERIFY2(MagentaPixels(graph) >= 0.9 * innerWidth, qPrintable(QString::number(MagentaPixels(graph))));
}

void TestForm1::failingRun_data()
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
    const QStringList c = kWorkedExampleResults;
    const QStringList hu = kWorkedExampleResultsHungarian;
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
    const QStringList oscillatorBelowShown{"23.82", "215.93", "0.678", "1.442",
                                           "-25.22", "221.62", "22.57", "3888.25"};
    QStringList oscillatorBelowShownHungarian = oscillatorBelowShown;
    oscillatorBelowShownHungarian.replaceInStrings(".", ",");

    QTest::newRow("f_kf cleared: step 2, nothing changes")
        << QLocale::c() << true << QStringList{"f_kf", ""} << c;
    QTest::newRow("f_min 0: division by zero in step 4, nothing changes")
        << QLocale::c() << true << QStringList{"f_min", "0"} << c;
    QTest::newRow("f_min equals f_max: division by zero in step 5, nothing shown")
        << QLocale::c() << true << QStringList{"f_min", "1.62"} << c;
    QTest::newRow("capacitor and stray 0 pF: C_tb 0, division by zero in step 7")
        << QLocale::c() << true << QStringList{"c_min", "0", "c_max", "0", "c_szort", "0"}
        << shown({"0.00"}, c);
    QTest::newRow("IF 1e300 MHz: division by zero in step 14")
        << QLocale::c() << true << hugeIf << shown(hugeIfShown, c);
    QTest::newRow("oscillator below the signal: square root of a negative in the sweep")
        << QLocale::c() << true << oscillatorBelow << shown(oscillatorBelowShown, c);
    QTest::newRow("Hungarian: square root of a negative in the sweep")
        << QLocale(QLocale::Hungarian, QLocale::Hungary) << true << oscillatorBelow
        << shown(oscillatorBelowShownHungarian, hu);

    QTest::newRow("first run, f_min 0") << QLocale::c() << false << QStringList{"f_min", "0"}
                                        << none;
    QTest::newRow("first run, IF 1e300 MHz") << QLocale::c() << false << hugeIf
                                             << shown(hugeIfShown, none);
    QTest::newRow("first run fails in the sweep")
        << QLocale::c() << false << oscillatorBelow << shown(oscillatorBelowShown, none);
}

void TestForm1::failingRun()
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

void TestForm1::toolTipAfterCalculation_data()
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
    QTest::newRow("X 249.5, middle: the even step 250") << QLocale::c() << 249.5 << 0.5
                                                        << "0.00   1.069";
    QTest::newRow("X 100.25, top: step 100") << QLocale::c() << 100.25 << 0.0
                                             << "80000.00   1.400";
    QTest::newRow("X 100.75, bottom: step 101") << QLocale::c() << 100.75 << 1.0
                                                << "-80000.00   1.397";
    QTest::newRow("Hungarian, X 101.75: step 102")
        << QLocale(QLocale::Hungarian, QLocale::Hungary) << 101.75 << 0.0 << "80000,00   1,395";
}

void TestForm1::toolTipAfterCalculation()
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

void TestForm1::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("written");

    QTest::newRow("empty name asks for one") << "" << false;
    QTest::newRow("name") << "tst_form1_save" << true;
    QTest::newRow("name leaving the folder") << "../tst_form1_outside" << false;
}

void TestForm1::save()
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

void TestForm1::exitClosesTheWindow()
{
    // Closing the one window ends the program.
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    QTest::mouseClick(control("kilép"), Qt::LeftButton);
    QVERIFY(!form_->isVisible());
    QVERIFY(messages_.isEmpty());
}

void TestForm1::helpOnF1()
{
    enter("c_min", "12");
    QTest::keyClick(field("c_min"), Qt::Key_F1);
    auto* help = form_->findChild<QMessageBox*>();
    QVERIFY(help);
    QTRY_VERIFY(help->isVisible());
    QVERIFY(!help->isModal());
    for (const char* topic : {"C_h_min", "pF", "MHz", "Számol", "Ment", "adatok", "Hz"})
        QVERIFY2(help->text().contains(QString::fromUtf8(topic)), topic);
    QCOMPARE(field("c_min")->text(), QStringLiteral("12"));

    // A second F1 brings the same help to the front.
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QTest::keyClick(field("c_min"), Qt::Key_F1);
    QCOMPARE(form_->findChildren<QMessageBox*>().size(), 1);
}

void TestForm1::messageBoxStyle()
{
    SetMessageHandler({});
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        modal = box->isModal();
        for (const QAbstractButton* button : box->buttons())
            buttons << button->text();
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(control("start"), Qt::LeftButton);

    QCOMPARE(title, QStringLiteral(" Hiba történt"));
    QCOMPARE(text, kMissingData);
    QCOMPARE(icon, QMessageBox::Warning);
    QVERIFY(modal);
    QCOMPARE(buttons, QStringList{"OK"});
}

void TestForm1::hungarianContextMenu()
{
    std::unique_ptr<QMenu> menu(field("c_min")->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    QVERIFY2(!texts.contains("&Paste"), qPrintable(texts.join('|')));
    QVERIFY2(texts.join('|').contains("Beilleszt"), qPrintable(texts.join('|')));
}

void TestForm1::longPasteIsKeptWhole_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<double>("stored"); // NaN for the file name, which stores nothing

    QTest::newRow("100,000 letters in filenev")
        << "filenev" << QString(100'000, u'x') << std::nan("");
    // The leading number is 12 only when the last two characters are kept.
    QTest::newRow("99,998 zeros and 12 in c_min")
        << "c_min" << QString(99'998, u'0') + QStringLiteral("12") << 1.2e-11;
}

void TestForm1::longPasteIsKeptWhole()
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

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
