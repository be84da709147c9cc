// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers behind the deviation graph: the axis limit H from the extreme
// deviations, the sweep step under the pointer (halves to even), the tool tip
// text, and the user-coordinate mapping, also for values far beyond the area.

#include "AxisLimit.h"
#include "DeviationToolTip.h"
#include "FrequencyTicks.h"
#include "ScaleAxis.h"
#include "TrackingCalculator.h"

#include <QTest>

#include <climits>
#include <cmath>
#include <limits>

using namespace kalibrix;

namespace {

constexpr double kMax = std::numeric_limits<double>::max();

// L_b set, and fbe_curve[i] = 1.000 MHz + i kHz, so the MHz text names the step.
TrackingCalculator CalculatorWithSteps(const char* separator)
{
    TrackingCalculator calc;
    calc.decimalSeparator = separator;
    calc.state.L_b = 172.18e-6;
    for (int i = 0; i < kSweepSteps; ++i)
        calc.state.fbe_curve[static_cast<std::size_t>(i)] = 1e6 + 1e3 * i;
    return calc;
}

} // namespace

class TestGraphScale : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void axisLimit_data();
    void axisLimit();
    void axisLimitStaysFinite_data();
    void axisLimitStaysFinite();
    void nearestStep_data();
    void nearestStep();
    void toolTip_data();
    void toolTip();
    void toPixel_data();
    void toPixel();
    void toUser_data();
    void toUser();
    void frequencyTicks_data();
    void frequencyTicks();
};

// clang-format off
void TestGraphScale::axisLimit_data()
{
    QTest::addColumn<double>("smallest");
    QTest::addColumn<double>("largest");
    QTest::addColumn<double>("H");

    QTest::newRow("-347.5..212.3: M 347") << -347.5 << 212.3 << 400.0;
    QTest::newRow("worked example: M 74580") << -74580.2 << 70217.63 << 80000.0;
    QTest::newRow("M 100 from the largest") << -3.0 << 100.7 << 200.0;
    QTest::newRow("M 999") << -999.99 << 0.5 << 1000.0;
    QTest::newRow("M 9") << -9.5 << 2.0 << 10.0;
    QTest::newRow("all below 1 Hz: M 0") << -0.99 << 0.75 << 1.0;
    QTest::newRow("all zero") << 0.0 << 0.0 << 1.0;
    QTest::newRow("all positive: smallest counts by size") << 12.5 << 347.9 << 400.0;
    QTest::newRow("mixed tables: first above last") << 5.9 << 5.2 << 6.0;
    QTest::newRow("all negative: largest is negative") << -212.3 << -5.0 << 300.0;
    QTest::newRow("equal sizes") << -50.5 << 50.9 << 60.0;
    QTest::newRow("power of ten: M 1000") << -1000.0 << 20.0 << 2000.0;
    QTest::newRow("leading 9: M 95000") << -12.0 << 95000.4 << 100000.0;
    QTest::newRow("1e20") << -1e20 << 0.0 << 2e20;
}
// clang-format on

void TestGraphScale::axisLimit()
{
    QFETCH(double, smallest);
    QFETCH(double, largest);
    QFETCH(double, H);
    QCOMPARE(AxisLimit(smallest, largest), H);
}

// clang-format off
void TestGraphScale::axisLimitStaysFinite_data()
{
    QTest::addColumn<double>("smallest");
    QTest::addColumn<double>("largest");

    QTest::newRow("largest double") << -1.0 << kMax;
    QTest::newRow("most negative double") << -kMax << 0.0;
    QTest::newRow("9e307, leading 9") << -9e307 << 1.0;
}
// clang-format on

void TestGraphScale::axisLimitStaysFinite()
{
    QFETCH(double, smallest);
    QFETCH(double, largest);
    const double H = AxisLimit(smallest, largest);
    QVERIFY(std::isfinite(H));
    QVERIFY(H >= std::max(std::fabs(smallest), std::fabs(largest)));
}

