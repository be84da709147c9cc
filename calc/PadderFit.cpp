// SPDX-License-Identifier: GPL-3.0-or-later
#include "PadderFit.h"

#include "DesignFigures.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <stdexcept>
#include <utility>

namespace kalibrix {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The coarse search reads every eighth step and the last: the band edges,
// where the outer extremes lie, and enough between them to place the inner
// ones; the fine search then reads the steps around each extreme.
constexpr int kCoarseStride = 8;
constexpr int kFineWindow = 10;

// A usable Q as a number to compare: none (no mistuning) is unbounded.
double Comparable(const std::optional<double>& q)
{
    if (q)
        return *q;
    return kInf;
}

double QOf(const StandardPadder& padder)
{
    return padder.Aligned() ? Comparable(padder.curve.usableQ) : -1.0;
}

double StatedQOf(const StandardPadder& padder)
{
    return padder.Aligned() ? Comparable(padder.curve.statedQ) : -1.0;
}

// Golden-section search for the smallest of `F` over [lo, hi], `mid` inside
// with F(mid) at or below both ends, until the bracket is narrower than `tol`.
template <typename Function>
double GoldenMinimum(const Function& F, double lo, double mid, double hi, double tol)
{
    constexpr double g = 0.3819660112501051; // (3 - sqrt 5) / 2
    double Fmid = F(mid);
    while (hi - lo > tol) {
        const bool right = hi - mid > mid - lo;
        const double trial = right ? mid + g * (hi - mid) : mid - g * (mid - lo);
        const double Ft = F(trial);
        if (Ft < Fmid) {
            (right ? lo : hi) = mid;
            mid = trial;
            Fmid = Ft;
        } else {
            (right ? hi : lo) = trial;
        }
    }
    return mid;
}

// A bracket [lo, hi] around a minimum of F, walking downhill from `start`
// in steps that double; gives up after 40 steps with the last bracket.
template <typename Function>
std::array<double, 3> Bracket(const Function& F, double start, double step)
{
    double a = start - step, b = start, c = start + step;
    double Fa = F(a), Fb = F(b), Fc = F(c);
    for (int k = 0; k < 40 && !(Fb <= Fa && Fb <= Fc); ++k) {
        if (Fa < Fc) {
            c = b;
            Fc = Fb;
            b = a;
            Fb = Fa;
            a = b - 2.0 * (c - b);
            Fa = F(a);
        } else {
            a = b;
            Fa = Fb;
            b = c;
            Fb = Fc;
            c = b + 2.0 * (b - a);
            Fc = F(c);
        }
    }
    return {a, b, c};
}

} // namespace

// The oscillator with the padder C_p fixed, in plain doubles as a search
// needs them: its tank C(x) = A - B / (x + D), A = C_sz + C_p, B = C_p^2,
// D = C_to + C_p, runs at f_o = s h(x) with h(x) = 1 / sqrt(A - B / (x + D))
// and s = sqrt(lambda) = 1 / sqrt(K L_o). At step i the input circuit's
// relative mistuning is r_i = (f_o - f_kf) / f_be = (s h_i - f_kf) / f_be,
// and the usable Q 1 / |r - 1/r| is largest where max |ln r_i| is smallest.
// For a fixed D every r_i rises linearly with s, so the best s makes the
// largest and the smallest r_i reciprocal; what is left is a search in D.
struct PadderFitter::Tank {
    const PadderFitter& fitter;
    double A = 0.0;
    double B = 0.0;
    double Dlow = 0.0; // F, the smallest D at which every step's tank is positive

    Tank(const PadderFitter& f, double C_p) : fitter(f), A(f.s_.C_sz + C_p), B(C_p * C_p)
    {
        // x + D > B / A at every step; x is smallest at step 0.
        Dlow = B / A - f.in_.C_h[0];
    }

    double D(double u) const { return Dlow + std::exp(u); }

