// SPDX-License-Identifier: GPL-3.0-or-later
#include "Selectivity.h"

#include "StrictMath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

namespace kalibrix {
namespace {

// One circuit's attenuation 10 log10(A) in dB, or, where the detuning is not
// finite, the bound it lies beyond: A above Q^2 times the largest double
// squared.
struct Level {
    double dB;
    bool beyond;
};

// Beyond this Q |x - 1/x| the 1 in A = 1 + (Q y)^2 is lost to rounding and
// the square would overflow soon: 10 log10(A) = 20 log10(Q |y|) there.
constexpr double kSquareLimit = 1e150;

Level Attenuation(double Q, double y)
{
    if (!std::isfinite(y))
        return {
            strict::verify(20.0 * (std::log10(Q) + std::log10(std::numeric_limits<double>::max()))),
            true};
    const double t = Q * std::abs(y);
    if (t < kSquareLimit)
        return {strict::verify(10.0 * std::log1p(t * t) / std::numbers::ln10), false};
    // Q |y| itself may overflow: its logarithm in two parts.
    return {strict::verify(20.0 * (std::log10(Q) + std::log10(std::abs(y)))), false};
}

// n (a - b) in dB for two attenuations of one circuit; none when both lie
// beyond the double range and nothing is known of their ratio.
std::optional<Decibels> Difference(int n, const Level& a, const Level& b)
{
    if (a.beyond && b.beyond)
        return std::nullopt;
    const double value = strict::mul(n, strict::sub(a.dB, b.dB));
    if (a.beyond)
        return Decibels{value, Bound::AtLeast};
    if (b.beyond)
        return Decibels{value, Bound::AtMost};
    return Decibels{value, Bound::Exact};
}

// Keeps the step's figure when it is more extreme than the one kept: among
// equal figures the first step, the highest frequency.
void Keep(std::optional<SelectivityExtreme>& kept, const std::optional<Decibels>& figure, int step,
          double f_be, bool largest)
{
    if (!figure)
        return;
    if (!kept
        || (largest ? figure->value > kept->figure.value : figure->value < kept->figure.value))
        kept = SelectivityExtreme{*figure, step, f_be};
}

// No number of circuits above this is offered: a front end needs a better
// IF or better tracking long before.
constexpr int kMostCircuits = 10;

} // namespace

DetuningTerms TermsOfDetuning(double f_be, double d)
{
    const double r = d / f_be;
    return {r * (2.0 + r), 1.0 + r};
}

double Detuning(double f_be, double d)
{
    // A circuit tuned to zero frequency, or a signal at zero frequency (the
    // scale 1 + d / f_be is 0), lies infinitely far from resonance: the
    // caller states such an attenuation as a bound. Dividing by zero instead
    // would give the same infinity, but through an operation the strict
    // arithmetic forbids.
    if (f_be == 0.0)
        return std::numeric_limits<double>::infinity();
    const DetuningTerms terms = TermsOfDetuning(f_be, d);
    if (terms.scale == 0.0)
        return std::numeric_limits<double>::infinity();
    return terms.span / terms.scale;
}

const std::optional<SelectivityExtreme>& ExtremeOf(const SelectivityFigures& figures,
                                                   SelectivityFigure figure)
{
    switch (figure) {
    case SelectivityFigure::Loss:
        return figures.loss;
    case SelectivityFigure::IfRejection:
        return figures.ifRejection;
    case SelectivityFigure::Image:
        break;
    }
    return figures.imageRejection;
}

SelectivityFigures FiguresOfSelectivity(double Q, int circuits, double f_kf, const SweepTable& f_be,
                                        const SweepTable& deviation)
{
    if (!(Q > 0.0 && std::isfinite(Q)) || circuits < 1)
        throw std::invalid_argument("Q must be positive and finite, circuits at least 1");
    SelectivityFigures figures;
    for (int i = 0; i < kSweepSteps; ++i) {
        const double f = TableAt(f_be, i);
        const double d = TableAt(deviation, i);
        // All three frequencies as offsets from the circuit's own f_be.
        const Level signal = Attenuation(Q, Detuning(f, d));
        const Level image = Attenuation(Q, Detuning(f, strict::add(d, strict::mul(2.0, f_kf))));
        const Level intermediate = Attenuation(Q, Detuning(f, strict::sub(f_kf, f)));

        const std::optional<Decibels> imageRejection = Difference(circuits, image, signal);
        const Decibels loss{strict::mul(circuits, signal.dB),
                            signal.beyond ? Bound::AtLeast : Bound::Exact};
        Keep(figures.imageRejection, imageRejection, i, f, false);
        Keep(figures.loss, loss, i, f, true);
        Keep(figures.ifRejection, Difference(circuits, intermediate, signal), i, f, false);
        TableAt(figures.imageCurve, i) = imageRejection ? imageRejection->value : 0.0;
    }
    return figures;
}

double IdealImageRejectionDb(double Q, double f, double f_kf)
{
    return Attenuation(Q, Detuning(f, strict::mul(2.0, f_kf))).dB;
}

ImageRule ImageRejectionRule(BandKind kind)
{
    ImageRule rule = kind == BandKind::Vhf ? ImageRule{108e6, 10.7e6, 0.0, 0.0}
                                           : ImageRule{5e6, 0.455e6, 0.0, 0.0};
    rule.typicalQ = TypicalLoadedQ(kind).low;
    // Down to a whole dB: a rule of thumb is no finer, and a design that
    // tracks all but perfectly at the reference point meets it.
    rule.requiredDb = std::floor(IdealImageRejectionDb(rule.typicalQ, rule.frequency, rule.f_kf));
    return rule;
}

double AcceptableLossDb()
{
    return 10.0 * std::log10(2.0);
}

SelectivityVerdict JudgeSelectivity(const SelectivityFigures& figures, int circuits, BandKind kind)
{
    SelectivityVerdict verdict;
    verdict.requiredImageDb = ImageRejectionRule(kind).requiredDb;
    const std::optional<SelectivityExtreme>& image = figures.imageRejection;
    const std::optional<SelectivityExtreme>& loss = figures.loss;
    verdict.imageEnough = image && image->figure.bound != Bound::AtMost
                          && image->figure.value >= verdict.requiredImageDb;
    verdict.lossAcceptable =
        loss && loss->figure.bound == Bound::Exact && loss->figure.value <= AcceptableLossDb();
    // Every figure is n times one circuit's, so is its extreme over the band.
    if (image && image->figure.bound == Bound::Exact && image->figure.value > 0.0) {
        const double perCircuit = image->figure.value / circuits;
        const double needed = std::max(1.0, std::ceil(verdict.requiredImageDb / perCircuit));
        if (needed <= kMostCircuits) {
            verdict.circuitsNeeded = static_cast<int>(needed);
            if (loss && loss->figure.bound == Bound::Exact)
                verdict.lossWithNeeded = needed * loss->figure.value / circuits;
        }
    }
    return verdict;
}

} // namespace kalibrix
