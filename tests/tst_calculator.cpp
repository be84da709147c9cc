// SPDX-License-Identifier: GPL-3.0-or-later
// The circuit formulas of TrackingCalculator, checked against the ideal LC
// resonance computed from pi, and the selection sort of the sweep.

#include "CalcTestSupport.h"

#include <QTest>

#include <algorithm>
#include <limits>
#include <random>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

// An input circuit of 100 uH with 20 pF trimmer and 10 pF stray capacitance.
TrackingCalculator InputCircuit()
{
    TrackingCalculator calc;
    calc.state.L_b = 100e-6;
    calc.state.C_tb = 20e-12;
    calc.state.C_sz = 10e-12;
    return calc;
}

} // namespace

class TestCalculator : public QObject {
    Q_OBJECT

private slots:
    void roundToHundredths_data();
    void roundToHundredths();
    void capacitanceForFrequency_data();
    void capacitanceForFrequency();
    void sweepCapacitance_data();
    void sweepCapacitance();
    void sweepCapacitanceFailure_data();
    void sweepCapacitanceFailure();
    void trackingDeviation_data();
    void trackingDeviation();
    void trackingDeviationFailure_data();
    void trackingDeviationFailure();
    void sort_data();
    void sort();
};

// clang-format off
void TestCalculator::roundToHundredths_data()
{
    QTest::addColumn<bool>("picofarad");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("error");

    QTest::newRow("pF: above the half rounds up") << true << 47.126e-12 << 47.13 << "none";
    QTest::newRow("pF: exact half goes down") << true << 47.125e-12 << 47.12 << "none";
    QTest::newRow("pF: 12.345 goes down") << true << 12.345e-12 << 12.34 << "none";
    QTest::newRow("pF: negative is cut toward zero") << true << -5.678e-12 << -5.67 << "none";
    QTest::newRow("pF: negative half is cut") << true << -47.125e-12 << -47.12 << "none";
    QTest::newRow("pF: whole value") << true << 100e-12 << 100.0 << "none";
    QTest::newRow("pF: one decimal") << true << 4.7e-12 << 4.7 << "none";
    QTest::newRow("pF: 0.006 rounds up") << true << 0.006e-12 << 0.01 << "none";
    QTest::newRow("pF: 0.004 rounds to zero") << true << 0.004e-12 << 0.0 << "none";
    QTest::newRow("pF: zero") << true << 0.0 << 0.0 << "none";
    QTest::newRow("pF: overflow") << true << 1e300 << 0.0 << "OverflowError";
    QTest::newRow("uH: exact half 3.455 goes down") << false << 3.455e-6 << 3.45 << "none";
    QTest::newRow("uH: exact half 10.125 goes down") << false << 10.125e-6 << 10.12 << "none";
    QTest::newRow("uH: above the half rounds up") << false << 172.176e-6 << 172.18 << "none";
    QTest::newRow("uH: below the half rounds down") << false << 51.234e-6 << 51.23 << "none";
    QTest::newRow("uH: whole value") << false << 1e-6 << 1.0 << "none";
    QTest::newRow("uH: overflow") << false << 1e305 << 0.0 << "OverflowError";
}
// clang-format on

void TestCalculator::roundToHundredths()
{
    QFETCH(bool, picofarad);
    QFETCH(double, value);
    QFETCH(double, expected);
    QFETCH(QString, error);
    double actual = -1.0;
    QCOMPARE(FailureOf([&] {
                 actual = picofarad ? TrackingCalculator::RoundToPicofarad(value)
                                    : TrackingCalculator::RoundToMicrohenry(value);
             }),
             error);
    if (error == "none")
        QVERIFY2(actual == expected, qPrintable(Mismatch(actual, expected)));
}

// clang-format off
void TestCalculator::capacitanceForFrequency_data()
{
    QTest::addColumn<double>("L_b");
    QTest::addColumn<double>("f");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("positive");

    // The circuit alone (30 pF) resonates at about 2.906 MHz.
    QTest::newRow("500 kHz") << 100e-6 << 0.5e6 << "none" << true;
    QTest::newRow("1 MHz") << 100e-6 << 1e6 << "none" << true;
    QTest::newRow("above the circuit's own frequency") << 100e-6 << 4e6 << "none" << false;
    QTest::newRow("no inductance yet") << 0.0 << 1e6 << "DivisionByZeroError" << false;
    QTest::newRow("zero frequency") << 100e-6 << 0.0 << "DivisionByZeroError" << false;
    QTest::newRow("frequency squared overflows") << 100e-6 << 1e200 << "OverflowError" << false;
}
// clang-format on

