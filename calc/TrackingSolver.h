#pragma once

#include "CalculationState.h"

#include <string>

namespace kalibrix {

class TrackingCalculator;

// The read-only result fields, in the order the calculation fills them.
enum class OutputField { c_tb, l_b, f_1, f_2, c_to, c_1, c_2, l_o, n_elt, p_elt };

// Where the calculation shows each result text as soon as it is known, so
// that a failure leaves exactly the earlier fields written.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    virtual void ShowOutput(OutputField field, const std::string& text) = 0;
};

// Designs both circuits for two-point tracking from the inputs in the state,
// shows each result, then runs the deviation sweep. Throws CalculationError
// subclasses; whatever was stored or shown before the failure stays.
void SolveTracking(TrackingCalculator& calc, OutputSink& out);

// Tabulates the deviation at 500 frequencies from f_max down to f_min, sorts
// a copy and shows the smallest in n_elt and the largest in p_elt.
void RunDeviationSweep(TrackingCalculator& calc, OutputSink& out);

// Selection sort of elements 0..499, ascending, in place; among equal
// smallest values the first found is taken.
void sort(SweepTable& List);

} // namespace kalibrix
