// SPDX-License-Identifier: GPL-3.0-or-later
#include "NumberText.h"

#include "Errors.h"
#include "StrictMath.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <system_error>
#include <vector>

namespace kalibrix {
namespace {

constexpr int kSignificantDigits = 15;

// A finite double as kSignificantDigits decimal digits d0 d1 ... d14 and a
// decimal exponent e, the value being d0.d1d2... x 10^e.
struct DecimalDigits {
    bool negative = false;
    std::array<char, kSignificantDigits> digits{};
    int exponent = 0;
};

DecimalDigits ToDecimalDigits(double x)
{
    strict::verify(x);
    // "-d.dddddddddddddde+ddd" fits easily into 32 characters.
    std::array<char, 32> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), x,
                                   std::chars_format::scientific, kSignificantDigits - 1);
    const char* p = buf.data();
    DecimalDigits d;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    int n = 0;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            d.digits[static_cast<std::size_t>(n++)] = *p;
    }
    std::from_chars(p + 1 + (p[1] == '+'), res.ptr, d.exponent);
    return d;
}

} // namespace

std::string FormatFixed(double x, int decimals, std::string_view decimalSeparator)
{
    const DecimalDigits d = ToDecimalDigits(x);

    // Digits of |x| * 10^decimals as a whole number: digit i of d stands for
    // 10^(exponent - i), so the first exponent + decimals + 1 digits are kept.
    const int keep = d.exponent + decimals + 1;
    std::string scaled;
    if (keep > 0) {
        const int fromDigits = keep < kSignificantDigits ? keep : kSignificantDigits;
        scaled.assign(d.digits.data(), static_cast<std::size_t>(fromDigits));
        scaled.append(static_cast<std::size_t>(keep - fromDigits), '0');
    }
    // Half away from zero on the 15-digit decimal value.
    const bool roundUp =
        keep >= 0 && keep < kSignificantDigits && d.digits[static_cast<std::size_t>(keep)] >= '5';
    if (roundUp) {
        int i = static_cast<int>(scaled.size()) - 1;
        for (; i >= 0 && scaled[static_cast<std::size_t>(i)] == '9'; --i)
            scaled[static_cast<std::size_t>(i)] = '0';
        if (i >= 0)
            ++scaled[static_cast<std::size_t>(i)];
        else
            scaled.insert(scaled.begin(), '1');
    }
    if (scaled.size() < static_cast<std::size_t>(decimals) + 1)
        scaled.insert(0, static_cast<std::size_t>(decimals) + 1 - scaled.size(), '0');

    const bool isZero = scaled.find_first_not_of('0') == std::string::npos;
    std::string text;
    text.reserve(scaled.size() + decimalSeparator.size() + 1);
    if (d.negative && !isZero)
        text.push_back('-');
    const std::size_t integerDigits = scaled.size() - static_cast<std::size_t>(decimals);
    text.append(scaled, 0, integerDigits);
    if (decimals > 0) {
        text.append(decimalSeparator);
        text.append(scaled, integerDigits);
    }
    return text;
}

std::string FormatSignificant(double x, int digits, std::string_view decimalSeparator)
{
    // The scientific form rounds to the digits and carries into the exponent
    // (999.96 to 4 digits is 1.000e+03), which then sets the decimals shown.
    std::array<char, 40> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), x,
                                       std::chars_format::scientific, digits - 1);
    double rounded = x;
    std::from_chars(text.data(), written.ptr, rounded);
    const char* exponentMark = std::find(text.data(), written.ptr, 'e');
    int exponent = 0;
    std::from_chars(exponentMark + (exponentMark[1] == '+' ? 2 : 1), written.ptr, exponent);
    return FormatFixed(rounded, std::max(0, digits - 1 - exponent), decimalSeparator);
}

double RoundAsShown2(double x)
{
    const std::string text = FormatFixed(x, 2, ".");
    double value = 0.0;
    const char* first = text.data();
    // from_chars takes no leading '+', and FormatFixed writes none. Within 15
    // significant digits of the largest double the shown value can lie
    // beyond the double range.
    if (std::from_chars(first, first + text.size(), value).ec == std::errc::result_out_of_range)
        throw OverflowError();
    return value;
}

