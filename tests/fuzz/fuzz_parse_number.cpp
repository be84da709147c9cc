// ParseLeadingNumber on arbitrary bytes: it never crashes, its result is
// finite or the value beyond the double range is reported as OverflowError,
// and it agrees with a second, plain reading of the same grammar.

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
#include <string>
#include <string_view>

namespace {

using kalibrix::fuzz::Check;
using kalibrix::fuzz::IsDigit;

struct Reading {
    bool overflow = false;
    double value = 0.0;
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
    return {errno == ERANGE && std::isinf(value), value};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Reading expected = PlainReading(text);

    double value = 0.0;
    try {
        value = kalibrix::ParseLeadingNumber(text);
    } catch (const kalibrix::OverflowError&) {
        Check(expected.overflow, "OverflowError only for a value beyond the double range");
        return 0;
    }
    Check(!expected.overflow, "a value beyond the double range is reported as OverflowError");
    Check(std::isfinite(value), "the reading is finite");
    Check(std::signbit(value) == std::signbit(expected.value), "the sign agrees with the plain reading");
    // Below the normal range a reading may also come out as zero: underflow
    // is no error.
    if (std::fabs(expected.value) < DBL_MIN)
        Check(value == 0.0 || value == expected.value, "a tiny value reads as zero or as the plain reading");
    else
        Check(value == expected.value, "the value agrees with the plain reading");
    return 0;
}
