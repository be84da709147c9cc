#include "ThreePointTracking.h"

#include "DesignFigures.h"
#include "DesignVerdict.h"
#include "NumberText.h"
#include "StrictMath.h"
#include "TrackingCalculator.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>

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

// The input circuit at the 500 sweep steps, computed once per design with the
// arithmetic of the two-point sweep: the gang capacitance C_h = C_be - C_tb -
// C_sz for the whole circuit capacitance C_be, and the frequency f_be.
struct InputSweep {
    SweepTable C_h{};  // F
    SweepTable f_be{}; // Hz
};

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

// The oscillator as the tracking equations hold it: a * fo^2 = 1/(C_h + C_t) + b
// with a = K * L_o (H) and b = 1 / C_p (1/F).
struct TrackingCoefficients {
    double a = 0.0;
    double b = 0.0;
    double C_t = 0.0; // F
};

// The three equations a * y_i = 1/(x_i + C_t) + b, y_i = (f_i + f_kf)^2 and
// x_i the gang capacitance at f_i. Differences of neighbouring equations drop b:
// a (y1 - y2) = (x2 - x1) / ((x1 + C_t)(x2 + C_t)), and likewise for 2 and 3;
// their ratio drops a and leaves R = (x3 + C_t) / (x1 + C_t) with
// R = (y1 - y2)(x3 - x2) / ((y2 - y3)(x2 - x1)), linear in C_t.
TrackingCoefficients SolveThreePoints(const Points& x, const Points& y)
{
    using namespace strict;
    const double R =
        div(mul(sub(y[0], y[1]), sub(x[2], x[1])), mul(sub(y[1], y[2]), sub(x[1], x[0])));
    TrackingCoefficients c;
    c.C_t = div(sub(x[2], mul(R, x[0])), sub(R, 1.0));
    const double u1 = add(x[0], c.C_t);
    c.a = div(sub(x[1], x[0]), mul(mul(sub(y[0], y[1]), u1), add(x[1], c.C_t)));
    c.b = sub(mul(c.a, y[0]), div(1.0, u1));
    return c;
}

// a * y_1 - b = 1/(x_1 + C_t) and a * y_3 - b = 1/(x_3 + C_t) with b fixed.
// Subtracting the reciprocals, D (a y1 - b)(a y3 - b) = a (y3 - y1) with
// D = x1 - x3, a quadratic in a:
//   D y1 y3 a^2 - (D b (y1 + y3) + (y3 - y1)) a + D b^2 = 0.
// It is negative at a = b / y1, so one root lies above, where both a y_i - b
// are positive: that larger root is the circuit.
TrackingCoefficients AlignAtEnds(double x1, double x3, double y1, double y3, double b)
{
    using namespace strict;
    const double D = sub(x1, x3);
    const double A = mul(mul(D, y1), y3);
    const double B = add(mul(mul(D, b), add(y1, y3)), sub(y3, y1));
    const double C = mul(D, square(b));
    TrackingCoefficients c;
    c.b = b;
    c.a = div(add(B, sqrt(sub(square(B), mul(mul(4.0, A), C)))), mul(2.0, A));
    c.C_t = sub(div(1.0, sub(mul(c.a, y1), b)), x1);
    return c;
}

PadderOscillator ComponentsOf(const TrackingCoefficients& c, double C_sz)
{
    using namespace strict;
    if (!(c.a > 0.0) || !(c.b > 0.0))
        throw ThreePointError(ThreePointFailure::NonFinite);
    return {div(c.a, K), div(1.0, c.b), sub(c.C_t, C_sz)};
}

// The oscillator frequency (Hz) at gang capacitance C_h: L_o across the series
// of (C_h + C_to + C_sz) and C_p.
double OscillatorFrequency(const PadderOscillator& o, double C_h, double C_sz)
{
    using namespace strict;
    const double C_o = add(add(C_h, o.C_to), C_sz);
    const double C_series = div(1.0, add(div(1.0, C_o), div(1.0, o.C_p)));
    return sqrt(div(1.0, mul(mul(C_series, K), o.L_o)));
}

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

