// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"
#include "ThreePointTracking.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace kalibrix {

// The bandspread input circuit: the coil L_b across the stray C_sz, and across
// the gang section C_h with its trimmer C_p (Cp_b) in parallel, in series with
// the capacitor C_s (Cs_b). The series capacitor narrows the gang's swing, so
// that a narrow band takes a real coil and a real trimmer; without it
// (C_s infinite) this is the two-point design's input circuit.
struct BandspreadInput {
    double L_b = 0.0; // H
    double C_s = 0.0; // F, Cs_b
    double C_p = 0.0; // F, Cp_b
};

// The coils that cover the band with both capacitors positive, rounded inward
// to the step that CoilDecimals gives, each end exactly the value that its
// text in µH reads as: a coil typed as shown is accepted. From the coil of the
// two-point design (no series capacitor) to the coil that needs no trimmer.
struct CoilRange {
    double lowest = 0.0;  // H
    double highest = 0.0; // H
};

// How many decimals a coil is stated with in µH: three (a nanohenry, finer
// than a coil is wound), or four significant digits where that is finer
// (below 1 µH a nanohenry is a coarse step).
int CoilDecimals(double L);

enum class BandspreadFailure {
    NoCoilRange,      // no coil covers the band with both capacitors positive
    CoilNotANumber,   // the coil's text has no leading number
    CoilOutsideRange, // the coil lies outside BandspreadCoilRange
};

class BandspreadError : public std::runtime_error {
public:
    explicit BandspreadError(BandspreadFailure failure);
    BandspreadFailure failure() const;

private:
    BandspreadFailure failure_;
};

// The range for the band, the gang and the stray of `s`; BandspreadError
// (NoCoilRange) when it is empty, for a gang minimum not above zero or a gang
// maximum not above its minimum too.
CoilRange BandspreadCoilRange(const CalculationState& s);

// The coil the window offers first: the one whose trimmer Cp_b equals what it
// sits beside at the top of the band, the gang's minimum and the stray,
// C_h_min + C_sz, to two significant digits and inside the range. Aligning
// the top edge then moves the frequency well, and the trimmer can make up a
// stray that is off by as much again; a smaller trimmer would leave that to
// chance, a larger one only shrinks the coil and the circuit's gain.
double DefaultBandspreadCoil(const CalculationState& s, const CoilRange& range);

// A coil as the user types it in µH (a comma reads as a point): the text's
// leading number, in H. BandspreadError (CoilNotANumber) without one,
// (CoilOutsideRange) for a number beyond a double.
double ReadCoil(std::string_view microhenry);

// Whether the gang at C_h_min tuning to f_max and at C_h_max to f_min gives
// the circuit for coil L_b; BandspreadError (CoilOutsideRange) for a coil
// outside `range`.
BandspreadInput DesignBandspreadInput(const CalculationState& s, const CoilRange& range,
                                      double L_b);

// The bandspread input circuit built with a standard Cs_b: its coil and
// trimmer re-set so that it covers the band edges exactly.
struct StandardInput {
    double nominal = 0.0; // F, the Cs_b of the series nearest on a log scale
    BandspreadInput input;
    bool trimmerNegative = false; // the band edges need Cp_b below zero
    // No coil and trimmer cover the band with this Cs_b; only `nominal`
    // holds a value, and the oscillator's row is aligned against the
    // design's own input circuit.
    bool alignmentFailed = false;

    bool Aligned() const { return !trimmerNegative && !alignmentFailed; }
};

// The bandspread design: the input circuit for the user's coil, and the
// oscillator by three-point tracking against it. Both circuits map the gang
// the same bilinear way, so the points, the curve and the usable Q are those
// of the trimmer-only design. The oscillator's E12 and E24 padders are
// aligned against the input circuit of the same series.
struct BandspreadDesign {
    CoilRange range;
    BandspreadInput input;
    ThreePointDesign oscillator;
    StandardInput e12;
    StandardInput e24;
};

// Throws ThreePointError for the band, the IF and the two-point input
// circuit, then BandspreadError for the range and the coil, then
// ThreePointError for the own points and the design.
BandspreadDesign DesignBandspread(const CalculationState& s, std::string_view coilMicrohenry,
                                  PointPlacement placement,
                                  const std::array<double, 3>& ownPoints = {});

} // namespace kalibrix
