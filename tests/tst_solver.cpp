// SPDX-License-Identifier: GPL-3.0-or-later
// The two-point tracking solver and the deviation sweep: the worked example
// (12..500 pF tuning capacitor, 10 pF stray, 0.52..1.62 MHz band, 455 kHz IF),
// the physics of the design it produces, and what a failing run leaves behind.

#include "CalcTestSupport.h"
#include "DesignFigures.h"
#include "DesignVerdict.h"

#include <QTest>

#include <algorithm>
#include <numeric>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

using StateValue = double (*)(const CalculationState&);

struct WorkedExample {
    TrackingCalculator calc;
    OutputRecorder sink;

    explicit WorkedExample(const char* separator = ".")
    {
        calc.decimalSeparator = separator;
        worked_example::Enter(calc.state);
        SolveTracking(calc, sink);
    }
};

// Input-circuit frequency (Hz) at sweep step i.
double SweepFrequency(const CalculationState& s, int i)
{
    return s.f_max - i * (s.f_max - s.f_min) / 499.0;
}

} // namespace

Q_DECLARE_METATYPE(StateValue)

class TestSolver : public QObject {
    Q_OBJECT

private slots:
    void workedExampleFields_data();
    void workedExampleFields();
    void showsEachFieldOnceInOrder();
    void designResonances_data();
    void designResonances();
    void trackingPointsHaveNoDeviation_data();
    void trackingPointsHaveNoDeviation();
    void trackingPointsAreSymmetric();
    void sweepDeviationAtStep_data();
    void sweepDeviationAtStep();
    void sweepExtremes();
    void deviationChangesSignAroundTrackingPoints();
    void sweepTables();
    void sweepCapacitanceSpansCapacitor();
    void extremesShownWhateverTheirSigns_data();
    void extremesShownWhateverTheirSigns();
    void noIntermediateFrequency();
    void failingRun_data();
    void failingRun();
    void secondRunAfterFailure();
    void failingSweepLeavesTablesMixed();
    void designFigures_data();
    void designFigures();
    void roundDownToTwoSignificant_data();
    void roundDownToTwoSignificant();
    void twoDigitValuesStayAsTheyAre();
    void verdict_data();
    void verdict();
    void padderVerdict_data();
    void padderVerdict();
};

// clang-format off
void TestSolver::workedExampleFields_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("expected");

    for (const char* separator : {".", ","}) {
        for (const worked_example::ResultText& result : worked_example::kResultTexts) {
            QTest::addRow("%s with '%s'", std::string(result.text).c_str(), separator) << separator << static_cast<int>(result.field) << QString::fromStdString(worked_example::Shown(result.field, separator));
        }
    }
}
// clang-format on

void TestSolver::workedExampleFields()
{
    QFETCH(QString, separator);
    QFETCH(int, field);
    QFETCH(QString, expected);
    const WorkedExample run(qPrintable(separator));
    QCOMPARE(QString::fromStdString(run.sink.text(static_cast<OutputField>(field))), expected);
}

void TestSolver::showsEachFieldOnceInOrder()
{
    const WorkedExample run;
    QCOMPARE(run.sink.log.size(), kOutputFieldsInStepOrder.size());
    for (std::size_t i = 0; i < kOutputFieldsInStepOrder.size(); ++i)
        QCOMPARE(static_cast<int>(run.sink.log[i].first),
                 static_cast<int>(kOutputFieldsInStepOrder[i]));
}

