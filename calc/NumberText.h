// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Number <-> text conversions of the calculation. The decimal separator is
// always passed in: the window uses its locale's, tests pin it.
namespace kalibrix {

// A fixed-decimals pattern such as "######0.#0" (2 decimals) or "##0.##0"
// (3 decimals): every integer digit and at least one, no grouping, a leading
// minus for negative values, exactly `decimals` digits after the separator.
// The value is first taken to 15 significant digits, then rounded half away
// from zero, so 12.345 shows as 12.35. Zero never carries a minus sign.
std::string FormatFixed(double x, int decimals, std::string_view decimalSeparator);

// x to `digits` significant digits (1..15), rounded half to even on the
// exact binary value, in the fixed form of FormatFixed: 165.27 to 4 digits
// is "165.3", 0.0123456 to 3 is "0.0123", 89123 to 3 is "89100".
std::string FormatSignificant(double x, int digits, std::string_view decimalSeparator);

// The value FormatFixed(x, 2, ...) shows, as a number again; OverflowError
// when that value lies beyond the double range.
double RoundAsShown2(double x);

// General number form: 15 significant digits, no exponent, no grouping, no
// trailing zeros after the separator and no separator for a whole number.
std::string FormatGeneral(double x, std::string_view decimalSeparator);

// A number written by FormatFixed or FormatGeneral with its integer digits
// grouped by threes from the separator leftward ("70217,63" gives
// "70 217,63" with a blank as `groupSeparator`); every integer of four digits
// or more is grouped. An empty `groupSeparator` leaves the text as it is.
std::string GroupDigits(std::string_view number, std::string_view decimalSeparator,
                        std::string_view groupSeparator);

// Reads the leading number of a text: blanks, tabs and line feeds are skipped
// wherever they stand; an optional sign, digits, at most one point with
// digits, an optional exponent (E or e, optional sign, digits). Reading stops
// at the first character that cannot continue the number; no number gives 0.
// The point is the only decimal separator. A value beyond the range of a
// double throws OverflowError; one too small for it reads as (signed) zero.
double ParseLeadingNumber(std::string_view text);

// A field's value in SI units: the text's leading number times the factor
// (kFaradPerPicofarad, kHertzPerMegahertz). Where ParseLeadingNumber(text) is a finite
// double, the result is that double times the factor, one strict
// multiplication. A number beyond the double range is scaled exactly and
// rounded once, so 1e309 pF gives 1e297 F. OverflowError
// only when the scaled value lies beyond the range.
double ScaledInput(std::string_view text, double factor);

} // namespace kalibrix
