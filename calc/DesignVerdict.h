// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"
#include "DesignFigures.h"

#include <optional>

namespace kalibrix {

// Where a band lies decides the loaded Q its input circuit typically has:
// long, medium and short wave (below 30 MHz) about 50 to 150, VHF about 10 to
// 30 (even a bare VHF coil reaches only 100 to 200). A band that straddles
// 30 MHz is judged by its lower part, where its circuit has the higher Q.
enum class BandKind { BelowVhf, Vhf };

inline constexpr double kVhfLowerEdge = 30e6; // Hz, the first frequency judged as VHF

struct TypicalQ {
    double low;
    double high;
};

BandKind KindOfBand(double f_min);

// The band's edges in the wrong order: f_min above f_max. Equal edges are a
// band of one frequency, not a reversed one.
bool BandEdgesSwapped(const CalculationState& s);
TypicalQ TypicalLoadedQ(BandKind kind);

// What a builder can act on, decided from a design's figures. The first four
// judge the mistuning against the band's typical loaded Q; the others say
// that the design cannot be built as entered, which no padder cures.
enum class Verdict {
    NoMistuning,         // every deviation zero: any Q, no padder
    TrimmersEnough,      // stated Q at or above the typical upper Q
    TrimmersForLowQ,     // between the typical lower and upper Q: a padder for the better circuits
    PadderNeeded,        // below the typical lower Q
    BandEdgesSwapped,    // f_min above f_max
    CapacitorRangeShort, // Cp_b negative: the gang and the stray cannot span the band
    OscillatorTrimmerNegative, // Cp_o negative while Cp_b is not
    TuningCapacitanceNegative, // Ch negative at a tracking point
};

// The mistuning alone: a usable Q of `statedQ` (none: no limit) on a band of
// `kind`. Gives one of the first four values.
Verdict JudgeMistuning(std::optional<double> statedQ, BandKind kind);

// The design in `s` with its figures: a reversed band first, then the first
// negative component in the order Cp_b, Cp_o, Ch, then the mistuning.
Verdict JudgeDesign(const DesignFigures& figures, const CalculationState& s);

// Whether the design can be built as entered: false for the verdicts that
// name an input to change.
bool CanBeBuilt(Verdict verdict);

// Whether the verdict sends the builder to a padder: the two-point design
// can be built, and its mistuning spoils the band's better or all circuits.
bool PadderHelps(Verdict verdict);

// Whether the input circuit should take a series capacitor (bandspread): the
// trimmer-only design's Cp_b (C_tb) and the stray together exceed twice
// C_h_max, so that at the bottom of the band the gang holds less than a third
// of the tank's capacitance. Its trimmer is then a fixed capacitor of
// nanofarads and its coil a fraction of a turn on a narrow band.
bool BandspreadAdvised(const CalculationState& s);

// What the three-point design with a padder is worth to a builder.
enum class PadderVerdict {
    NotNeeded,     // the two-point design is good enough with trimmers alone
    NoMistuning,   // the padder design's deviation is zero everywhere
    Enough,        // its stated Q at or above the band's typical upper Q
    EnoughForLowQ, // between the typical lower and upper Q
    NotEnough,     // below the typical lower Q: the padder does not cure it either
};

// The two-point design's verdict decides whether a padder is wanted at all
// (PadderHelps, or none or unbuildable: the padder design is judged on its
// own); the padder design's stated Q on a band of `kind` decides the rest.
PadderVerdict JudgePadder(std::optional<Verdict> twoPoint, std::optional<double> padderStatedQ,
                          BandKind kind);

} // namespace kalibrix
