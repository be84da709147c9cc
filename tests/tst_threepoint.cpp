// Three-point tracking with a padder, checked against the circuit itself: the
// input circuit and the oscillator resonances from pi at the three points, and
// the extremes of the returned deviation table.

#include "Bandspread.h"
#include "CalcTestSupport.h"
#include "DesignVerdict.h"
#include "ThreePointTracking.h"

#include <QTest>

#include <vector>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

using Inputs = std::array<std::string_view, kInputs.size()>;
using Points = std::array<double, 3>;

constexpr Inputs kWorkedExample{"12", "500", "10", "0.52", "1.62", "0.455"};

CalculationState Solved(const Inputs& inputs)
{
    TrackingCalculator calc;
    EnterInputs(calc.state, inputs);
    OutputRecorder sink;
    SolveTracking(calc, sink);
    return calc.state;
}

double Series(double a, double b)
{
    return a * b / (a + b);
}

// The oscillator's frequency at gang capacitance C_h, from pi: the stray
// across the coil, the gang and trimmer in series with the padder.
double OscillatorAt(const PadderOscillator& o, double C_h, double C_sz)
{
    return Resonance(o.L_o, C_sz + Series(C_h + o.C_to, o.C_p));
}

// The bandspread input circuit's frequency at gang capacitance C_h, from pi,
// and the gang capacitance at which it tunes to f: the stray across the coil,
// the gang and trimmer in series with Cs_b.
double InputAt(const BandspreadInput& in, double C_h, double C_sz)
{
    return Resonance(in.L_b, C_sz + Series(C_h + in.C_p, in.C_s));
}

double GangFor(const BandspreadInput& in, double f, double C_sz)
{
    const double branch = 1.0 / std::pow(2.0 * std::numbers::pi * f, 2) / in.L_b - C_sz;
    return 1.0 / (1.0 / branch - 1.0 / in.C_s) - in.C_p;
}

// The peaks of the runs of equal sign in the table, from step 0: |d| in Hz, or
// the relative mistuning |x - 1/x| that limits the Q.
std::vector<double> RunPeaks(const CalculationState& s, const SweepTable& d, bool relative)
{
    std::vector<double> peaks;
    double sign = 0.0;
    for (int i = 0; i < kSweepSteps; ++i) {
        const double f = s.f_max - i * (s.f_max - s.f_min) / 499.0;
        const double x = (f + d[i]) / f;
        const double size = relative ? std::abs(x - 1.0 / x) : std::abs(d[i]);
        if (d[i] != 0.0 && std::copysign(1.0, d[i]) != sign) {
            sign = std::copysign(1.0, d[i]);
            peaks.push_back(0.0);
        }
        if (d[i] != 0.0)
            peaks.back() = std::max(peaks.back(), size);
    }
    return peaks;
}

} // namespace

Q_DECLARE_METATYPE(Inputs)
Q_DECLARE_METATYPE(PointPlacement)
Q_DECLARE_METATYPE(Points)
Q_DECLARE_METATYPE(ThreePointFailure)
Q_DECLARE_METATYPE(BandspreadFailure)

class TestThreePoint : public QObject {
    Q_OBJECT

private slots:
    void design_data();
    void design();
    void failure_data();
    void failure();
    void nearestStandardValue_data();
    void nearestStandardValue();
    void bandspreadAdvised_data();
    void bandspreadAdvised();
};

