// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThreePointTracking.h"

#include "DesignFigures.h"
#include "DesignVerdict.h"
#include "NumberText.h"
#include "PadderFit.h"
#include "StrictMath.h"
#include "TrackingCalculator.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <span>

namespace kalibrix {

ThreePointError::ThreePointError(ThreePointFailure failure, int point)
    : std::runtime_error("no three-point design"), failure_(failure), point_(point)
{
}

ThreePointFailure ThreePointError::failure() const
{
    return failure_;
}

int ThreePointError::point() const
{
    return point_;
}

namespace {

using Points = std::array<double, 3>;

// What a placement search makes equal at the four extremes of the error.
enum class Measure { RelativeMistuning, Hertz };

} // namespace

// The two-point design's own input circuit, with the arithmetic of the
// two-point sweep: C_h = C_be - C_tb - C_sz for the whole circuit capacitance
// C_be, and its frequency f_be.
InputSweep SweepInputCircuit(const TrackingCalculator& calc)
{
    using namespace strict;
    const CalculationState& s = calc.state;
    InputSweep in;
    for (int i = 0; i < kSweepSteps; ++i) {
        const double C_be = calc.SweepCapacitance(i);
        TableAt(in.C_h, i) = sub(sub(C_be, s.C_tb), s.C_sz);
        TableAt(in.f_be, i) = sqrt(div(1.0, mul(mul(C_be, K), s.L_b)));
    }
    return in;
}

// Another input circuit at the same frequencies as the two-point sweep,
// f_be = f_max (1 - t a) with t = i / 499 and a = 1 - f_min / f_max, and the
// gang capacitance at which it tunes there.
InputSweep SweepInputCircuit(const CalculationState& s, const GangCapacitanceAt& gangAt)
{
    using namespace strict;
    const double a = sub(1.0, div(s.f_min, s.f_max));
    InputSweep in;
    for (int i = 0; i < kSweepSteps; ++i) {
        const double t = mul(div(1.0, static_cast<double>(kSweepIntervals)), i);
        const double f_be = mul(s.f_max, sub(1.0, mul(t, a)));
        TableAt(in.f_be, i) = f_be;
        TableAt(in.C_h, i) = gangAt(f_be);
    }
    return in;
}

namespace {

// The oscillator tank as its coil sees it: L_o across C_sz and across the
// series of (C_h + C_to) and C_p. With x = C_h its capacitance is
//   C(x) = C_sz + C_p (x + C_to) / (x + C_to + C_p) = A - B / (x + D),
//   A = C_sz + C_p (F), B = C_p^2 (F^2), D = C_to + C_p (F),
// and it runs at f_o where C(x) = lambda / f_o^2, lambda = 1 / (K L_o)
// (F Hz^2). With z = 1 / f_o^2 (s^2) each tracking point gives an equation
// linear in lambda: lambda z_i = A - B / (x_i + D).
struct TankCoefficients {
    double lambda = 0.0; // F Hz^2
    double C_p = 0.0;    // F
    double D = 0.0;      // F
};

// The three equations lambda z_i = A - B / (x_i + D), z_i = 1 / (f_i + f_kf)^2
// and x_i the gang capacitance at f_i. Differences of neighbouring equations
// drop A: lambda (z1 - z2) = B (x1 - x2) / ((x1 + D)(x2 + D)), and likewise
// for 2 and 3; their ratio drops lambda and B and leaves
// R = (x3 + D) / (x1 + D) with R = (z1 - z2)(x2 - x3) / ((z2 - z3)(x1 - x2)),
// linear in D. The first difference then gives r = lambda / B (Hz^2 / F), and
// the first equation A = B (r z1 + 1 / (x1 + D)) = B S (S in 1/F). The stray
// ties A to B: C_sz + C_p = S C_p^2, whose roots have the product
// -C_sz / S < 0, so the one positive root is the padder:
//   C_p = (1 + sqrt(1 + 4 S C_sz)) / (2 S),
// then lambda = r C_p^2 and C_to = D - C_p. Without a stray this is
// C_p = 1 / S, the plain series tank.
TankCoefficients SolveThreePoints(const Points& x, const Points& z, double C_sz)
{
    using namespace strict;
    const double R =
        div(mul(sub(z[0], z[1]), sub(x[1], x[2])), mul(sub(z[1], z[2]), sub(x[0], x[1])));
    TankCoefficients c;
    c.D = div(sub(x[2], mul(R, x[0])), sub(R, 1.0));
    const double u1 = add(x[0], c.D);
    const double r = div(sub(x[0], x[1]), mul(mul(sub(z[0], z[1]), u1), add(x[1], c.D)));
    const double S = add(mul(r, z[0]), div(1.0, u1));
    if (!(S > 0.0))
        throw ThreePointError(ThreePointFailure::NonFinite);
    c.C_p = div(add(1.0, sqrt(add(1.0, mul(mul(4.0, S), C_sz)))), mul(2.0, S));
    c.lambda = mul(r, square(c.C_p));
    return c;
}

// The padder C_p fixed, so A and B known: lambda and D from the equations at
// F1 and F3. Each gives x_i + D = B / (A - lambda z_i), and their difference
// x1 - x3 = E (F) a quadratic in lambda:
//   E z1 z3 lambda^2 - (E A (z1 + z3) + B (z1 - z3)) lambda + E A^2 = 0.
// F1 below F3 makes E and z1 - z3 positive: the quadratic is positive at
// lambda = 0 and negative at A / z1, so its smaller root lies between, where
// both A - lambda z_i are positive: that root is the circuit, taken in the
// form 2 E A^2 / (b + sqrt(b^2 - 4 a c)) that does not cancel.
TankCoefficients AlignAtEnds(double x1, double x3, double z1, double z3, double C_p, double C_sz)
{
    using namespace strict;
    const double A = add(C_sz, C_p);
    const double B = square(C_p);
    const double E = sub(x1, x3);
    const double qa = mul(mul(E, z1), z3);
    const double qb = add(mul(mul(E, A), add(z1, z3)), mul(B, sub(z1, z3)));
    const double qc = mul(E, square(A));
    TankCoefficients c;
    c.C_p = C_p;
    c.lambda = div(mul(2.0, qc), add(qb, sqrt(sub(square(qb), mul(mul(4.0, qa), qc)))));
    c.D = sub(div(B, sub(A, mul(c.lambda, z1))), x1);
    return c;
}

PadderOscillator ComponentsOf(const TankCoefficients& c)
{
    using namespace strict;
    if (!(c.lambda > 0.0) || !(c.C_p > 0.0))
        throw ThreePointError(ThreePointFailure::NonFinite);
    return {div(1.0, mul(K, c.lambda)), c.C_p, sub(c.D, c.C_p)};
}

} // namespace

double OscillatorFrequency(const PadderOscillator& o, double C_h, double C_sz)
{
    using namespace strict;
    const double C_series = div(1.0, add(div(1.0, add(C_h, o.C_to)), div(1.0, o.C_p)));
    return sqrt(div(1.0, mul(mul(add(C_sz, C_series), K), o.L_o)));
}

namespace {

// The oscillator, from its components, must run at f_i + f_kf at each of the
// given points, so that the deviation shown there (to 0.01 Hz) reads zero:
// within 0.001 Hz, or 1e-12 of the frequency where that is finer than the
// double's own resolution allows after a few dozen operations. A relative
// bound alone is too tight at a high IF with a small padder: there C_t is a
// difference of nearly equal reciprocals, and an 8.2 pF padder aligned at
// 850 MHz misses by 0.0009 Hz (1.1e-12). This checks that the solution
// satisfies its equations; that its parts are not rounding noise is the
// points' spacing, at least a sweep step apart.
constexpr double kTrackingTolerance = 0.001; // Hz

bool Tracks(double actual, double target)
{
    return std::abs(actual - target) <= std::max(kTrackingTolerance, 1e-12 * target);
}

void CheckTracking(const PadderOscillator& o, const Points& x, const Points& f,
                   const CalculationState& s, std::initializer_list<std::size_t> points)
{
    for (const std::size_t i : points) {
        const double target = strict::add(f[i], s.f_kf);
        const double actual = OscillatorFrequency(o, x[i], s.C_sz);
        if (!Tracks(actual, target))
            throw ThreePointError(ThreePointFailure::FailedCheck);
    }
}

PadderCurve SweepDesign(const PadderOscillator& o, const InputSweep& in, const CalculationState& s)
{
    using namespace strict;
    PadderCurve curve;
    for (int i = 0; i < kSweepSteps; ++i) {
        const double f_be = TableAt(in.f_be, i);
        const double f_osz = OscillatorFrequency(o, TableAt(in.C_h, i), s.C_sz);
        const double d = RoundAsShown2(sub(sub(f_osz, s.f_kf), f_be));
        TableAt(curve.deviation, i) = d;
    }
    const auto [low, high] = std::ranges::minmax(curve.deviation);
    curve.largestNegative = low;
    curve.largestPositive = high;
    const UsableQ q = UsableQOverSweep(in.f_be, curve.deviation);
    curve.usableQ = q.usable;
    curve.statedQ = q.stated;
    return curve;
}

// The design's state and one input circuit the oscillator tracks.
struct Circuit {
    const CalculationState& s;
    GangCapacitanceAt gangAt;
    InputSweep in;