// clang-format off
void TestGraphScale::nearestStep_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("step"); // -1: no step

    QTest::newRow("100.5 to even 100") << 100.5 << 100;
    QTest::newRow("101.5 to even 102") << 101.5 << 102;
    QTest::newRow("100.49 down") << 100.49 << 100;
    QTest::newRow("100.51 up") << 100.51 << 101;
    QTest::newRow("0.5 to 0") << 0.5 << 0;
    QTest::newRow("-0.5 to 0") << -0.5 << 0;
    QTest::newRow("-0.51 to -1, outside") << -0.51 << -1;
    QTest::newRow("498.5 to 498") << 498.5 << 498;
    QTest::newRow("499.49 to 499") << 499.49 << 499;
    QTest::newRow("499.5 to 500, outside") << 499.5 << -1;
    QTest::newRow("far right") << -1e300 << -1;
    QTest::newRow("far left") << 1e300 << -1;
}
// clang-format on

void TestGraphScale::nearestStep()
{
    QFETCH(double, x);
    QFETCH(int, step);
    const std::optional<int> result = NearestStep(x);
    QCOMPARE(result.value_or(-1), step);
}

// clang-format off
void TestGraphScale::toolTip_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("computed"); // L_b set
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("text"); // empty: no text

    QTest::newRow("X 100.5 uses step 100") << "." << true << 100.5 << 12.5 << "12.50   1.100";
    QTest::newRow("X 101.5 uses step 102") << "." << true << 101.5 << 12.5 << "12.50   1.102";
    QTest::newRow("height, not the curve") << "." << true << 0.0 << -347.5 << "-347.50   1.000";
    QTest::newRow("left edge") << "." << true << 499.0 << 400.0 << "400.00   1.499";
    QTest::newRow("comma separator") << "," << true << 250.2 << -0.125 << "-0,13   1,250";
    QTest::newRow("large height") << "." << true << 1.0 << 1e20 << "100000000000000000000.00   1.001";
    QTest::newRow("nothing computed") << "." << false << 100.0 << 12.5 << "";
    QTest::newRow("X rounds to 500") << "." << true << 499.5 << 12.5 << "";
    QTest::newRow("X rounds to -1") << "." << true << -0.6 << 12.5 << "";
}
// clang-format on

void TestGraphScale::toolTip()
{
    QFETCH(QString, separator);
    QFETCH(bool, computed);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, text);

    TrackingCalculator calc = CalculatorWithSteps(separator.toStdString().c_str());
    if (!computed)
        calc.state.L_b = 0.0;
    const std::optional<std::string> result = DeviationToolTip(calc, x, y);
    QCOMPARE(QString::fromStdString(result.value_or("")), text);
}

// clang-format off
void TestGraphScale::toPixel_data()
{
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("last");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<double>("u");
    QTest::addColumn<int>("lowest"); // the pixel lies in lowest..highest
    QTest::addColumn<int>("highest");

    const int far = 100000;
    // The graph's x axis over 805 pixels: step 499 left, step 0 right.
    QTest::newRow("x: step 499 on the left pixel") << 499.0 << 0.0 << 805 << 499.0 << 0 << 0;
    QTest::newRow("x: step 0 on the right pixel") << 499.0 << 0.0 << 805 << 0.0 << 804 << 804;
    QTest::newRow("x: middle") << 499.0 << 0.0 << 805 << 249.5 << 402 << 402;
    QTest::newRow("x: step 500 beyond the left") << 499.0 << 0.0 << 805 << 500.0 << -2 << -2;
    // The y axis over 309 pixels: H on top, -H at the bottom.
    QTest::newRow("y: H on top") << 400.0 << -400.0 << 309 << 400.0 << 0 << 0;
    QTest::newRow("y: -H at the bottom") << 400.0 << -400.0 << 309 << -400.0 << 308 << 308;
    QTest::newRow("y: zero in the middle") << 400.0 << -400.0 << 309 << 0.0 << 154 << 154;
    QTest::newRow("y: 1e300 far above") << 400.0 << -400.0 << 309 << 1e300 << INT_MIN << -far;
    QTest::newRow("y: -1e300 far below") << 400.0 << -400.0 << 309 << -1e300 << far << INT_MAX;
    QTest::newRow("y: largest double, H 1") << 1.0 << -1.0 << 309 << kMax << INT_MIN << -far;
    QTest::newRow("y: whole range, top") << kMax << -kMax << 309 << kMax << 0 << 0;
    QTest::newRow("y: whole range, bottom") << kMax << -kMax << 309 << -kMax << 308 << 308;
    QTest::newRow("y: whole range, middle") << kMax << -kMax << 309 << 0.0 << 154 << 154;
    QTest::newRow("one pixel") << 1.0 << -1.0 << 1 << -1.0 << 1 << 1;
}
// clang-format on

