// SPDX-License-Identifier: GPL-3.0-or-later
// The whole calculate action on six fuzzed input texts, in the order of
// kInputs (c_min;c_max;c_szort;f_min;f_max;f_kf) separated by ';' and stored as the
// input fields store them. The run either ends in a typed CalculationError,
// or every member, table slot and shown text is finite; the tables are only
// ever addressed inside 0..499; elt_sorted comes out ascending and a
// permutation of elt_curve. After a complete run the three-point design,
// under both searched placements, either fails with ThreePointError or gives
// finite parts that track at its three points, checked by substituting them
// into the circuit here, and texts that can be shown; its fitted padders
// track at their own alignment points. So does the bandspread design for its
// default coil, whose input circuit reaches both band edges.

#include "Bandspread.h"
#include "CalculationState.h"
#include "Errors.h"
#include "FuzzChecks.h"
#include "InputFields.h"
#include "NumberText.h"
#include "OutputRecorder.h"
#include "PadderFit.h"
#include "StateMembers.h"
#include "ThreePointTracking.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
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

// The oscillator's frequency (Hz) from its parts, by the resonance formula
// 1 / (2 pi sqrt(L C)) with C the stray plus the gang C_h and trimmer in
// series with the padder; long double, apart from the design's own arithmetic.
long double OscillatorAt(const kalibrix::PadderOscillator& o, double C_h, double C_sz)
{
    const long double parallel = static_cast<long double>(C_h) + o.C_to;
    const long double series = parallel * o.C_p / (parallel + o.C_p);
    return 1.0L / (2.0L * std::numbers::pi_v<long double> * std::sqrt(o.L_o * (C_sz + series)));
}

// The input circuit's own frequency at gang capacitance C_h: L_b across
// C_h + C_tb + C_sz.
long double InputAt(const CalculationState& s, double C_h)
{
    const long double C = static_cast<long double>(C_h) + s.C_tb + s.C_sz;
    return 1.0L / (2.0L * std::numbers::pi_v<long double> * std::sqrt(s.L_b * C));
}

bool Finite(const kalibrix::PadderOscillator& o)
{
    return std::isfinite(o.L_o) && std::isfinite(o.C_p) && std::isfinite(o.C_to) && o.L_o > 0.0
           && o.C_p > 0.0;
}

void CheckCurve(const kalibrix::PadderCurve& curve)
{
    Check(AllFinite(curve.deviation) && std::isfinite(curve.largestPositive)
              && std::isfinite(curve.largestNegative),
          "a three-point curve is finite");
    Check(
        !curve.usableQ
            || (std::isfinite(*curve.usableQ) && curve.statedQ && *curve.statedQ <= *curve.usableQ),
        "a usable Q is finite and stated no higher");
    for (const double v : {curve.largestPositive, curve.largestNegative})
        (void)kalibrix::FormatGeneral(v, kSeparator);
    if (curve.statedQ)
        (void)kalibrix::FormatGeneral(*curve.statedQ, kSeparator);
}

// The deviation at a tracking point reads zero to the 0.01 Hz shown (within
// 0.005 Hz), or is within 1e-10 of a frequency too high for hundredths of a
// hertz in a double.
bool Tracks(long double actual, double target)
{
    return std::abs(actual - target)
           <= std::max(0.005L, 1e-10L * std::abs(static_cast<long double>(target)));
}

// A fitted padder tracks at its two alignment points, inside the band.
void CheckFitted(const kalibrix::TrackingCalculator& calc, const kalibrix::StandardPadder& row)
{
    const CalculationState& s = calc.state;
    if (!row.Aligned())
        return;
    Check(s.f_min <= row.alignment[0] && row.alignment[0] < row.alignment[1]
              && row.alignment[1] <= s.f_max,
          "a padder's alignment points rise inside the band");
    for (const double A : row.alignment)
        Check(Tracks(OscillatorAt(row.oscillator, calc.CapacitanceForFrequency(A), s.C_sz),
                     A + s.f_kf),
              "a padder tracks at its alignment points");
    CheckCurve(row.curve);
}