// clang-format off
void TestThreePoint::design_data()
{
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<PointPlacement>("placement");
    QTest::addColumn<Points>("ownPoints");
    QTest::addColumn<double>("usableQ");       // 0: not checked
    QTest::addColumn<double>("padder");        // pF to three significant digits, 0: not checked
    QTest::addColumn<QString>("unalignedRow"); // the standard padder that cannot be aligned
    QTest::addColumn<QString>("coil");         // µH: the bandspread input circuit; null: trimmer only
    QTest::addColumn<QString>("inputParts");   // bandspread Cs_b and Cp_b to 0.01 pF; empty: not checked

    const std::pair<const char*, Inputs> bands[] = {
        {"worked example", kWorkedExample},
        {"long wave", {"12", "500", "10", "0.15", "0.285", "0.455"}},
        {"short wave 3.5-10 MHz, 10-365 pF gang", {"10", "365", "10", "3.5", "10", "0.455"}},
        {"FM", {"10", "40", "5", "87.5", "108", "10.7"}},
    };
    for (const auto& [name, inputs] : bands) {
        QTest::addRow("%s, largest usable Q", name) << inputs << PointPlacement::LargestUsableQ << Points{} << 0.0 << 0.0 << QString() << QString() << QString();
        QTest::addRow("%s, smallest deviation", name) << inputs << PointPlacement::SmallestDeviation << Points{} << 0.0 << 0.0 << QString() << QString() << QString();
    }
    QTest::newRow("worked example, own points") << kWorkedExample << PointPlacement::OwnPoints << Points{0.6e6, 1.0e6, 1.5e6} << 0.0 << 0.0 << QString() << QString() << QString();
    // Equal peaks of the exact |x - 1/x| give Q 85.06; equal peaks of |d| / f
    // would settle lower. With the stray across the coil the padder is 558 pF
    // (548 pF with it across the gang section, the same curve).
    QTest::newRow("worked example's optimum: Q 85.06, padder 558 pF") << kWorkedExample << PointPlacement::LargestUsableQ << Points{} << 85.0558 << 558.0 << QString() << QString() << QString();
    // The 11 pF padder, aligned at F1, misses F3 by 0.0014 Hz (1.6e-12) of
    // 855 MHz, while 12 pF aligns.
    QTest::newRow("IF far above the band: E24 11 pF cannot be aligned, the design stays") << Inputs{"20", "4800", "27.5", "0.83", "6.4", "850"} << PointPlacement::LargestUsableQ << Points{} << 0.0 << 0.0 << "E24" << QString() << QString();

    // Bandspread: the same points and curve as the trimmer-only design, with
    // a real coil; the 49 m figures: Cs_b 24.87 pF, Cp_b 64.22 pF.
    const Inputs band49m{"15", "365", "25", "5.9", "6.2", "0.455"};
    const auto spread = [](const char* name, Inputs inputs, const char* coil, const char* parts, const char* unaligned = "") {
        QTest::newRow(name) << inputs << PointPlacement::LargestUsableQ << Points{} << 0.0 << 0.0 << QString(unaligned) << coil << parts;
    };
    spread("bandspread 49 m, Lb 15 uH", band49m, "15", "Cs_b 24.87, Cp_b 64.22");
    spread("bandspread 40 m on 12-500 pF, Lb 15 uH", {"12", "500", "10", "7.0", "7.3", "0.455"}, "15", "Cs_b 25.44, Cp_b 134.97");
    spread("bandspread 80 m on 12-500 pF, Lb 15,0 uH with a comma", {"12", "500", "10", "3.5", "3.8", "0.455"}, "15,0", "Cs_b 150.20, Cp_b 359.38");
    // The range 0.19633..21.4985 uH shown inward as 0,1964..21,498.
    spread("bandspread 49 m, the lowest coil shown: Cs_b of tens of uF", band49m, "0.1964", "");
    // Its 8.69 pF padder rounds down to E12 8.2 pF, which needs Cp_o -1.5 pF.
    spread("bandspread 49 m, the highest coil shown: Cp_b of a few fF, E12 padder unaligned", band49m, "21.498", "", "E12");
    QTest::newRow("bandspread 49 m, own points") << band49m << PointPlacement::OwnPoints << Points{5.95e6, 6.05e6, 6.15e6} << 0.0 << 0.0 << QString() << "15" << "";
}
// clang-format on

