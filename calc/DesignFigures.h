// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"

#include <optional>
#include <vector>

namespace kalibrix {

// One step of the deviation sweep: the deviation as the window shows it and
// the input circuit's own frequency there.
struct SweepPoint {
    int step = 0;
    double deviation = 0.0; // Hz, (f_osz - f_kf) - f_be, two decimals
    double frequency = 0.0; // Hz, f_be
};

// The components shown in pF, by their captions: Cp_b (C_tb), Cp_o
// (C_osz - C_sz) and Ch at the two tracking points (C_hp1, C_hp2).
enum class Component { Cp_b, Cp_o, Ch1, Ch2 };

struct NegativeComponent {
    Component component;
    double picofarad; // as the window shows it, below zero
};

// What a finished design promises: its extreme deviations, its relative
// mistuning, and the input-circuit Q that mistuning allows (see QLimit).
struct DesignFigures {
    SweepPoint highest;                        // the largest deviation, whatever its sign
    SweepPoint lowest;                         // the smallest deviation, whatever its sign
    std::optional<SweepPoint> largestPositive; // highest, when it is above zero
    std::optional<SweepPoint> largestNegative; // lowest, when it is below zero
    // Where |d_i| / f_i peaks, and that ratio; none and 0 when every
    // deviation is zero.
    std::optional<SweepPoint> worstRelative;
    double largestRelative = 0.0;
    // The smallest QLimit over the sweep, and where it is reached; none when
    // mistuning sets no limit.
    std::optional<double> usableQ;
    std::optional<SweepPoint> limitingPoint;
    std::optional<double> statedQ;            // usableQ rounded down to two significant digits
    std::vector<NegativeComponent> negatives; // in the order Cp_b, Cp_o, Ch1, Ch2
};

// The largest Q of an input circuit tuned to f (Hz) that passes a signal at
// f + d within 3 dB. A parallel tuned circuit passes it at
// 1 / sqrt(1 + Q^2 (x - 1/x)^2) of its peak, x = (f + d) / f, so the limit is
// Q = 1 / |x - 1/x| (about f / (2 |d|) while d is much smaller than f). None
// for d = 0, which sets no limit; 0 for a signal at or below zero frequency,
// which no tuned circuit passes.
std::optional<double> QLimit(double frequency, double deviation);

// The narrow-band approximation of QLimit, f / (2 |d|) (f and d in Hz): what
// the guide compares the exact rule with. Infinite for d = 0.
double ApproximateQ(double frequency, double deviation);

// The usable Q over a sweep: the smallest QLimit(frequency[i], deviation[i])
// over the 500 steps and the first step that reaches it, and that Q stated
// (rounded down to two significant digits). No Q and step -1 when no step
// limits it.
struct UsableQ {
    std::optional<double> usable;
    std::optional<double> stated;
    int step = -1;
};
UsableQ UsableQOverSweep(const SweepTable& frequency, const SweepTable& deviation);

// The components that the main window shows below zero, in the order Cp_b,
// Cp_o, Ch1, Ch2, each rounded to 0.01 pF as shown. Reads C_tb, C_osz, C_sz,
// C_hp1 and C_hp2 of a run that showed them. Cp_b below zero means that the
// gang with the stray cannot span the band: no input circuit can be built.
std::vector<NegativeComponent> NegativeComponents(const CalculationState& s);
bool InputTrimmerNegative(const CalculationState& s);

// The figures of the design in the state, read from the tables that the last
// sweep filled; none unless that sweep ran through all 500 steps (sweep_i is
// 500 then, and the step that failed otherwise). Among equal extremes the
// first step, the highest in frequency, is named. A later run that fails
// before its sweep leaves sweep_i at 500 with new solver members beside the
// old tables: only the caller knows whether the last run got that far.
std::optional<DesignFigures> FiguresOfDesign(const CalculationState& s);

// x > 0 rounded toward zero to two significant digits of its shortest decimal
// form (3.486 gives 3.4, 559.7 gives 550, 0.29 stays 0.29): a Q stated so is
// never above the true one. Other values come back unchanged.
double RoundDownToTwoSignificant(double x);

} // namespace kalibrix
