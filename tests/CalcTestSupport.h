// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the tests of the calculation core.

#include "CalculationState.h"
#include "Errors.h"
#include "InputFields.h"
#include "NumberText.h"
#include "OutputRecorder.h"
#include "StateMembers.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"
#include "WorkedExample.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <string_view>
#include <typeindex>
#include <typeinfo>

namespace kalibrix::test {

// Name of the calculation error that `action` throws, or "none".
template <typename Action>
QString FailureOf(Action&& action)
{
    static const std::map<std::type_index, QString> names{
        {typeid(DivisionByZeroError), "DivisionByZeroError"},
        {typeid(OverflowError), "OverflowError"},
        {typeid(InvalidOperationError), "InvalidOperationError"},
        {typeid(NegativeSquareRootError), "NegativeSquareRootError"},
        {typeid(IndexOutOfRangeError), "IndexOutOfRangeError"},
    };
    try {
        action();
    } catch (const CalculationError& error) {
        const auto name = names.find(typeid(error));
        return name == names.end() ? QStringLiteral("CalculationError") : name->second;
    }
    return QStringLiteral("none");
}

inline bool RelativelyClose(double actual, double expected, double tolerance)
{
    return std::abs(actual - expected) <= tolerance * std::abs(expected);
}

inline QString Mismatch(double actual, double expected)
{
    return QStringLiteral("actual %1, expected %2")
        .arg(actual, 0, 'g', 17)
        .arg(expected, 0, 'g', 17);
}

// Resonant frequency (Hz) of an ideal LC circuit, from pi itself.
inline double Resonance(double L, double C)
{
    return 1.0 / (2.0 * std::numbers::pi * std::sqrt(L * C));
}

// Stores the six texts, in the order of kInputs, as the fields do when they
// lose the focus.
inline void EnterInputs(CalculationState& s,
                        const std::array<std::string_view, kInputs.size()>& texts)
{
    for (std::size_t i = 0; i < kInputs.size(); ++i)
        s.*kInputs[i].member = ScaledInput(texts[i], kInputs[i].factor);
}

// The double member of the state of that name, for table-driven checks.
inline double CalculationState::*MemberByName(const QString& name)
{
    const auto found = std::ranges::find(kStateMembers, name.toStdString(),
                                         [](const StateMember& m) { return std::string(m.name); });
    if (found == kStateMembers.end())
        qFatal("no state member %s", qPrintable(name));
    return found->member;
}

} // namespace kalibrix::test
