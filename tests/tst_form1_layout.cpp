// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as it opens: title, place and frame, every control's
// place, caption and tool tip, the layout table's own invariants, fonts, tab
// order and the start state; the exit button, the fit to a small screen and
// the look of the message box.

#include "Help.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

const QStringList kTextFields = kInputFields + QStringList{"filenev"} + kOutputFields;

// A container's own size in twips: the window's client area, or a frame.
form1::Twips ContainerPlace(form1::ControlId container)
{
    return container == form1::ControlId::Form1 ? form1::kWindowPlace
                                                : form1::Spec(container).place;
}

// Whether the two boxes share more than one pixel row (15 twips).
bool Overlap(const form1::Twips& a, const form1::Twips& b)
{
    constexpr int kOneRow = 15;
    return a.left < b.left + b.width && b.left < a.left + a.width
           && a.top < b.top + b.height - kOneRow && b.top < a.top + a.height - kOneRow;
}

} // namespace

class TestForm1Layout : public QObject, private WindowDriver {
    Q_OBJECT

private slots:
    void init() { QVERIFY(Open()); }
    void cleanup() { Close(); }

    void window();
    void controls_data();
    void controls();
    void containersHoldTheirControls();
    void noOverlappingControls();
    void uniqueTabIndexes();
    void captionsFitTheirBoxes();
    void fonts();
    void tabOrder_data();
    void tabOrder();
    void startState();
    void accessibleNames_data();
    void accessibleNames();
    void everyFocusableControlHasAName();
    void exitClosesTheWindow();
    void windowsFitTheScreen();
    void messageBoxStyle_data();
    void messageBoxStyle();
};

void TestForm1Layout::window()
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

// clang-format off
void TestForm1Layout::controls_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");

    const auto row = [](const char* name, const char* container, int left, int top, int width,
                        int height, const char* caption = "", const char* toolTip = "") {
        QTest::newRow(name) << QString::fromUtf8(container) << QRect(left, top, width, height) << QString::fromUtf8(caption) << QString::fromUtf8(toolTip);
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
// clang-format on

void TestForm1Layout::controls()
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

void TestForm1Layout::containersHoldTheirControls()
{
    for (const form1::ContainerSpec& container : form1::kContainers) {
        const form1::Twips outer = ContainerPlace(container.container);
        for (const form1::ControlSpec& spec : container.controls) {
            const form1::Twips& p = spec.place;
            QVERIFY2(p.left >= 0 && p.top >= 0 && p.left + p.width <= outer.width
                         && p.top + p.height <= outer.height,
                     spec.name);
        }
    }
}

// A label's box reaches one pixel row into the control below it (the hint
// line into the output frame's border), as laid out; beyond that no two
// controls of one container overlap.
void TestForm1Layout::noOverlappingControls()
{
    QStringList overlapping;
    for (const form1::ContainerSpec& container : form1::kContainers)
        for (auto a = container.controls.begin(); a != container.controls.end(); ++a)
            for (auto b = a + 1; b != container.controls.end(); ++b)
                if (Overlap(a->place, b->place))
                    overlapping << QStringLiteral("%1/%2").arg(a->name, b->name);
    QCOMPARE(overlapping, QStringList{});
}

void TestForm1Layout::uniqueTabIndexes()
{
    QSet<int> seen;
    for (const form1::ContainerSpec& container : form1::kContainers)
        for (const form1::ControlSpec& spec : container.controls) {
            QVERIFY2(!seen.contains(spec.tabIndex), spec.name);
            seen.insert(spec.tabIndex);
        }
}

void TestForm1Layout::captionsFitTheirBoxes()
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

void TestForm1Layout::fonts()
{
    for (const QString& name : kTextFields) {
        const QLineEdit* textField = field(name);
        const QFontInfo font(textField->font());
        QVERIFY2(font.family() == "Arial" || font.family() == "Liberation Sans", qPrintable(name));
        QCOMPARE(textField->font().pointSizeF(), 14.25);
        QCOMPARE(textField->font().weight(), QFont::Normal);
        QCOMPARE(textField->font().stretch(), int(QFont::Unstretched));
        QCOMPARE(textField->alignment(), Qt::AlignCenter);
    }
    for (const char* name : {"Frame1", "Frame4", "Label1", "Label19", "start", "Command1"}) {
        QCOMPARE(control(name)->font().pointSize(), 8);
        QCOMPARE(QFontInfo(control(name)->font()).styleHint(), QFont::SansSerif);
    }
}

// clang-format off
void TestForm1Layout::tabOrder_data()
{
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<bool>("helpOpen"); // F1 first, then the window activated again
    QTest::addColumn<QStringList>("order");

    const QStringList before{"c_min",    "c_max",   "f_max", "f_min", "f_kf",  "start",
                             "Picture1", "c_szort", "l_o",   "c_to",  "l_b",   "c_tb",
                             "f_1",      "f_2",     "p_elt", "n_elt", "kilép", "pct_main",
                             "filenev",  "c_1",     "c_2"};
    QStringList after = before;
    after.insert(after.indexOf("filenev") + 1, "Command1");
    QTest::newRow("save button hidden") << false << false << before;
    QTest::newRow("save button shown after a calculation") << true << false << after;
    QTest::newRow("help open beside the window") << true << true << after;
}
// clang-format on

void TestForm1Layout::tabOrder()
{
    QFETCH(bool, calculated);
    QFETCH(bool, helpOpen);
    QFETCH(QStringList, order);

    if (calculated) {
        enterWorkedExample();
        clickStart();
        QVERIFY(control("Command1")->isVisible());
    }
    field("c_min")->setFocus();
    if (helpOpen) {
        QTest::keyClick(field("c_min"), Qt::Key_F1);
        form_->activateWindow();
        QVERIFY2(QTest::qWaitForWindowActive(form_.get()), "main window active again after F1");
    }
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 0; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order + QStringList{"c_min"});
}

