#include "NumberText.h"

#include "Errors.h"
#include "StrictMath.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <system_error>

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
    const bool roundUp = keep >= 0 && keep < kSignificantDigits
                         && d.digits[static_cast<std::size_t>(keep)] >= '5';
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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

double ParseLeadingNumber(std::string_view text)
{
    NumberCursor cur(text);
    bool negative = false;
    if (cur.peek() == '+' || cur.peek() == '-') {
        negative = cur.peek() == '-';
        cur.advance();
    }

    std::string integerPart;
    std::string fraction;
    for (char c = cur.peek(); IsDigit(c); c = cur.peek()) {
        integerPart.push_back(c);
        cur.advance();
    }
    if (cur.peek() == '.') {
        cur.advance();
        for (char c = cur.peek(); IsDigit(c); c = cur.peek()) {
            fraction.push_back(c);
            cur.advance();
        }
    }
    if (integerPart.empty() && fraction.empty())
        return 0.0;

    // Exponent, which counts only when at least one digit follows (nothing is
    // read after it, so "1e" simply ends as 1); saturated at 10^16, beyond
    // any double and any text's count of leading zeros, so that a very long
    // exponent cannot overflow.
    long exponent = 0;
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

    const std::size_t firstNonZero = integerPart.find_first_not_of('0');
    const std::size_t fractionNonZero = fraction.find_first_not_of('0');
    if (firstNonZero == std::string::npos && fractionNonZero == std::string::npos)
        return negative ? -0.0 : 0.0;

    // Decimal magnitude of the leading significant digit, to tell an overflow
    // from an underflow when the value lies outside the double range.
    const long magnitude = firstNonZero != std::string::npos
        ? static_cast<long>(integerPart.size() - firstNonZero) - 1 + exponent
        : -static_cast<long>(fractionNonZero) - 1 + exponent;
    if (magnitude > 400)
        throw OverflowError();
    if (magnitude < -400)
        return negative ? -0.0 : 0.0;

    std::string clean;
    clean.reserve(integerPart.size() + fraction.size() + 8);
    clean.append(integerPart.empty() ? std::string_view("0") : std::string_view(integerPart));
    if (!fraction.empty()) {
        clean.push_back('.');
        clean.append(fraction);
    }
    clean.push_back('e');
    clean.append(std::to_string(exponent));

    double value = 0.0;
    const auto res = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            throw OverflowError();
        value = 0.0;
    }
    return negative ? -value : value;
}

double ScaledInput(std::string_view text, double factor)
{
    return strict::mul(ParseLeadingNumber(text), factor);
}

} // namespace kalibrix
