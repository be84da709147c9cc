// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Property checks shared by the fuzz targets. A failed check aborts, and
// libFuzzer keeps the input that caused it as a crash artifact.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kalibrix::fuzz {

inline void Check(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", property);
        std::abort();
    }
}

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool AllDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), IsDigit);
}

// Splits a number text at its one decimal separator; false when the text has
// none.
inline bool SplitAtSeparator(std::string_view text, std::string_view separator,
                             std::string_view& integerPart, std::string_view& fraction)
{
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return false;
    integerPart = text.substr(0, at);
    fraction = text.substr(at + separator.size());
    return true;
}

inline std::string_view WithoutMinus(std::string_view text)
{
    return !text.empty() && text.front() == '-' ? text.substr(1) : text;
}

// An integer part without superfluous leading zeros: "0" or a digit string
// that does not start with 0.
inline bool IsCanonicalInteger(std::string_view s)
{
    return !s.empty() && AllDigits(s) && (s == "0" || s.front() != '0');
}

// The fixed pattern's text: optional minus, integer digits, the separator,
// exactly `decimals` digits; a minus only in front of a non-zero value.
inline bool HasFixedShape(std::string_view text, int decimals, std::string_view separator)
{
    std::string_view integerPart;
    std::string_view fraction;
    if (!SplitAtSeparator(WithoutMinus(text), separator, integerPart, fraction))
        return false;
    if (!IsCanonicalInteger(integerPart) || !AllDigits(fraction)
        || fraction.size() != static_cast<std::size_t>(decimals))
        return false;
    const bool negative = text.front() == '-';
    const bool nonZero =
        integerPart != "0" || fraction.find_first_not_of('0') != std::string_view::npos;
    return !negative || nonZero;
}

// The general number form: optional minus, integer digits, and only when the
// value has a fraction the separator and digits ending in a non-zero one; no
// exponent, no "-0", at most 15 significant digits.
inline bool HasGeneralShape(std::string_view text, std::string_view separator)
{
    if (text == "-0")
        return false;
    const std::string_view body = WithoutMinus(text);
    std::string_view integerPart = body;
    std::string_view fraction;
    if (SplitAtSeparator(body, separator, integerPart, fraction)) {
        if (fraction.empty() || !AllDigits(fraction) || fraction.back() == '0')
            return false;
    }
    if (!IsCanonicalInteger(integerPart))
        return false;
    std::string digits(integerPart);
    digits.append(fraction);
    const std::size_t first = digits.find_first_not_of('0');
    const std::size_t last = digits.find_last_not_of('0');
    return first == std::string::npos || last - first + 1 <= 15;
}

// A shown text as a number again, read by the C library (in the C locale the
// point is its separator).
inline double ReadBack(std::string_view text, std::string_view separator)
{
    // Put together rather than replaced in place: GCC 12 warns wrongly
    // (-Wrestrict) about an in-place std::string::replace with a literal.
    std::string plain(text);
    if (const std::size_t at = text.find(separator); at != std::string_view::npos)
        plain =
            std::string(text.substr(0, at)) + '.' + std::string(text.substr(at + separator.size()));
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(plain.c_str(), &end);
    Check(end == plain.c_str() + plain.size(), "a shown text reads back as a whole number");
    return value;
}

} // namespace kalibrix::fuzz
