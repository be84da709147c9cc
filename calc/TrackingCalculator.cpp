// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrackingCalculator.h"

#include "NumberText.h"
#include "StrictMath.h"

#include <cmath>

namespace kalibrix {
namespace {

// x * scale rounded to a whole count of hundredths (of pF or uH), then /100.
// Only a remainder strictly above one half rounds up; a negative value is
// therefore cut toward zero.
double RoundToHundredths(double x, double scale)
{
    const double y = strict::mul(x, scale);
    double w = std::trunc(y);
    const double r = strict::sub(y, w);
    if (r > 0.5)
        w = strict::add(w, 1.0);
    return strict::div(w, 100.0);
}

} // namespace

double TrackingCalculator::CapacitanceForFrequency(double f) const
{
    using namespace strict;
    const double P = mul(mul(mul(state.L_b, K), f), f);
    return sub(div(1.0, P), add(state.C_tb, state.C_sz));
}

double TrackingCalculator::RoundToPicofarad(double x)
{
    return RoundToHundredths(x, 1e14);
}

double TrackingCalculator::RoundToMicrohenry(double x)
{
    return RoundToHundredths(x, 1e8);
}

std::string TrackingCalculator::FormatMegahertz(double f) const
{
    return FormatFixed(strict::div(f, kHertzPerMegahertz), 3, decimalSeparator);
}

std::string TrackingCalculator::FormatValue(double x) const
{
    return FormatFixed(x, 2, decimalSeparator);
}

double TrackingCalculator::SweepCapacitance(double i) const
{
    using namespace strict;
    const double a = sub(1.0, div(state.f_min, state.f_max));
    const double t = mul(div(1.0, static_cast<double>(kSweepIntervals)), i);
    const double S = add(add(state.C_tb, state.C_h_min), state.C_sz);
    // C = S / (1 - t*a)^2 resonates with L_b at f_max * (1 - t*a).
    return div(S, square(sub(1.0, mul(t, a))));
}

double TrackingCalculator::TrackingDeviation(double C_be)
{
    using namespace strict;
    // The tuning capacitance that puts the input circuit at C_be, placed into
    // the oscillator circuit beside its fixed capacitance C_osz.
    const double C_o = add(sub(sub(C_be, state.C_tb), state.C_sz), state.C_osz);
    const double f_osz = sqrt(div(1.0, mul(mul(C_o, K), state.L_o)));
    const double f_be = sqrt(div(1.0, mul(mul(C_be, K), state.L_b)));
    TableAt(state.fbe_curve, state.sweep_i) = f_be;
    return sub(sub(f_osz, state.f_kf), f_be);
}

} // namespace kalibrix
