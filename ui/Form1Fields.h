// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which window field shows which result of the calculation or which line of
// the results file, and which label names which text field.

#include "Form1Layout.h"
#include "ResultsFileFormat.h"
#include "TrackingSolver.h"

#include <algorithm>
#include <array>
#include <variant>

namespace kalibrix::form1 {

struct ResultField {
    OutputField output;
    ControlId control;
};

// The read-only field that shows each result of the calculation.
inline constexpr std::array<ResultField, kOutputFieldCount> kResultFields{{
    {OutputField::c_tb, ControlId::c_tb},
    {OutputField::l_b, ControlId::l_b},
    {OutputField::f_1, ControlId::f_1},
    {OutputField::f_2, ControlId::f_2},
    {OutputField::c_to, ControlId::c_to},
    {OutputField::c_1, ControlId::c_1},
    {OutputField::c_2, ControlId::c_2},
    {OutputField::l_o, ControlId::l_o},
    {OutputField::n_elt, ControlId::n_elt},
    {OutputField::p_elt, ControlId::p_elt},
}};

constexpr bool EachResultHasOneField()
{
    return std::ranges::all_of(kOutputFieldsInStepOrder, [](OutputField field) {
        return std::ranges::count(kResultFields, field, &ResultField::output) == 1;
    });
}
static_assert(EachResultHasOneField(), "each result has exactly one field");

constexpr ControlId ResultControl(OutputField output)
{
    return std::ranges::find(kResultFields, output, &ResultField::output)->control;
}

// The field whose text a line of the results file holds.
inline ControlId FileFieldControl(const ResultsFileField& field)
{
    if (const auto* input = std::get_if<InputField>(&field))
        return InputControl(*input).id;
    return ResultControl(std::get<OutputField>(field));
}

struct LabelledField {
    ControlId label;
    ControlId field;
    // Tells a screen reader's listener apart two result fields under the same
    // frame and label caption; empty where the captions say it all.
    const char* qualifier = "";
};

// Every text field and the label beside it that names it.
inline constexpr std::array<LabelledField, 17> kLabelledFields{{
    {ControlId::Label1, ControlId::c_min},
    {ControlId::Label2, ControlId::c_max},
    {ControlId::Label5, ControlId::f_kf},
    {ControlId::Label4, ControlId::f_min},
    {ControlId::Label3, ControlId::f_max},
    {ControlId::Label6, ControlId::c_szort},
    {ControlId::Label18, ControlId::filenev},
    {ControlId::Label9, ControlId::l_b},
    {ControlId::Label10, ControlId::c_tb},
    {ControlId::Label7, ControlId::l_o},
    {ControlId::Label8, ControlId::c_to},
    {ControlId::Label11, ControlId::f_1},
    {ControlId::Label12, ControlId::f_2},
    {ControlId::Label20, ControlId::c_1, "első együttfutási pont"},
    {ControlId::Label21, ControlId::c_2, "második együttfutási pont"},
    {ControlId::Label14, ControlId::p_elt, "legnagyobb"},
    {ControlId::Label15, ControlId::n_elt, "legkisebb"},
}};

} // namespace kalibrix::form1
