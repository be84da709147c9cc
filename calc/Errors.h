#pragma once

#include <stdexcept>

namespace kalibrix {

// Base of every run-time error of the calculation; the calculate action
// reports all of them with one message.
class CalculationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class DivisionByZeroError : public CalculationError {
public:
    DivisionByZeroError() : CalculationError("division by zero") {}
};

class OverflowError : public CalculationError {
public:
    OverflowError() : CalculationError("overflow") {}
};

// An operation without a meaningful result, such as 0/0 or inf - inf.
class InvalidOperationError : public CalculationError {
public:
    InvalidOperationError() : CalculationError("invalid floating-point operation") {}
};

// The square root of a negative number (an invalid argument).
class NegativeSquareRootError : public CalculationError {
public:
    NegativeSquareRootError() : CalculationError("square root of a negative number") {}
};

class IndexOutOfRangeError : public CalculationError {
public:
    IndexOutOfRangeError() : CalculationError("table index out of range") {}
};

} // namespace kalibrix