std::string FormatGeneral(double x, std::string_view decimalSeparator)
{
    if (x == 0.0) {
        strict::verify(x);
        return "0";
    }
    const DecimalDigits d = ToDecimalDigits(x);
    std::size_t significant = kSignificantDigits;
    while (significant > 1 && d.digits[significant - 1] == '0')
        --significant;
    const std::string_view digits(d.digits.data(), significant);

    std::string text;
    if (d.negative)
        text.push_back('-');
    if (d.exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(d.exponent) + 1;
        if (integerDigits >= digits.size()) {
            text.append(digits);
            text.append(integerDigits - digits.size(), '0');
        } else {
            text.append(digits.substr(0, integerDigits));
            text.append(decimalSeparator);
            text.append(digits.substr(integerDigits));
        }
    } else {
        text.push_back('0');
        text.append(decimalSeparator);
        text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        text.append(digits);
    }
    return text;
}

std::string GroupDigits(std::string_view number, std::string_view decimalSeparator,
                        std::string_view groupSeparator)
{
    const std::size_t first = number.starts_with('-') ? 1 : 0;
    const std::size_t end =
        decimalSeparator.empty() ? std::string_view::npos : number.find(decimalSeparator, first);
    const std::size_t integerEnd = end == std::string_view::npos ? number.size() : end;
    std::string text(number.substr(0, first));
    for (std::size_t i = first; i < integerEnd; ++i) {
        if (i > first && (integerEnd - i) % 3 == 0)
            text.append(groupSeparator);
        text.push_back(number[i]);
    }
    text.append(number.substr(integerEnd));
    return text;
}

namespace {

// Walks a text, skipping blanks, tabs and line feeds wherever they stand.
class NumberCursor {
public:
    explicit NumberCursor(std::string_view text) : text_(text) {}

