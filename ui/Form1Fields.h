#pragma once

// Which window field shows or takes which value of the calculation.

#include "Form1Layout.h"
#include "InputFields.h"
#include "TrackingSolver.h"

#include <array>

namespace form1 {

struct ResultField {
    kalibrix::OutputField output;
    ControlId control;
};

// The read-only field that shows each result of the calculation.
inline constexpr std::array<ResultField, kalibrix::kOutputFieldCount> kResultFields{{
    {kalibrix::OutputField::c_tb, ControlId::c_tb},
    {kalibrix::OutputField::l_b, ControlId::l_b},
    {kalibrix::OutputField::f_1, ControlId::f_1},
    {kalibrix::OutputField::f_2, ControlId::f_2},
    {kalibrix::OutputField::c_to, ControlId::c_to},
    {kalibrix::OutputField::c_1, ControlId::c_1},
    {kalibrix::OutputField::c_2, ControlId::c_2},
    {kalibrix::OutputField::l_o, ControlId::l_o},
    {kalibrix::OutputField::n_elt, ControlId::n_elt},
    {kalibrix::OutputField::p_elt, ControlId::p_elt},
}};

static_assert(std::ranges::all_of(kalibrix::kOutputFieldsInStepOrder, [](kalibrix::OutputField field) {
    return std::ranges::count(kResultFields, field, &ResultField::output) == 1;
}), "each result has exactly one field");

constexpr ControlId ResultControl(kalibrix::OutputField output)
{
    return std::ranges::find(kResultFields, output, &ResultField::output)->control;
}

// The layout row of a control.
const ControlSpec& Spec(ControlId id);

// The numeric field of an input: the layout row that bears the input's name.
const ControlSpec& InputControl(kalibrix::InputField field);

} // namespace form1
