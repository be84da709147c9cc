// The whole calculate action on six fuzzed input texts, in the order
// c_min;c_max;c_szort;f_min;f_max;f_kf separated by ';' and stored as the
// input fields store them. The run either ends in a typed CalculationError,
// or every member, table slot and shown text is finite; the tables are only
// ever addressed inside 0..499; elt_sorted comes out ascending and a
// permutation of elt_curve.

#include "CalculationState.h"
#include "Errors.h"
#include "FuzzChecks.h"
#include "NumberText.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using kalibrix::CalculationState;
using kalibrix::OutputField;
using kalibrix::fuzz::Check;

struct InputField {
    double CalculationState::*member;
    double factor;
};

constexpr std::array<InputField, 6> kInputs{{
    {&CalculationState::C_h_min, 1e-12},
    {&CalculationState::C_h_max, 1e-12},
    {&CalculationState::C_sz, 1e-12},
    {&CalculationState::f_min, 1e6},
    {&CalculationState::f_max, 1e6},
    {&CalculationState::f_kf, 1e6},
}};

// The order in which a complete run shows its results.
constexpr std::array<OutputField, 10> kShownOrder{
    OutputField::c_tb, OutputField::l_b, OutputField::f_1, OutputField::f_2, OutputField::c_to,
    OutputField::c_1, OutputField::c_2, OutputField::l_o, OutputField::n_elt, OutputField::p_elt};

constexpr std::string_view kSeparator = ",";

class RecordingSink : public kalibrix::OutputSink {
public:
    std::vector<std::pair<OutputField, std::string>> shown;

    void ShowOutput(OutputField field, const std::string& text) override { shown.emplace_back(field, text); }
};

int DecimalsOf(OutputField field)
{
    return field == OutputField::f_1 || field == OutputField::f_2 ? 3 : 2;
}

void CheckShownTexts(const RecordingSink& sink, const CalculationState& s, bool completed)
{
    Check(sink.shown.size() <= kShownOrder.size(), "no field is shown twice");
    Check(!completed || sink.shown.size() == kShownOrder.size(), "a complete run shows all ten fields");
    for (std::size_t i = 0; i < sink.shown.size(); ++i) {
        const auto& [field, text] = sink.shown[i];
        Check(field == kShownOrder[i], "the fields are shown in the order of the steps");
        if (field == OutputField::n_elt || field == OutputField::p_elt)
            Check(kalibrix::fuzz::HasGeneralShape(text, kSeparator), "an extreme shows in the general form");
        else
            Check(kalibrix::fuzz::HasFixedShape(text, DecimalsOf(field), kSeparator),
                  "a result shows under its fixed pattern");
    }
    if (completed) {
        Check(kalibrix::fuzz::ReadBack(sink.shown[8].second, kSeparator) == s.elt_sorted.front(),
              "n_elt shows the smallest deviation");
        Check(kalibrix::fuzz::ReadBack(sink.shown[9].second, kSeparator) == s.elt_sorted.back(),
              "p_elt shows the largest deviation");
    }
}

bool AllFinite(const kalibrix::SweepTable& table)
{
    return std::all_of(table.begin(), table.end(), [](double v) { return std::isfinite(v); });
}

void CheckCompleteRun(const CalculationState& s)
{
    for (double member : {s.f_min, s.f_max, s.f_kf, s.k_f, s.C_h_min, s.C_h_max, s.k_f2, s.C_sz, s.C_tb,
                          s.L_b, s.f_h1, s.f_h2, s.L_o, s.f_osz1, s.f_osz2, s.C_hp1, s.C_hp2, s.C_osz})
        Check(std::isfinite(member), "every member is finite after a complete run");
    Check(s.sweep_i == kalibrix::kSweepSteps, "a complete sweep leaves sweep_i at 500");
    Check(std::is_sorted(s.elt_sorted.begin(), s.elt_sorted.end()), "elt_sorted is ascending");
    kalibrix::SweepTable curve = s.elt_curve;
    std::sort(curve.begin(), curve.end());
    Check(curve == s.elt_sorted, "elt_sorted is a permutation of elt_curve");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    kalibrix::TrackingCalculator calc;
    calc.decimalSeparator = std::string(kSeparator);
    try {
        for (const InputField& input : kInputs) {
            const std::size_t cut = rest.find(';');
            calc.state.*input.member = kalibrix::ScaledInput(rest.substr(0, cut), input.factor);
            rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
        }
    } catch (const kalibrix::OverflowError&) {
        return -1; // a value beyond the double range never reaches the state
    }

    RecordingSink sink;
    bool completed = true;
    try {
        kalibrix::SolveTracking(calc, sink);
    } catch (const kalibrix::CalculationError&) {
        completed = false;
    }

    const CalculationState& s = calc.state;
    Check(AllFinite(s.elt_sorted) && AllFinite(s.elt_curve) && AllFinite(s.fbe_curve),
          "no infinity or NaN reaches a table");
    Check(s.sweep_i >= 0 && s.sweep_i <= kalibrix::kSweepSteps, "sweep_i stays within 0..500");
    Check(completed || s.sweep_i < kalibrix::kSweepSteps, "a failed run stops the sweep inside 0..499");
    CheckShownTexts(sink, s, completed);
    if (completed)
        CheckCompleteRun(s);
    return 0;
}