    Points GangAt(const Points& f) const
    {
        Points x{};
        for (std::size_t i = 0; i < 3; ++i)
            x[i] = gangAt(f[i]);
        return x;
    }

    // z_i = 1 / (f_i + f_kf)^2 (s^2), the oscillator's at the points.
    Points OscillatorInverseSquares(const Points& f) const
    {
        Points z{};
        for (std::size_t i = 0; i < 3; ++i)
            z[i] = strict::div(1.0, strict::square(strict::add(f[i], s.f_kf)));
        return z;
    }
};

// The largest error of a candidate design in each of the four stretches that
// its points cut the band into, from f_max down (step order): above F3,
// F2..F3, F1..F2, below F1. Plain double arithmetic, unrounded: a search
// compares many candidates, and only the chosen one is swept exactly.
std::array<double, 4> StretchPeaks(const Circuit& circuit, const Points& f, Measure measure)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::array<double, 4> peaks{};
    TankCoefficients c;
    try {
        c = SolveThreePoints(circuit.GangAt(f), circuit.OscillatorInverseSquares(f),
                             circuit.s.C_sz);
    } catch (const std::runtime_error&) {
        // ThreePointError or CalculationError: no tank tracks at these points.
        return {inf, inf, inf, inf};
    }
    const double f_kf = circuit.s.f_kf;
    const double A = circuit.s.C_sz + c.C_p;
    const double B = c.C_p * c.C_p;
    std::size_t stretch = 0;
    for (std::size_t i = 0; i < kSweepSteps; ++i) {
        const double f_be = circuit.in.f_be[i];
        while (stretch < 3 && f_be < f[2 - stretch])
            ++stretch;
        // A tank that these coefficients leave without capacitance at this
        // step (C_h + D = 0, or A = B / (C_h + D), as a vanishing IF can
        // give) has no resonance: an unbounded error, without dividing by
        // zero.
        const double branch = circuit.in.C_h[i] + c.D;
        const double tank = branch == 0.0 ? 0.0 : A - B / branch;
        if (tank == 0.0) {
            peaks[stretch] = inf;
            continue;
        }
        const double d = std::sqrt(c.lambda / tank) - f_kf - f_be;
        // The relative error |x - 1/x| is 1 / QLimit: no limit is no error,
        // and a Q of zero an unbounded one.
        double e = std::abs(d);
        if (measure == Measure::RelativeMistuning) {
            const std::optional<double> q = QLimit(f_be, d);
            e = !q ? 0.0 : (*q > 0.0 ? 1.0 / *q : inf);
        }
        if (std::isnan(e))
            e = inf;
        peaks[stretch] = std::max(peaks[stretch], e);
    }
    return peaks;
}

// How far the four peaks are from equal: the differences of their logarithms.
std::array<double, 3> Imbalance(const std::array<double, 4>& peaks)
{
    std::array<double, 3> g{};
    for (std::size_t k = 0; k < 3; ++k)
        g[k] = std::log(std::max(peaks[k], 1e-300)) - std::log(std::max(peaks[k + 1], 1e-300));
    return g;
}

double Largest(const std::array<double, 3>& g)
{
    double m = 0.0;
    for (const double v : g) {
        if (std::isnan(v))
            return std::numeric_limits<double>::infinity();
        m = std::max(m, std::abs(v));
    }
    return m;
}

// J * step = -g by Cramer's rule; false for a singular J.
bool SolveLinear(const std::array<Points, 3>& J, const std::array<double, 3>& g, Points& step)
{
    const auto det = [](const std::array<Points, 3>& m) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
               - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
               + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double d = det(J);
    if (!(std::abs(d) > 0.0) || !std::isfinite(d))
        return false;
    for (std::size_t col = 0; col < 3; ++col) {
        std::array<Points, 3> m = J;
        for (std::size_t row = 0; row < 3; ++row)
            m[row][col] = -g[row];
        step[col] = det(m) / d;
    }
    return std::ranges::all_of(step, [](double v) { return std::isfinite(v); });
}

struct Placement {
    Points f{};
    bool converged = false;
};

// The minimax placement: its error equioscillates, equal in size at both band
// edges and at the two extremes between the points. Starting from Chebyshev
// nodes, Newton's method moves the three points until the four peaks agree
// within kPlacementTolerance, with the Jacobian by finite differences and the
// step halved until the imbalance shrinks. It gives up on a singular
// Jacobian, on a step that no halving improves, or after 30 steps (Newton's
// method from these nodes needs well under ten), and says so.
Placement SearchPlacement(const Circuit& circuit, Measure measure)
{
    const double lo = circuit.s.f_min;
    const double hi = circuit.s.f_max;
    const double width = hi - lo;
    const double mid = 0.5 * (lo + hi);
    const double node = 0.5 * width * std::cos(std::numbers::pi / 6.0);
    Points f{mid - node, mid, mid + node};
    // Points closer than a sweep step to each other or to an edge leave a
    // stretch without steps.
    const double gap = SweepStepWidth(circuit.s);
    const auto valid = [&](const Points& p) {
        return p[0] > lo + gap && p[1] > p[0] + gap && p[2] > p[1] + gap && p[2] < hi - gap;
    };

    std::array<double, 3> g = Imbalance(StretchPeaks(circuit, f, measure));
    const double h = 1e-4 * width;
    for (int iteration = 0; iteration < 30 && !(Largest(g) <= kPlacementTolerance); ++iteration) {
        std::array<Points, 3> J{};
        for (std::size_t j = 0; j < 3; ++j) {
            Points moved = f;
            moved[j] += h;
            const std::array<double, 3> gj = Imbalance(StretchPeaks(circuit, moved, measure));
            for (std::size_t k = 0; k < 3; ++k)
                J[k][j] = (gj[k] - g[k]) / h;
        }
        Points step{};
        if (!SolveLinear(J, g, step))
            break;
        bool improved = false;
        for (double lambda = 1.0; lambda > 1e-3 && !improved; lambda *= 0.5) {
            Points trial = f;
            for (std::size_t j = 0; j < 3; ++j)
                trial[j] += lambda * step[j];
            if (!valid(trial))
                continue;
            const std::array<double, 3> gt = Imbalance(StretchPeaks(circuit, trial, measure));
            if (Largest(gt) < Largest(g)) {
                f = trial;
                g = gt;
                improved = true;
            }
        }
        if (!improved)
            break;
    }
    return {f, Largest(g) <= kPlacementTolerance};
}

double NearestOnLogScale(double capacitance, const double* mantissas, std::size_t count)
{
    const double picofarad = capacitance / kFaradPerPicofarad;
    const double decade = std::pow(10.0, std::floor(std::log10(picofarad)));
    // Whole mantissas (12 for 1.2) divided by ten, so that 120 pF is exact.
    double best = mantissas[0] * decade / 10.0;
    for (std::size_t i = 0; i <= count; ++i) {
        // The last candidate is the next decade's first value.
        const double value = (i < count ? mantissas[i] : 100.0) * decade / 10.0;
        if (std::abs(std::log(value / picofarad)) < std::abs(std::log(best / picofarad)))
            best = value;
    }
    return best * kFaradPerPicofarad;
}

void CheckOwnPoints(const CalculationState& s, const Points& f)
{
    const double step = SweepStepWidth(s);
    for (int i = 0; i < 3; ++i) {
        const double p = f[static_cast<std::size_t>(i)];
        if (!(s.f_min <= p && p <= s.f_max))
            throw ThreePointError(ThreePointFailure::PointOutsideBand, i);
    }
    for (int i = 0; i < 2; ++i)
        if (!(f[static_cast<std::size_t>(i)] < f[static_cast<std::size_t>(i) + 1]))
            throw ThreePointError(ThreePointFailure::PointsNotRising, i);
    for (int i = 0; i < 2; ++i)
        if (!(f[static_cast<std::size_t>(i) + 1] - f[static_cast<std::size_t>(i)] >= step))
            throw ThreePointError(ThreePointFailure::PointsTooClose, i);
}

// What no placement can mend, in the order the failures are listed.
void CheckInputs(const CalculationState& s)
{
    if (BandEdgesSwapped(s))
        throw ThreePointError(ThreePointFailure::BandEdgesSwapped);
    if (!(s.f_min > 0.0))
        throw ThreePointError(ThreePointFailure::LowerEdgeNotPositive);
    // With f_kf = 0 the oscillator runs at the input frequency: a plain
    // gang-tracked circuit, no padder (1 / C_p = 0); below zero none exists.
    if (!(s.f_kf > 0.0))
        throw ThreePointError(ThreePointFailure::IntermediateFrequencyNotPositive);
    if (InputTrimmerNegative(s))
        throw ThreePointError(ThreePointFailure::InputTrimmerNegative);
}

// A standard padder against another input circuit, `circuit`, re-set as a
// builder re-sets it: the coil and the trimmer at the design's F1 and F3,
// checked in the band's middle.
StandardPadder AlignStandard(const Circuit& circuit, const ThreePointDesign& design,
                             StandardSeries series)
{
    const CalculationState& s = circuit.s;
    StandardPadder padder;
    padder.nominal = NearestStandardValue(design.oscillator.C_p, series);
    padder.alignment = {design.f[0], design.f[2]};
    padder.checkPoint = 0.5 * (s.f_min + s.f_max);
    const Points x = circuit.GangAt(design.f);
    const Points z = circuit.OscillatorInverseSquares(design.f);
    const auto align = [&](double C_p) {
        return ComponentsOf(AlignAtEnds(x[0], x[2], z[0], z[2], C_p, s.C_sz));
    };
    const double checkGang = circuit.gangAt(padder.checkPoint);
    const auto deviation = [&](const PadderOscillator& o) {
        return strict::sub(strict::sub(OscillatorFrequency(o, checkGang, s.C_sz), s.f_kf),
                           padder.checkPoint);
    };
    try {
        padder.oscillator = align(padder.nominal);
        padder.trimmerNegative = padder.oscillator.C_to < 0.0;
        CheckTracking(padder.oscillator, x, design.f, s, {0, 2});
        padder.curve = SweepDesign(padder.oscillator, circuit.in, s);
        const double d = deviation(padder.oscillator);
        padder.checkDeviation = RoundAsShown2(d);
        // Which way the padder moves the check point's deviation: a padder
        // 1 % larger, re-set at F1 and F3.
        padder.increaseWhenHigh = deviation(align(1.01 * padder.nominal)) < d;
    } catch (const std::runtime_error&) {
        // ThreePointError or CalculationError: this row alone has no design.
        padder.oscillator = {};
        padder.oscillator.C_p = padder.nominal;
        padder.curve = {};
        padder.alignmentFailed = true;
    }
    return padder;
}

// The design against `circuit`, its standard padders against the same input
// circuit built with standard parts, `e12` and `e24`: the two-point design's
// own circuit (`twoPointInput`) fits each padder at its best alignment, any
// other re-sets it at F1 and F3.
ThreePointDesign Design(const Circuit& circuit, const Circuit& e12, const Circuit& e24,
                        bool twoPointInput, PointPlacement placement, const Points& ownPoints)
{
    const CalculationState& s = circuit.s;

    ThreePointDesign design;
    design.placement = placement;
    Placement found{ownPoints, true};
    if (placement == PointPlacement::LargestUsableQ)
        found = SearchPlacement(circuit, Measure::RelativeMistuning);
    else if (placement == PointPlacement::SmallestDeviation)
        found = SearchPlacement(circuit, Measure::Hertz);
    design.f = found.f;
    design.converged = found.converged;
    design.C_h = circuit.GangAt(design.f);
    design.oscillator = ComponentsOf(
        SolveThreePoints(design.C_h, circuit.OscillatorInverseSquares(design.f), s.C_sz));
    if (design.oscillator.C_to < 0.0)
        throw ThreePointError(ThreePointFailure::NegativeTrimmer);
    CheckTracking(design.oscillator, design.C_h, design.f, s, {0, 1, 2});
    design.curve = SweepDesign(design.oscillator, circuit.in, s);
    if (!twoPointInput) {
        design.e12 = AlignStandard(e12, design, StandardSeries::E12);
        design.e24 = AlignStandard(e24, design, StandardSeries::E24);
        return design;
    }
    const PadderFitter fitter(s, design);
    design.e12 = fitter.Fit(NearestStandardValue(design.oscillator.C_p, StandardSeries::E12));
    const double e24Padder = NearestStandardValue(design.oscillator.C_p, StandardSeries::E24);
    design.e24 = e24Padder == design.e12.nominal ? design.e12 : fitter.Fit(e24Padder);
    return design;
}

// Turns the strict arithmetic's errors into the design's own.
template <typename Action>
auto Refusing(Action&& action)
{
    try {
        return action();
    } catch (const CalculationError&) {
        throw ThreePointError(ThreePointFailure::NonFinite);
    }
}

} // namespace

