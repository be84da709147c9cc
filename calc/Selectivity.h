// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CalculationState.h"
#include "DesignVerdict.h"

#include <array>
#include <optional>

namespace kalibrix {

// The relative detuning x - 1/x of a signal d (Hz) off a circuit tuned to
// f_be (Hz), x = (f_be + d) / f_be, as the quotient span / scale with
// r = d / f_be: span = r (2 + r), scale = 1 + r, formed without cancellation
// for small r. A parallel tuned circuit passes that signal at 1 / A of its
// peak power, A = 1 + Q^2 (x - 1/x)^2; the usable Q (QLimit) is
// scale / |span|. Plain IEEE arithmetic: infinite or NaN where r overflows
// or the signal lies at zero frequency (scale = 0), for the caller to test.
struct DetuningTerms {
    double span;
    double scale;
};
DetuningTerms TermsOfDetuning(double f_be, double d);
double Detuning(double f_be, double d);

// A figure in dB, or a bound on it where the attenuation behind it lies
// beyond the double range (a signal at zero frequency, a circuit tuned to
// zero): AtLeast when the true figure is above `value`, AtMost when below.
enum class Bound { Exact, AtLeast, AtMost };

struct Decibels {
    double value = 0.0; // dB, always finite
    Bound bound = Bound::Exact;
};

// Where a figure is at its extreme over the sweep: the figure, the step and
// the input circuit's frequency there (the dial, Hz).
struct SelectivityExtreme {
    Decibels figure;
    int step = 0;
    double f_be = 0.0;
};

// What n equal tuned circuits ahead of the mixer, all tuned to f_be and all
// mistracking alike, do at each sweep step. The wanted signal is the station
// the oscillator converts, f_s = f_be + d; the image lies at f_s + 2 f_kf
// (oscillator above the signal). With A(f) of one circuit tuned to f_be:
//   image rejection = 10 n log10(A(f_im) / A(f_s)) dB,
//   loss by mistracking = 10 n log10(A(f_s)) dB,
//   IF rejection = 10 n log10(A(f_kf) / A(f_s)) dB.
// Each extreme is none only when no step has a figure (every step with both
// attenuations beyond the double range).
struct SelectivityFigures {
    std::optional<SelectivityExtreme> imageRejection; // the smallest
    std::optional<SelectivityExtreme> loss;           // the largest
    std::optional<SelectivityExtreme> ifRejection;    // the smallest
    SweepTable imageCurve{}; // dB per step for the graph; a bound as its value, 0 without a figure
};

// The three figures, in the order the padder window shows them, and the
// extreme of each.
enum class SelectivityFigure { Image, Loss, IfRejection };
inline constexpr std::array kSelectivityFigures{SelectivityFigure::Image, SelectivityFigure::Loss,
                                                SelectivityFigure::IfRejection};
const std::optional<SelectivityExtreme>& ExtremeOf(const SelectivityFigures& figures,
                                                   SelectivityFigure figure);

// The figures of the design whose deviation per step (Hz, sweep order) is
// `deviation`, its input circuit at `f_be` per step (Hz), for the
// intermediate frequency f_kf (Hz), an input-circuit Q and `circuits` tuned
// circuits. Q must be positive and finite, circuits at least 1: otherwise
// std::invalid_argument.
SelectivityFigures FiguresOfSelectivity(double Q, int circuits, double f_kf, const SweepTable& f_be,
                                        const SweepTable& deviation);

// One perfectly tracked circuit's image rejection (dB) at f (Hz): the
// textbook figure 10 log10(A(f + 2 f_kf)) for a circuit tuned to f.
double IdealImageRejectionDb(double Q, double f, double f_kf);

// The image rejection (dB) that the rule asks of a band: what one circuit of
// the band's typical lower Q gives, perfectly tracked, where textbooks call
// an IF just satisfactory. Below VHF a 455 kHz IF serves up to about 5 MHz
// (M. Tooley, Electronic Circuits: Fundamentals and Applications, on the
// superhet receiver); at VHF the 10.7 MHz IF of FM broadcast serves up to the
// band's top, 108 MHz.
struct ImageRule {
    double frequency;  // Hz, the reference signal
    double f_kf;       // Hz, the reference IF
    double typicalQ;   // the band's typical lower loaded Q
    double requiredDb; // one circuit's ideal image rejection there, whole dB
};
ImageRule ImageRejectionRule(BandKind kind);

// The largest loss by mistracking a builder accepts: 3 dB, half the power,
// the same rule as the usable Q (QLimit): a loss of exactly 10 log10(2) dB
// at Q equal to the usable Q.
double AcceptableLossDb();

struct SelectivityVerdict {
    double requiredImageDb = 0.0;
    bool imageEnough = false;
    bool lossAcceptable = false;
    // The fewest equal circuits whose image rejection meets the rule; none
    // when no number of circuits does (the image passes at least as well as
    // the mistracked signal somewhere) or when the figures are bounds.
    std::optional<int> circuitsNeeded;
    // The loss those circuits would cost, n times one circuit's (dB).
    std::optional<double> lossWithNeeded;
};

SelectivityVerdict JudgeSelectivity(const SelectivityFigures& figures, int circuits, BandKind kind);

} // namespace kalibrix