    // The largest |ln r_i| over `steps` for D, with the best s for it.
    std::pair<double, double> Measure(double D, const std::vector<int>& steps) const
    {
        thread_local std::vector<double> h;
        h.resize(steps.size());
        const double k = fitter.s_.f_kf;
        for (std::size_t j = 0; j < steps.size(); ++j) {
            const auto i = static_cast<std::size_t>(steps[j]);
            const double C = A - B / (fitter.in_.C_h[i] + D);
            if (!(C > 0.0))
                return {kInf, 0.0};
            h[j] = 1.0 / std::sqrt(C);
        }
        const auto f_be = [&](std::size_t j) {
            return fitter.in_.f_be[static_cast<std::size_t>(steps[j])];
        };
        // Start where the first step tracks, then move s to make the current
        // largest and smallest r reciprocal: (s h_a - k)(s h_b - k) = f_a f_b,
        // whose larger root puts both factors above zero. The pair settles
        // in a few rounds; ten bound it.
        double s = (f_be(0) + k) / h[0];
        double rMax = 0.0, rMin = 0.0;
        for (int round = 0; round < 10; ++round) {
            std::size_t a = 0, b = 0;
            rMax = -kInf;
            rMin = kInf;
            for (std::size_t j = 0; j < h.size(); ++j) {
                const double r = (s * h[j] - k) / f_be(j);
                if (r > rMax) {
                    rMax = r;
                    a = j;
                }
                if (r < rMin) {
                    rMin = r;
                    b = j;
                }
            }
            const double P = h[a] * h[b];
            const double Q = k * (h[a] + h[b]);
            const double next =
                (Q + std::sqrt(Q * Q - 4.0 * P * (k * k - f_be(a) * f_be(b)))) / (2.0 * P);
            if (!std::isfinite(next))
                return {kInf, 0.0};
            if (next == s)
                break;
            s = next;
        }
        rMax = -kInf;
        rMin = kInf;
        for (std::size_t j = 0; j < h.size(); ++j) {
            const double r = (s * h[j] - k) / f_be(j);
            rMax = std::max(rMax, r);
            rMin = std::min(rMin, r);
        }
        if (!(rMin > 0.0))
            return {kInf, s};
        return {std::max(std::log(rMax), -std::log(rMin)), s};
    }
};

PadderFitter::PadderFitter(const CalculationState& s, const ThreePointDesign& design)
    : s_(s), f_(design.f), idealC_p_(design.oscillator.C_p)
{
    calc_.state = s;
    in_ = SweepInputCircuit(calc_);
    for (int i = 0; i < kSweepIntervals; i += kCoarseStride)
        coarse_.push_back(i);
    coarse_.push_back(kSweepIntervals);
}

double PadderFitter::DeviationAt(const PadderOscillator& o, double f) const
{
    return OscillatorFrequency(o, calc_.CapacitanceForFrequency(f), s_.C_sz) - s_.f_kf - f;
}

PadderCurve PadderFitter::AlignedCurve(double C_p, double A1, double A2) const
{
    return SweepPadder(AlignFixedPadder(calc_, C_p, A1, A2), in_, s_);
}

