#pragma once

// Helpers shared by the tests of the calculation core.

#include "CalculationState.h"
#include "Errors.h"
#include "NumberText.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"

#include <QString>

#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalibrix::test {

inline constexpr std::array<OutputField, 10> kFieldOrder = {
    OutputField::c_tb, OutputField::l_b, OutputField::f_1, OutputField::f_2, OutputField::c_to,
    OutputField::c_1, OutputField::c_2, OutputField::l_o, OutputField::n_elt, OutputField::p_elt};

// Stands in for the window: logs every text in the order it is shown and keeps
// the last text of each field, as the field itself would.
class RecordingSink : public OutputSink {
public:
    void ShowOutput(OutputField field, const std::string& text) override
    {
        log.emplace_back(field, text);
        current[field] = text;
    }

    QString text(OutputField field) const
    {
        const auto it = current.find(field);
        return it == current.end() ? QString() : QString::fromStdString(it->second);
    }

    std::vector<std::pair<OutputField, std::string>> log;
    std::map<OutputField, std::string> current;
};

// Name of the calculation error that `action` throws, or "none".
template <typename Action>
QString FailureOf(Action&& action)
{
    try {
        action();
    } catch (const DivisionByZeroError&) {
        return QStringLiteral("DivisionByZeroError");
    } catch (const OverflowError&) {
        return QStringLiteral("OverflowError");
    } catch (const InvalidOperationError&) {
        return QStringLiteral("InvalidOperationError");
    } catch (const NegativeSquareRootError&) {
        return QStringLiteral("NegativeSquareRootError");
    } catch (const IndexOutOfRangeError&) {
        return QStringLiteral("IndexOutOfRangeError");
    } catch (const CalculationError&) {
        return QStringLiteral("CalculationError");
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

// Stores the inputs as the six fields do when they lose focus: pF and MHz
// texts times their factors.
inline void EnterInputs(CalculationState& s, std::string_view cMin, std::string_view cMax,
                        std::string_view cSzort, std::string_view fMin, std::string_view fMax,
                        std::string_view fKf)
{
    s.C_h_min = ScaledInput(cMin, 1e-12);
    s.C_h_max = ScaledInput(cMax, 1e-12);
    s.C_sz = ScaledInput(cSzort, 1e-12);
    s.f_min = ScaledInput(fMin, 1e6);
    s.f_max = ScaledInput(fMax, 1e6);
    s.f_kf = ScaledInput(fKf, 1e6);
}

inline void EnterWorkedExample(CalculationState& s)
{
    EnterInputs(s, "12", "500", "10", "0.52", "1.62", "0.455");
}

// The double members of the state by their names, for table-driven checks.
inline double CalculationState::*MemberByName(const QString& name)
{
    static const std::map<QString, double CalculationState::*> members = {
        {"f_min", &CalculationState::f_min},   {"f_max", &CalculationState::f_max},
        {"f_kf", &CalculationState::f_kf},     {"k_f", &CalculationState::k_f},
        {"C_h_min", &CalculationState::C_h_min}, {"C_h_max", &CalculationState::C_h_max},
        {"k_f2", &CalculationState::k_f2},     {"C_sz", &CalculationState::C_sz},
        {"C_tb", &CalculationState::C_tb},     {"L_b", &CalculationState::L_b},
        {"f_h1", &CalculationState::f_h1},     {"f_h2", &CalculationState::f_h2},
        {"L_o", &CalculationState::L_o},       {"f_osz1", &CalculationState::f_osz1},
        {"f_osz2", &CalculationState::f_osz2}, {"C_hp1", &CalculationState::C_hp1},
        {"C_hp2", &CalculationState::C_hp2},   {"C_osz", &CalculationState::C_osz},
    };
    return members.at(name);
}

} // namespace kalibrix::test