void CheckTracking(const PadderOscillator& o, const Points& x, const Points& f,
                   const CalculationState& s, std::initializer_list<std::size_t> points)
{
    for (const std::size_t i : points) {
        const double target = strict::add(f[i], s.f_kf);
        const double actual = OscillatorFrequency(o, x[i], s.C_sz);
        if (!(std::abs(actual - target) <= std::max(kTrackingTolerance, 1e-12 * target)))
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

struct Circuit {
    const CalculationState& s;
    const TrackingCalculator& calc;
    const InputSweep& in;

    Points GangAt(const Points& f) const
    {
        Points x{};
        for (std::size_t i = 0; i < 3; ++i)
            x[i] = calc.CapacitanceForFrequency(f[i]);
        return x;
    }

    Points OscillatorSquares(const Points& f) const
    {
        Points y{};
        for (std::size_t i = 0; i < 3; ++i)
            y[i] = strict::square(strict::add(f[i], s.f_kf));
        return y;
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
    TrackingCoefficients c;
    try {
        c = SolveThreePoints(circuit.GangAt(f), circuit.OscillatorSquares(f));
    } catch (const CalculationError&) {
        return {inf, inf, inf, inf};
    }
    const double f_kf = circuit.s.f_kf;
    std::size_t stretch = 0;
    for (std::size_t i = 0; i < kSweepSteps; ++i) {
        const double f_be = circuit.in.f_be[i];
        while (stretch < 3 && f_be < f[2 - stretch])
            ++stretch;
        const double d = std::sqrt((1.0 / (circuit.in.C_h[i] + c.C_t) + c.b) / c.a) - f_kf - f_be;
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

StandardPadder AlignStandard(const Circuit& circuit, const Points& x, const Points& f,
                             double capacitance, StandardSeries series)
{
    const CalculationState& s = circuit.s;
    StandardPadder padder;
    padder.nominal = NearestStandardValue(capacitance, series);
    try {
        const Points y = circuit.OscillatorSquares(f);
        const TrackingCoefficients c =
            AlignAtEnds(x[0], x[2], y[0], y[2], strict::div(1.0, padder.nominal));
        padder.oscillator = ComponentsOf(c, s.C_sz);
        padder.oscillator.C_p = padder.nominal;
        padder.trimmerNegative = padder.oscillator.C_to < 0.0;
        CheckTracking(padder.oscillator, x, f, s, {0, 2});
        padder.curve = SweepDesign(padder.oscillator, circuit.in, s);
    } catch (const std::runtime_error&) {
        // ThreePointError or CalculationError: this row alone has no design.
        padder.oscillator = {};
        padder.oscillator.C_p = padder.nominal;
        padder.curve = {};
        padder.alignmentFailed = true;
    }
    return padder;
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

ThreePointDesign Design(const CalculationState& s, PointPlacement placement,
                        const Points& ownPoints)
{
    CheckInputs(s);
    if (placement == PointPlacement::OwnPoints)
        CheckOwnPoints(s, ownPoints);
    TrackingCalculator calc;
    calc.state = s;
    const InputSweep in = SweepInputCircuit(calc);
    const Circuit circuit{s, calc, in};

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
    const TrackingCoefficients c =
        SolveThreePoints(design.C_h, circuit.OscillatorSquares(design.f));
    design.oscillator = ComponentsOf(c, s.C_sz);
    if (design.oscillator.C_to < 0.0)
        throw ThreePointError(ThreePointFailure::NegativeTrimmer);
    CheckTracking(design.oscillator, design.C_h, design.f, s, {0, 1, 2});
    design.curve = SweepDesign(design.oscillator, in, s);
    design.e12 =
        AlignStandard(circuit, design.C_h, design.f, design.oscillator.C_p, StandardSeries::E12);
    design.e24 =
        AlignStandard(circuit, design.C_h, design.f, design.oscillator.C_p, StandardSeries::E24);
    return design;
}

} // namespace

double SweepStepWidth(const CalculationState& s)
{
    return (s.f_max - s.f_min) / static_cast<double>(kSweepIntervals);
}

double NearestStandardValue(double capacitance, StandardSeries series)
{
    static constexpr double e12[] = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
    static constexpr double e24[] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                     33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
    return series == StandardSeries::E12 ? NearestOnLogScale(capacitance, e12, std::size(e12))
                                         : NearestOnLogScale(capacitance, e24, std::size(e24));
}

ThreePointDesign DesignThreePoint(const CalculationState& s, PointPlacement placement,
                                  const std::array<double, 3>& ownPoints)
{
    try {
        return Design(s, placement, ownPoints);
    } catch (const CalculationError&) {
        throw ThreePointError(ThreePointFailure::NonFinite);
    }
}

} // namespace kalibrix
