#pragma once

// Helpers shared by the tests that drive the main window.

#include "Form1.h"
#include "MessageBox.h"

#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QStringList>
#include <QtTest>

#include <memory>

namespace kalibrix::test {

inline const QString kMissingData = QStringLiteral("Egy, vagy több adat hiányzik.");

// The six input fields, in the order of the worked example's inputs.
inline const QStringList kInputFields{"c_min", "c_max", "c_szort", "f_min", "f_max", "f_kf"};

// The fields whose texts the results file holds, in its line order.
inline const QStringList kFileOrder{"c_min", "c_max", "c_szort", "f_min", "f_max", "f_kf",
                                    "l_b",   "c_tb",  "l_o",     "c_to",  "c_1",   "c_2",
                                    "f_1",   "f_2",   "p_elt",   "n_elt"};

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

} // namespace kalibrix::test
