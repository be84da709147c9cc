// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Errors.h"

#include <cmath>
#include <limits>

#if defined(__FAST_MATH__) || defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error "The strict arithmetic relies on infinities and NaN: no -ffast-math, -ffinite-math-only"
#endif

// Arithmetic that tests every result at once: an infinite result is an
// overflow, a NaN an invalid operation. Zero divisors and negative square-root
// arguments are caught before the operation so that each error is specific.
// The floating-point environment flags are not used: the optimiser is free to
// move an operation past a fetestexcept() call.
namespace kalibrix::strict {

inline double verify(double r)
{
    if (std::isnan(r))
        throw InvalidOperationError();
    if (std::isinf(r))
        throw OverflowError();
    return r;
}

// Tests a quotient q = a / b that has already been formed (and perhaps stored).
inline double verifyQuotient(double a, double b, double q)
{
    if (b == 0.0) {
        if (a == 0.0 || std::isnan(a))
            throw InvalidOperationError();
        throw DivisionByZeroError();
    }
    return verify(q);
}

// a / b as IEEE arithmetic gives it, for a step that stores its result before
// testing it; a zero divisor yields the infinity or NaN without dividing, so no
// division by zero is ever executed.
inline double rawQuotient(double a, double b)
{
    if (b != 0.0)
        return a / b;
    if (a == 0.0 || std::isnan(a))
        return std::numeric_limits<double>::quiet_NaN();
    return std::signbit(a) != std::signbit(b) ? -std::numeric_limits<double>::infinity()
                                              : std::numeric_limits<double>::infinity();
}

inline double add(double a, double b)
{
    return verify(a + b);
}
inline double sub(double a, double b)
{
    return verify(a - b);
}
inline double mul(double a, double b)
{
    return verify(a * b);
}
inline double div(double a, double b)
{
    return verifyQuotient(a, b, rawQuotient(a, b));
}
inline double square(double x)
{
    return verify(x * x);
}

inline double sqrt(double x)
{
    if (x < 0.0)
        throw NegativeSquareRootError();
    return verify(std::sqrt(x));
}

} // namespace kalibrix::strict
