// SPDX-License-Identifier: GPL-3.0-or-later
// Image and IF rejection of the input circuit with a design's mistracking,
// against textbook figures (A = 1 + Q^2 (f/f_be - f_be/f)^2 worked by hand)
// and the worked example's own design.

#include "CalcTestSupport.h"
#include "DesignFigures.h"
#include "Selectivity.h"

#include <QTest>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

SweepTable Filled(double value)
{
    SweepTable table;
    table.fill(value);
    return table;
}

// 20 log10 of a voltage ratio.
double Db(double ratio)
{
    return 20.0 * std::log10(ratio);
}

CalculationState WorkedExample()
{
    TrackingCalculator calc;
    worked_example::Enter(calc.state);
    OutputRecorder sink;
    SolveTracking(calc, sink);
    return calc.state;
}

} // namespace

Q_DECLARE_METATYPE(SelectivityFigure)
Q_DECLARE_METATYPE(Bound)
Q_DECLARE_METATYPE(BandKind)

class TestSelectivity : public QObject {
    Q_OBJECT

private slots:
    void uniformBand_data();
    void uniformBand();
    void workedExample_data();
    void workedExample();
    void bounds_data();
    void bounds();
    void lossAtUsableQ_data();
    void lossAtUsableQ();
    void verdict_data();
    void verdict();
};

// Every step alike: each extreme is the first step's, and the figures are
// the textbook's for one frequency.
void TestSelectivity::uniformBand_data()
{
    QTest::addColumn<double>("f_be");
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("Q");
    QTest::addColumn<int>("circuits");
    QTest::addColumn<double>("image");
    QTest::addColumn<double>("loss");
    QTest::addColumn<double>("ifRejection");

    // clang-format off
    QTest::newRow("1000 kHz, Q 100, IF 455 kHz: image voltage ratio 138.6") << 1e6 << 0.0 << 100.0 << 1 << Db(138.6476) << 0.0 << 44.8251;
    QTest::newRow("25 MHz, Q 100, IF 455 kHz: image voltage ratio 7.22") << 25e6 << 0.0 << 100.0 << 1 << Db(7.22173) << 0.0 << 74.7957;
    QTest::newRow("two circuits double every dB figure") << 1e6 << 0.0 << 100.0 << 2 << 2.0 * Db(138.6476) << 0.0 << 89.6502;
    QTest::newRow("10 kHz mistracking at 1000 kHz costs 7 dB of signal and of rejection") << 1e6 << 10e3 << 100.0 << 1 << 35.9624 << 6.95525 << 37.8699;
    QTest::newRow("the image stronger than the mistracked signal: negative rejection") << 1e6 << -455e3 << 100.0 << 1 << -4.50639 << 42.2111 << 2.61398;
    // clang-format on
}

void TestSelectivity::uniformBand()
{
    QFETCH(double, f_be);
    QFETCH(double, d);
    QFETCH(double, Q);
    QFETCH(int, circuits);
    QFETCH(double, image);
    QFETCH(double, loss);
    QFETCH(double, ifRejection);
    const SelectivityFigures figures =
        FiguresOfSelectivity(Q, circuits, 455e3, Filled(f_be), Filled(d));
    const std::array expected{image, loss, ifRejection};
    for (std::size_t f = 0; f < expected.size(); ++f) {
        const double dB = expected[f];
        const std::optional<SelectivityExtreme> extreme =
            ExtremeOf(figures, kSelectivityFigures[f]);
        QVERIFY(extreme);
        QVERIFY2(std::abs(extreme->figure.value - dB) < 1e-3,
                 qPrintable(Mismatch(extreme->figure.value, dB)));
        QCOMPARE(extreme->figure.bound, Bound::Exact);
        QCOMPARE(extreme->step, 0);
        QCOMPARE(extreme->f_be, f_be);
    }
}

// The worked example's two-point design at Q 50: where its mistracking is
// largest, at 520 kHz, the image rejection falls from 41.5 to 17.1 dB, the
// signal loses 23.8 dB and the IF rejection falls from 22.6 to -1.3 dB;
// perfectly tracked, the smallest image rejection lies at the band's top.
void TestSelectivity::workedExample_data()
{
    QTest::addColumn<bool>("mistracked");
    QTest::addColumn<SelectivityFigure>("figure");
    QTest::addColumn<double>("dB");
    QTest::addColumn<int>("step");

    // clang-format off
    QTest::newRow("two-point: smallest image rejection at 520 kHz") << true << SelectivityFigure::Image << 17.07 << 499;
    QTest::newRow("two-point: largest loss at 520 kHz") << true << SelectivityFigure::Loss << 23.85 << 499;
    QTest::newRow("two-point: smallest IF rejection, below zero, at 520 kHz") << true << SelectivityFigure::IfRejection << -1.29 << 499;
    QTest::newRow("ideal tracking: smallest image rejection at the band's top") << false << SelectivityFigure::Image << 33.27 << 0;
    QTest::newRow("ideal tracking: IF rejection at 520 kHz") << false << SelectivityFigure::IfRejection << 22.56 << 499;
    // clang-format on
}

void TestSelectivity::workedExample()
{
    QFETCH(bool, mistracked);
    QFETCH(SelectivityFigure, figure);
    QFETCH(double, dB);
    QFETCH(int, step);
    static const CalculationState s = WorkedExample();
    const SelectivityFigures figures =
        FiguresOfSelectivity(50.0, 1, s.f_kf, s.fbe_curve, mistracked ? s.elt_curve : SweepTable{});
    const std::optional<SelectivityExtreme> extreme = ExtremeOf(figures, figure);
    QVERIFY(extreme);
    QVERIFY2(std::abs(extreme->figure.value - dB) < 0.01,
             qPrintable(Mismatch(extreme->figure.value, dB)));
    QCOMPARE(extreme->step, step);
    QCOMPARE(extreme->f_be, TableAt(s.fbe_curve, step));
    if (!mistracked && figure == SelectivityFigure::Image)
        QVERIFY(std::abs(figures.imageCurve.back() - 41.5) < 0.05);
}