std::optional<StandardPadder> PadderFitter::Search(double C_p, double D0) const
{
    const Tank tank(*this, C_p);
    if (!(D0 > tank.Dlow))
        D0 = tank.Dlow + C_p;
    const auto coarse = [&](double u) { return tank.Measure(tank.D(u), coarse_).first; };
    const double u0 = std::log(D0 - tank.Dlow);
    const auto [a, b, c] = Bracket(coarse, u0, 0.05);
    const double uc = GoldenMinimum(coarse, a, b, c, 1e-5);

    // The steps around every peak of |ln r| over the whole sweep at the coarse
    // optimum, and both edges: the fine search reads only these.
    std::vector<int> all(kSweepSteps);
    for (int i = 0; i < kSweepSteps; ++i)
        all[static_cast<std::size_t>(i)] = i;
    const double sc = tank.Measure(tank.D(uc), all).second;
    const double Dc = tank.D(uc);
    std::array<double, kSweepSteps> e{};
    for (std::size_t i = 0; i < kSweepSteps; ++i) {
        const double h = 1.0 / std::sqrt(tank.A - tank.B / (in_.C_h[i] + Dc));
        e[i] = std::abs(std::log((sc * h - s_.f_kf) / in_.f_be[i]));
    }
    std::vector<int> fine;
    for (int i = 0; i < kSweepSteps; ++i) {
        const auto at = [&](int j) { return e[static_cast<std::size_t>(std::clamp(j, 0, 499))]; };
        if (at(i) >= at(i - 1) && at(i) >= at(i + 1))
            for (int j = std::max(0, i - kFineWindow); j <= std::min(499, i + kFineWindow); ++j)
                if (fine.empty() || fine.back() < j)
                    fine.push_back(j);
    }
    // No peak: |ln r| is not a number at any step, as when the coarse search
    // found no tank that runs above the IF everywhere.
    if (fine.empty())
        return std::nullopt;
    const auto fineMeasure = [&](double u) { return tank.Measure(tank.D(u), fine).first; };
    const auto [fa, fb, fc] = Bracket(fineMeasure, uc, 1e-3);
    const double uf = GoldenMinimum(fineMeasure, fa, fb, fc, 1e-9);
    const double D = tank.D(uf);
    const double s = tank.Measure(D, fine).second;
    if (!(s > 0.0) || !std::isfinite(D))
        return std::nullopt;

    // The curve's zeros: sign changes of r - 1 between neighbouring steps,
    // each found by regula falsi (Illinois) on the deviation in frequency.
    PadderOscillator o{1.0 / (K * s * s), C_p, D - C_p};
    std::vector<double> zeros;
    double previous = 0.0;
    for (std::size_t i = 0; i < kSweepSteps; ++i) {
        const double h = 1.0 / std::sqrt(tank.A - tank.B / (in_.C_h[i] + D));
        const double d = s * h - s_.f_kf - in_.f_be[i];
        if (i > 0 && (d < 0.0) != (previous < 0.0) && d != 0.0 && previous != 0.0) {
            double lo = in_.f_be[i], hi = in_.f_be[i - 1];
            double dlo = d, dhi = previous;
            for (int k = 0; k < 60 && hi - lo > 1e-9 * hi; ++k) {
                const double m = lo - dlo * (hi - lo) / (dhi - dlo);
                const double dm = DeviationAt(o, m);
                if ((dm < 0.0) == (dlo < 0.0)) {
                    lo = m;
                    dlo = dm;
                    dhi *= 0.5;
                } else {
                    hi = m;
                    dhi = dm;
                    dlo *= 0.5;
                }
                if (dm == 0.0)
                    lo = hi = m;
            }
            zeros.push_back(0.5 * (lo + hi));
        }
        previous = d;
    }
    if (zeros.size() < 2)
        return std::nullopt;
    std::ranges::sort(zeros);
    StandardPadder padder;
    padder.nominal = C_p;
    padder.oscillator = o;
    padder.alignment = {zeros.front(), zeros.back()};
    padder.tracksAtCheck = zeros.size() > 2;
    if (padder.tracksAtCheck) {
        // More than three zeros do not arise from two free parts; should
        // rounding split one, the one nearest the band's middle is checked.
        const double middle = 0.5 * (s_.f_min + s_.f_max);
        padder.checkPoint =
            *std::ranges::min_element(zeros.begin() + 1, zeros.end() - 1, [&](double p, double q) {
                return std::abs(p - middle) < std::abs(q - middle);
            });
    }
    return padder;
}

