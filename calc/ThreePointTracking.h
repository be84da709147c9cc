// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace kalibrix {

class TrackingCalculator;

// Where the three tracking points go: where the usable Q of the input circuit
// is largest (the relative error |x - 1/x| equal at its four extremes), where
// the largest deviation in Hz is smallest (equal ripple in Hz), or at three
// frequencies the user chose.
enum class PointPlacement { LargestUsableQ, SmallestDeviation, OwnPoints };

// The oscillator with a padder: L_o across the stray C_sz, where it sits (the
// coil's own capacitance, the active device's input, the wiring at the hot
// end), and across the gang section C_h with the trimmer C_to in parallel, in
// series with the padder C_p. The trimmer sits across the gang section: at
// the top of the band, where the gang capacitance is small, it sets the
// frequency, and at the bottom the padder does, so the two adjustments hardly
// disturb each other during alignment.
struct PadderOscillator {
    double L_o = 0.0;  // H
    double C_p = 0.0;  // F, the padder
    double C_to = 0.0; // F, the oscillator trimmer
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

// A padder of a fixed value (a standard one, a pair, or the builder's own)
// with the coil and the trimmer set at the two alignment points that give its
// largest usable Q: the coil's core at A1, the trimmer at A2.
struct StandardPadder {
    double nominal = 0.0; // F, the padder's value
    PadderOscillator oscillator;
    PadderCurve curve;
    std::array<double, 2> alignment{}; // Hz, A1 < A2
    // Where the alignment is checked (Hz): the curve's third tracking point
    // (`tracksAtCheck`), or else the band's middle with the deviation expected
    // there (Hz, as shown: two decimals; zero at a tracking point).
    double checkPoint = 0.0;
    double checkDeviation = 0.0;
    bool tracksAtCheck = false;
    // Which way the padder mends an oscillator that runs high at the check
    // point (a deviation above the expected one) once coil and trimmer are
    // re-set at A1 and A2: true to increase it.
    bool increaseWhenHigh = false;
    // The alignment needs a trimmer below zero: this padder cannot be aligned
    // as built.
    bool trimmerNegative = false;
    // No coil and trimmer align this padder within double arithmetic (no
    // positive solution, a non-finite value, or one that does not track when
    // substituted back). Only `nominal` holds a value then; `oscillator` and
    // `curve` are left empty.
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

// The input circuit at the 500 sweep steps with the arithmetic of the
// two-point sweep: the gang capacitance C_h = C_be - C_tb - C_sz for the whole
// circuit capacitance C_be, and the frequency f_be.
struct InputSweep {
    SweepTable C_h{};  // F
    SweepTable f_be{}; // Hz
};
InputSweep SweepInputCircuit(const TrackingCalculator& calc);

// The oscillator frequency (Hz) at gang capacitance C_h (F): L_o across C_sz
// and across the series of (C_h + C_to) and C_p.
double OscillatorFrequency(const PadderOscillator& o, double C_h, double C_sz);

// The padder C_p (F) with the coil and the trimmer set so that the oscillator
// tracks the input circuit of `calc` at A1 and A2 (Hz). Throws ThreePointError
// or CalculationError when no positive coil does; a negative trimmer is
// returned as it comes.
PadderOscillator AlignFixedPadder(const TrackingCalculator& calc, double C_p, double A1, double A2);
// `o` swept against the input circuit `in` of `s`.
PadderCurve SweepPadder(const PadderOscillator& o, const InputSweep& in, const CalculationState& s);

// The width (Hz) of one sweep step, (f_max - f_min) / 499: the closest that
// two tracking points may lie, own points included. Closer points make the
// oscillator's parts differences of nearly equal numbers, set by rounding.
double SweepStepWidth(const CalculationState& s);

// The checks on the band and the IF and on the two-point design's input
// circuit that every three-point design makes first, in the order of
// ThreePointFailure: throws ThreePointError for the first that fails.
void CheckThreePointInputs(const CalculationState& s);

// The three-point design for the input circuit of a two-point calculation
// that completed its sweep: reads f_min, f_max, f_kf, C_h_min, C_sz, L_b,
// C_tb and the solver's components shown (for Cp_b) of `s`. `ownPoints` (Hz)
// is read only for PointPlacement::OwnPoints. Throws ThreePointError and
// nothing else. A standard padder that cannot be aligned marks its own row
// and leaves the design.
ThreePointDesign DesignThreePoint(const CalculationState& s, PointPlacement placement,
                                  const std::array<double, 3>& ownPoints = {});

// An input circuit other than the two-point design's own, as an oscillator
// tracks it: the gang capacitance C_h (F) at which it tunes to f (Hz). It may
// throw CalculationError.
using GangCapacitanceAt = std::function<double(double)>;

// The input circuits of a three-point design: the one its oscillator is
// designed against, and the same circuit built with standard parts, against
// which the E12 and the E24 padder are aligned.
struct TrackedInputCircuits {
    GangCapacitanceAt design;
    GangCapacitanceAt e12;
    GangCapacitanceAt e24;
};

// The three-point design against other input circuits, swept at the same 500
// frequencies as the two-point design, from f_max down to f_min. Checks the
// state as the design above does; throws ThreePointError and nothing else.
ThreePointDesign DesignThreePoint(const CalculationState& s, const TrackedInputCircuits& inputs,
                                  PointPlacement placement,
                                  const std::array<double, 3>& ownPoints = {});

// A tank of the oscillator's form, the coil across C_sz and across
// (C_h + C_par) in series with C_ser, with C_ser fixed: the coil and C_par
// that tune it to f1 (Hz) at gang capacitance x1 and to f3 above f1 at x3
// (F), checked by substitution. Returned as {coil, C_ser, C_par}. Throws
// ThreePointError (NonFinite, FailedCheck).
PadderOscillator AlignSeriesTank(double x1, double f1, double x3, double f3, double C_ser,
                                 double C_sz);

// The frequency (Hz) of such a tank at gang capacitance C_h (F); throws
// ThreePointError (NonFinite).
double SeriesTankFrequency(const PadderOscillator& tank, double C_h, double C_sz);

// The E12 or E24 value nearest to `capacitance` (F) on a log scale, over the
// decades (for E12: ..., 390 pF, 470 pF, 560 pF, ...).
enum class StandardSeries { E12, E24 };
double NearestStandardValue(double capacitance, StandardSeries series);
// The values of the series from 10 pF up that lie within [from, to] (F), rising.
std::vector<double> StandardValues(StandardSeries series, double from, double to);

} // namespace kalibrix
