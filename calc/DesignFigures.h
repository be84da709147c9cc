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
// mistuning, and the input-circuit Q that mistuning allows.
//
// A single tuned circuit of quality Q passes a signal Δf off its tuning f at
// 1 / sqrt(1 + (2 Q Δf / f)^2) of its peak (for Δf much smaller than f), 3 dB
// down where Δf = f / (2 Q). A deviation d_i at f_i therefore costs at most
// 3 dB as long as Q <= f_i / (2 |d_i|); the smallest of these over the band is
// the usable Q, 1 / (2 * largestRelative).
struct DesignFigures {
    SweepPoint highest;                        // the largest deviation, whatever its sign
    SweepPoint lowest;                         // the smallest deviation, whatever its sign
    std::optional<SweepPoint> largestPositive; // highest, when it is above zero
    std::optional<SweepPoint> largestNegative; // lowest, when it is below zero
    // Where |d_i| / f_i peaks, and that ratio; none and 0 when every
    // deviation is zero.
    std::optional<SweepPoint> worstRelative;
    double largestRelative = 0.0;
    std::optional<double> usableQ;            // none when mistuning sets no limit
    std::optional<double> usableQSafe;        // usableQ rounded down to two significant digits
    std::vector<NegativeComponent> negatives; // in the order Cp_b, Cp_o, Ch1, Ch2
};

// The figures of the design in the state, read from the tables that the last
// sweep filled; none unless that sweep ran through all 500 steps (sweep_i is
// 500 then, and the step that failed otherwise). Among equal extremes the
// first step, the highest in frequency, is named. A later run that fails
// before its sweep leaves sweep_i at 500 with new solver members beside the
// old tables: only the caller knows whether the last run got that far.
std::optional<DesignFigures> FiguresOfDesign(const CalculationState& s);

// x > 0 rounded toward zero to two significant digits (3.486 gives 3.4, 559.7
// gives 550, 0.0347 gives 0.034): a Q stated so is never above the true one.
double RoundDownToTwoSignificant(double x);

} // namespace kalibrix
