// SPDX-License-Identifier: GPL-3.0-or-later
// Number <-> text conversions: display patterns, general form, reading a
// field's leading number.

#include "CalcTestSupport.h"

#include <QTest>

#include <clocale>
#include <limits>
#include <string>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

bool SameDouble(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void formatFixed_data();
    void formatFixed();
    void formatSignificant_data();
    void formatSignificant();
    void formatMegahertzAndValue_data();
    void formatMegahertzAndValue();
    void formatGeneral_data();
    void formatGeneral();
    void groupDigits_data();
    void groupDigits();
    void roundAsShown2_data();
    void roundAsShown2();
    void nonFiniteIsNeverShown_data();
    void nonFiniteIsNeverShown();
    void parseLeadingNumber_data();
    void parseLeadingNumber();
    void parseBeyondDoubleRange_data();
    void parseBeyondDoubleRange();
    void scaledInput_data();
    void scaledInput();
    void unaffectedByCLocale_data();
    void unaffectedByCLocale();
};

// clang-format off
void TestNumberText::formatFixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two decimals") << 34.06 << 2 << "." << "34.06";
    QTest::newRow("two decimals, comma") << 34.06 << 2 << "," << "34,06";
    QTest::newRow("whole value gets both decimals") << 172.0 << 2 << "." << "172.00";
    QTest::newRow("below one keeps leading zero") << 0.455 << 3 << "." << "0.455";
    QTest::newRow("below one keeps leading zero, comma") << 0.455 << 3 << "," << "0,455";
    QTest::newRow("negative") << -60984.26 << 2 << "." << "-60984.26";
    QTest::newRow("negative below one") << -0.5 << 2 << "," << "-0,50";
    QTest::newRow("zero") << 0.0 << 2 << "." << "0.00";
    QTest::newRow("negative zero has no minus") << -0.0 << 2 << "." << "0.00";
    QTest::newRow("negative rounding to zero has no minus") << -0.004 << 2 << "." << "0.00";
    QTest::newRow("large value without grouping") << 1234567.891 << 2 << "." << "1234567.89";
    QTest::newRow("beyond the pattern's placeholders") << 1e20 << 2 << "." << "100000000000000000000.00";
    QTest::newRow("carry into a new integer digit") << 9.999 << 2 << "." << "10.00";
    QTest::newRow("carry through many nines") << 99999999999.995 << 2 << "." << "100000000000.00";
    QTest::newRow("carry with three decimals") << 0.9995 << 3 << "." << "1.000";
    QTest::newRow("exact binary half goes away from zero") << 0.125 << 2 << "." << "0.13";
    QTest::newRow("negative half goes away from zero") << -0.125 << 2 << "." << "-0.13";
    // The decimal value of 15 significant digits decides, not the binary one
    // lying just below the half.
    QTest::newRow("decimal half 12.345") << 12.345 << 2 << "." << "12.35";
    QTest::newRow("decimal half 2.675") << 2.675 << 2 << "." << "2.68";
    QTest::newRow("decimal half 1.005") << 1.005 << 2 << "." << "1.01";
    QTest::newRow("tiny value") << 1e-300 << 2 << "." << "0.00";
}
// clang-format on

// clang-format off
void TestNumberText::formatSignificant_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");
    QTest::newRow("coil in uH, 4 digits") << 95.7712 << 4 << "," << "95,77";
    QTest::newRow("below one keeps its digits") << 0.0324612 << 4 << "." << "0.03246";
    QTest::newRow("whole digits beyond the count become zeros") << 7271.4 << 3 << "." << "7270";
    QTest::newRow("carry into the next decade") << 999.96 << 4 << "." << "1000";
    QTest::newRow("carry below one") << 0.099996 << 3 << "." << "0.100";
    QTest::newRow("negative") << -547.6 << 3 << "." << "-548";
}
// clang-format on

void TestNumberText::formatSignificant()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FormatSignificant(value, digits, separator.toStdString())),
             expected);
}

void TestNumberText::formatFixed()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FormatFixed(value, decimals, separator.toStdString())),
             expected);
}