    char peek()
    {
        while (pos_ < text_.size() && IsSkipped(text_[pos_]))
            ++pos_;
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void advance() { ++pos_; }

private:
    static bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A number as read from a text: sign * digits * 10^exponent, the digits a
// whole number without leading or trailing zeros, empty for zero.
struct DecimalNumber {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
};

// The power of ten of the leading digit: the number lies in
// [10^magnitude, 10^(magnitude + 1)). Not for zero.
long long Magnitude(const DecimalNumber& number)
{
    return static_cast<long long>(number.digits.size()) - 1 + number.exponent;
}

DecimalNumber ReadLeadingDecimal(std::string_view text)
{
    NumberCursor cur(text);
    DecimalNumber number;
    if (cur.peek() == '+' || cur.peek() == '-') {
        number.negative = cur.peek() == '-';
        cur.advance();
    }

    // The digits before and after the point make one whole number; each
    // digit after the point lowers the exponent by one.
    std::string& digits = number.digits;
    for (char c = cur.peek(); IsDigit(c); c = cur.peek()) {
        digits.push_back(c);
        cur.advance();
    }
    long long fractionDigits = 0;
    if (cur.peek() == '.') {
        cur.advance();
        for (char c = cur.peek(); IsDigit(c); c = cur.peek()) {
            digits.push_back(c);
            ++fractionDigits;
            cur.advance();
        }
    }
    if (digits.empty())
        return {};

    // Exponent, which counts only when at least one digit follows (nothing is
    // read after it, so "1e" simply ends as 1); saturated at 10^16, beyond
    // any double and any text's count of leading zeros, so that a very long
    // exponent cannot overflow.
    long long exponent = 0;
    if (cur.peek() == 'e' || cur.peek() == 'E') {
        cur.advance();
        bool negativeExponent = false;
        if (cur.peek() == '+' || cur.peek() == '-') {
            negativeExponent = cur.peek() == '-';
            cur.advance();
        }
        for (char c = cur.peek(); IsDigit(c); c = cur.peek()) {
            if (exponent < 1'000'000'000'000'000)
                exponent = exponent * 10 + (c - '0');
            cur.advance();
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    digits.erase(0, digits.find_first_not_of('0'));
    const std::size_t last = digits.find_last_not_of('0');
    const auto trailingZeros =
        last == std::string::npos ? 0 : static_cast<long long>(digits.size() - last - 1);
    digits.resize(digits.size() - static_cast<std::size_t>(trailingZeros));
    number.exponent = exponent - fractionDigits + trailingZeros;
    return number;
}

// The number as the nearest double; nothing when it lies beyond the double
// range. One too small for a double is (signed) zero.
std::optional<double> ToDouble(const DecimalNumber& number)
{
    const double zero = number.negative ? -0.0 : 0.0;
    if (number.digits.empty())
        return zero;
    // Far outside the range the magnitude alone decides, and from_chars is
    // spared an exponent it would have to saturate.
    const long long magnitude = Magnitude(number);
    if (magnitude > 400)
        return std::nullopt;
    if (magnitude < -400)
        return zero;

    const std::string text = number.digits + 'e' + std::to_string(number.exponent);
    double value = 0.0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            return std::nullopt;
        return zero;
    }
    return number.negative ? -value : value;
}

// The exact value of a finite double in decimal: a double has at most 767
// significant decimal digits, and to_chars writes them exactly.
DecimalNumber ExactDecimal(double x)
{
    std::array<char, 800> text{};
    const auto res = std::to_chars(text.data(), text.data() + text.size(), x,
                                   std::chars_format::scientific, 766);
    return ReadLeadingDecimal(std::string_view(text.data(), res.ptr));
}

// The digits of the product of two whole numbers given by their digits, most
// significant first, without leading zeros.
std::string MultiplyDigits(std::string_view a, std::string_view b)
{
    // Digit i of a and digit j of b add their product to place i + j + 1 of
    // the at most a.size() + b.size() digits; a place collects at most 81
    // per digit of the shorter number, far within 64 bits.
    std::vector<std::uint64_t> places(a.size() + b.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            places[i + j + 1] +=
                static_cast<std::uint64_t>(a[i] - '0') * static_cast<std::uint64_t>(b[j] - '0');
    std::string digits(places.size(), '0');
    std::uint64_t carry = 0;
    for (std::size_t k = places.size(); k-- > 0;) {
        const std::uint64_t place = places[k] + carry;
        digits[k] = static_cast<char>('0' + place % 10);
        carry = place / 10;
    }
    digits.erase(0, digits.find_first_not_of('0'));
    return digits;
}

// A number beyond the double range times a finite factor: the exact product
// of the number and the factor's exact value, rounded once to the nearest
// double. OverflowError when that too lies beyond the range.
double ScaledBeyondRange(const DecimalNumber& number, double factor)
{
    const DecimalNumber exactFactor = ExactDecimal(factor);
    if (exactFactor.digits.empty())
        return number.negative != std::signbit(factor) ? -0.0 : 0.0;
    // The product is at least 10^(sum of the magnitudes), and 10^309 is
    // beyond the largest double (1.8e308) however it is rounded.
    if (Magnitude(number) + Magnitude(exactFactor) >= 309)
        throw OverflowError();
    const DecimalNumber product{number.negative != exactFactor.negative,
                                MultiplyDigits(number.digits, exactFactor.digits),
                                number.exponent + exactFactor.exponent};
    if (const std::optional<double> value = ToDouble(product))
        return *value;
    throw OverflowError();
}

} // namespace

double ParseLeadingNumber(std::string_view text)
{
    if (const std::optional<double> value = ToDouble(ReadLeadingDecimal(text)))
        return *value;
    throw OverflowError();
}

double ScaledInput(std::string_view text, double factor)
{
    const DecimalNumber number = ReadLeadingDecimal(text);
    if (const std::optional<double> value = ToDouble(number))
        return strict::mul(*value, factor);
    // Beyond the range any non-finite factor gives what it gives any large
    // number: an infinity (an overflow) or NaN.
    if (!std::isfinite(factor))
        return strict::mul(number.negative ? -DBL_MAX : DBL_MAX, factor);
    return ScaledBeyondRange(number, factor);
}

} // namespace kalibrix