// clang-format off
void TestSolver::designResonances_data()
{
    QTest::addColumn<StateValue>("inductance");
    QTest::addColumn<StateValue>("capacitance");
    QTest::addColumn<StateValue>("frequency");

    const StateValue L_b = [](const CalculationState& s) { return s.L_b; };
    const StateValue L_o = [](const CalculationState& s) { return s.L_o; };
    QTest::newRow("input circuit at f_max with the capacitor's minimum") << L_b << StateValue([](const CalculationState& s) { return s.C_h_min + s.C_tb + s.C_sz; }) << StateValue([](const CalculationState& s) { return s.f_max; });
    QTest::newRow("input circuit at f_min with the capacitor's maximum") << L_b << StateValue([](const CalculationState& s) { return s.C_h_max + s.C_tb + s.C_sz; }) << StateValue([](const CalculationState& s) { return s.f_min; });
    QTest::newRow("input circuit at the first tracking point") << L_b << StateValue([](const CalculationState& s) { return s.C_hp1 + s.C_tb + s.C_sz; }) << StateValue([](const CalculationState& s) { return s.f_h1; });
    QTest::newRow("input circuit at the second tracking point") << L_b << StateValue([](const CalculationState& s) { return s.C_hp2 + s.C_tb + s.C_sz; }) << StateValue([](const CalculationState& s) { return s.f_h2; });
    QTest::newRow("oscillator one IF above the first tracking point") << L_o << StateValue([](const CalculationState& s) { return s.C_hp1 + s.C_osz; }) << StateValue([](const CalculationState& s) { return s.f_h1 + s.f_kf; });
    QTest::newRow("oscillator one IF above the second tracking point") << L_o << StateValue([](const CalculationState& s) { return s.C_hp2 + s.C_osz; }) << StateValue([](const CalculationState& s) { return s.f_h2 + s.f_kf; });
}
// clang-format on

void TestSolver::designResonances()
{
    QFETCH(StateValue, inductance);
    QFETCH(StateValue, capacitance);
    QFETCH(StateValue, frequency);
    const WorkedExample run;
    const CalculationState& s = run.calc.state;
    const double actual = Resonance(inductance(s), capacitance(s));
    QVERIFY2(RelativelyClose(actual, frequency(s), 1e-9),
             qPrintable(Mismatch(actual, frequency(s))));
}

// clang-format off
void TestSolver::trackingPointsHaveNoDeviation_data()
{
    QTest::addColumn<StateValue>("trackingPoint");
    QTest::addColumn<StateValue>("tuning");

    QTest::newRow("first tracking point") << StateValue([](const CalculationState& s) { return s.f_h1; }) << StateValue([](const CalculationState& s) { return s.C_hp1; });
    QTest::newRow("second tracking point") << StateValue([](const CalculationState& s) { return s.f_h2; }) << StateValue([](const CalculationState& s) { return s.C_hp2; });
}
// clang-format on

void TestSolver::trackingPointsHaveNoDeviation()
{
    QFETCH(StateValue, trackingPoint);
    QFETCH(StateValue, tuning);
    WorkedExample run;
    CalculationState& s = run.calc.state;
    s.sweep_i = 0;
    const double deviation = run.calc.TrackingDeviation(tuning(s) + s.C_tb + s.C_sz);
    QVERIFY2(std::abs(deviation) < 1e-3, qPrintable(Mismatch(deviation, 0.0)));
    QVERIFY2(RelativelyClose(s.fbe_curve[0], trackingPoint(s), 1e-12),
             qPrintable(Mismatch(s.fbe_curve[0], trackingPoint(s))));
}

void TestSolver::trackingPointsAreSymmetric()
{
    const WorkedExample run;
    const CalculationState& s = run.calc.state;
    const double delta = (s.f_max - s.f_min) / 6.85;
    QVERIFY(RelativelyClose(s.f_h1 - s.f_min, delta, 1e-12));
    QVERIFY(RelativelyClose(s.f_max - s.f_h2, delta, 1e-12));
    QVERIFY(std::abs(s.f_h1 - 0.6806e6) < 50.0);
    QVERIFY(std::abs(s.f_h2 - 1.4594e6) < 50.0);
}

// clang-format off
void TestSolver::sweepDeviationAtStep_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<double>("deviation");

    QTest::newRow("step 0, upper band edge") << 0 << -60984.26;
    QTest::newRow("step 256, largest deviation") << 256 << 70217.63;
    QTest::newRow("step 499, lower band edge and smallest deviation") << 499 << -74580.2;
}
// clang-format on

void TestSolver::sweepDeviationAtStep()
{
    QFETCH(int, step);
    QFETCH(double, deviation);
    const WorkedExample run;
    QCOMPARE(run.calc.state.elt_curve[step], deviation);
}