void TestThreePoint::design()
{
    QFETCH(Inputs, inputs);
    QFETCH(PointPlacement, placement);
    QFETCH(Points, ownPoints);
    QFETCH(double, usableQ);
    QFETCH(double, padder);
    QFETCH(QString, unalignedRow);
    QFETCH(QString, coil);
    QFETCH(QString, inputParts);
    const CalculationState s = Solved(inputs);
    const ThreePointDesign trimmerOnly = DesignThreePoint(s, placement, ownPoints);
    BandspreadDesign spread;
    if (!coil.isNull())
        spread = DesignBandspread(s, coil.toStdString(), placement, ownPoints);
    const ThreePointDesign& design = coil.isNull() ? trimmerOnly : spread.oscillator;
    QVERIFY(design.converged);
    if (usableQ > 0.0)
        QVERIFY2(std::abs(*design.curve.usableQ - usableQ) < 1e-4,
                 qPrintable(Mismatch(*design.curve.usableQ, usableQ)));
    if (padder > 0.0)
        QCOMPARE(std::round(design.oscillator.C_p / kFaradPerPicofarad), padder);
    // A row whose alignment failed keeps its nominal value and nothing else;
    // one that needs a negative trimmer keeps its parts to show why.
    for (const auto& [name, row] : {std::pair{"E12", &design.e12}, std::pair{"E24", &design.e24}}) {
        QCOMPARE(!row->Aligned(), unalignedRow == name);
        if (row->alignmentFailed)
            QVERIFY(row->oscillator.L_o == 0.0 && row->oscillator.C_p == row->nominal
                    && !row->curve.usableQ);
    }

    if (placement == PointPlacement::OwnPoints)
        QCOMPARE(design.f, ownPoints);
    QVERIFY(s.f_min < design.f[0] && design.f[0] < design.f[1] && design.f[1] < design.f[2]
            && design.f[2] < s.f_max);
    if (!coil.isNull()) {
        // Each bandspread input circuit, the E12 and E24 ones with their
        // standard Cs_b, reaches both band edges at the gang's ends.
        for (const BandspreadInput* in : {&spread.input, &spread.e12.input, &spread.e24.input}) {
            QVERIFY(in->C_s > 0.0 && in->C_p > 0.0);
            for (const auto& [C_h, f] :
                 {std::pair{s.C_h_min, s.f_max}, std::pair{s.C_h_max, s.f_min}})
                QVERIFY2(std::abs(InputAt(*in, C_h, s.C_sz) - f) < 1e-9 * f,
                         qPrintable(Mismatch(InputAt(*in, C_h, s.C_sz), f)));
        }
        if (!inputParts.isEmpty())
            QCOMPARE(QString::asprintf("Cs_b %.2f, Cp_b %.2f",
                                       spread.input.C_s / kFaradPerPicofarad,
                                       spread.input.C_p / kFaradPerPicofarad),
                     inputParts);
        // The same bilinear map of the gang: the trimmer-only design's usable
        // Q, and its points to a hundredth of a sweep step (where the
        // placement search stops within its tolerance).
        for (std::size_t i = 0; i < 3; ++i)
            QVERIFY2(std::abs(design.f[i] - trimmerOnly.f[i]) < 1e-2 * SweepStepWidth(s),
                     qPrintable(Mismatch(design.f[i], trimmerOnly.f[i])));
        QVERIFY(RelativelyClose(*design.curve.usableQ, *trimmerOnly.curve.usableQ, 1e-6));
    }
    // Both circuits resonate where they should at each point, the padder's
    // aligned ones at F1 and F3, each against its own input circuit: the
    // deviation there is below the 0.01 Hz shown.
    const auto gangAt = [&](const BandspreadInput& in, std::size_t i) {
        return coil.isNull() ? design.C_h[i] : GangFor(in, design.f[i], s.C_sz);
    };
    for (std::size_t i = 0; i < 3; ++i) {
        const double f = design.f[i];
        const double input = coil.isNull() ? Resonance(s.L_b, design.C_h[i] + s.C_tb + s.C_sz)
                                           : InputAt(spread.input, design.C_h[i], s.C_sz);
        QVERIFY2(std::abs(input - f) < 0.005, qPrintable(Mismatch(input, f)));
        for (const auto& [row, in] :
             {std::pair{&design.e12, &spread.e12.input}, std::pair{&design.e24, &spread.e24.input},
              std::pair{static_cast<const StandardPadder*>(nullptr), &spread.input}}) {
            const PadderOscillator* o = row ? &row->oscillator : &design.oscillator;
            if (row && (i == 1 || !row->Aligned()))
                continue;
            const double C_h = row ? gangAt(*in, i) : design.C_h[i];
            const double d = OscillatorAt(*o, C_h, s.C_sz) - s.f_kf - f;
            QVERIFY2(std::abs(d) < 0.005,
                     qPrintable(QStringLiteral("F%1: ").arg(i + 1) + Mismatch(d, 0.0)));
        }
    }
    // Zero at three points: four runs of alternating sign, both band edges in
    // the outer ones. A search's measure equioscillates: its four peaks agree
    // within 1 %, so the largest lies within 1 % of the optimum between them.
    const std::vector<double> peaks =
        RunPeaks(s, design.curve.deviation, placement == PointPlacement::LargestUsableQ);
    QCOMPARE(peaks.size(), std::size_t{4});
    if (placement != PointPlacement::OwnPoints) {
        const auto [low, high] = std::ranges::minmax(peaks);
        QVERIFY2(high <= 1.01 * low, qPrintable(Mismatch(high, low)));
    }
}