void TestGraphScale::toPixel()
{
    QFETCH(double, first);
    QFETCH(double, last);
    QFETCH(int, pixels);
    QFETCH(double, u);
    QFETCH(int, lowest);
    QFETCH(int, highest);

    const int p = ScaleAxis(first, last, pixels).ToPixel(u);
    QVERIFY2(p >= lowest && p <= highest, qPrintable(QString::number(p)));
}

// clang-format off
void TestGraphScale::toUser_data()
{
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("last");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("u");

    QTest::newRow("x: left pixel") << 499.0 << 0.0 << 805 << 0.0 << 499.0;
    QTest::newRow("x: right pixel") << 499.0 << 0.0 << 805 << 804.0 << 0.0;
    QTest::newRow("x: middle pixel is a half") << 499.0 << 0.0 << 805 << 402.0 << 249.5;
    QTest::newRow("y: quarter height") << 400.0 << -400.0 << 309 << 77.0 << 200.0;
    QTest::newRow("y: above the area") << 400.0 << -400.0 << 309 << -154.0 << 800.0;
    QTest::newRow("y: whole range, middle") << kMax << -kMax << 309 << 154.0 << 0.0;
    QTest::newRow("y: whole range, above the area") << kMax << -kMax << 309 << -30.0 << kMax;
    QTest::newRow("y: whole range, below the area") << kMax << -kMax << 309 << 400.0 << -kMax;
}
// clang-format on

void TestGraphScale::toUser()
{
    QFETCH(double, first);
    QFETCH(double, last);
    QFETCH(int, pixels);
    QFETCH(double, p);
    QFETCH(double, u);
    QCOMPARE(ScaleAxis(first, last, pixels).ToUser(p), u);
}

// clang-format off
void TestGraphScale::frequencyTicks_data()
{
    QTest::addColumn<double>("f_min");
    QTest::addColumn<double>("f_max");
    QTest::addColumn<std::vector<double>>("ticks");

    QTest::newRow("medium wave: 0.2 MHz steps from 0.6") << 0.52e6 << 1.62e6 << std::vector{0.6e6, 0.8e6, 1.0e6, 1.2e6, 1.4e6, 1.6e6};
    QTest::newRow("long wave: 25 kHz steps, f_min on the grid") << 0.15e6 << 0.285e6 << std::vector{0.15e6, 0.175e6, 0.2e6, 0.225e6, 0.25e6, 0.275e6};
    QTest::newRow("FM: 5 MHz steps, 90 and 105 inside") << 87.5e6 << 108e6 << std::vector{90e6, 95e6, 100e6, 105e6};
    QTest::newRow("short wave: 2 MHz steps, f_max on the grid") << 3.5e6 << 10e6 << std::vector{4e6, 6e6, 8e6, 10e6};
    QTest::newRow("swapped band: no ticks") << 1.62e6 << 0.52e6 << std::vector<double>{};
}
// clang-format on

void TestGraphScale::frequencyTicks()
{
    QFETCH(double, f_min);
    QFETCH(double, f_max);
    QFETCH(std::vector<double>, ticks);
    const std::vector<double> actual = FrequencyTicks(f_min, f_max, 6);
    QCOMPARE(actual.size(), ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i)
        QVERIFY2(std::abs(actual[i] - ticks[i]) < 1e-6 * ticks[i],
                 qPrintable(QStringLiteral("tick %1: %2").arg(i).arg(actual[i])));
}

QTEST_APPLESS_MAIN(TestGraphScale)
#include "tst_graphscale.moc"