double SweepStepWidth(const CalculationState& s)
{
    return (s.f_max - s.f_min) / static_cast<double>(kSweepIntervals);
}

PadderOscillator AlignFixedPadder(const TrackingCalculator& calc, double C_p, double A1, double A2)
{
    const CalculationState& s = calc.state;
    const Points f{A1, 0.0, A2};
    const Points x{calc.CapacitanceForFrequency(A1), 0.0, calc.CapacitanceForFrequency(A2)};
    const auto z = [&](double point) {
        return strict::div(1.0, strict::square(strict::add(point, s.f_kf)));
    };
    const PadderOscillator o = ComponentsOf(AlignAtEnds(x[0], x[2], z(A1), z(A2), C_p, s.C_sz));
    CheckTracking(o, x, f, s, {0, 2});
    return o;
}

PadderCurve SweepPadder(const PadderOscillator& o, const InputSweep& in, const CalculationState& s)
{
    return SweepDesign(o, in, s);
}

namespace {

constexpr double kE12[] = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
constexpr double kE24[] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                           33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};

} // namespace

double NearestStandardValue(double capacitance, StandardSeries series)
{
    return series == StandardSeries::E12 ? NearestOnLogScale(capacitance, kE12, std::size(kE12))
                                         : NearestOnLogScale(capacitance, kE24, std::size(kE24));
}