// clang-format off
void TestThreePoint::failure_data()
{
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<PointPlacement>("placement");
    QTest::addColumn<Points>("ownPoints");
    QTest::addColumn<QVariant>("failure"); // a ThreePointFailure or a BandspreadFailure
    QTest::addColumn<int>("point");
    QTest::addColumn<QString>("coil"); // µH: the bandspread design; null: trimmer only

    const auto refused = [](const char* name, Inputs inputs, ThreePointFailure failure) {
        QTest::newRow(name) << inputs << PointPlacement::LargestUsableQ << Points{} << QVariant::fromValue(failure) << -1 << QString();
    };
    refused("band edges swapped", {"12", "500", "10", "1.62", "0.52", "0.455"}, ThreePointFailure::BandEdgesSwapped);
    refused("zero IF: no padder exists", {"12", "500", "10", "0.52", "1.62", "0"}, ThreePointFailure::IntermediateFrequencyNotPositive);
    refused("negative IF", {"12", "500", "10", "0.52", "1.62", "-0.455"}, ThreePointFailure::IntermediateFrequencyNotPositive);
    refused("gang too short for the band: Cp_b and Cp_o negative", {"12", "100", "10", "0.52", "1.62", "0.455"}, ThreePointFailure::InputTrimmerNegative);
    // Cp_b -11.74 pF while the padder design's Cp_o would be +2.10 pF.
    refused("stray too large: Cp_b negative alone", {"12", "500", "55.8", "0.52", "1.62", "0.455"}, ThreePointFailure::InputTrimmerNegative);
    refused("Cp_b just above zero, oscillator trimmer below", {"0.15022", "1.61162", "0.278209", "414.407", "876.564", "0.0442347"}, ThreePointFailure::NegativeTrimmer);
    const auto own = [](const char* name, Points points, ThreePointFailure failure, int point) {
        QTest::newRow(name) << kWorkedExample << PointPlacement::OwnPoints << points << QVariant::fromValue(failure) << point << QString();
    };
    own("F1 below the band", {0.5e6, 1e6, 1.5e6}, ThreePointFailure::PointOutsideBand, 0);
    own("F3 above the band", {0.6e6, 1e6, 1.7e6}, ThreePointFailure::PointOutsideBand, 2);
    own("F2 above F3", {0.6e6, 1.5e6, 1e6}, ThreePointFailure::PointsNotRising, 1);
    own("F1 equal to F2", {0.6e6, 0.6e6, 1e6}, ThreePointFailure::PointsNotRising, 0);
    // One sweep step is (1.62 - 0.52) MHz / 499 = 2204 Hz.
    own("F2 a few Hz above F1", {0.6e6, 0.6e6 + 3.0, 1e6}, ThreePointFailure::PointsTooClose, 0);
    own("F3 less than a sweep step above F2", {0.6e6, 1e6, 1e6 + 2200.0}, ThreePointFailure::PointsTooClose, 1);
    QTest::newRow("band edges swapped, before the own points") << Inputs{"12", "500", "10", "1.62", "0.52", "0.455"} << PointPlacement::OwnPoints << Points{0.6e6, 1e6, 1.5e6} << QVariant::fromValue(ThreePointFailure::BandEdgesSwapped) << -1 << QString();
    const auto coil = [](const char* name, Inputs inputs, const char* microhenry, const QVariant& failure) {
        QTest::newRow(name) << inputs << PointPlacement::LargestUsableQ << Points{} << failure << -1 << microhenry;
    };
    const Inputs band49m{"15", "365", "25", "5.9", "6.2", "0.455"};
    // 0.19633 uH would need a negative Cs_b; the range starts at 0,1964.
    coil("bandspread: coil just below the lowest shown", band49m, "0.1963", QVariant::fromValue(BandspreadFailure::CoilOutsideRange));
    coil("bandspread: coil just above the highest shown", band49m, "21.499", QVariant::fromValue(BandspreadFailure::CoilOutsideRange));
    coil("bandspread: coil not a number", band49m, "abc", QVariant::fromValue(BandspreadFailure::CoilNotANumber));
    coil("bandspread: empty coil", band49m, "", QVariant::fromValue(BandspreadFailure::CoilNotANumber));
    coil("bandspread: coil beyond a double", band49m, "1e400", QVariant::fromValue(BandspreadFailure::CoilOutsideRange));
    coil("bandspread: gang minimum zero, no coil needs no trimmer", {"0", "365", "25", "5.9", "6.2", "0.455"}, "15", QVariant::fromValue(BandspreadFailure::NoCoilRange));
    coil("bandspread: band edges swapped, before the coil", {"15", "365", "25", "6.2", "5.9", "0.455"}, "abc", QVariant::fromValue(ThreePointFailure::BandEdgesSwapped));
}
// clang-format on

