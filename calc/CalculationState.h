// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Errors.h"

#include <array>
#include <cstdint>

namespace kalibrix {

inline constexpr int kSweepSteps = 500;
// The sweep's steps cut the band into this many equal intervals.
inline constexpr int kSweepIntervals = kSweepSteps - 1;

// The units the user types and reads, in the SI units of the state: farad per
// picofarad, hertz per megahertz.
inline constexpr double kFaradPerPicofarad = 1e-12;
inline constexpr double kHertzPerMegahertz = 1e6;
using SweepTable = std::array<double, kSweepSteps>;

// The one record of values that lives between the window's events.
// Inside it everything is in hertz, farad and henry.
struct CalculationState {
    double f_min = 0.0;       // Hz, lower band edge
    double f_max = 0.0;       // Hz, upper band edge
    double f_kf = 0.0;        // Hz, intermediate frequency
    double k_f = 0.0;         // band ratio f_max / f_min
    double C_h_min = 0.0;     // F, tuning capacitor at minimum
    double C_h_max = 0.0;     // F, tuning capacitor at maximum
    double k_f2 = 0.0;        // k_f squared
    double C_sz = 0.0;        // F, stray capacitance
    SweepTable elt_sorted{};  // Hz, deviations sorted ascending after a sweep
    SweepTable elt_curve{};   // Hz, deviations in sweep order (f_max down to f_min)
    SweepTable fbe_curve{};   // Hz, input-circuit frequency at each sweep step
    std::int16_t sweep_i = 0; // sweep step, 500 after a complete sweep
    double C_tb = 0.0;        // F, input-circuit trimmer
    double L_b = 0.0;         // H, input-circuit inductance; zero until results exist
    double f_h1 = 0.0;        // Hz, first tracking point
    double f_h2 = 0.0;        // Hz, second tracking point
    double L_o = 0.0;         // H, oscillator inductance
    double f_osz1 = 0.0;      // Hz, oscillator frequency at f_h1
    double f_osz2 = 0.0;      // Hz, oscillator frequency at f_h2
    double C_hp1 = 0.0;       // F, tuning capacitance at f_h1
    double C_hp2 = 0.0;       // F, tuning capacitance at f_h2
    double C_osz = 0.0;       // F, oscillator's fixed capacitance, trimmer + stray
};

// Bounds-checked access to a sweep table; nothing is read or written when the
// index lies outside 0..499.
inline double& TableAt(SweepTable& table, long index)
{
    if (index < 0 || index >= kSweepSteps)
        throw IndexOutOfRangeError();
    return table[static_cast<std::size_t>(index)];
}

inline double TableAt(const SweepTable& table, long index)
{
    if (index < 0 || index >= kSweepSteps)
        throw IndexOutOfRangeError();
    return table[static_cast<std::size_t>(index)];
}

} // namespace kalibrix