void TestCalculator::capacitanceForFrequency()
{
    QFETCH(double, L_b);
    QFETCH(double, f);
    QFETCH(QString, error);
    QFETCH(bool, positive);
    TrackingCalculator calc = InputCircuit();
    calc.state.L_b = L_b;
    double C_h = 0.0;
    QCOMPARE(FailureOf([&] { C_h = calc.CapacitanceForFrequency(f); }), error);
    if (error != "none")
        return;
    QCOMPARE(C_h > 0.0, positive);
    const double total = C_h + calc.state.C_tb + calc.state.C_sz;
    QVERIFY2(RelativelyClose(Resonance(L_b, total), f, 1e-12),
             qPrintable(Mismatch(Resonance(L_b, total), f)));
}

// clang-format off
void TestCalculator::sweepCapacitance_data()
{
    QTest::addColumn<double>("step");

    QTest::newRow("step 0, upper band edge") << 0.0;
    QTest::newRow("step 1") << 1.0;
    QTest::newRow("step 100") << 100.0;
    QTest::newRow("step 250") << 250.0;
    QTest::newRow("step 498") << 498.0;
    QTest::newRow("step 499, lower band edge") << 499.0;
}
// clang-format on

// At step i the input circuit resonates at f_max - i * (f_max - f_min) / 499.
void TestCalculator::sweepCapacitance()
{
    QFETCH(double, step);
    TrackingCalculator calc;
    CalculationState& s = calc.state;
    s.f_min = 0.52e6;
    s.f_max = 1.62e6;
    s.C_tb = 34e-12;
    s.C_h_min = 12e-12;
    s.C_sz = 10e-12;
    const double S = s.C_tb + s.C_h_min + s.C_sz;
    s.L_b = 1.0 / (4.0 * std::numbers::pi * std::numbers::pi * s.f_max * s.f_max * S);

    const double C = calc.SweepCapacitance(step);
    const double expected = s.f_max - step * (s.f_max - s.f_min) / 499.0;
    QVERIFY2(RelativelyClose(Resonance(s.L_b, C), expected, 1e-12),
             qPrintable(Mismatch(Resonance(s.L_b, C), expected)));
    if (step == 0.0)
        QCOMPARE(C, S);
}

// clang-format off
void TestCalculator::sweepCapacitanceFailure_data()
{
    QTest::addColumn<double>("f_min");
    QTest::addColumn<double>("f_max");
    QTest::addColumn<QString>("error");

    QTest::newRow("f_max zero") << 0.52e6 << 0.0 << "DivisionByZeroError";
    QTest::newRow("both band edges zero") << 0.0 << 0.0 << "InvalidOperationError";
}
// clang-format on

void TestCalculator::sweepCapacitanceFailure()
{
    QFETCH(double, f_min);
    QFETCH(double, f_max);
    QFETCH(QString, error);
    TrackingCalculator calc = InputCircuit();
    calc.state.C_h_min = 12e-12;
    calc.state.f_min = f_min;
    calc.state.f_max = f_max;
    QCOMPARE(FailureOf([&] { calc.SweepCapacitance(10.0); }), error);
}

// clang-format off
void TestCalculator::trackingDeviation_data()
{
    QTest::addColumn<double>("f_kf");
    QTest::addColumn<double>("offset");
    QTest::addColumn<int>("sweepIndex");

    QTest::newRow("oscillator on the input frequency, no IF") << 0.0 << 0.0 << 0;
    QTest::newRow("oscillator one IF above") << 455e3 << 0.0 << 137;
    QTest::newRow("oscillator 1 kHz too high") << 455e3 << 1000.0 << 499;
    QTest::newRow("oscillator 2.5 kHz too low") << 10.7e6 << -2500.0 << 250;
}
// clang-format on

