// SPDX-License-Identifier: GPL-3.0-or-later
#include "Bandspread.h"

#include "NumberText.h"
#include "StrictMath.h"
#include "TrackingCalculator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace kalibrix {

BandspreadError::BandspreadError(BandspreadFailure failure)
    : std::runtime_error("no bandspread design"), failure_(failure)
{
}

BandspreadFailure BandspreadError::failure() const
{
    return failure_;
}

namespace {

constexpr double kHenryPerMicrohenry = 1e-6;

// The coil's text value in µH, the step 10^-decimals, rounded up or down to
// a whole number of steps, back in H exactly as ScaledInput reads that text:
// the quotient of two exact integers is the double nearest the decimal.
double RoundedCoil(double L, bool up)
{
    const int decimals = CoilDecimals(L);
    const double scale = std::pow(10.0, decimals);
    const double steps = L / kHenryPerMicrohenry * scale;
    return strict::mul((up ? std::ceil(steps) : std::floor(steps)) / scale, kHenryPerMicrohenry);
}

// The gang capacitance (F) at which the circuit tunes to f (Hz): the tank
// needs C = 1 / (K L_b f^2), the series branch T = C - C_sz, and
// 1/T = 1/(C_h + C_p) + 1/C_s gives C_h = 1 / (1/T - 1/C_s) - C_p.
double GangAt(const BandspreadInput& in, double C_sz, double f)
{
    using namespace strict;
    const double T = sub(div(1.0, mul(mul(K, in.L_b), square(f))), C_sz);
    return sub(div(1.0, sub(div(1.0, T), div(1.0, in.C_s))), in.C_p);
}

GangCapacitanceAt GangOf(const BandspreadInput& in, double C_sz)
{
    return [in, C_sz](double f) { return GangAt(in, C_sz, f); };
}

StandardInput Standard(const CalculationState& s, double C_s, StandardSeries series)
{
    StandardInput row;
    row.nominal = NearestStandardValue(C_s, series);
    try {
        const PadderOscillator tank =
            AlignSeriesTank(s.C_h_max, s.f_min, s.C_h_min, s.f_max, row.nominal, s.C_sz);
        row.input = {tank.L_o, tank.C_p, tank.C_to};
        row.trimmerNegative = row.input.C_p < 0.0;
    } catch (const ThreePointError&) {
        row.input = {0.0, row.nominal, 0.0};
        row.alignmentFailed = true;
    }
    return row;
}

bool HasLeadingNumber(std::string_view text)
{
    std::string number;
    std::ranges::copy_if(text, std::back_inserter(number),
                         [](char c) { return c != ' ' && c != '\t' && c != '\n'; });
    std::string_view rest = number;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-'))
        rest.remove_prefix(1);
    if (!rest.empty() && (rest.front() == '.' || rest.front() == ','))
        rest.remove_prefix(1);
    return !rest.empty() && rest.front() >= '0' && rest.front() <= '9';
}

} // namespace

int CoilDecimals(double L)
{
    const double microhenry = L / kHenryPerMicrohenry;
    return std::max(3, 3 - static_cast<int>(std::floor(std::log10(microhenry))));
}

// The band edges: C(C_h_min) = 1 / (K L f_max^2) and C(C_h_max) = 1 / (K L f_min^2).
// The lowest coil has no series capacitor: C_h_max - C_h_min then spans
// C(C_h_max) - C(C_h_min), so L = (1/f_min^2 - 1/f_max^2) / (K (C_h_max - C_h_min)).
// The highest has no trimmer: the series branch is C_h C_s / (C_h + C_s), whose
// reciprocal 1/C_h + 1/C_s differs between the edges by G = 1/C_h_min - 1/C_h_max
// (1/F) whatever C_s. With alpha = 1 / (K f_max^2), beta = 1 / (K f_min^2)
// (H F) and u = 1 / L:
//   1 / (alpha u - C_sz) - 1 / (beta u - C_sz) = G,
//   G alpha beta u^2 - (G C_sz (alpha + beta) + beta - alpha) u + G C_sz^2 = 0.
// The quadratic is negative at u = C_sz / alpha, where the top edge's branch
// would be zero, so its larger root is the coil: L = 1 / u taken as
// 2 a / (b + sqrt(b^2 - 4 a c)).
CoilRange BandspreadCoilRange(const CalculationState& s)
{
    if (!(s.C_h_min > 0.0) || !(s.C_h_max > s.C_h_min))
        throw BandspreadError(BandspreadFailure::NoCoilRange);
    try {
        using namespace strict;
        const double alpha = div(1.0, mul(K, square(s.f_max)));
        const double beta = div(1.0, mul(K, square(s.f_min)));
        const double lowest = div(sub(beta, alpha), sub(s.C_h_max, s.C_h_min));
        const double G = sub(div(1.0, s.C_h_min), div(1.0, s.C_h_max));
        const double a = mul(mul(G, alpha), beta);
        const double b = add(mul(mul(G, s.C_sz), add(alpha, beta)), sub(beta, alpha));
        const double c = mul(G, square(s.C_sz));
        const double highest = div(mul(2.0, a), add(b, sqrt(sub(square(b), mul(mul(4.0, a), c)))));
        if (!(lowest > 0.0) || !(highest > lowest))
            throw BandspreadError(BandspreadFailure::NoCoilRange);
        const CoilRange range{RoundedCoil(lowest, true), RoundedCoil(highest, false)};
        if (!(range.lowest <= range.highest))
            throw BandspreadError(BandspreadFailure::NoCoilRange);
        return range;
    } catch (const CalculationError&) {
        throw BandspreadError(BandspreadFailure::NoCoilRange);
    }
}

