// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

namespace kalibrix {

// Base of every run-time error of the calculation; the calculate action
// reports all of them with one message.
class CalculationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One kind of calculation error, a type of its own so that it can be caught
// and tested by itself; Kind names it and gives its text.
template <class Kind>
class TypedCalculationError : public CalculationError {
public:
    TypedCalculationError() : CalculationError(Kind::kWhat) {}
};

struct DivisionByZero {
    static constexpr const char* kWhat = "division by zero";
};
struct Overflow {
    static constexpr const char* kWhat = "overflow";
};
// An operation without a meaningful result, such as 0/0 or inf - inf.
struct InvalidOperation {
    static constexpr const char* kWhat = "invalid floating-point operation";
};
// The square root of a negative number (an invalid argument).
struct NegativeSquareRoot {
    static constexpr const char* kWhat = "square root of a negative number";
};
struct IndexOutOfRange {
    static constexpr const char* kWhat = "table index out of range";
};

using DivisionByZeroError = TypedCalculationError<DivisionByZero>;
using OverflowError = TypedCalculationError<Overflow>;
using InvalidOperationError = TypedCalculationError<InvalidOperation>;
using NegativeSquareRootError = TypedCalculationError<NegativeSquareRoot>;
using IndexOutOfRangeError = TypedCalculationError<IndexOutOfRange>;

} // namespace kalibrix