std::vector<double> StandardValues(StandardSeries series, double from, double to)
{
    const std::span<const double> mantissas = series == StandardSeries::E12
                                                  ? std::span<const double>(kE12)
                                                  : std::span<const double>(kE24);
    std::vector<double> values;
    // Whole mantissas (12 for 1.2) times a whole decade: every value is a
    // whole number of picofarads.
    for (double decade = 1.0; decade * 10.0 <= to / kFaradPerPicofarad; decade *= 10.0)
        for (const double m : mantissas) {
            const double value = m * decade * kFaradPerPicofarad;
            if (from <= value && value <= to)
                values.push_back(value);
        }
    return values;
}

void CheckThreePointInputs(const CalculationState& s)
{
    Refusing([&] { CheckInputs(s); });
}

ThreePointDesign DesignThreePoint(const CalculationState& s, PointPlacement placement,
                                  const std::array<double, 3>& ownPoints)
{
    return Refusing([&] {
        CheckInputs(s);
        if (placement == PointPlacement::OwnPoints)
            CheckOwnPoints(s, ownPoints);
        TrackingCalculator calc;
        calc.state = s;
        const Circuit circuit{s, [&calc](double f) { return calc.CapacitanceForFrequency(f); },
                              SweepInputCircuit(calc)};
        return Design(circuit, circuit, circuit, true, placement, ownPoints);
    });
}