void TestThreePoint::failure()
{
    QFETCH(Inputs, inputs);
    QFETCH(PointPlacement, placement);
    QFETCH(Points, ownPoints);
    QFETCH(QVariant, failure);
    QFETCH(int, point);
    QFETCH(QString, coil);
    try {
        if (coil.isNull())
            DesignThreePoint(Solved(inputs), placement, ownPoints);
        else
            DesignBandspread(Solved(inputs), coil.toStdString(), placement, ownPoints);
        QFAIL("a design was made");
    } catch (const ThreePointError& error) {
        QCOMPARE(QVariant::fromValue(error.failure()), failure);
        QCOMPARE(error.point(), point);
    } catch (const BandspreadError& error) {
        QCOMPARE(QVariant::fromValue(error.failure()), failure);
    }
}

// clang-format off
void TestThreePoint::nearestStandardValue_data()
{
    QTest::addColumn<double>("picofarad");
    QTest::addColumn<double>("e12");
    QTest::addColumn<double>("e24");

    // 514 pF is nearer 470 pF than 560 pF on a linear scale, but above their
    // geometric mean, 513 pF.
    QTest::newRow("worked example's padder") << 557.96 << 560.0 << 560.0;
    QTest::newRow("above the log midpoint of 470 and 560") << 514.0 << 560.0 << 510.0;
    QTest::newRow("up into the next decade") << 9.6 << 10.0 << 10.0;
    QTest::newRow("nanofarads") << 88727.0 << 82000.0 << 91000.0;
}
// clang-format on

void TestThreePoint::nearestStandardValue()
{
    QFETCH(double, picofarad);
    QFETCH(double, e12);
    QFETCH(double, e24);
    const double C = picofarad * kFaradPerPicofarad;
    QCOMPARE(NearestStandardValue(C, StandardSeries::E12) / kFaradPerPicofarad, e12);
    QCOMPARE(NearestStandardValue(C, StandardSeries::E24) / kFaradPerPicofarad, e24);
}

// clang-format off
void TestThreePoint::bandspreadAdvised_data()
{
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<bool>("advised");

    QTest::newRow("worked example: no") << kWorkedExample << false;
    QTest::newRow("long wave 0.15-0.285 MHz on 12-500 pF: no") << Inputs{"12", "500", "10", "0.15", "0.285", "0.455"} << false;
    // Cp_b 42.31 pF + 5 pF stray against 2 * 40 pF.
    QTest::newRow("FM on 10-40 pF: no") << Inputs{"10", "40", "5", "87.5", "108", "10.7"} << false;
    // Cp_b 4657.69 pF.
    QTest::newRow("49 m on 12-500 pF: yes") << Inputs{"12", "500", "10", "5.9", "6.2", "0.455"} << true;
    QTest::newRow("40 m on 12-500 pF: yes") << Inputs{"12", "500", "10", "7.0", "7.3", "0.455"} << true;
    QTest::newRow("80 m on 12-500 pF: yes") << Inputs{"12", "500", "10", "3.5", "3.8", "0.455"} << true;
    // Cp_b 577.59 pF + 5 pF against 2 * 40 pF.
    QTest::newRow("20 m on 10-40 pF: yes") << Inputs{"10", "40", "5", "14.0", "14.35", "0.455"} << true;
}
// clang-format on

// The trimmer-only design's Cp_b and stray above twice C_h_max: the gang holds
// less than a third of the tank at the bottom of the band.
void TestThreePoint::bandspreadAdvised()
{
    QFETCH(Inputs, inputs);
    QFETCH(bool, advised);
    QCOMPARE(BandspreadAdvised(Solved(inputs)), advised);
}

QTEST_APPLESS_MAIN(TestThreePoint)
#include "tst_threepoint.moc"