// clang-format off
void TestNumberText::formatMegahertzAndValue_data()
{
    QTest::addColumn<bool>("megahertz");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("455 kHz in MHz") << true << 455000.0 << "." << "0.455";
    QTest::newRow("455 kHz in MHz, comma") << true << 455000.0 << "," << "0,455";
    QTest::newRow("band edge in MHz") << true << 1620000.0 << "." << "1.620";
    QTest::newRow("frequency rounds to kHz") << true << 1459416.0 << "." << "1.459";
    QTest::newRow("negative frequency") << true << -1500000.0 << "," << "-1,500";
    QTest::newRow("zero frequency") << true << 0.0 << "." << "0.000";
    QTest::newRow("value with two decimals") << false << 70217.63 << "." << "70217.63";
    QTest::newRow("value with two decimals, comma") << false << 70217.63 << "," << "70217,63";
    QTest::newRow("negative value, comma") << false << -74580.2 << "," << "-74580,20";
    QTest::newRow("value carries") << false << 9.999 << "." << "10.00";
}
// clang-format on

void TestNumberText::formatMegahertzAndValue()
{
    QFETCH(bool, megahertz);
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    TrackingCalculator calc;
    calc.decimalSeparator = separator.toStdString();
    const std::string text = megahertz ? calc.FormatMegahertz(value) : calc.FormatValue(value);
    QCOMPARE(QString::fromStdString(text), expected);
}

// clang-format off
void TestNumberText::formatGeneral_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one decimal digit, no trailing zero") << -74580.2 << "." << "-74580.2";
    QTest::newRow("one decimal digit, comma") << -74580.2 << "," << "-74580,2";
    QTest::newRow("two decimal digits") << 70217.63 << "." << "70217.63";
    QTest::newRow("two decimal digits, comma") << 70217.63 << "," << "70217,63";
    QTest::newRow("whole number has no separator") << 5.0 << "," << "5";
    QTest::newRow("whole number with zeros") << 1000.0 << "." << "1000";
    QTest::newRow("zero") << 0.0 << "." << "0";
    QTest::newRow("negative zero") << -0.0 << "." << "0";
    QTest::newRow("negative whole number") << -3.0 << "." << "-3";
    QTest::newRow("small fraction") << 0.05 << "." << "0.05";
    QTest::newRow("small fraction, comma") << -0.05 << "," << "-0,05";
    QTest::newRow("fraction without exponent") << 0.00001 << "." << "0.00001";
    QTest::newRow("fifteen significant digits") << 0.1 + 0.2 << "." << "0.3";
    QTest::newRow("large value without grouping") << 123456789012.0 << "." << "123456789012";
}
// clang-format on

void TestNumberText::formatGeneral()
{
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FormatGeneral(value, separator.toStdString())), expected);
}

// clang-format off
void TestNumberText::groupDigits_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("decimalSeparator");
    QTest::addColumn<QString>("groupSeparator");
    QTest::addColumn<QString>("expected");

    const QString nbsp(QChar(0x00A0));
    QTest::newRow("Hungarian, two decimals") << "70217,63" << "," << nbsp << "70" + nbsp + "217,63";
    QTest::newRow("negative, one decimal") << "-74580,2" << "," << nbsp << "-74" + nbsp + "580,2";
    QTest::newRow("four digits grouped") << "1234" << "," << nbsp << "1" + nbsp + "234";
    QTest::newRow("three digits alone") << "894,85" << "," << nbsp << "894,85";
    QTest::newRow("fraction digits never grouped") << "0.12345" << "." << "," << "0.12345";
    QTest::newRow("several groups, negative") << "-123456789012" << "." << "," << "-123,456,789,012";
    QTest::newRow("no group separator") << "15000" << "." << "" << "15000";
}
// clang-format on

// A formatted number's integer digits grouped by the locale's separator,
// which may be longer than one byte.
void TestNumberText::groupDigits()
{
    QFETCH(QString, number);
    QFETCH(QString, decimalSeparator);
    QFETCH(QString, groupSeparator);
    QFETCH(QString, expected);
    QCOMPARE(
        QString::fromStdString(GroupDigits(number.toStdString(), decimalSeparator.toStdString(),
                                           groupSeparator.toStdString())),
        expected);
}

// clang-format off
void TestNumberText::roundAsShown2_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("already two decimals") << -60984.26 << -60984.26;
    QTest::newRow("third decimal rounds up") << 70217.628 << 70217.63;
    QTest::newRow("third decimal rounds down") << -74580.2049 << -74580.2;
    QTest::newRow("stored as shown, not as 12.345") << 12.345 << 12.35;
    QTest::newRow("tiny negative becomes zero") << -0.004 << 0.0;
    QTest::newRow("whole number") << 42.0 << 42.0;
}
// clang-format on

