// SPDX-License-Identifier: GPL-3.0-or-later
// The whole calculate action of the window: a click on "Számol" with the
// worked example typed in (12..500 pF capacitor, 10 pF stray, 0.52..1.62 MHz
// band, 455 kHz IF) runs the solver and the sweep, writes the ten result
// texts and draws the deviation graph. Runs on the offscreen platform unless
// another one is asked for.

#include "Form1.h"
#include "Form1Fields.h"
#include "MessageBox.h"
#include "WorkedExample.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

using namespace kalibrix;
namespace worked_example = test::worked_example;

// One application for the whole process, never destroyed: the benchmark
// library owns main(), and an application destroyed among the static objects
// at exit would outlive Qt's own.
QApplication& Application()
{
    static int argc = 1;
    static char name[] = "kalibrix_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* const app = new QApplication(argc, argv);
    return *app;
}

// Types the text into the field key by key, through the fields' key filter;
// the next field's focus then stores its value.
void Type(Form1& form, const char* fieldName, const QString& text)
{
    auto* field = form.findChild<QLineEdit*>(fieldName);
    field->setFocus(Qt::MouseFocusReason);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &release);
    }
}

// The click measured with the padder window (F2) closed or open: while it is
// open, every calculation designs the padder anew and redraws its window.
void CalculateClick(benchmark::State& bench, bool padderOpen)
{
    QApplication& app = Application();
    QStringList messages;
    const MessageHandler previous =
        SetMessageHandler([&](QWidget*, const QString& text) { messages << text; });

    QLocale::setDefault(QLocale::c());
    Form1 form;
    form.show();
    form.activateWindow();
    for (int i = 0; i < 100 && !form.isActiveWindow(); ++i)
        app.processEvents();

    for (const InputSpec& input : kInputs) {
        const std::string_view text = worked_example::Typed(input.field);
        Type(form, std::string(input.name).c_str(),
             QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    auto* start = form.findChild<QPushButton*>("start");
    start->setFocus(Qt::MouseFocusReason);
    if (padderOpen) {
        start->click();
        QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
        QApplication::sendEvent(&form, &f2);
        if (!form.findChild<QDialog*>("padder"))
            bench.SkipWithError("F2 opened no padder window");
    }
    app.processEvents();

    for (auto _ : bench)
        start->click();
    app.processEvents();

    for (const form1::ResultField& result : form1::kResultFields) {
        const QString shown = form.findChild<QLineEdit*>(form1::Spec(result.control).name)->text();
        if (!messages.isEmpty() || shown.toStdString() != worked_example::Shown(result.output, "."))
            bench.SkipWithError("the worked example was not calculated");
    }
    SetMessageHandler(previous);
}

void BM_CalculateClick(benchmark::State& bench)
{
    CalculateClick(bench, false);
}
BENCHMARK(BM_CalculateClick);

void BM_CalculateClickPadderOpen(benchmark::State& bench)
{
    CalculateClick(bench, true);
}
BENCHMARK(BM_CalculateClickPadderOpen);

} // namespace