// Attenuations beyond the double range give finite bounds, never infinity.
void TestSelectivity::bounds_data()
{
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("f_kf");
    QTest::addColumn<SelectivityFigure>("figure");
    QTest::addColumn<Bound>("bound");

    const double f_be = 1e6;
    // clang-format off
    QTest::newRow("an IF of zero: IF rejection bounded below") << 0.0 << 0.0 << SelectivityFigure::IfRejection << Bound::AtLeast;
    QTest::newRow("the converted signal at zero frequency: loss bounded below") << -f_be << 455e3 << SelectivityFigure::Loss << Bound::AtLeast;
    QTest::newRow("the converted signal at zero frequency: image rejection bounded above") << -f_be << 455e3 << SelectivityFigure::Image << Bound::AtMost;
    QTest::newRow("the image at zero frequency: image rejection bounded below") << -f_be - 910e3 << 455e3 << SelectivityFigure::Image << Bound::AtLeast;
    // clang-format on
}

void TestSelectivity::bounds()
{
    QFETCH(double, d);
    QFETCH(double, f_kf);
    QFETCH(SelectivityFigure, figure);
    QFETCH(Bound, bound);
    const SelectivityFigures figures = FiguresOfSelectivity(50.0, 3, f_kf, Filled(1e6), Filled(d));
    const std::optional<SelectivityExtreme> extreme = ExtremeOf(figures, figure);
    QVERIFY(extreme);
    QCOMPARE(extreme->figure.bound, bound);
    QVERIFY(std::isfinite(extreme->figure.value));
    // An attenuation beyond Q times the largest double, 6199 dB at Q 50, in
    // each of the three circuits, whatever the figure's sign.
    QVERIFY2(std::abs(extreme->figure.value) > 3.0 * 6000.0,
             qPrintable(Mismatch(extreme->figure.value, 0)));
}

// One formula: at the usable Q of a mistracking the loss is 3 dB exactly,
// the acceptable loss.
void TestSelectivity::lossAtUsableQ_data()
{
    QTest::addColumn<double>("d");

    QTest::newRow("the worked example's largest, below") << -74580.2;
    QTest::newRow("a third of the frequency above") << 333e3;
}

void TestSelectivity::lossAtUsableQ()
{
    QFETCH(double, d);
    const double Q = *QLimit(1e6, d);
    const double loss =
        FiguresOfSelectivity(Q, 1, 455e3, Filled(1e6), Filled(d)).loss->figure.value;
    QVERIFY2(RelativelyClose(loss, AcceptableLossDb(), 1e-12),
             qPrintable(Mismatch(loss, AcceptableLossDb())));
    QVERIFY(std::abs(AcceptableLossDb() - 3.0103) < 1e-4);
}

// The band's rule: one circuit of its typical lower Q, ideally tracked, at
// 5 MHz with a 455 kHz IF (24.5 dB) or at 108 MHz with 10.7 MHz (11.5 dB),
// down to a whole dB.
void TestSelectivity::verdict_data()
{
    QTest::addColumn<BandKind>("kind");
    QTest::addColumn<double>("f_be");
    QTest::addColumn<double>("d");
    QTest::addColumn<int>("circuits");
    QTest::addColumn<double>("required");
    QTest::addColumn<bool>("imageEnough");
    QTest::addColumn<bool>("lossAcceptable");
    QTest::addColumn<int>("circuitsNeeded"); // 0: none

    // clang-format off
    QTest::newRow("medium wave, ideal: one circuit enough") << BandKind::BelowVhf << 1e6 << 0.0 << 1 << 24.0 << true << true << 1;
    QTest::newRow("25 MHz on a 455 kHz IF: two circuits needed") << BandKind::BelowVhf << 25e6 << 0.0 << 1 << 24.0 << false << true << 2;
    QTest::newRow("25 MHz with two circuits: enough") << BandKind::BelowVhf << 25e6 << 0.0 << 2 << 24.0 << true << true << 2;
    QTest::newRow("10 kHz mistracking: rejection enough, loss not") << BandKind::BelowVhf << 1e6 << 10e3 << 1 << 24.0 << true << false << 1;
    QTest::newRow("negative rejection: no number of circuits helps") << BandKind::BelowVhf << 1e6 << -455e3 << 1 << 24.0 << false << false << 0;
    QTest::newRow("VHF rule with a VHF-sized IF at 25 MHz") << BandKind::Vhf << 25e6 << 0.0 << 1 << 11.0 << true << true << 1;
    // clang-format on
}

void TestSelectivity::verdict()
{
    QFETCH(BandKind, kind);
    QFETCH(double, f_be);
    QFETCH(double, d);
    QFETCH(int, circuits);
    QFETCH(double, required);
    const SelectivityVerdict verdict = JudgeSelectivity(
        FiguresOfSelectivity(100.0, circuits, 455e3, Filled(f_be), Filled(d)), circuits, kind);
    QCOMPARE(verdict.requiredImageDb, required);
    QTEST(verdict.imageEnough, "imageEnough");
    QTEST(verdict.lossAcceptable, "lossAcceptable");
    QTEST(verdict.circuitsNeeded.value_or(0), "circuitsNeeded");
}

QTEST_APPLESS_MAIN(TestSelectivity)
#include "tst_selectivity.moc"
