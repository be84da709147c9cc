// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ThreePointTracking.h"
#include "TrackingCalculator.h"

#include <array>
#include <optional>
#include <vector>

namespace kalibrix {

// A padder of a fixed value fitted to the input circuit of a three-point
// design: the coil and the trimmer set at the two alignment points that give
// the largest usable Q with that value. With the padder fixed, the oscillator
// has two free parts (coil and trimmer), so its best curve equioscillates at
// three extremes and crosses zero at two or three frequencies; aligning at
// any two of them gives it back.
class PadderFitter {
public:
    PadderFitter(const CalculationState& s, const ThreePointDesign& design);

    // The padder C_p (F) at its best alignment, never worse than aligned at
    // the design's F1 and F3. `nominal` is C_p. A padder that neither the
    // search nor F1/F3 aligns is marked `alignmentFailed`.
    StandardPadder Fit(double C_p) const;

    // C_p aligned at the given points (Hz), as a builder aligns a padder whose
    // value differs from the one the points were found for. Throws
    // ThreePointError or CalculationError when no coil and trimmer track there.
    PadderCurve AlignedCurve(double C_p, double A1, double A2) const;

    double IdealPadder() const { return idealC_p_; }

private:
    struct Tank; // the search's plain-double oscillator for one padder value

    std::optional<StandardPadder> Search(double C_p, double D0) const;
    void Describe(StandardPadder& padder) const;
    double DeviationAt(const PadderOscillator& o, double f) const;
    // The largest |ln r| over the sweep, r = (f_osz - f_kf) / f_be, unrounded.
    double LargestMistuning(const PadderOscillator& o) const;

    CalculationState s_;
    TrackingCalculator calc_;
    InputSweep in_;
    std::array<double, 3> f_{}; // Hz, the design's tracking points
    double idealC_p_ = 0.0;     // F, the design's padder
    std::vector<int> coarse_;   // sweep steps of the coarse search
};

// Two standard capacitors in parallel as the padder: `larger` + `smaller`.
struct PadderPair {
    double larger = 0.0;  // F
    double smaller = 0.0; // F
    StandardPadder fit;   // nominal = larger + smaller
};

// The smallest usable Q of a padder off its nominal value by up to
// `tolerance`, each value aligned at the nominal's points.
struct ToleranceQ {
    double tolerance = 0.0; // 0.02 for +-2 %
    std::optional<double> usableQ;
    std::optional<double> statedQ;
};

inline constexpr std::array<double, 2> kPadderTolerances{0.02, 0.05};

struct PadderTolerance {
    double nominal = 0.0; // F, the padder whose tolerance this is
    std::array<ToleranceQ, kPadderTolerances.size()> bands{};
    // Hz per sweep step: the lowest and the highest deviation over the widest
    // band, the envelope the graph shades.
    SweepTable lowest{};
    SweepTable highest{};
};

// What a builder can fit beside the standard padders: an own value, the best
// parallel pair of each series, and the tolerance of the fitted padder (the
// own one when given, the E24 one otherwise).
struct PadderChoices {
    std::optional<StandardPadder> own;
    std::optional<PadderPair> e12Pair;
    std::optional<PadderPair> e24Pair;
    std::optional<PadderTolerance> tolerance;
};

// `ownPadder` (F) is the builder's own value, if any; one that is not a
// positive number is none. Pairs need both parts at
// least 10 pF; among pairs of the same stated Q the one whose larger part is
// nearest the ideal padder wins, then the larger usable Q.
PadderChoices FitPadders(const CalculationState& s, const ThreePointDesign& design,
                         std::optional<double> ownPadder);

} // namespace kalibrix
