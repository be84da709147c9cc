// SPDX-License-Identifier: GPL-3.0-or-later
// ParseLeadingNumber on arbitrary bytes: it never crashes, its result is
// finite or the value beyond the double range is reported as OverflowError,
// and it agrees with a second, plain reading of the same grammar. ScaledInput
// with the pF and MHz factors on the same bytes: a finite reading is
// multiplied as one double multiplication; a reading beyond the double range
// is scaled and refused only when the scaled value is beyond the range too.

#include "CalculationState.h"
#include "Errors.h"
#include "FuzzChecks.h"
#include "NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

using kalibrix::fuzz::Check;
using kalibrix::fuzz::IsDigit;

struct Reading {
    bool overflow = false;
    double value = 0.0;
    std::string number; // the matched prefix, blanks dropped
};

// The grammar read the plain way: every blank, tab and line feed is dropped
// first; then the longest prefix of the form
//   [+|-] digits [. digits] [(e|E) [+|-] digit digits...]
// with at least one digit before the exponent is cut out, and strtod converts
// exactly that prefix. The fuzz targets run in the C locale, where the point
// is strtod's decimal separator too.
Reading PlainReading(std::string_view text)
{
    std::string s;
    std::copy_if(text.begin(), text.end(), std::back_inserter(s),
                 [](char c) { return c != ' ' && c != '\t' && c != '\n'; });

    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mantissaDigits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i)
        ++mantissaDigits;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && IsDigit(s[i]); ++i)
            ++mantissaDigits;
    if (mantissaDigits == 0)
        return {};

    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j]))
                ++j;
            end = j;
        }
    }

    const std::string number = s.substr(0, end);
    errno = 0;
    char* stop = nullptr;
    const double value = std::strtod(number.c_str(), &stop);
    Check(stop == number.c_str() + number.size(), "strtod reads the whole matched prefix");
    return {errno == ERANGE && std::isinf(value), value, number};
}

// The reference for scaled readings needs a long double that holds every
// reading whose scaled value could still be finite (below 1e321 with the pF
// factor); the x86 extended and the quadruple formats reach 1e4932.
static_assert(std::numeric_limits<long double>::max_exponent10 > 400,
              "the reference for scaled readings needs a long double wider than a double");

// ScaledInput against the reading: `read` is ParseLeadingNumber's value, none
// when it overflowed; `number` the matched prefix of the plain reading.
void CheckScaled(std::string_view text, std::optional<double> read, const std::string& number,
                 double factor)
{
    bool overflow = false;
    double value = 0.0;
    try {
        value = kalibrix::ScaledInput(text, factor);
    } catch (const kalibrix::OverflowError&) {
        overflow = true;
    }

    if (read) {
        const double product = *read * factor;
        Check(overflow == std::isinf(product), "a finite reading overflows only as its product");
        if (!overflow)
            Check(value == product && std::signbit(value) == std::signbit(product),
                  "a finite reading is scaled by one double multiplication");
        return;
    }

    // Beyond the double range: the exact product rounded once, against a
    // long double product whose two roundings err by far less than half a
    // double's unit in the last place.
    const long double reference =
        std::strtold(number.c_str(), nullptr) * static_cast<long double>(factor);
    const long double largest = DBL_MAX;
    const long double halfwayPastLargest =
        largest + std::ldexp(1.0L, DBL_MAX_EXP - DBL_MANT_DIG - 1);
    if (std::fabs(reference) < largest)
        Check(!overflow, "a scaled value within the double range is stored");
    if (std::fabs(reference) > halfwayPastLargest * (1.0L + 0x1p-60L))
        Check(overflow, "a scaled value beyond the double range is refused");
    if (!overflow) {
        Check(std::signbit(value) == std::signbit(reference), "the scaled value keeps the sign");
        const long double unit = std::ldexp(1.0L, std::ilogb(value) - (DBL_MANT_DIG - 1));
        Check(std::fabs(static_cast<long double>(value) - reference) <= unit,
              "the scaled value is the product rounded to a double");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Reading expected = PlainReading(text);

    std::optional<double> read;
    try {
        read = kalibrix::ParseLeadingNumber(text);
    } catch (const kalibrix::OverflowError&) {
        Check(expected.overflow, "OverflowError only for a value beyond the double range");
    }
    if (read) {
        const double value = *read;
        Check(!expected.overflow, "a value beyond the double range is reported as OverflowError");
        Check(std::isfinite(value), "the reading is finite");
        Check(std::signbit(value) == std::signbit(expected.value),
              "the sign agrees with the plain reading");
        // Below the normal range a reading may also come out as zero:
        // underflow is no error.
        if (std::fabs(expected.value) < DBL_MIN)
            Check(value == 0.0 || value == expected.value,
                  "a tiny value reads as zero or as the plain reading");
        else
            Check(value == expected.value, "the value agrees with the plain reading");
    }

    CheckScaled(text, read, expected.number, kalibrix::kFaradPerPicofarad);
    CheckScaled(text, read, expected.number, kalibrix::kHertzPerMegahertz);
    return 0;
}
