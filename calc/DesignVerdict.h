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

struct TypicalQ {
    double low;
    double high;
};

BandKind KindOfBand(double f_min);
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

// Whether the verdict sends the builder to a padder.
bool PadderHelps(Verdict verdict);

} // namespace kalibrix
