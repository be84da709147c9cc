// SPDX-License-Identifier: GPL-3.0-or-later
// The number texts on arbitrary doubles. Input: one byte that picks the
// decimal separator, then the eight bytes of a double. For a finite value
// every text has its promised shape and reads back to the rounded value; a
// non-finite value is refused with a typed error and never written out.

#include "Errors.h"
#include "FuzzChecks.h"
#include "NumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using kalibrix::fuzz::Check;
using kalibrix::fuzz::ReadBack;

template <typename Format>
void CheckRefused(Format format, const char* property)
{
    try {
        format();
    } catch (const kalibrix::CalculationError&) {
        return;
    }
    Check(false, property);
}

// x to 15 significant digits, as the C library rounds it, read back.
double FifteenDigits(double x)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", x);
    return std::strtod(text, nullptr);
}

void CheckFixed(double x, int decimals, std::string_view separator)
{
    const std::string text = kalibrix::FormatFixed(x, decimals, separator);
    Check(kalibrix::fuzz::HasFixedShape(text, decimals, separator),
          "FormatFixed writes [-]digits, the separator and exactly the asked decimals");
    const double shown = ReadBack(text, separator);
    if (std::isinf(shown)) {
        Check(std::fabs(x) > 1.797693134862e308,
              "only a value next to the largest double shows beyond the double range");
        if (decimals == 2)
            CheckRefused([&] { return kalibrix::RoundAsShown2(x); },
                         "RoundAsShown2 reports a shown value beyond the double range as overflow");
        return;
    }
    Check(shown == 0.0 || std::signbit(shown) == std::signbit(x), "FormatFixed keeps the sign");
    // Taking x to 15 significant digits moves it by at most 5e-15 |x|; the
    // rounding to `decimals` by at most half a unit of the last decimal; the
    // read-back double lies within half an ulp of the text.
    const long double bound = 0.5L * std::pow(10.0L, -decimals) * (1 + 1e-12L)
                              + 5e-15L * std::fabs(static_cast<long double>(x))
                              + 1.2e-16L * std::fabs(static_cast<long double>(shown));
    Check(std::fabs(static_cast<long double>(shown) - x) <= bound,
          "FormatFixed reads back within half a unit of its last decimal");
    if (decimals == 2)
        Check(kalibrix::RoundAsShown2(x) == shown, "RoundAsShown2 is the value FormatFixed shows");
}

void CheckGeneral(double x, std::string_view separator)
{
    const std::string text = kalibrix::FormatGeneral(x, separator);
    Check(kalibrix::fuzz::HasGeneralShape(text, separator),
          "FormatGeneral writes [-]digits[separator digits], no exponent, no trailing zero");
    Check(ReadBack(text, separator) == FifteenDigits(x),
          "FormatGeneral reads back to the value rounded to 15 significant digits");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size != 1 + sizeof(double))
        return -1;
    const std::string_view separator = (data[0] & 1) != 0 ? "," : ".";
    double x = 0.0;
    std::memcpy(&x, data + 1, sizeof x);

    if (!std::isfinite(x)) {
        CheckRefused([&] { return kalibrix::FormatFixed(x, 2, separator); },
                     "FormatFixed refuses infinity and NaN");
        CheckRefused([&] { return kalibrix::RoundAsShown2(x); },
                     "RoundAsShown2 refuses infinity and NaN");
        CheckRefused([&] { return kalibrix::FormatGeneral(x, separator); },
                     "FormatGeneral refuses infinity and NaN");
        return 0;
    }
    CheckFixed(x, 2, separator);
    CheckFixed(x, 3, separator);
    CheckGeneral(x, separator);
    return 0;
}