void TestSolver::sweepExtremes()
{
    const WorkedExample run;
    const CalculationState& s = run.calc.state;
    const auto curve = s.elt_curve;
    QCOMPARE(static_cast<int>(std::max_element(curve.begin(), curve.end()) - curve.begin()), 256);
    QCOMPARE(static_cast<int>(std::min_element(curve.begin(), curve.end()) - curve.begin()), 499);
    QCOMPARE(s.elt_sorted[0], -74580.2);
    QCOMPARE(s.elt_sorted[kSweepSteps - 1], 70217.63);
    QVERIFY2(std::abs(s.fbe_curve[256] - 1.0557e6) < 50.0,
             qPrintable(Mismatch(s.fbe_curve[256], 1.0557e6)));
}

void TestSolver::deviationChangesSignAroundTrackingPoints()
{
    const WorkedExample run;
    const CalculationState& s = run.calc.state;
    QList<int> changes;
    for (int i = 1; i < kSweepSteps; ++i) {
        if ((s.elt_curve[i - 1] < 0.0) != (s.elt_curve[i] < 0.0))
            changes.append(i);
    }
    QCOMPARE(changes, QList<int>({73, 427}));
    // Sweep frequencies fall with the step: f_h2 lies in the first change, f_h1 in the second.
    QVERIFY(SweepFrequency(s, 72) > s.f_h2 && s.f_h2 > SweepFrequency(s, 73));
    QVERIFY(SweepFrequency(s, 426) > s.f_h1 && s.f_h1 > SweepFrequency(s, 427));
}

void TestSolver::sweepTables()
{
    const WorkedExample run;
    const CalculationState& s = run.calc.state;
    QCOMPARE(static_cast<int>(s.sweep_i), kSweepSteps);
    for (int i = 0; i < kSweepSteps; ++i) {
        QVERIFY2(RelativelyClose(s.fbe_curve[i], SweepFrequency(s, i), 1e-12),
                 qPrintable(QStringLiteral("step %1: ").arg(i)
                            + Mismatch(s.fbe_curve[i], SweepFrequency(s, i))));
        const double hundredths = s.elt_curve[i] * 100.0;
        QVERIFY2(
            std::abs(hundredths - std::round(hundredths)) < 1e-6,
            qPrintable(QStringLiteral("step %1 holds %2").arg(i).arg(s.elt_curve[i], 0, 'g', 17)));
    }
    QVERIFY(std::is_sorted(s.elt_sorted.begin(), s.elt_sorted.end()));
    QVERIFY(std::is_permutation(s.elt_sorted.begin(), s.elt_sorted.end(), s.elt_curve.begin()));
}

void TestSolver::sweepCapacitanceSpansCapacitor()
{
    const WorkedExample run;
    const CalculationState& s = run.calc.state;
    QCOMPARE(run.calc.SweepCapacitance(0.0), s.C_tb + s.C_h_min + s.C_sz);
    const double atLowerEdge = run.calc.SweepCapacitance(499.0);
    const double capacitorMaximum = s.C_tb + s.C_h_max + s.C_sz;
    QVERIFY2(RelativelyClose(atLowerEdge, capacitorMaximum, 1e-12),
             qPrintable(Mismatch(atLowerEdge, capacitorMaximum)));
}

// clang-format off
void TestSolver::extremesShownWhateverTheirSigns_data()
{
    QTest::addColumn<double>("shift");

    QTest::newRow("every deviation negative") << -100e3;
    QTest::newRow("every deviation positive") << 100e3;
}
// clang-format on

// Lowering f_kf by some amount, with both circuits kept, raises every
// deviation (f_osz - f_kf) - f_be by that amount.
void TestSolver::extremesShownWhateverTheirSigns()
{
    QFETCH(double, shift);
    WorkedExample run;
    run.calc.state.f_kf -= shift;
    OutputRecorder sink;
    RunDeviationSweep(run.calc, sink);

    const double smallest = ParseLeadingNumber(sink.text(OutputField::n_elt));
    const double largest = ParseLeadingNumber(sink.text(OutputField::p_elt));
    QVERIFY2(std::abs(smallest - (-74580.2 + shift)) <= 0.011,
             qPrintable(Mismatch(smallest, -74580.2 + shift)));
    QVERIFY2(std::abs(largest - (70217.63 + shift)) <= 0.011,
             qPrintable(Mismatch(largest, 70217.63 + shift)));
    QCOMPARE(smallest > 0.0, shift > 0.0);
    QCOMPARE(largest > 0.0, shift > 0.0);
}