void TestForm1Layout::startState()
{
    for (const QString& name : kTextFields)
        QVERIFY2(field(name)->text().isEmpty(), qPrintable(name));
    QVERIFY(!control("Command1")->isVisible());
    QCOMPARE(QApplication::focusWidget(), control("c_min"));
    for (const QString& name : kInputFields)
        QCOMPARE(state().*StoredIn(name), 0.0);
}

void TestForm1Layout::exitClosesTheWindow()
{
    // Closing the one window ends the program.
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    QTest::mouseClick(control("kilép"), Qt::LeftButton);
    QVERIFY(!form_->isVisible());
    QVERIFY(messages_.isEmpty());
}

// The window and the help lie within the screen less its panels. Where the
// window is smaller than its client area, tabbing to the graph scrolls it
// into view whole; the help's close button is on the screen, and the padder
// window lies within the screen too.
void TestForm1Layout::windowsFitTheScreen()
{
    const QRect available = form_->screen()->availableGeometry();
    const auto onScreen = [&](const QWidget* widget) {
        return widget->visibleRegion().boundingRect() == widget->rect()
               && available.contains(QRect(widget->mapToGlobal(QPoint()), widget->size()));
    };
    QVERIFY2(available.contains(form_->frameGeometry()), "the main window within the screen");

    control("kilép")->setFocus();
    QTest::keyClick(control("kilép"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control("pct_main"));
    QVERIFY2(onScreen(control("pct_main")), "the graph scrolled into view whole");

    QTest::keyClick(control("pct_main"), Qt::Key_F1);
    auto* help = form_->findChild<HelpWindow*>();
    QVERIFY2(help && QTest::qWaitForWindowExposed(help), "the help shown on F1");
    QVERIFY2(available.contains(help->frameGeometry()), "the help within the screen");
    const QList<QPushButton*> buttons = help->findChildren<QPushButton*>();
    QVERIFY2(buttons.size() == 1 && buttons.first()->text() == "Bezárás",
             "the help has one button, \"Bezárás\"");
    QVERIFY2(onScreen(buttons.first()), "\"Bezárás\" on the screen");

    help->hide();
    form_->activateWindow();
    QTRY_VERIFY2(QApplication::activeWindow() == form_.get(), "the main window active again");
    QTest::keyClick(control("pct_main"), Qt::Key_F2);
    auto* padder = form_->findChild<QDialog*>(QStringLiteral("padder"));
    QVERIFY2(padder && QTest::qWaitForWindowExposed(padder), "the padder window shown on F2");
    QVERIFY2(available.contains(padder->frameGeometry()), "the padder window within the screen");
}

// clang-format off
void TestForm1Layout::messageBoxStyle_data()
{
    QTest::addColumn<QString>("name"); // saved under; none: "Számol" without inputs
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");

    QTest::newRow("missing data") << QString() << kMissingData << kMissingData;
    const QString adatok = QCoreApplication::applicationDirPath() + QStringLiteral("/adatok/");
    QTest::newRow("100,000-character name, shortened in its middle") << QString(50'000, u'a') + QString(50'000, u'z') << QStringLiteral("A mentés nem sikerült.\nFájl: ") + adatok + QStringLiteral("aaa") << QStringLiteral("zzz.txt\nOka: a fájl neve vagy az útvonala túl hosszú");
}
// clang-format on

void TestForm1Layout::messageBoxStyle()
{
    QFETCH(QString, name);
    QFETCH(QString, start);
    QFETCH(QString, end);

    SetMessageHandler({});
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    bool modal = false;
    QSize size;
    QSize screen;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text().remove(QChar(0x200B));
        icon = box->icon();
        modal = box->isModal();
        size = box->frameGeometry().size();
        screen = box->screen()->availableSize();
        for (const QAbstractButton* button : box->buttons())
            buttons << button->text();
        box->button(QMessageBox::Ok)->click();
    });
    if (name.isEmpty()) {
        QTest::mouseClick(control("start"), Qt::LeftButton);
    } else {
        control("Command1")->show();
        field("filenev")->setText(name);
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
    }

    QCOMPARE(title, QStringLiteral(" Hiba történt"));
    QVERIFY2(text.startsWith(start) && text.endsWith(end), qPrintable(text));
    QVERIFY2(text.size() < 300, qPrintable(text));
    QVERIFY2(size.width() <= screen.width() && size.height() <= screen.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    QCOMPARE(icon, QMessageBox::Warning);
    QVERIFY(modal);
    QCOMPARE(buttons, QStringList{"OK"});
}