void TestNumberText::roundAsShown2()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    const double actual = RoundAsShown2(value);
    QVERIFY2(SameDouble(actual, expected), qPrintable(Mismatch(actual, expected)));
}

// clang-format off
void TestNumberText::nonFiniteIsNeverShown_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("error");

    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "OverflowError";
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << "OverflowError";
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "InvalidOperationError";
}
// clang-format on

void TestNumberText::nonFiniteIsNeverShown()
{
    QFETCH(double, value);
    QFETCH(QString, error);
    QCOMPARE(FailureOf([&] { FormatFixed(value, 2, "."); }), error);
    QCOMPARE(FailureOf([&] { FormatGeneral(value, "."); }), error);
}

// clang-format off
void TestNumberText::parseLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("whole number") << "100" << 100.0;
    QTest::newRow("decimal") << "10.7" << 10.7;
    QTest::newRow("second point ends the number") << "1.2.3" << 1.2;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("blanks between digits") << " 4 7" << 47.0;
    QTest::newRow("tab and line feed between digits") << "\t4\n7" << 47.0;
    QTest::newRow("blanks around the point") << "1 . 5" << 1.5;
    QTest::newRow("carriage return ends the number") << "4\r7" << 4.0;
    QTest::newRow("minus sign") << "-3" << -3.0;
    QTest::newRow("minus sign then blank") << "- 3" << -3.0;
    QTest::newRow("plus sign") << "+2.5" << 2.5;
    QTest::newRow("two signs") << "--3" << 0.0;
    QTest::newRow("minus zero") << "-0" << -0.0;
    QTest::newRow("exponent") << "2e3" << 2000.0;
    QTest::newRow("capital exponent with sign") << "25E-1" << 2.5;
    QTest::newRow("exponent with blanks") << "1 e 2" << 100.0;
    QTest::newRow("comma ends the number") << "1,5" << 1.0;
    QTest::newRow("letter first") << "e5" << 0.0;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("exponent sign without digits") << "1e+" << 1.0;
    QTest::newRow("letters after the number") << "12abc" << 12.0;
    QTest::newRow("leading zeros") << "00012" << 12.0;
    QTest::newRow("zero mantissa, huge exponent") << "0e999" << 0.0;
    QTest::newRow("largest double") << "1.7976931348623157e308" << std::numeric_limits<double>::max();
    QTest::newRow("subnormal") << "1e-310" << 1e-310;
    QTest::newRow("underflow to zero") << "1e-330" << 0.0;
    QTest::newRow("far underflow to zero") << "1e-400" << 0.0;
    QTest::newRow("negative underflow to minus zero") << "-1e-400" << -0.0;
    QTest::newRow("exponent with many digits, underflow") << "1e-99999999999999999999" << 0.0;
    QTest::newRow("long fraction, compensating exponent") << QString("0.") + QString(300, '0') + "1e300" << 0.1;
    QTest::newRow("long integer, compensating exponent") << QString("1") + QString(400, '0') + "e-400" << 1.0;
    QTest::newRow("long fraction underflows") << QString("0.") + QString(400, '0') + "1" << 0.0;
    QTest::newRow("exponent beyond 100000 compensates a longer fraction") << QString("0.") + QString(200000, '0') + "1e200001" << 1.0;
}
// clang-format on

void TestNumberText::parseLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double actual = ParseLeadingNumber(text.toStdString());
    QVERIFY2(SameDouble(actual, expected), qPrintable(Mismatch(actual, expected)));
}

// clang-format off
void TestNumberText::parseBeyondDoubleRange_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("exponent 400") << "1e400";
    QTest::newRow("just above the largest double") << "1.8e308";
    QTest::newRow("negative") << "-1e400";
    QTest::newRow("400 digits") << QString(400, '9');
    QTest::newRow("exponent with many digits") << "1e99999999999999999999";
}
// clang-format on

void TestNumberText::parseBeyondDoubleRange()
{
    QFETCH(QString, text);
    QCOMPARE(FailureOf([&] { ParseLeadingNumber(text.toStdString()); }), "OverflowError");
}

