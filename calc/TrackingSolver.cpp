// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrackingSolver.h"

#include "NumberText.h"
#include "StrictMath.h"
#include "TrackingCalculator.h"

namespace kalibrix {

// Steps that store their result before testing it (C_tb, L_b, f_h1/f_h2, L_o)
// leave the non-finite value in the state when they fail; all others test
// first and leave the previous value. The difference is observable (a failure
// in the L_b step leaves L_b non-zero, which the graph reads as "results
// exist"), so each step keeps its own order.
void SolveTracking(TrackingCalculator& calc, OutputSink& out)
{
    using namespace strict;
    CalculationState& s = calc.state;

    const double delta = div(sub(s.f_max, s.f_min), kTrackingPointInsetDivisor);

    s.k_f = div(s.f_max, s.f_min);
    s.k_f2 = square(s.k_f);

    // (C_h_max + C_sz + C_tb) = k_f2 * (C_h_min + C_sz + C_tb): with the trimmer
    // in parallel the capacitor's range spans the band's frequency ratio.
    const double tbNumerator = sub(add(s.C_h_max, s.C_sz), mul(add(s.C_sz, s.C_h_min), s.k_f2));
    const double tbDenominator = sub(s.k_f2, 1.0);
    s.C_tb = rawQuotient(tbNumerator, tbDenominator);
    verifyQuotient(tbNumerator, tbDenominator, s.C_tb);
    out.ShowOutput(OutputField::c_tb,
                   calc.FormatValue(TrackingCalculator::RoundToPicofarad(s.C_tb)));

    // L_b = 1 / (f_max^2 * 4pi^2 * C): the capacitor's minimum tunes to f_max.
    const double lbDenominator = mul(mul(square(s.f_max), K), add(add(s.C_sz, s.C_h_min), s.C_tb));
    s.L_b = rawQuotient(1.0, lbDenominator);
    verifyQuotient(1.0, lbDenominator, s.L_b);
    out.ShowOutput(OutputField::l_b,
                   calc.FormatValue(TrackingCalculator::RoundToMicrohenry(s.L_b)));

    s.f_h1 = delta + s.f_min;
    verify(s.f_h1);
    s.f_h2 = s.f_max - delta;
    verify(s.f_h2);
    out.ShowOutput(OutputField::f_1, calc.FormatMegahertz(s.f_h1));
    out.ShowOutput(OutputField::f_2, calc.FormatMegahertz(s.f_h2));

    s.f_osz1 = add(s.f_h1, s.f_kf);
    s.f_osz2 = add(s.f_h2, s.f_kf);
    const double ko2 = square(div(s.f_osz2, s.f_osz1));

    s.C_hp1 = calc.CapacitanceForFrequency(s.f_h1);
    s.C_hp2 = calc.CapacitanceForFrequency(s.f_h2);

    // (C_hp1 + C_osz) = ko2 * (C_hp2 + C_osz): with the same tuning
    // capacitances the oscillator keeps the ratio f_osz1 : f_osz2.
    s.C_osz = div(sub(s.C_hp1, mul(s.C_hp2, ko2)), sub(ko2, 1.0));
    const double C_to = sub(s.C_osz, s.C_sz);
    out.ShowOutput(OutputField::c_to, calc.FormatValue(TrackingCalculator::RoundToPicofarad(C_to)));
    out.ShowOutput(OutputField::c_1,
                   calc.FormatValue(TrackingCalculator::RoundToPicofarad(s.C_hp1)));
    out.ShowOutput(OutputField::c_2,
                   calc.FormatValue(TrackingCalculator::RoundToPicofarad(s.C_hp2)));

    // The oscillator resonates at f_osz1 with C_hp1, hence at f_osz2 with C_hp2.
    const double loDenominator = mul(mul(square(s.f_osz1), K), add(s.C_osz, s.C_hp1));
    s.L_o = rawQuotient(1.0, loDenominator);
    verifyQuotient(1.0, loDenominator, s.L_o);
    out.ShowOutput(OutputField::l_o,
                   calc.FormatValue(TrackingCalculator::RoundToMicrohenry(s.L_o)));

    RunDeviationSweep(calc, out);
}

void RunDeviationSweep(TrackingCalculator& calc, OutputSink& out)
{
    CalculationState& s = calc.state;
    // sweep_i is part of the state: TrackingDeviation files f_be under it.
    for (s.sweep_i = 0; s.sweep_i <= kSweepSteps - 1; ++s.sweep_i) {
        const double C = calc.SweepCapacitance(static_cast<double>(s.sweep_i));
        // Both tables hold the deviation exactly as the window shows it.
        const double shown = RoundAsShown2(calc.TrackingDeviation(C));
        TableAt(s.elt_sorted, s.sweep_i) = shown;
        TableAt(s.elt_curve, s.sweep_i) = shown;
    }
    kalibrix::sort(s.elt_sorted);
    out.ShowOutput(OutputField::n_elt,
                   FormatGeneral(TableAt(s.elt_sorted, 0), calc.decimalSeparator));
    out.ShowOutput(OutputField::p_elt,
                   FormatGeneral(TableAt(s.elt_sorted, kSweepSteps - 1), calc.decimalSeparator));
}

void sort(SweepTable& List)
{
    constexpr long last = kSweepSteps - 1;
    for (long i = 0; i <= last; ++i) {
        double m = TableAt(List, i);
        long k = i;
        // Scan i..last for the first smallest element. Written as a scan to the
        // next smaller element, so that each comparison is a loop exit the
        // processor predicts well instead of a chain of dependent min/cmov
        // instructions; the comparisons made are the same, one per element.
        for (long j = i; j <= last; ++j) {
            while (j <= last && !(TableAt(List, j) < m))
                ++j;
            if (j > last)
                break;
            m = TableAt(List, j);
            k = j;
        }
        TableAt(List, k) = TableAt(List, i);
        TableAt(List, i) = m;
    }
}

} // namespace kalibrix