// Cp_b falls from the two-point design's trimmer at the lowest coil to zero
// at the highest, so halving the range on a log scale finds the coil. The
// geometric mean is taken as sqrt(a) sqrt(b): the product of two coils of
// 1e-200 H, as a gang of 1e300 pF needs, would underflow to zero.
double DefaultBandspreadCoil(const CalculationState& s, const CoilRange& range)
{
    const double target = s.C_h_min + s.C_sz;
    double low = range.lowest;
    double high = range.highest;
    try {
        for (int i = 0; i < 60; ++i) {
            const double middle = std::sqrt(low) * std::sqrt(high);
            (DesignBandspreadInput(s, range, middle).C_p > target ? low : high) = middle;
        }
    } catch (const std::runtime_error&) {
        // A circuit so near an end of the range that its arithmetic fails:
        // the coil found so far is as good a start.
    }
    // Rounded to two significant digits, unless the step 10^(e - 1) is too
    // small for a double.
    const double L = std::sqrt(low) * std::sqrt(high);
    const double step = std::pow(10.0, std::floor(std::log10(L)) - 1.0);
    if (!(step >= std::numeric_limits<double>::min()))
        return std::clamp(L, range.lowest, range.highest);
    return std::clamp(std::round(L / step) * step, range.lowest, range.highest);
}

double ReadCoil(std::string_view microhenry)
{
    if (!HasLeadingNumber(microhenry))
        throw BandspreadError(BandspreadFailure::CoilNotANumber);
    std::string text(microhenry);
    std::ranges::replace(text, ',', '.');
    try {
        return ScaledInput(text, kHenryPerMicrohenry);
    } catch (const CalculationError&) {
        throw BandspreadError(BandspreadFailure::CoilOutsideRange);
    }
}

// With the coil given, the band edges need the series branch to be
// T_a = 1 / (K L f_max^2) - C_sz at C_h_min and T_b = 1 / (K L f_min^2) - C_sz
// at C_h_max. With p = 1 / T_a, q = 1 / T_b and sigma = 1 / C_s (1/F), each
// edge gives C_h + C_p = 1 / (p - sigma) or 1 / (q - sigma), and their
// difference C_h_max - C_h_min = dC:
//   (p - sigma)(q - sigma) = M,  M = (p - q) / dC (1/F^2),
//   sigma^2 - (p + q) sigma + p q - M = 0.
// The smaller root keeps both p - sigma and q - sigma positive:
//   sigma = 2 (p q - M) / (p + q + sqrt((p - q)^2 + 4 M)),
// positive for a coil above the lowest; then C_p = 1 / (q - sigma) - C_h_max.
BandspreadInput DesignBandspreadInput(const CalculationState& s, const CoilRange& range, double L_b)
{
    if (!(range.lowest <= L_b && L_b <= range.highest))
        throw BandspreadError(BandspreadFailure::CoilOutsideRange);
    using namespace strict;
    const double p = div(1.0, sub(div(1.0, mul(mul(K, L_b), square(s.f_max))), s.C_sz));
    const double q = div(1.0, sub(div(1.0, mul(mul(K, L_b), square(s.f_min))), s.C_sz));
    const double M = div(sub(p, q), sub(s.C_h_max, s.C_h_min));
    const double sigma =
        div(mul(2.0, sub(mul(p, q), M)), add(add(p, q), sqrt(add(square(sub(p, q)), mul(4.0, M)))));
    BandspreadInput in{L_b, div(1.0, sigma), sub(div(1.0, sub(q, sigma)), s.C_h_max)};
    if (!(in.C_s > 0.0) || !(in.C_p > 0.0))
        throw BandspreadError(BandspreadFailure::CoilOutsideRange);
    // Substituted back, the circuit must tune to both band edges.
    const PadderOscillator tank{in.L_b, in.C_s, in.C_p};
    const auto reaches = [&](double C_h, double f) {
        return std::abs(SeriesTankFrequency(tank, C_h, s.C_sz) - f) <= 1e-9 * f;
    };
    if (!reaches(s.C_h_min, s.f_max) || !reaches(s.C_h_max, s.f_min))
        throw ThreePointError(ThreePointFailure::FailedCheck);
    return in;
}

BandspreadDesign DesignBandspread(const CalculationState& s, std::string_view coilMicrohenry,
                                  PointPlacement placement, const std::array<double, 3>& ownPoints)
{
    CheckThreePointInputs(s);
    BandspreadDesign design;
    design.range = BandspreadCoilRange(s);
    const double L_b = ReadCoil(coilMicrohenry);
    try {
        design.input = DesignBandspreadInput(s, design.range, L_b);
    } catch (const CalculationError&) {
        throw ThreePointError(ThreePointFailure::NonFinite);
    }
    design.e12 = Standard(s, design.input.C_s, StandardSeries::E12);
    design.e24 = Standard(s, design.input.C_s, StandardSeries::E24);
    const auto standardGang = [&](const StandardInput& row) {
        return GangOf(row.alignmentFailed ? design.input : row.input, s.C_sz);
    };
    design.oscillator = DesignThreePoint(
        s, {GangOf(design.input, s.C_sz), standardGang(design.e12), standardGang(design.e24)},
        placement, ownPoints);
    return design;
}

} // namespace kalibrix