// clang-format off
void TestNumberText::scaledInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("error");

    QTest::newRow("100 pF") << "100" << kFaradPerPicofarad << 1e-10 << "none";
    QTest::newRow("4.7 pF") << "4.7" << kFaradPerPicofarad << 4.7e-12 << "none";
    QTest::newRow(".5 pF") << ".5" << kFaradPerPicofarad << 5e-13 << "none";
    QTest::newRow("10.7 MHz") << "10.7" << kHertzPerMegahertz << 1.07e7 << "none";
    QTest::newRow("1.2.3 MHz") << "1.2.3" << kHertzPerMegahertz << 1.2e6 << "none";
    QTest::newRow("2e3 MHz") << "2e3" << kHertzPerMegahertz << 2e9 << "none";
    QTest::newRow("empty field") << "" << kHertzPerMegahertz << 0.0 << "none";
    QTest::newRow("1e308 MHz overflows") << "1e308" << kHertzPerMegahertz << 0.0 << "OverflowError";
    QTest::newRow("1e-320 pF underflows to zero") << "1e-320" << kFaradPerPicofarad << 0.0 << "none";
    // Rounded once, the exact product would be 1699387672075986.8.
    QTest::newRow("a finite reading is multiplied as a double") << "16993876720759869e11" << kFaradPerPicofarad << 1699387672075987.0 << "none";

    // Readings beyond the double range: the exact product with the factor,
    // rounded once.
    QTest::newRow("1 and 309 zeros pF stores 1e297 F") << QString("1") + QString(309, '0') << kFaradPerPicofarad << 1e297 << "none";
    QTest::newRow("-1e309 pF") << "-1e309" << kFaradPerPicofarad << -1e297 << "none";
    QTest::newRow("29 digits, 1.2e320 pF") << "12345678901234567890123456789e292" << kFaradPerPicofarad << 1.2345678901234567e308 << "none";
    // Halfway between the largest double and 2^1024 lies 1.79769313486231581e308,
    // the scaled value of 1.7976931348623158440949251900069e320 pF: the
    // factor's double lies a little below 1e-12.
    QTest::newRow("just below the halfway point: the largest double") << "1.7976931348623158440949251900068e320" << kFaradPerPicofarad << std::numeric_limits<double>::max() << "none";
    QTest::newRow("just above the halfway point overflows") << "1.797693134862315844094925190007e320" << kFaradPerPicofarad << 0.0 << "OverflowError";
    QTest::newRow("1e303 MHz overflows") << "1e303" << kHertzPerMegahertz << 0.0 << "OverflowError";
    QTest::newRow("1e309 MHz overflows") << "1e309" << kHertzPerMegahertz << 0.0 << "OverflowError";
    QTest::newRow("1e400 pF overflows") << "1e400" << kFaradPerPicofarad << 0.0 << "OverflowError";
}
// clang-format on

void TestNumberText::scaledInput()
{
    QFETCH(QString, text);
    QFETCH(double, factor);
    QFETCH(double, expected);
    QFETCH(QString, error);
    double actual = -1.0;
    QCOMPARE(FailureOf([&] { actual = ScaledInput(text.toStdString(), factor); }), error);
    if (error == "none")
        QVERIFY2(actual == expected, qPrintable(Mismatch(actual, expected)));
}

// clang-format off
void TestNumberText::unaffectedByCLocale_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("point is the separator") << "4.7" << 4.7;
    QTest::newRow("comma ends the number") << "4,7" << 4.0;
    QTest::newRow("exponent") << "2.5e3" << 2500.0;
}
// clang-format on

// The C library's numeric locale must change neither the reading of a field
// nor the text of a value: the separator is always passed explicitly.
void TestNumberText::unaffectedByCLocale()
{
    QFETCH(QString, text);
    QFETCH(double, expected);

    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "hu_HU.UTF-8"))
        QSKIP("hu_HU.UTF-8 is not installed (generate it with localedef -i hu_HU -f UTF-8)");
    const std::string localeSeparator = std::localeconv()->decimal_point;
    const double actual = ParseLeadingNumber(text.toStdString());
    const std::string fixed = FormatFixed(expected, 2, ".");
    const std::string general = FormatGeneral(expected, ".");
    std::setlocale(LC_NUMERIC, previous.c_str());

    QCOMPARE(QString::fromStdString(localeSeparator), ",");
    QVERIFY2(actual == expected, qPrintable(Mismatch(actual, expected)));
    QVERIFY(fixed.find(',') == std::string::npos);
    QVERIFY(general.find(',') == std::string::npos);
    QCOMPARE(ParseLeadingNumber(fixed), RoundAsShown2(expected));
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
