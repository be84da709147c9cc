// The whole calculate action on six fuzzed input texts, in the order of
// kInputs (c_min;c_max;c_szort;f_min;f_max;f_kf) separated by ';' and stored as the
// input fields store them. The run either ends in a typed CalculationError,
// or every member, table slot and shown text is finite; the tables are only
// ever addressed inside 0..499; elt_sorted comes out ascending and a
// permutation of elt_curve.

#include "CalculationState.h"
#include "Errors.h"
#include "FuzzChecks.h"
#include "InputFields.h"
#include "NumberText.h"
#include "OutputRecorder.h"
#include "StateMembers.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using kalibrix::CalculationState;
using kalibrix::OutputField;
using kalibrix::fuzz::Check;

using kalibrix::test::OutputRecorder;

constexpr std::string_view kSeparator = ",";

int DecimalsOf(OutputField field)
{
    return field == OutputField::f_1 || field == OutputField::f_2 ? 3 : 2;
}

void CheckShownTexts(const OutputRecorder& sink, const CalculationState& s, bool completed)
{
    const auto& order = kalibrix::kOutputFieldsInStepOrder;
    Check(sink.log.size() <= order.size(), "no field is shown twice");
    Check(!completed || sink.log.size() == order.size(), "a complete run shows all ten fields");
    for (std::size_t i = 0; i < sink.log.size(); ++i) {
        const auto& [field, text] = sink.log[i];
        Check(field == order[i], "the fields are shown in the order of the steps");
        if (field == OutputField::n_elt || field == OutputField::p_elt)
            Check(kalibrix::fuzz::HasGeneralShape(text, kSeparator),
                  "an extreme shows in the general form");
        else
            Check(kalibrix::fuzz::HasFixedShape(text, DecimalsOf(field), kSeparator),
                  "a result shows under its fixed pattern");
    }
    if (completed) {
        Check(kalibrix::fuzz::ReadBack(sink.text(OutputField::n_elt), kSeparator)
                  == s.elt_sorted.front(),
              "n_elt shows the smallest deviation");
        Check(kalibrix::fuzz::ReadBack(sink.text(OutputField::p_elt), kSeparator)
                  == s.elt_sorted.back(),
              "p_elt shows the largest deviation");
    }
}

bool AllFinite(const kalibrix::SweepTable& table)
{
    return std::all_of(table.begin(), table.end(), [](double v) { return std::isfinite(v); });
}

void CheckCompleteRun(const CalculationState& s)
{
    for (const kalibrix::test::StateMember& m : kalibrix::test::kStateMembers)
        Check(std::isfinite(s.*m.member), "every member is finite after a complete run");
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
        for (const kalibrix::InputSpec& input : kalibrix::kInputs) {
            const std::size_t cut = rest.find(';');
            calc.state.*input.member = kalibrix::ScaledInput(rest.substr(0, cut), input.factor);
            rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
        }
    } catch (const kalibrix::OverflowError&) {
        return -1; // a value beyond the double range never reaches the state
    }

    OutputRecorder sink;
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
    Check(completed || s.sweep_i < kalibrix::kSweepSteps,
          "a failed run stops the sweep inside 0..499");
    CheckShownTexts(sink, s, completed);
    if (completed)
        CheckCompleteRun(s);
    return 0;
}