// Without an IF the oscillator must come out as a copy of the input circuit.
void TestSolver::noIntermediateFrequency()
{
    TrackingCalculator calc;
    OutputRecorder sink;
    EnterInputs(calc.state, {"12", "500", "10", "0.52", "1.62", "0"});
    SolveTracking(calc, sink);
    const CalculationState& s = calc.state;

    QVERIFY2(RelativelyClose(s.L_o, s.L_b, 1e-9), qPrintable(Mismatch(s.L_o, s.L_b)));
    QVERIFY2(RelativelyClose(s.C_osz - s.C_sz, s.C_tb, 1e-9),
             qPrintable(Mismatch(s.C_osz - s.C_sz, s.C_tb)));
    QVERIFY(std::all_of(s.elt_curve.begin(), s.elt_curve.end(), [](double d) { return d == 0.0; }));
    QCOMPARE(sink.text(OutputField::l_o), sink.text(OutputField::l_b));
    QCOMPARE(sink.text(OutputField::c_to), sink.text(OutputField::c_tb));
    QCOMPARE(sink.text(OutputField::n_elt), std::string("0"));
    QCOMPARE(sink.text(OutputField::p_elt), std::string("0"));
}

// clang-format off
void TestSolver::failingRun_data()
{
    // Inputs as typed: pF and MHz.
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("shownFields");
    QTest::addColumn<QStringList>("keptMembers");
    QTest::addColumn<QStringList>("nonFiniteMembers");
    QTest::addColumn<QStringList>("unitMembers");

    const QStringList none{};
    QTest::newRow("f_min zero, step 4") << QStringList{"12", "500", "10", "0", "1.62", "0.455"} << "DivisionByZeroError" << 0 << QStringList{"k_f", "k_f2", "C_tb", "L_b"} << none << none;
    QTest::newRow("both band edges zero, step 4") << QStringList{"12", "500", "10", "0", "0", "0.455"} << "InvalidOperationError" << 0 << QStringList{"k_f", "k_f2", "C_tb"} << none << none;
    QTest::newRow("equal band edges, step 5") << QStringList{"12", "500", "10", "1", "1", "0.455"} << "DivisionByZeroError" << 0 << QStringList{"L_b"} << QStringList{"C_tb"} << QStringList{"k_f", "k_f2"};
    QTest::newRow("equal band edges and capacitor ends, step 5") << QStringList{"100", "100", "10", "1", "1", "0.455"} << "InvalidOperationError" << 0 << QStringList{"L_b"} << QStringList{"C_tb"} << QStringList{"k_f", "k_f2"};
    QTest::newRow("no capacitance at all, step 7") << QStringList{"0", "0", "0", "0.52", "1.62", "0.455"} << "DivisionByZeroError" << 1 << QStringList{"f_h1", "f_h2"} << QStringList{"L_b"} << none;
    QTest::newRow("f_max squared overflows, step 7") << QStringList{"12", "500", "10", "1e148", "2e148", "0.455"} << "OverflowError" << 1 << QStringList{"L_b", "f_h1"} << none << none;
    QTest::newRow("IF swamps the tracking points, step 14") << QStringList{"12", "500", "10", "0.52", "1.62", "1e24"} << "DivisionByZeroError" << 4 << QStringList{"C_osz", "L_o"} << none << none;
}
// clang-format on

