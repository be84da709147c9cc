// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the tests that drive the main window.

#include "Form1.h"
#include "Form1Fields.h"
#include "MessageBox.h"
#include "ResultsFileFormat.h"

#include "WorkedExample.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

namespace kalibrix::test {

inline const QString kMissingData = QStringLiteral("Egy, vagy több adat hiányzik.");

inline QString QStringOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The objectName of a control.
inline QString NameOf(form1::ControlId id)
{
    return QString::fromUtf8(form1::Spec(id).name);
}

// The six input fields, in the order of kInputs.
inline const QStringList kInputFields = [] {
    QStringList names;
    for (const InputSpec& input : kInputs)
        names << NameOf(form1::InputControl(input.field).id);
    return names;
}();

// The result fields, in the order the calculation fills them.
inline const QStringList kOutputFields = [] {
    QStringList names;
    for (const form1::ResultField& result : form1::kResultFields)
        names << NameOf(result.control);
    return names;
}();

// The fields whose texts the results file holds, in its line order.
inline const QStringList kFileOrder = [] {
    QStringList names;
    for (const ResultsFileLine& line : kResultsFileLines)
        names << NameOf(form1::FileFieldControl(line.field));
    return names;
}();

// The window's control of that objectName; a missing one ends the test run.
template <class Widget = QWidget>
Widget* Control(const QWidget& window, const QString& name)
{
    auto* widget = window.findChild<Widget*>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

// Types the text into the widget key by key, as the window system delivers
// the keys of a keyboard without a modifier.
inline void TypeText(QWidget* target, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

// Every message the window shows is appended to `messages` instead of
// opening a modal box; `messages` is emptied first.
inline void RecordMessages(QStringList& messages)
{
    messages.clear();
    SetMessageHandler([&messages](QWidget*, const QString& text) { messages << text; });
}

// A new window under the given locale, which sets its decimal separator;
// true once it is active. Without a window manager the window is activated
// by hand.
inline bool OpenWindow(std::unique_ptr<Form1>& form, const QLocale& locale = QLocale::c())
{
    QLocale::setDefault(locale);
    form = std::make_unique<Form1>();
    form->show();
    form->activateWindow();
    return QTest::qWaitForWindowActive(form.get());
}

// Closes the window and brings back the message box and the C locale.
inline void CloseWindow(std::unique_ptr<Form1>& form)
{
    form.reset();
    SetMessageHandler({});
    QLocale::setDefault(QLocale::c());
}

// Why the saved file does not hold what the window shows, or empty when it
// does: 17 lines ending in CR LF, the first the date and time, each other a
// 13-character label, the field's text and two blanks before the unit.
inline QString SavedFileMismatch(const QString& path, const QWidget& window)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot open ") + path;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() != kFileOrder.size() + 2 || !lines.last().isEmpty())
        return QStringLiteral("%1 lines").arg(lines.size() - 1);
    for (qsizetype i = 0; i < kFileOrder.size(); ++i) {
        const QString line = QString::fromLocal8Bit(lines[i + 1]);
        const QString text = Control<QLineEdit>(window, kFileOrder[i])->text();
        if (!line.endsWith(u'\r') || line.mid(13, text.size()) != text
            || !line.mid(13 + text.size()).startsWith(QStringLiteral("  ")))
            return QStringLiteral("line of %1: \"%2\", the field shows \"%3\"")
                .arg(kFileOrder[i], line, text);
    }
    return {};
}

// A window opened afresh for each test, with the steps a user takes in it.
// Messages are recorded in messages_ instead of opening a box.
class WindowDriver {
protected:
    bool Open(const QLocale& locale = QLocale::c())
    {
        RecordMessages(messages_);
        return OpenWindow(form_, locale);
    }

    void Close() { CloseWindow(form_); }

    template <class Widget = QWidget>
    Widget* control(const QString& name) const
    {
        return Control<Widget>(*form_, name);
    }
    QLineEdit* field(const QString& name) const { return control<QLineEdit>(name); }

    // Types the text into the field as the user would, the focus staying there.
    void enter(const QString& fieldName, const QString& text)
    {
        QLineEdit* target = field(fieldName);
        target->setFocus();
        TypeText(target, text);
    }

    // Replaces the field's text: typed where the key filter lets every
    // character through, otherwise pasted as from the context menu.
    void replace(const QString& fieldName, const QString& text)
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

    void enterWorkedExample()
    {
        for (const worked_example::InputText& input : worked_example::kInputTexts)
            enter(NameOf(form1::InputControl(input.field).id), QStringOf(input.text));
    }

    void clickStart() { QTest::mouseClick(control("start"), Qt::LeftButton); }

    const CalculationState& state() const { return form_->calculator().state; }

    // Where the input field of that name stores its value.
    static double CalculationState::*StoredIn(const QString& fieldName)
    {
        const auto input =
            std::ranges::find(kInputs, fieldName.toStdString(),
                              [](const InputSpec& spec) { return std::string(spec.name); });
        return input->member;
    }

    std::unique_ptr<Form1> form_;
    QStringList messages_;
};

// The worked example's result texts with the locale's decimal separator, in
// the order of kOutputFields.
inline QStringList WorkedExampleResults(const QLocale& locale)
{
    QStringList texts;
    for (const form1::ResultField& result : form1::kResultFields)
        texts << QString::fromStdString(
            worked_example::Shown(result.output, locale.decimalPoint().toStdString()));
    return texts;
}

} // namespace kalibrix::test