// clang-format off
void TestForm1Layout::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");

    // The description's expected beginning; empty for any.
    const auto row = [](const char* control, const char* name, const char* description = "") {
        QTest::newRow(control) << QString::fromUtf8(name) << QString::fromUtf8(description);
    };
    row("c_min", "C_h_min ( pf )");
    row("c_max", "C_h_max ( pf )");
    row("f_kf", "középfrekvencia ( MHz )");
    row("f_min", "fmin ( MHz)");
    row("f_max", "fmax ( MHz)");
    row("c_szort", "C szórt kapacitás ( pf )");
    row("filenev", "Mentés neve");
    row("l_b", "Bemenő kör ( uH, pf ): Lb");
    row("c_tb", "Bemenő kör ( uH, pf ): Cp_b");
    row("l_o", "Oszcillátor kör ( uH, pf ): Lo");
    row("c_to", "Oszcillátor kör ( uH, pf ): Cp_o");
    row("f_1", "Együttfutási pontok ( MHz ): F1");
    row("f_2", "Együttfutási pontok ( MHz ): F2");
    row("c_1", "Hangoló kapacitás ( pf ): Ch – első együttfutási pont",
        "Az első együttfutási ponthoz tartozó hangoló kapacitás értéke.");
    row("c_2", "Hangoló kapacitás ( pf ): Ch – második együttfutási pont",
        "A második együttfutási ponthoz tartozó hangoló kapacitás értéke.");
    row("p_elt", "Maximális eltérések: (Hz) – legnagyobb",
        "A bemenőkör eltérése az ideálistól:(fosz - fkf) - fbe");
    row("n_elt", "Maximális eltérések: (Hz) – legkisebb",
        "A bemenőkör eltérése az ideálistól:(fosz - fkf) - fbe");
    row("start", "Számol");
    row("kilép", "Kilép");
    row("Command1", "Ment");
    row("Picture1", "Kapcsolási rajz", "Két párhuzamos rezgőkör");
    row("pct_main", "A bemenőkör elhangolódása");
    row("Frame1", "Bemeneti adatok");
    row("Frame4", "Bemenő kör ( uH, pf )");
    row("Frame6", "Maximális eltérések");
}
// clang-format on

// What a screen reader reads for each control, through the accessibility
// interface that AT-SPI serves on Linux.
void TestForm1Layout::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, description);

    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(control(QString::fromUtf8(QTest::currentDataTag())));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    const QString described = accessible->text(QAccessible::Description);
    QVERIFY2(description.isEmpty() || described.startsWith(description), qPrintable(described));
}

void TestForm1Layout::everyFocusableControlHasAName()
{
    for (QWidget* widget : form_->findChildren<QWidget*>()) {
        if (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty())
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(),
                 qPrintable(widget->objectName()));
    }
}

QTEST_MAIN(TestForm1Layout)
#include "tst_form1_layout.moc"