// Each run starts from the worked example's results, so that a member the
// failing step must not touch still holds a known earlier value.
void TestSolver::failingRun()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, error);
    QFETCH(int, shownFields);
    QFETCH(QStringList, keptMembers);
    QFETCH(QStringList, nonFiniteMembers);
    QFETCH(QStringList, unitMembers);

    WorkedExample run;
    const CalculationState before = run.calc.state;
    CalculationState& s = run.calc.state;
    const std::array<std::string, 6> texts{inputs[0].toStdString(), inputs[1].toStdString(),
                                           inputs[2].toStdString(), inputs[3].toStdString(),
                                           inputs[4].toStdString(), inputs[5].toStdString()};
    EnterInputs(s, {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]});
    OutputRecorder sink;

    QCOMPARE(FailureOf([&] { SolveTracking(run.calc, sink); }), error);
    QCOMPARE(static_cast<int>(sink.log.size()), shownFields);
    for (std::size_t i = 0; i < sink.log.size(); ++i)
        QCOMPARE(static_cast<int>(sink.log[i].first),
                 static_cast<int>(kOutputFieldsInStepOrder[i]));
    for (const QString& name : keptMembers)
        QVERIFY2(s.*MemberByName(name) == before.*MemberByName(name), qPrintable(name));
    for (const QString& name : nonFiniteMembers)
        QVERIFY2(!std::isfinite(s.*MemberByName(name)), qPrintable(name));
    for (const QString& name : unitMembers)
        QVERIFY2(s.*MemberByName(name) == 1.0, qPrintable(name));
    QCOMPARE(static_cast<int>(s.sweep_i), static_cast<int>(before.sweep_i));
}

void TestSolver::secondRunAfterFailure()
{
    // One sink for all runs: it keeps the field texts as the window does.
    TrackingCalculator calc;
    OutputRecorder fields;
    worked_example::Enter(calc.state);
    SolveTracking(calc, fields);
    const auto firstRun = fields.current;

    TrackingCalculator reference;
    OutputRecorder referenceFields;
    EnterInputs(reference.state, {"12", "400", "10", "0.52", "1.62", "0.455"});
    SolveTracking(reference, referenceFields);

    // A smaller capacitor, and an IF so large that both oscillator frequencies
    // round to the same double: the run stops at C_osz.
    EnterInputs(calc.state, {"12", "400", "10", "0.52", "1.62", "1e24"});
    QCOMPARE(FailureOf([&] { SolveTracking(calc, fields); }), "DivisionByZeroError");

    QVERIFY(fields.text(OutputField::c_tb) != firstRun.at(OutputField::c_tb));
    for (OutputField field :
         {OutputField::c_tb, OutputField::l_b, OutputField::f_1, OutputField::f_2})
        QCOMPARE(fields.text(field), referenceFields.text(field));
    for (OutputField field : {OutputField::c_to, OutputField::c_1, OutputField::c_2,
                              OutputField::l_o, OutputField::n_elt, OutputField::p_elt})
        QCOMPARE(fields.text(field), firstRun.at(field));

    worked_example::Enter(calc.state);
    SolveTracking(calc, fields);
    QVERIFY(fields.current == firstRun);
}

// An oscillator with negative inductance and fixed capacitance has a real
// frequency only while its whole capacitance stays negative, that is while
// the tuning capacitance is below 100 pF: the sweep fails part-way.
void TestSolver::failingSweepLeavesTablesMixed()
{
    WorkedExample run;
    CalculationState& s = run.calc.state;
    const CalculationState before = s;
    s.L_o = -s.L_o;
    s.C_osz = -100e-12;
    OutputRecorder sink;

    QCOMPARE(FailureOf([&] { RunDeviationSweep(run.calc, sink); }), "NegativeSquareRootError");
    QVERIFY(sink.log.empty());
    const int failed = s.sweep_i;
    const auto tuningAt = [&](int i) {
        const double f = SweepFrequency(s, i);
        return 1.0 / (4.0 * std::numbers::pi * std::numbers::pi * f * f * s.L_b) - s.C_tb - s.C_sz;
    };
    QVERIFY2(failed > 0 && failed < kSweepSteps, qPrintable(QString::number(failed)));
    QVERIFY(tuningAt(failed - 1) < 100e-12 && tuningAt(failed) > 100e-12);

    QVERIFY(s.elt_curve[0] != before.elt_curve[0]);
    for (int i = failed; i < kSweepSteps; ++i) {
        QCOMPARE(s.elt_curve[i], before.elt_curve[i]);
        QCOMPARE(s.elt_sorted[i], before.elt_sorted[i]);
        QCOMPARE(s.fbe_curve[i], before.fbe_curve[i]);
    }
    QVERIFY(!std::is_sorted(s.elt_sorted.begin(), s.elt_sorted.end()));
}