void PadderFitter::Describe(StandardPadder& padder) const
{
    padder.oscillator =
        AlignFixedPadder(calc_, padder.nominal, padder.alignment[0], padder.alignment[1]);
    padder.trimmerNegative = padder.oscillator.C_to < 0.0;
    padder.curve = SweepPadder(padder.oscillator, in_, s_);
    if (!padder.tracksAtCheck)
        padder.checkPoint = 0.5 * (s_.f_min + s_.f_max);
    const double d = DeviationAt(padder.oscillator, padder.checkPoint);
    padder.checkDeviation = padder.tracksAtCheck ? 0.0 : RoundAsShown2(d);
    // Which way the padder moves the check point's deviation once the coil
    // and trimmer are re-set at A1 and A2: a padder 1 % larger, realigned.
    try {
        const PadderOscillator larger = AlignFixedPadder(calc_, 1.01 * padder.nominal,
                                                         padder.alignment[0], padder.alignment[1]);
        padder.increaseWhenHigh = DeviationAt(larger, padder.checkPoint) < d;
    } catch (const std::runtime_error&) {
        padder.increaseWhenHigh = false;
    }
}

double PadderFitter::LargestMistuning(const PadderOscillator& o) const
{
    const Tank tank(*this, o.C_p);
    const double s = 1.0 / std::sqrt(K * o.L_o);
    const double D = o.C_to + o.C_p;
    double largest = 0.0;
    for (std::size_t i = 0; i < kSweepSteps; ++i) {
        const double r =
            (s / std::sqrt(tank.A - tank.B / (in_.C_h[i] + D)) - s_.f_kf) / in_.f_be[i];
        if (!(r > 0.0))
            return kInf;
        largest = std::max(largest, std::abs(std::log(r)));
    }
    return largest;
}

StandardPadder PadderFitter::Fit(double C_p) const
{
    // The builder's fallback: aligned at F1 and F3, where the design tracks.
    // The search must beat it, judged by the same unrounded measure, before
    // its points replace F1 and F3; only the chosen alignment is swept.
    StandardPadder padder;
    padder.nominal = C_p;
    padder.alignment = {f_[0], f_[2]};
    double atEnds = kInf;
    double D0 = idealC_p_;
    try {
        const PadderOscillator o = AlignFixedPadder(calc_, C_p, f_[0], f_[2]);
        atEnds = LargestMistuning(o);
        D0 = o.C_to + C_p;
    } catch (const std::runtime_error&) {
        // No alignment at F1 and F3: the search alone decides.
    }
    try {
        const std::optional<StandardPadder> found = Search(C_p, D0);
        if (found && LargestMistuning(found->oscillator) <= atEnds)
            padder = *found;
    } catch (const std::runtime_error&) {
        // The search's alignment does not hold: F1 and F3 stay.
    }
    try {
        Describe(padder);
    } catch (const std::runtime_error&) {
        padder.alignmentFailed = true;
        padder.oscillator = {};
        padder.oscillator.C_p = C_p;
        padder.curve = {};
    }
    return padder;
}

namespace {

std::optional<PadderPair> BestPair(const PadderFitter& fitter, StandardSeries series,
                                   std::map<long long, StandardPadder>& fitted)
{
    const double ideal = fitter.IdealPadder();
    constexpr double kSmallest = 10.0 * kFaradPerPicofarad;
    const std::vector<double> values = StandardValues(series, kSmallest, 2.0 * ideal);
    struct Candidate {
        double larger;
        double smaller;
        double distance; // |ln(sum / ideal)|
    };
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < values.size(); ++i)
        for (std::size_t j = 0; j <= i; ++j) {
            const double sum = values[i] + values[j];
            const double distance = std::abs(std::log(sum / ideal));
            // Beyond half again or a third below the ideal no pair comes near
            // the best; the walk below stops long before.
            if (distance < 0.4)
                candidates.push_back({values[i], values[j], distance});
        }
    std::ranges::sort(candidates, {}, &Candidate::distance);

