// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"

#include <string>

namespace kalibrix {

// 4*pi^2 as a decimal literal rather than computed from pi: every result
// shown and every saved file has been computed with this value, and a
// different last digit would change shown values at their rounding edge.
inline constexpr double K = 39.4784176043573;

// The calculation state (inputs in SI units, the solver's results, the three
// sweep tables and the sweep counter) with the decimal separator its texts
// use, and the seven operations that hold every circuit formula and every
// number-to-text conversion of the calculation. Every floating-point result is
// tested at once; failures are thrown as the typed errors of Errors.h.
class TrackingCalculator {
public:
    CalculationState state;
    std::string decimalSeparator = ".";

    // Tuning capacitance C_h (F) that tunes the input circuit to f (Hz):
    // 1 / (L_b * K * f * f) - (C_tb + C_sz). Negative above the circuit's
    // frequency with no tuning capacitance at all.
    double CapacitanceForFrequency(double f) const;

    // Value in pF (from F) or uH (from H) with two decimals; positive values
    // round to the nearest hundredth with an exact half going down, negative
    // ones are cut toward zero. Only a remainder strictly above one half
    // rounds up, so that the shown values stay those of earlier saved files.
    static double RoundToPicofarad(double x);
    static double RoundToMicrohenry(double x);

    // f (Hz) in MHz under the pattern "##0.##0".
    std::string FormatMegahertz(double f) const;
    // x under the pattern "######0.#0".
    std::string FormatValue(double x) const;

    // Whole input-circuit capacitance (F) at sweep step i (0..499), at which
    // the input circuit resonates at f_max - i * (f_max - f_min) / 499.
    double SweepCapacitance(double i) const;

    // Deviation (f_osz - f_kf) - f_be in Hz for a whole input-circuit
    // capacitance C_be (F); stores f_be into fbe_curve[sweep_i].
    double TrackingDeviation(double C_be);
};

} // namespace kalibrix