// clang-format off
void TestSolver::designFigures_data()
{
    QTest::addColumn<QStringList>("inputs"); // c_min c_max c_szort (pF), f_min f_max f_kf (MHz)
    QTest::addColumn<int>("worstStep");      // -1: no deviation, -2: no figures at all
    QTest::addColumn<double>("usableQ");
    QTest::addColumn<double>("statedQ");
    QTest::addColumn<QStringList>("negative"); // caption and pF as shown

    // The worked example: -74580.2 Hz at 0.52 MHz, r = d / f = -0.14342,
    // Q = (1 + r) / |r (2 + r)| = 3.2169 (f / (2 |d|) would say 3.486).
    QTest::newRow("worked example: Q 3.217 at f_min, stated 3.2") << QStringList{"12", "500", "10", "0.52", "1.62", "0.455"} << 499 << 3.21687 << 3.2 << QStringList{};
    QTest::newRow("long wave 0.15-0.285 MHz: stated 5") << QStringList{"12", "500", "10", "0.15", "0.285", "0.455"} << 499 << 5.08149 << 5.0 << QStringList{};
    QTest::newRow("49 m bandspread 5.9-6.2 MHz: stated 15000") << QStringList{"10", "50", "10", "5.9", "6.2", "0.455"} << 499 << 15238.1 << 15000.0 << QStringList{};
    QTest::newRow("FM 87.5-108 MHz, 10.7 MHz IF: stated 550") << QStringList{"10", "40", "5", "87.5", "108", "10.7"} << 499 << 558.925 << 550.0 << QStringList{};
    QTest::newRow("VHF 65-108 MHz, 10.7 MHz IF: stated 74") << QStringList{"10", "40", "5", "65", "108", "10.7"} << 499 << 74.7121 << 74.0 << QStringList{};
    QTest::newRow("no IF: every deviation zero, no limit") << QStringList{"12", "500", "10", "0.52", "1.62", "0"} << -1 << 0.0 << 0.0 << QStringList{};
    // (100 + 10) / (12 + 10) = 5 is less than (1.62 / 0.52)^2 = 9.7: the same
    // total capacitances as the worked example, with 11.89 pF taken off by Cp_b.
    QTest::newRow("stray too large: Cp_b negative, Cp_o not") << QStringList{"12", "500", "55.8", "0.52", "1.62", "0.455"} << 499 << 3.21687 << 3.2 << QStringList{"Cp_b -11.74"};
    QTest::newRow("capacitor range too small: Cp_b and Cp_o negative") << QStringList{"12", "100", "10", "0.52", "1.62", "0.455"} << 499 << 3.21687 << 3.2 << QStringList{"Cp_b -11.89", "Cp_o -0.01"};
    QTest::newRow("sweep fails part-way: no figures") << QStringList{"12", "400", "10", "0.52", "1.6", "-0.5"} << -2 << 0.0 << 0.0 << QStringList{};
}
// clang-format on

// What the notes on a design are made of: the usable input-circuit Q, the
// smallest 1 / |x - 1/x| with x = (f_i + d_i) / f_i, rounded down; the
// negative components.
void TestSolver::designFigures()
{
    QFETCH(QStringList, inputs);
    QFETCH(int, worstStep);
    QFETCH(double, usableQ);
    QFETCH(double, statedQ);
    QFETCH(QStringList, negative);
    TrackingCalculator calc;
    OutputRecorder sink;
    std::array<std::string, kInputs.size()> texts;
    std::ranges::transform(inputs, texts.begin(), &QString::toStdString);
    EnterInputs(calc.state, {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]});
    const QString failure = FailureOf([&] { SolveTracking(calc, sink); });

    const std::optional<DesignFigures> figures = FiguresOfDesign(calc.state);
    QCOMPARE(figures.has_value(), worstStep != -2);
    QCOMPARE(failure == "none", figures.has_value());
    if (!figures)
        return;
    const CalculationState& s = calc.state;
    QCOMPARE(figures->highest.deviation, s.elt_sorted.back());
    QCOMPARE(figures->lowest.deviation, s.elt_sorted.front());
    QCOMPARE(figures->largestPositive.has_value(), s.elt_sorted.back() > 0.0);
    QCOMPARE(figures->largestNegative.has_value(), s.elt_sorted.front() < 0.0);
    QCOMPARE(figures->usableQ.has_value(), worstStep >= 0);
    if (worstStep >= 0) {
        QCOMPARE(figures->worstRelative->step, worstStep);
        QVERIFY2(RelativelyClose(*figures->usableQ, usableQ, 1e-5),
                 qPrintable(Mismatch(*figures->usableQ, usableQ)));
        QCOMPARE(*figures->statedQ, statedQ);
    }
    const char* const captions[] = {"Cp_b", "Cp_o", "Ch1", "Ch2"};
    QStringList shown;
    for (const NegativeComponent& component : figures->negatives)
        shown << QString(captions[static_cast<int>(component.component)]) + " "
                     + QString::fromStdString(calc.FormatValue(component.picofarad));
    QCOMPARE(shown, negative);
}

