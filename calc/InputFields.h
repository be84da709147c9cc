// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kalibrix {

// The six design inputs as the user types them, in pF and MHz.
enum class InputField { c_min, c_max, c_szort, f_min, f_max, f_kf };

struct InputSpec {
    InputField field;
    std::string_view name;            // the window field's name
    double CalculationState::*member; // where its value is stored, in F or Hz
    double factor;                    // stored value = leading number of the text * factor
    std::string_view unit;            // the unit typed
    bool required;                    // an empty text stops the calculation
};

// Every input, in the order of the results file's lines 2 to 7. The stray
// capacitance may stay empty: an empty text stores 0, that is 0 pF.
inline constexpr std::array<InputSpec, 6> kInputs{{
    {InputField::c_min, "c_min", &CalculationState::C_h_min, kFaradPerPicofarad, "pF", true},
    {InputField::c_max, "c_max", &CalculationState::C_h_max, kFaradPerPicofarad, "pF", true},
    {InputField::c_szort, "c_szort", &CalculationState::C_sz, kFaradPerPicofarad, "pF", false},
    {InputField::f_min, "f_min", &CalculationState::f_min, kHertzPerMegahertz, "MHz", true},
    {InputField::f_max, "f_max", &CalculationState::f_max, kHertzPerMegahertz, "MHz", true},
    {InputField::f_kf, "f_kf", &CalculationState::f_kf, kHertzPerMegahertz, "MHz", true},
}};

// The row of kInputs for `field`; every field has one (checked below).
constexpr const InputSpec& Input(InputField field)
{
    return *std::ranges::find(kInputs, field, &InputSpec::field);
}

constexpr bool EachInputHasOneRow()
{
    return std::ranges::all_of(kInputs, [](const InputSpec& input) {
        return std::ranges::count(kInputs, input.field, &InputSpec::field) == 1;
    });
}
static_assert(EachInputHasOneRow(), "each input has exactly one row");

} // namespace kalibrix