    // The best alignment's Q falls off on either side of the ideal value, so
    // each side is walked outward until its stated Q drops below the best.
    std::optional<PadderPair> best;
    double bestStated = -kInf;
    std::array<bool, 2> exhausted{};
    const auto better = [&](const PadderPair& p) {
        const double stated = StatedQOf(p.fit);
        if (stated != bestStated)
            return stated > bestStated;
        const double dp = std::abs(p.larger - ideal);
        const double db = std::abs(best->larger - ideal);
        if (dp != db)
            return dp < db;
        return QOf(p.fit) > QOf(best->fit);
    };
    for (const Candidate& c : candidates) {
        const double sum = c.larger + c.smaller;
        const std::size_t side = sum > ideal ? 1 : 0;
        if (exhausted[side])
            continue;
        // Standard values from 10 pF up are whole picofarads.
        const auto key = std::llround(sum / kFaradPerPicofarad);
        auto found = fitted.find(key);
        if (found == fitted.end())
            found = fitted.emplace(key, fitter.Fit(sum)).first;
        const PadderPair pair{c.larger, c.smaller, found->second};
        if (StatedQOf(pair.fit) < bestStated) {
            exhausted[side] = true;
            continue;
        }
        if (!best || better(pair)) {
            best = pair;
            bestStated = StatedQOf(pair.fit);
        }
        if (exhausted[0] && exhausted[1])
            break;
    }
    if (best && !best->fit.Aligned())
        return std::nullopt;
    return best;
}

PadderTolerance ToleranceOf(const PadderFitter& fitter, const StandardPadder& padder)
{
    PadderTolerance t;
    t.nominal = padder.nominal;
    t.lowest = padder.curve.deviation;
    t.highest = padder.curve.deviation;
    for (std::size_t b = 0; b < kPadderTolerances.size(); ++b) {
        t.bands[b].tolerance = kPadderTolerances[b];
        t.bands[b].usableQ = padder.curve.usableQ;
    }
    // A padder's deviation moves steadily with its value at every step, so
    // each band's smallest Q lies at one of its edges, and the widest band's
    // edges bound the envelope.
    for (std::size_t b = 0; b < kPadderTolerances.size(); ++b)
        for (const double sign : {-1.0, 1.0}) {
            std::optional<double> q = 0.0;
            try {
                const PadderCurve curve =
                    fitter.AlignedCurve(padder.nominal * (1.0 + sign * kPadderTolerances[b]),
                                        padder.alignment[0], padder.alignment[1]);
                q = curve.usableQ;
                if (b + 1 == kPadderTolerances.size())
                    for (std::size_t i = 0; i < kSweepSteps; ++i) {
                        t.lowest[i] = std::min(t.lowest[i], curve.deviation[i]);
                        t.highest[i] = std::max(t.highest[i], curve.deviation[i]);
                    }
            } catch (const std::runtime_error&) {
                // A value that no coil and trimmer align allows no Q.
            }
            if (Comparable(q) < Comparable(t.bands[b].usableQ))
                t.bands[b].usableQ = q;
        }
    for (ToleranceQ& band : t.bands)
        if (band.usableQ)
            band.statedQ = RoundDownToTwoSignificant(*band.usableQ);
    return t;
}

} // namespace

PadderChoices FitPadders(const CalculationState& s, const ThreePointDesign& design,
                         std::optional<double> ownPadder)
{
    const PadderFitter fitter(s, design);
    PadderChoices choices;
    if (ownPadder && *ownPadder > 0.0 && std::isfinite(*ownPadder))
        choices.own = fitter.Fit(*ownPadder);
    std::map<long long, StandardPadder> fitted;
    choices.e12Pair = BestPair(fitter, StandardSeries::E12, fitted);
    choices.e24Pair = BestPair(fitter, StandardSeries::E24, fitted);
    const StandardPadder& fittedPadder = choices.own ? *choices.own : design.e24;
    if (fittedPadder.Aligned())
        choices.tolerance = ToleranceOf(fitter, fittedPadder);
    return choices;
}

} // namespace kalibrix