// clang-format off
void TestSolver::roundDownToTwoSignificant_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("short-wave bandspread Q") << 15238.39 << 15000.0;
    QTest::newRow("just below a decade") << 99.99 << 99.0;
    QTest::newRow("a decade itself") << 100.0 << 100.0;
    QTest::newRow("two digits exactly") << 3.4 << 3.4;
    QTest::newRow("below one") << 0.0347 << 0.034;
    // Two-digit values whose double lies just below the decimal: scaled by a
    // power of ten and floored, each lost a unit.
    QTest::newRow("0.29 stays") << 0.29 << 0.29;
    QTest::newRow("0.57 stays") << 0.57 << 0.57;
    QTest::newRow("0.58 stays") << 0.58 << 0.58;
    QTest::newRow("91e-7 stays") << 91e-7 << 91e-7;
    QTest::newRow("0.579 to 0.57") << 0.579 << 0.57;
    QTest::newRow("one digit") << 5.0 << 5.0;
}
// clang-format on

void TestSolver::roundDownToTwoSignificant()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(RoundDownToTwoSignificant(value), expected);
}

// Every two-digit value from 1e-6 to 1e6 is already rounded; 24 of these
// 1,080 once came out a unit low.
void TestSolver::twoDigitValuesStayAsTheyAre()
{
    for (int exponent = -7; exponent <= 4; ++exponent)
        for (int digits = 10; digits <= 99; ++digits) {
            const double value = std::stod(std::to_string(digits) + "e" + std::to_string(exponent));
            QVERIFY2(RoundDownToTwoSignificant(value) == value,
                     qPrintable(QString::number(value, 'g', 17)));
        }
}

// clang-format off
void TestSolver::verdict_data()
{
    QTest::addColumn<double>("f_min");         // MHz
    QTest::addColumn<double>("f_max");         // MHz
    QTest::addColumn<double>("statedQ");       // -1: no limit
    QTest::addColumn<QList<int>>("negatives"); // Component values, in order
    QTest::addColumn<int>("verdict");

    const QList<int> none{};
    QTest::newRow("no mistuning") << 0.52 << 1.62 << -1.0 << none << int(Verdict::NoMistuning);
    QTest::newRow("short wave, Q 150") << 5.9 << 6.2 << 150.0 << none << int(Verdict::TrimmersEnough);
    QTest::newRow("short wave, Q 50") << 5.9 << 6.2 << 50.0 << none << int(Verdict::TrimmersForLowQ);
    QTest::newRow("medium wave, Q 3.2") << 0.52 << 1.62 << 3.2 << none << int(Verdict::PadderNeeded);
    QTest::newRow("VHF 65-108, Q 74") << 65.0 << 108.0 << 74.0 << none << int(Verdict::TrimmersEnough);
    QTest::newRow("VHF, Q 10") << 87.5 << 108.0 << 10.0 << none << int(Verdict::TrimmersForLowQ);
    QTest::newRow("VHF, Q 9.9") << 87.5 << 108.0 << 9.9 << none << int(Verdict::PadderNeeded);
    QTest::newRow("0.1-30 MHz judged below VHF") << 0.1 << 30.0 << 40.0 << none << int(Verdict::PadderNeeded);
    QTest::newRow("30-40 MHz is VHF") << 30.0 << 40.0 << 10.0 << none << int(Verdict::TrimmersForLowQ);
    QTest::newRow("20-40 MHz judged by its lower part") << 20.0 << 40.0 << 40.0 << none << int(Verdict::PadderNeeded);
    QTest::newRow("band edges swapped, before negatives") << 1.62 << 0.52 << 3.2 << QList<int>{0, 1} << int(Verdict::BandEdgesSwapped);
    QTest::newRow("Cp_b negative, before Cp_o") << 0.52 << 1.62 << 3.2 << QList<int>{0, 1} << int(Verdict::CapacitorRangeShort);
    QTest::newRow("Cp_o negative alone") << 0.52 << 1.62 << 3.2 << QList<int>{1} << int(Verdict::OscillatorTrimmerNegative);
    QTest::newRow("Ch negative at F2") << 0.52 << 1.62 << 3.2 << QList<int>{3} << int(Verdict::TuningCapacitanceNegative);
}
// clang-format on

