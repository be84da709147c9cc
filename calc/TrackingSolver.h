// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"

#include <array>
#include <cstddef>
#include <string>

namespace kalibrix {

class TrackingCalculator;

// The read-only result fields, in the order the calculation fills them: the
// steps of the solver, then the sweep's two extremes. This enum is the one
// statement of that order.
enum class OutputField { c_tb, l_b, f_1, f_2, c_to, c_1, c_2, l_o, n_elt, p_elt };

inline constexpr std::size_t kOutputFieldCount = static_cast<std::size_t>(OutputField::p_elt) + 1;

// Every output field, in the order of the enum.
constexpr std::array<OutputField, kOutputFieldCount> OutputFieldsInStepOrder()
{
    std::array<OutputField, kOutputFieldCount> fields{};
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = static_cast<OutputField>(i);
    return fields;
}

inline constexpr std::array<OutputField, kOutputFieldCount> kOutputFieldsInStepOrder =
    OutputFieldsInStepOrder();

// Where the calculation shows each result text as soon as it is known, so
// that a failure leaves exactly the earlier fields written.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    virtual void ShowOutput(OutputField field, const std::string& text) = 0;
};

// Two-point tracking puts each tracking point (f_max - f_min) / 6.85 inside
// its band edge: the classic placement, a fixed design rule.
inline constexpr double kTrackingPointInsetDivisor = 6.85;

// Designs both circuits for two-point tracking from the inputs in the state,
// shows each result, then runs the deviation sweep. Throws CalculationError
// subclasses; whatever was stored or shown before the failure stays.
void SolveTracking(TrackingCalculator& calc, OutputSink& out);

// Tabulates the deviation at 500 frequencies from f_max down to f_min, sorts
// a copy and shows the smallest in n_elt and the largest in p_elt.
void RunDeviationSweep(TrackingCalculator& calc, OutputSink& out);

// Selection sort of elements 0..499, ascending, in place; among equal
// smallest values the first found is taken. A plain selection sort rather
// than std::sort: its comparisons and writes are fixed (125,250 and 1,000)
// whatever the data, and the window offers it as its one public operation.
void sort(SweepTable& List);

} // namespace kalibrix
