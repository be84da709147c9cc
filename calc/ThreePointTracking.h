#pragma once

#include "CalculationState.h"

#include <array>
#include <optional>
#include <stdexcept>

namespace kalibrix {

// Where the three tracking points go.
enum class PointPlacement { LargestUsableQ, SmallestDeviation, OwnPoints };

// The oscillator with a padder: L_o across (C_h + C_t), the gang section C_h
// with the trimmer C_to and the stray C_sz in parallel (C_t = C_to + C_sz),
// and that combination in series with the padder C_p.
struct PadderOscillator {
    double L_o = 0.0;  // H
    double C_p = 0.0;  // F, the padder
    double C_to = 0.0; // F, the oscillator trimmer alone (C_t - C_sz)
};

// One oscillator swept against the two-point input circuit (L_b, C_tb): the
// same 500 steps as the main sweep (step 0 at f_max, step 499 at f_min), the
// same deviation (f_osz - f_kf) - f_be, rounded to 0.01 Hz.
struct PadderCurve {
    SweepTable deviation{};        // Hz, per step, in sweep order
    double largestPositive = 0.0;  // Hz, the largest value of the table
    double largestNegative = 0.0;  // Hz, the smallest value of the table
    std::optional<double> usableQ; // smallest QLimit(f_be, d) over the steps; none: no limit
    std::optional<double> statedQ; // usableQ rounded down to two significant digits
};

// A padder of a standard value, with the coil and the trimmer re-set so that
// the oscillator tracks exactly at F1 (the coil) and F3 (the trimmer).
struct StandardPadder {
    double nominal = 0.0; // F, the series value nearest on a log scale
    PadderOscillator oscillator;
    PadderCurve curve;
};

struct ThreePointDesign {
    PointPlacement placement = PointPlacement::LargestUsableQ;
    std::array<double, 3> f{};   // Hz, F1 < F2 < F3
    std::array<double, 3> C_h{}; // F, the gang capacitance at each point
    PadderOscillator oscillator;
    PadderCurve curve;
    StandardPadder e12;
    StandardPadder e24;
};

enum class ThreePointFailure {
    PointOutsideBand, // `point` (0, 1, 2 for F1, F2, F3) lies outside f_min..f_max
    PointsNotRising,  // F(point) >= F(point + 1)
    NegativeTrimmer,  // the oscillator trimmer comes out negative
    NonFinite,        // a value of the design is not finite
    FailedCheck,      // substituting back does not reproduce the three points
};

class ThreePointError : public std::runtime_error {
public:
    ThreePointError(ThreePointFailure failure, int point = -1);
    ThreePointFailure failure() const;
    int point() const; // for PointOutsideBand and PointsNotRising, else -1

private:
    ThreePointFailure failure_;
    int point_;
};

// The three-point design for the input circuit of a two-point calculation
// that completed its sweep. `ownPoints` (Hz) is read only for OwnPoints.
// Throws ThreePointError only.
ThreePointDesign DesignThreePoint(const CalculationState& s, PointPlacement placement,
                                  const std::array<double, 3>& ownPoints = {});

} // namespace kalibrix
