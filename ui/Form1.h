// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form1Layout.h"
#include "HelpText.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace kalibrix {

class DeviationGraph;
class HelpWindow;
class PadderWindow;

// The program's one window. It holds the calculator (the calculation state
// with its formulas) for its whole life, the controls built from the layout
// table, and the behaviour as event handlers: the six numeric fields store
// their values in the state on focus loss, "Számol" designs the circuits,
// shows every result and draws the graph, "Ment" saves the results file,
// "Kilép" closes the window, and F1 opens the design guide with notes on the
// current design, and F2 the three-point design with a padder.
class Form1 : public QWidget, private OutputSink {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The window's one public operation of the calculation: it sorts a sweep
    // table with the calculation's own selection sort.
    void sort(SweepTable& List);

    // Read-only access to the state and its formulas, for the help's notes
    // on the current design and for tests; nothing outside writes to it.
    const TrackingCalculator& calculator() const { return calculator_; }

private:
    void BuildControls();
    QWidget* CreateControl(const form1::ControlSpec& spec, QWidget* container);
    void SetTabOrder();
    void NameForScreenReaders();
    void DeleteControls();
    template <class Widget>
    Widget* Control(form1::ControlId id) const;

    void StartClicked();
    // The calculate action: the solver, the sweep, the graph; how far it ran.
    LastRun Calculate();
    void SaveClicked();
    void ShowHelp();
    void UpdateHelpNotes();
    void ShowPadder();
    void ShowOutput(OutputField field, const std::string& text) override;

    TrackingCalculator calculator_;
    std::array<QWidget*, form1::kControlCount> controls_{};
    DeviationGraph* pct_main_ = nullptr;
    HelpWindow* help_ = nullptr;     // made on the first F1, then kept
    PadderWindow* padder_ = nullptr; // made on the first F2, then kept
    // Whether a calculation ran, and whether the last one ran its sweep to
    // the end. A run that fails earlier leaves the previous sweep's tables and
    // sweep_i = 500 beside its own new values, which no note may mix.
    LastRun lastRun_ = LastRun::None;
};

} // namespace kalibrix