ThreePointDesign DesignThreePoint(const CalculationState& s, const TrackedInputCircuits& inputs,
                                  PointPlacement placement, const std::array<double, 3>& ownPoints)
{
    return Refusing([&] {
        CheckInputs(s);
        if (placement == PointPlacement::OwnPoints)
            CheckOwnPoints(s, ownPoints);
        const auto circuit = [&s](const GangCapacitanceAt& gangAt) {
            return Circuit{s, gangAt, SweepInputCircuit(s, gangAt)};
        };
        return Design(circuit(inputs.design), circuit(inputs.e12), circuit(inputs.e24), false,
                      placement, ownPoints);
    });
}

PadderOscillator AlignSeriesTank(double x1, double f1, double x3, double f3, double C_ser,
                                 double C_sz)
{
    return Refusing([&] {
        using namespace strict;
        PadderOscillator tank = ComponentsOf(
            AlignAtEnds(x1, x3, div(1.0, square(f1)), div(1.0, square(f3)), C_ser, C_sz));
        if (!Tracks(OscillatorFrequency(tank, x1, C_sz), f1)
            || !Tracks(OscillatorFrequency(tank, x3, C_sz), f3))
            throw ThreePointError(ThreePointFailure::FailedCheck);
        return tank;
    });
}

double SeriesTankFrequency(const PadderOscillator& tank, double C_h, double C_sz)
{
    return Refusing([&] { return OscillatorFrequency(tank, C_h, C_sz); });
}

} // namespace kalibrix
