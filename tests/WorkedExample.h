// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The worked example: a 12..500 pF tuning capacitor with 10 pF stray
// capacitance, the 0.52..1.62 MHz band and a 455 kHz intermediate frequency,
// with every text the calculation shows for it. Standard C++ only.

#include "InputFields.h"
#include "NumberText.h"
#include "TrackingSolver.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace kalibrix::test::worked_example {

struct InputText {
    InputField field;
    std::string_view text; // as typed
};

inline constexpr std::array<InputText, 6> kInputTexts{{
    {InputField::c_min, "12"},
    {InputField::c_max, "500"},
    {InputField::c_szort, "10"},
    {InputField::f_min, "0.52"},
    {InputField::f_max, "1.62"},
    {InputField::f_kf, "0.455"},
}};

struct ResultText {
    OutputField field;
    std::string_view text; // with a point as the decimal separator
};

inline constexpr std::array<ResultText, kOutputFieldCount> kResultTexts{{
    {OutputField::c_tb, "34.06"},
    {OutputField::l_b, "172.18"},
    {OutputField::f_1, "0.681"},
    {OutputField::f_2, "1.459"},
    {OutputField::c_to, "99.91"},
    {OutputField::c_1, "273.55"},
    {OutputField::c_2, "25.01"},
    {OutputField::l_o, "51.23"},
    {OutputField::n_elt, "-74580.2"},
    {OutputField::p_elt, "70217.63"},
}};

// The text typed into `field`.
constexpr std::string_view Typed(InputField field)
{
    return std::ranges::find(kInputTexts, field, &InputText::field)->text;
}

// The text `field` shows, with the given decimal separator.
inline std::string Shown(OutputField field, std::string_view separator)
{
    const std::string_view text = std::ranges::find(kResultTexts, field, &ResultText::field)->text;
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos)
        return std::string(text);
    return std::string(text.substr(0, point)) + std::string(separator)
           + std::string(text.substr(point + 1));
}

// Stores the inputs as the six fields do when they lose the focus.
inline void Enter(CalculationState& s)
{
    for (const InputSpec& input : kInputs)
        s.*input.member = ScaledInput(Typed(input.field), input.factor);
}

} // namespace kalibrix::test::worked_example
