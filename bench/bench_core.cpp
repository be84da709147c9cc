// One whole calculation of the worked example (12..500 pF capacitor, 10 pF
// stray, 0.52..1.62 MHz band, 455 kHz IF): through the strict core, and as
// plain double arithmetic without any checks as the floor to compare it with.

#include "CalculationState.h"
#include "NumberText.h"
#include "TrackingCalculator.h"
#include "TrackingSolver.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace {

using kalibrix::kSweepSteps;
using kalibrix::SweepTable;

// The six inputs in F and Hz.
struct Inputs {
    double C_h_min = 12e-12;
    double C_h_max = 500e-12;
    double C_sz = 10e-12;
    double f_min = 0.52e6;
    double f_max = 1.62e6;
    double f_kf = 0.455e6;
};

class KeepingSink : public kalibrix::OutputSink {
public:
    void ShowOutput(kalibrix::OutputField field, const std::string& text) override
    {
        texts[static_cast<std::size_t>(field)] = text;
    }
    std::array<std::string, 10> texts;
};

void BM_CoreCalculation(benchmark::State& bench)
{
    Inputs in;
    kalibrix::TrackingCalculator calc;
    KeepingSink sink;
    while (bench.KeepRunning()) {
        benchmark::DoNotOptimize(in);
        kalibrix::CalculationState& s = calc.state;
        s.C_h_min = in.C_h_min;
        s.C_h_max = in.C_h_max;
        s.C_sz = in.C_sz;
        s.f_min = in.f_min;
        s.f_max = in.f_max;
        s.f_kf = in.f_kf;
        kalibrix::SolveTracking(calc, sink);
        benchmark::DoNotOptimize(sink.texts.data());
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

struct PlainResult {
    SweepTable elt_sorted{};
    SweepTable elt_curve{};
    SweepTable fbe_curve{};
    std::array<std::string, 10> texts;
};

void PlainCalculation(const Inputs& in, PlainResult& r)
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
    r.texts[2] = kalibrix::FormatFixed(f_h1 / 1e6, 3, sep);
    r.texts[3] = kalibrix::FormatFixed(f_h2 / 1e6, 3, sep);
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

void BM_PlainCalculation(benchmark::State& bench)
{
    Inputs in;
    PlainResult result;
    while (bench.KeepRunning()) {
        benchmark::DoNotOptimize(in);
        PlainCalculation(in, result);
        benchmark::DoNotOptimize(result.texts.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainCalculation);

} // namespace