void CheckThreePoint(const kalibrix::TrackingCalculator& calc, kalibrix::PointPlacement placement)
{
    const CalculationState& s = calc.state;
    kalibrix::ThreePointDesign design;
    try {
        design = kalibrix::DesignThreePoint(s, placement);
    } catch (const kalibrix::ThreePointError&) {
        return;
    }
    Check(s.f_min < design.f[0] && design.f[0] < design.f[1] && design.f[1] < design.f[2]
              && design.f[2] < s.f_max,
          "the points rise inside the band");
    Check(Finite(design.oscillator) && design.oscillator.C_to >= 0.0,
          "the padder design's parts are finite, positive, the trimmer not negative");
    for (std::size_t i = 0; i < 3; ++i) {
        Check(std::isfinite(design.C_h[i]), "the gang capacitance at a point is finite");
        Check(Tracks(InputAt(s, design.C_h[i]), design.f[i]),
              "the input circuit resonates at its point");
        Check(Tracks(OscillatorAt(design.oscillator, design.C_h[i], s.C_sz), design.f[i] + s.f_kf),
              "the oscillator runs at the point plus the IF");
    }
    CheckCurve(design.curve);
    (void)kalibrix::FormatSignificant(design.oscillator.C_p / kalibrix::kFaradPerPicofarad, 3,
                                      kSeparator);
    (void)kalibrix::FormatSignificant(design.oscillator.L_o * 1e6, 4, kSeparator);
    for (std::size_t i = 0; i < 3; ++i) {
        (void)calc.FormatMegahertz(design.f[i]);
        (void)calc.FormatValue(kalibrix::TrackingCalculator::RoundToPicofarad(design.C_h[i]));
    }
    (void)calc.FormatValue(kalibrix::TrackingCalculator::RoundToPicofarad(design.oscillator.C_to));
    for (const kalibrix::StandardPadder* row : {&design.e12, &design.e24}) {
        Check(std::isfinite(row->nominal) && row->nominal > 0.0, "a nominal value is finite");
        if (row->alignmentFailed) {
            Check(row->oscillator.L_o == 0.0 && !row->curve.usableQ,
                  "an unaligned row carries only its nominal value");
            continue;
        }
        Check(Finite(row->oscillator), "a standard padder's parts are finite and positive");
        CheckFitted(calc, *row);
    }
    // The builder's choices beside them: an own padder 3 % below the ideal,
    // the pairs and the tolerance band.
    const kalibrix::PadderChoices choices =
        kalibrix::FitPadders(s, design, 0.97 * design.oscillator.C_p);
    for (const auto& pair : {choices.e12Pair, choices.e24Pair})
        if (pair)
            CheckFitted(calc, pair->fit);
    if (choices.tolerance)
        Check(AllFinite(choices.tolerance->lowest) && AllFinite(choices.tolerance->highest),
              "the tolerance envelope is finite");
}

// The bandspread input circuit's frequency (Hz) at gang capacitance C_h: the
// stray across the coil, the gang and trimmer in series with Cs_b.
long double BandspreadAt(const kalibrix::BandspreadInput& in, double C_h, double C_sz)
{
    const long double parallel = static_cast<long double>(C_h) + in.C_p;
    const long double series = parallel * in.C_s / (parallel + in.C_s);
    return 1.0L / (2.0L * std::numbers::pi_v<long double> * std::sqrt(in.L_b * (C_sz + series)));
}

void CheckBandspread(const CalculationState& s)
{
    kalibrix::BandspreadDesign design;
    try {
        const kalibrix::CoilRange range = kalibrix::BandspreadCoilRange(s);
        const double coil = kalibrix::DefaultBandspreadCoil(s, range);
        Check(range.lowest <= coil && coil <= range.highest, "the default coil lies in its range");
        design = kalibrix::DesignBandspread(s, kalibrix::FormatGeneral(coil * 1e6, kSeparator),
                                            kalibrix::PointPlacement::LargestUsableQ);
    } catch (const kalibrix::ThreePointError&) {
        return;
    } catch (const kalibrix::BandspreadError&) {
        return;
    }
    const kalibrix::BandspreadInput& in = design.input;
    Check(std::isfinite(in.C_s) && std::isfinite(in.C_p) && in.C_s > 0.0 && in.C_p > 0.0,
          "the bandspread capacitors are finite and positive");
    // The design promises the band edges within 1e-9 of the frequency, its
    // own substitution check (a few mHz on short wave, far below any dial);
    // twice that leaves room for the double-precision substitution it makes.
    const auto reaches = [](long double actual, double edge) {
        return std::abs(actual - edge) <= 2e-9L * edge;
    };
    Check(reaches(BandspreadAt(in, s.C_h_min, s.C_sz), s.f_max)
              && reaches(BandspreadAt(in, s.C_h_max, s.C_sz), s.f_min),
          "the bandspread input circuit reaches both band edges");
    const kalibrix::ThreePointDesign& o = design.oscillator;
    for (std::size_t i = 0; i < 3; ++i)
        Check(Tracks(BandspreadAt(in, o.C_h[i], s.C_sz), o.f[i])
                  && Tracks(OscillatorAt(o.oscillator, o.C_h[i], s.C_sz), o.f[i] + s.f_kf),
              "both bandspread circuits run where they should at each point");
    CheckCurve(o.curve);
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
    calc.decimalSeparator = kSeparator;
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
    if (completed) {
        CheckCompleteRun(s);
        CheckThreePoint(calc, kalibrix::PointPlacement::LargestUsableQ);
        CheckThreePoint(calc, kalibrix::PointPlacement::SmallestDeviation);
        CheckBandspread(s);
    }
    return 0;
}