// The verdict a builder reads: the band's typical loaded Q against the
// stated one, and a design that cannot be built named before any padder.
void TestSolver::verdict()
{
    QFETCH(double, f_min);
    QFETCH(double, f_max);
    QFETCH(double, statedQ);
    QFETCH(QList<int>, negatives);
    QFETCH(int, verdict);
    CalculationState s;
    s.f_min = f_min * kHertzPerMegahertz;
    s.f_max = f_max * kHertzPerMegahertz;
    DesignFigures figures;
    if (statedQ >= 0.0)
        figures.statedQ = statedQ;
    for (int component : negatives)
        figures.negatives.push_back({static_cast<Component>(component), -1.0});
    QCOMPARE(int(JudgeDesign(figures, s)), verdict);
}

// clang-format off
void TestSolver::padderVerdict_data()
{
    QTest::addColumn<int>("twoPoint");      // Verdict, -1: none
    QTest::addColumn<double>("padderQ");    // the padder design's stated Q, -1: no limit
    QTest::addColumn<double>("f_min");      // MHz
    QTest::addColumn<int>("verdict");

    const auto row = [](const char* name, int twoPoint, double q, double f_min, PadderVerdict verdict) {
        QTest::newRow(name) << twoPoint << q << f_min << int(verdict);
    };
    row("trimmers enough: no padder, whatever its Q", int(Verdict::TrimmersEnough), 3.0, 5.9, PadderVerdict::NotNeeded);
    row("no mistuning: no padder", int(Verdict::NoMistuning), 3.0, 0.52, PadderVerdict::NotNeeded);
    row("worked example: padder Q 85 only for the lower-Q circuits", int(Verdict::PadderNeeded), 85.0, 0.52, PadderVerdict::EnoughForLowQ);
    row("trimmers for low Q, padder Q 150 enough", int(Verdict::TrimmersForLowQ), 150.0, 0.52, PadderVerdict::Enough);
    row("padder Q 49 not enough below VHF", int(Verdict::PadderNeeded), 49.0, 0.52, PadderVerdict::NotEnough);
    row("padder Q 30 enough on VHF", int(Verdict::PadderNeeded), 30.0, 87.5, PadderVerdict::Enough);
    row("padder design without mistuning", int(Verdict::PadderNeeded), -1.0, 0.52, PadderVerdict::NoMistuning);
    row("two-point unbuildable: the padder design judged alone", int(Verdict::OscillatorTrimmerNegative), 85.0, 0.52, PadderVerdict::EnoughForLowQ);
    row("no two-point verdict: the padder design judged alone", -1, 85.0, 0.52, PadderVerdict::EnoughForLowQ);
}
// clang-format on

void TestSolver::padderVerdict()
{
    QFETCH(int, twoPoint);
    QFETCH(double, padderQ);
    QFETCH(double, f_min);
    QFETCH(int, verdict);
    const std::optional<Verdict> judged =
        twoPoint < 0 ? std::nullopt : std::optional(static_cast<Verdict>(twoPoint));
    const std::optional<double> q = padderQ < 0.0 ? std::nullopt : std::optional(padderQ);
    QCOMPARE(int(JudgePadder(judged, q, KindOfBand(f_min * kHertzPerMegahertz))), verdict);
}

QTEST_APPLESS_MAIN(TestSolver)
#include "tst_solver.moc"
