#pragma once

#include "CalculationState.h"

#include <array>
#include <optional>
#include <stdexcept>

namespace kalibrix {

// Where the three tracking points go: where the usable Q of the input circuit
// is largest (the relative error |x - 1/x| equal at its four extremes), where
// the largest deviation in Hz is smallest (equal ripple in Hz), or at three
// frequencies the user chose.
enum class PointPlacement { LargestUsableQ, SmallestDeviation, OwnPoints };

// The oscillator with a padder: L_o across (C_h + C_t), the gang section C_h
// with the trimmer C_to and the stray C_sz in parallel (C_t = C_to + C_sz),
// and that combination in series with the padder C_p. The trimmer sits across
// the gang section: at the top of the band, where the gang capacitance is
// small, it sets the frequency, and at the bottom the padder does, so the two
// adjustments hardly disturb each other during alignment.
struct PadderOscillator {
    double L_o = 0.0;  // H
    double C_p = 0.0;  // F, the padder
    double C_to = 0.0; // F, the oscillator trimmer alone (C_t - C_sz)
};

// One oscillator swept against the input circuit (L_b, C_tb) at the same 500
// steps as the two-point design (step 0 at f_max, step 499 at f_min), with the
// same deviation (f_osz - f_kf) - f_be rounded to 0.01 Hz as that one is, so
// that the two curves compare step by step.
struct PadderCurve {
    SweepTable deviation{};        // Hz, per step, in sweep order
    double largestPositive = 0.0;  // Hz, the largest value of the table
    double largestNegative = 0.0;  // Hz, the smallest value of the table
    std::optional<double> usableQ; // smallest QLimit(f_be, d) over the steps; none: no limit
    std::optional<double> statedQ; // usableQ rounded down to two significant digits
};

// A padder of a standard value with the coil and the trimmer re-set so that
// the oscillator tracks exactly at F1 and F3, as a builder aligns a fixed
// padder: the coil's core at the low point, the trimmer at the high one.
struct StandardPadder {
    double nominal = 0.0; // F, the series value nearest on a log scale
    PadderOscillator oscillator;
    PadderCurve curve;
    // The alignment needs a trimmer below zero (C_t below the stray C_sz):
    // this padder cannot be aligned at F1 and F3 as built.
    bool trimmerNegative = false;
    // No coil and trimmer align this padder at F1 and F3 within double
    // arithmetic (no positive solution, a non-finite value, or one that does
    // not track when substituted back). Only `nominal` holds a value then;
    // `oscillator` and `curve` are left empty.
    bool alignmentFailed = false;

    // Whether the row's oscillator and curve describe a padder as built.
    bool Aligned() const { return !trimmerNegative && !alignmentFailed; }
};

struct ThreePointDesign {
    PointPlacement placement = PointPlacement::LargestUsableQ;
    // The placement search reached its goal: the four peaks of its measure
    // equal within kPlacementTolerance. False when it stopped early (a
    // singular step, no improvement, or its iteration limit), and `f` holds
    // the last points it tried, a valid design but not the named optimum.
    // Always true for OwnPoints.
    bool converged = true;
    std::array<double, 3> f{};   // Hz, F1 < F2 < F3
    std::array<double, 3> C_h{}; // F, the gang capacitance at each point
    PadderOscillator oscillator;
    PadderCurve curve;
    StandardPadder e12;
    StandardPadder e24;
};

// The largest difference of the natural logarithms of the four peaks at
// which a placement search counts as converged: the peaks agree within
// 0.1 %. The optimum's largest error lies between the smallest and the
// largest peak, so the design's usable Q is then within 0.1 % of the optimum,
// well below the step of its statement to two significant digits (1 % to 10 %).
inline constexpr double kPlacementTolerance = 1e-3;

// Why no three-point design is made, checked in this order: the band and the
// IF first, then the input circuit, then the own points, then the design.
enum class ThreePointFailure {
    BandEdgesSwapped,                 // f_min above f_max
    LowerEdgeNotPositive,             // f_min <= 0: no circuit tunes to zero or below
    IntermediateFrequencyNotPositive, // f_kf <= 0: no padder exists
    InputTrimmerNegative,             // the input circuit's Cp_b, as shown, is below zero
    PointOutsideBand,                 // `point` (0, 1, 2 for F1, F2, F3) lies outside f_min..f_max
    PointsNotRising,                  // F(point) >= F(point + 1)
    PointsTooClose,                   // F(point + 1) - F(point) below one sweep step
    NegativeTrimmer,                  // the oscillator trimmer comes out negative
    NonFinite,   // a value is not finite, or the padder or the coil is not positive
    FailedCheck, // substituting back does not reproduce the three points
};

class ThreePointError : public std::runtime_error {
public:
    explicit ThreePointError(ThreePointFailure failure, int point = -1);
    ThreePointFailure failure() const;
    int point() const; // for PointOutsideBand, PointsNotRising and PointsTooClose, else -1

private:
    ThreePointFailure failure_;
    int point_;
};

// The width (Hz) of one sweep step, (f_max - f_min) / 499: the closest that
// two tracking points may lie, own points included. Closer points make the
// oscillator's parts differences of nearly equal numbers, set by rounding.
double SweepStepWidth(const CalculationState& s);

// The three-point design for the input circuit of a two-point calculation
// that completed its sweep: reads f_min, f_max, f_kf, C_h_min, C_sz, L_b,
// C_tb and the solver's components shown (for Cp_b) of `s`. `ownPoints` (Hz)
// is read only for PointPlacement::OwnPoints. Throws ThreePointError and
// nothing else. A standard padder that cannot be aligned marks its own row
// and leaves the design.
ThreePointDesign DesignThreePoint(const CalculationState& s, PointPlacement placement,
                                  const std::array<double, 3>& ownPoints = {});

// The E12 or E24 value nearest to `capacitance` (F) on a log scale, over the
// decades (for E12: ..., 390 pF, 470 pF, 560 pF, ...).
enum class StandardSeries { E12, E24 };
double NearestStandardValue(double capacitance, StandardSeries series);

} // namespace kalibrix