// An oscillator tuned to f_be + f_kf + offset deviates by exactly offset.
void TestCalculator::trackingDeviation()
{
    QFETCH(double, f_kf);
    QFETCH(double, offset);
    QFETCH(int, sweepIndex);
    TrackingCalculator calc = InputCircuit();
    CalculationState& s = calc.state;
    s.f_kf = f_kf;
    s.C_osz = 50e-12;
    s.sweep_i = static_cast<std::int16_t>(sweepIndex);
    const double C_be = 200e-12;
    const double C_o = C_be - s.C_tb - s.C_sz + s.C_osz;
    const double f_be = Resonance(s.L_b, C_be);
    const double f_osz = f_be + f_kf + offset;
    s.L_o = 1.0 / (4.0 * std::numbers::pi * std::numbers::pi * f_osz * f_osz * C_o);

    const double deviation = calc.TrackingDeviation(C_be);
    QVERIFY2(std::abs(deviation - offset) < 1e-3, qPrintable(Mismatch(deviation, offset)));
    for (int i = 0; i < kSweepSteps; ++i) {
        if (i == sweepIndex)
            QVERIFY2(RelativelyClose(s.fbe_curve[i], f_be, 1e-12),
                     qPrintable(Mismatch(s.fbe_curve[i], f_be)));
        else
            QCOMPARE(s.fbe_curve[i], 0.0);
    }
}

// clang-format off
void TestCalculator::trackingDeviationFailure_data()
{
    QTest::addColumn<int>("sweepIndex");
    QTest::addColumn<double>("C_osz");
    QTest::addColumn<QString>("error");

    QTest::newRow("index 500 after a complete sweep") << 500 << 50e-12 << "IndexOutOfRangeError";
    QTest::newRow("negative index") << -1 << 50e-12 << "IndexOutOfRangeError";
    QTest::newRow("negative oscillator capacitance") << 10 << -500e-12 << "NegativeSquareRootError";
    QTest::newRow("zero oscillator capacitance") << 10 << -((200e-12 - 20e-12) - 10e-12) << "DivisionByZeroError";
}
// clang-format on

void TestCalculator::trackingDeviationFailure()
{
    QFETCH(int, sweepIndex);
    QFETCH(double, C_osz);
    QFETCH(QString, error);
    TrackingCalculator calc = InputCircuit();
    CalculationState& s = calc.state;
    s.L_o = 50e-6;
    s.f_kf = 455e3;
    s.C_osz = C_osz;
    s.sweep_i = static_cast<std::int16_t>(sweepIndex);
    s.fbe_curve.fill(7.0);

    QCOMPARE(FailureOf([&] { calc.TrackingDeviation(200e-12); }), error);
    QVERIFY(std::all_of(s.fbe_curve.begin(), s.fbe_curve.end(), [](double v) { return v == 7.0; }));
}

// clang-format off
void TestCalculator::sort_data()
{
    QTest::addColumn<QList<double>>("values");

    QList<double> equal(kSweepSteps, 3.5);
    QList<double> descending;
    QList<double> ascending;
    QList<double> smallestLast;
    QList<double> random;
    QList<double> duplicates;
    std::mt19937 gen(20240601);
    std::uniform_real_distribution<double> deviation(-1e5, 1e5);
    std::uniform_int_distribution<int> digit(-4, 4);
    for (int i = 0; i < kSweepSteps; ++i) {
        descending.append(250.0 - 0.5 * i);
        ascending.append(-250.0 + 0.5 * i);
        smallestLast.append(i == kSweepSteps - 1 ? -1.0 : i);
        random.append(std::round(deviation(gen) * 100.0) / 100.0);
        duplicates.append(digit(gen));
    }
    QList<double> extremes = random;
    extremes[0] = std::numeric_limits<double>::max();
    extremes[100] = std::numeric_limits<double>::lowest();
    extremes[200] = std::numeric_limits<double>::denorm_min();
    extremes[300] = -std::numeric_limits<double>::denorm_min();

    QTest::newRow("500 equal values") << equal;
    QTest::newRow("descending") << descending;
    QTest::newRow("already ascending") << ascending;
    QTest::newRow("smallest value last") << smallestLast;
    QTest::newRow("random deviations") << random;
    QTest::newRow("many duplicates") << duplicates;
    QTest::newRow("extremes of the double range") << extremes;
}
// clang-format on

void TestCalculator::sort()
{
    QFETCH(QList<double>, values);
    SweepTable table{};
    std::copy(values.begin(), values.end(), table.begin());
    std::sort(values.begin(), values.end());

    kalibrix::sort(table);
    for (int i = 0; i < kSweepSteps; ++i)
        QVERIFY2(table[i] == values[i],
                 qPrintable(QStringLiteral("index %1: ").arg(i) + Mismatch(table[i], values[i])));
}

QTEST_APPLESS_MAIN(TestCalculator)
#include "tst_calculator.moc"
