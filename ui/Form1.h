#pragma once

#include "Form1Layout.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"

#include <QWidget>

#include <array>

class DeviationGraph;
class QLineEdit;
class QPushButton;

// The program's one window. It owns the calculation state for its whole life
// and holds the whole behaviour as event handlers: the six numeric inputs
// store their values on focus loss, "Számol" designs the circuits and draws
// the graph, "Ment" saves the results file, "Kilép" ends the program.
class Form1 : public QWidget, private kalibrix::OutputSink {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    void sort(kalibrix::SweepTable& List);

    const kalibrix::TrackingCalculator& calculator() const { return calculator_; }

private:
    void BuildControls();
    QWidget* CreateControl(const form1::ControlSpec& spec, QWidget* container);
    void SetTabOrder();
    template <class Widget>
    Widget* Control(form1::ControlId id) const;

    void StartClicked();
    void SaveClicked();
    void ShowOutput(kalibrix::OutputField field, const std::string& text) override;

    kalibrix::TrackingCalculator calculator_;
    std::array<QWidget*, form1::kControlCount> controls_{};
    DeviationGraph* pct_main_ = nullptr;
};
