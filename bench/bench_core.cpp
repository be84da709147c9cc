// SPDX-License-Identifier: GPL-3.0-or-later
// One whole calculation of the worked example (12..500 pF capacitor, 10 pF
// stray, 0.52..1.62 MHz band, 455 kHz IF): through the strict core, and as
// plain double arithmetic without any checks as the floor to compare it with.
// Beside them the three-point design with a padder for the same input circuit,
// and the bandspread design for the same band, whose times are compared with
// the first, and the selectivity figures of the padder design's three curves.

#include "Bandspread.h"
#include "CalculationState.h"
#include "NumberText.h"
#include "OutputRecorder.h"
#include "PadderFit.h"
#include "Selectivity.h"
#include "ThreePointTracking.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"
#include "WorkedExample.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace {

using kalibrix::kSweepSteps;
using kalibrix::SweepTable;

using kalibrix::test::OutputRecorder;

// The worked example's six inputs, stored as the input fields store them.
kalibrix::CalculationState WorkedExampleInputs()
{
    kalibrix::CalculationState s;
    kalibrix::test::worked_example::Enter(s);
    return s;
}

// cppcheck-suppress constParameterCallback ; the range-for over the state is not const
void BM_CoreCalculation(benchmark::State& bench)
{
    const kalibrix::CalculationState inputs = WorkedExampleInputs();
    kalibrix::TrackingCalculator calc;
    OutputRecorder sink;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(inputs);
        calc.state = inputs;
        sink.log.clear();
        kalibrix::SolveTracking(calc, sink);
        benchmark::DoNotOptimize(sink.log.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CoreCalculation);

// The same steps in plain doubles.
constexpr double K = 39.4784176043573;

double PlainHundredths(double x, double scale)
{
    const double y = x * scale;
    double w = std::trunc(y);
    if (y - w > 0.5)
        w += 1.0;
    return w / 100.0;
}

// The same selection sort as kalibrix::sort (a scan to the next smaller
// element, one comparison per element), without the bounds checks.
void PlainSort(SweepTable& list)
{
    const std::size_t n = list.size();
    for (std::size_t i = 0; i < n; ++i) {
        double m = list[i];
        std::size_t k = i;
        for (std::size_t j = i; j < n; ++j) {
            while (j < n && !(list[j] < m))
                ++j;
            if (j == n)
                break;
            m = list[j];
            k = j;
        }
        list[k] = list[i];
        list[i] = m;
    }
}

// The texts in the order of kOutputFieldsInStepOrder.
struct PlainResult {
    SweepTable elt_sorted{};
    SweepTable elt_curve{};
    SweepTable fbe_curve{};
    std::array<std::string, kalibrix::kOutputFieldCount> texts;
};

void PlainCalculation(const kalibrix::CalculationState& in, PlainResult& r)
{
    const std::string_view sep = ".";
    const double f_min = in.f_min, f_max = in.f_max, f_kf = in.f_kf;
    const double C_h_min = in.C_h_min, C_h_max = in.C_h_max, C_sz = in.C_sz;

    const double delta = (f_max - f_min) / 6.85;
    const double k_f = f_max / f_min;
    const double k_f2 = k_f * k_f;
    const double C_tb = ((C_h_max + C_sz) - (C_sz + C_h_min) * k_f2) / (k_f2 - 1.0);
    r.texts[0] = kalibrix::FormatFixed(PlainHundredths(C_tb, 1e14), 2, sep);
    const double L_b = 1.0 / (f_max * f_max * K * ((C_sz + C_h_min) + C_tb));
    r.texts[1] = kalibrix::FormatFixed(PlainHundredths(L_b, 1e8), 2, sep);
    const double f_h1 = delta + f_min;
    const double f_h2 = f_max - delta;
    r.texts[2] = kalibrix::FormatFixed(f_h1 / kalibrix::kHertzPerMegahertz, 3, sep);
    r.texts[3] = kalibrix::FormatFixed(f_h2 / kalibrix::kHertzPerMegahertz, 3, sep);
    const double f_osz1 = f_h1 + f_kf;
    const double f_osz2 = f_h2 + f_kf;
    const double ratio = f_osz2 / f_osz1;
    const double ko2 = ratio * ratio;
    const double C_hp1 = 1.0 / (L_b * K * f_h1 * f_h1) - (C_tb + C_sz);
    const double C_hp2 = 1.0 / (L_b * K * f_h2 * f_h2) - (C_tb + C_sz);
    const double C_osz = (C_hp1 - C_hp2 * ko2) / (ko2 - 1.0);
    r.texts[4] = kalibrix::FormatFixed(PlainHundredths(C_osz - C_sz, 1e14), 2, sep);
    r.texts[5] = kalibrix::FormatFixed(PlainHundredths(C_hp1, 1e14), 2, sep);
    r.texts[6] = kalibrix::FormatFixed(PlainHundredths(C_hp2, 1e14), 2, sep);
    const double L_o = 1.0 / (f_osz1 * f_osz1 * K * (C_osz + C_hp1));
    r.texts[7] = kalibrix::FormatFixed(PlainHundredths(L_o, 1e8), 2, sep);

    const double a = 1.0 - f_min / f_max;
    const double S = C_tb + C_h_min + C_sz;
    for (int i = 0; i < kSweepSteps; ++i) {
        const double u = 1.0 - (1.0 / 499.0) * i * a;
        const double C_be = S / (u * u);
        const double C_o = C_be - C_tb - C_sz + C_osz;
        const double f_osz = std::sqrt(1.0 / (C_o * K * L_o));
        const double f_be = std::sqrt(1.0 / (C_be * K * L_b));
        const auto slot = static_cast<std::size_t>(i);
        r.fbe_curve[slot] = f_be;
        const double shown = kalibrix::RoundAsShown2((f_osz - f_kf) - f_be);
        r.elt_sorted[slot] = shown;
        r.elt_curve[slot] = shown;
    }
    PlainSort(r.elt_sorted);
    r.texts[8] = kalibrix::FormatGeneral(r.elt_sorted.front(), sep);
    r.texts[9] = kalibrix::FormatGeneral(r.elt_sorted.back(), sep);
}

// Whether the floor computes what the core computes: the same ten texts and
// the same three tables, bit for bit.
bool FloorMatchesCore(const kalibrix::CalculationState& inputs)
{
    kalibrix::TrackingCalculator calc;
    calc.state = inputs;
    OutputRecorder sink;
    kalibrix::SolveTracking(calc, sink);
    PlainResult plain;
    PlainCalculation(inputs, plain);
    for (std::size_t i = 0; i < plain.texts.size(); ++i)
        if (plain.texts[i] != sink.text(kalibrix::kOutputFieldsInStepOrder[i]))
            return false;
    return plain.elt_sorted == calc.state.elt_sorted && plain.elt_curve == calc.state.elt_curve
           && plain.fbe_curve == calc.state.fbe_curve;
}

void BM_PlainCalculation(benchmark::State& bench)
{
    const kalibrix::CalculationState inputs = WorkedExampleInputs();
    if (!FloorMatchesCore(inputs)) {
        bench.SkipWithError("the plain floor no longer computes what the core computes");
        return;
    }
    PlainResult result;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(inputs);
        PlainCalculation(inputs, result);
        benchmark::DoNotOptimize(result.texts.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainCalculation);

// The padder design as the window makes it for the largest usable Q: the
// placement search, the exact sweep and both standard-value alignments.
// cppcheck-suppress constParameterCallback ; the range-for over the state is not const
void BM_PadderDesign(benchmark::State& bench)
{
    kalibrix::TrackingCalculator calc;
    calc.state = WorkedExampleInputs();
    OutputRecorder sink;
    kalibrix::SolveTracking(calc, sink);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(calc.state);
        const kalibrix::ThreePointDesign design =
            kalibrix::DesignThreePoint(calc.state, kalibrix::PointPlacement::LargestUsableQ);
        benchmark::DoNotOptimize(design.curve.deviation.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PadderDesign);

// The whole padder design as the window makes it with a padder of the
// builder's own (556 pF): the design, the best alignment of E12, E24 and the
// own value, both parallel pairs and the tolerance band. It must stay within
// 40 times BM_CoreCalculation.
// cppcheck-suppress constParameterCallback ; the range-for over the state is not const
void BM_PadderDesignWithChoices(benchmark::State& bench)
{
    kalibrix::TrackingCalculator calc;
    calc.state = WorkedExampleInputs();
    OutputRecorder sink;
    kalibrix::SolveTracking(calc, sink);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(calc.state);
        const kalibrix::ThreePointDesign design =
            kalibrix::DesignThreePoint(calc.state, kalibrix::PointPlacement::LargestUsableQ);
        const kalibrix::PadderChoices choices =
            kalibrix::FitPadders(calc.state, design, 556.0 * kalibrix::kFaradPerPicofarad);
        benchmark::DoNotOptimize(choices.tolerance->lowest.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PadderDesignWithChoices);

// The bandspread design for a 300 µH coil (the range is 172.183..447.233 µH):
// the range, the input circuit, the oscillator as above, and the input
// circuit re-set for the E12 and E24 series capacitors. It must stay within
// 40 times BM_CoreCalculation.
// cppcheck-suppress constParameterCallback ; the range-for over the state is not const
void BM_BandspreadDesign(benchmark::State& bench)
{
    kalibrix::TrackingCalculator calc;
    calc.state = WorkedExampleInputs();
    OutputRecorder sink;
    kalibrix::SolveTracking(calc, sink);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(calc.state);
        const kalibrix::BandspreadDesign design =
            kalibrix::DesignBandspread(calc.state, "300", kalibrix::PointPlacement::LargestUsableQ);
        benchmark::DoNotOptimize(design.oscillator.curve.deviation.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BandspreadDesign);

// The image and IF rejection and the loss of the two-point, three-point and
// E24 curves at Q 50 with three circuits, as the padder window shows them
// after each design.
// cppcheck-suppress constParameterCallback ; the range-for over the state is not const
void BM_SelectivityFigures(benchmark::State& bench)
{
    kalibrix::TrackingCalculator calc;
    calc.state = WorkedExampleInputs();
    OutputRecorder sink;
    kalibrix::SolveTracking(calc, sink);
    const kalibrix::CalculationState& s = calc.state;
    const kalibrix::ThreePointDesign design =
        kalibrix::DesignThreePoint(s, kalibrix::PointPlacement::LargestUsableQ);
    for (auto _ : bench) {
        for (const SweepTable* curve :
             {&s.elt_curve, &design.curve.deviation, &design.e24.curve.deviation}) {
            const kalibrix::SelectivityFigures figures =
                kalibrix::FiguresOfSelectivity(50.0, 3, s.f_kf, s.fbe_curve, *curve);
            benchmark::DoNotOptimize(figures.imageCurve.data());
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SelectivityFigures);

} // namespace
