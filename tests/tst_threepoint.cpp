// SPDX-License-Identifier: GPL-3.0-or-later
// Three-point tracking with a padder, checked against the circuit itself: the
// input circuit and the oscillator resonances from pi at the three points, and
// the extremes of the returned deviation table.

#include "Bandspread.h"
#include "CalcTestSupport.h"
#include "DesignVerdict.h"
#include "PadderFit.h"
#include "ThreePointTracking.h"

#include <QTest>

#include <tuple>
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

double SpreadGangFor(const BandspreadInput& in, double f, double C_sz)
{
    const double branch = 1.0 / std::pow(2.0 * std::numbers::pi * f, 2) / in.L_b - C_sz;
    return 1.0 / (1.0 / branch - 1.0 / in.C_s) - in.C_p;
}

// The oracle for a fixed padder, in long double from pi: the input circuit's
// gang capacitance for f, the coil and trimmer that track at two points found
// by bisection on the trimmer, and the usable Q over the 500 sweep
// frequencies, unrounded.
long double GangFor(const CalculationState& s, long double f)
{
    const long double w = 2.0L * std::numbers::pi_v<long double> * f;
    return 1.0L / (s.L_b * w * w) - s.C_tb - s.C_sz;
}

long double TankAt(long double C_h, long double C_to, long double C_p, long double C_sz)
{
    return C_sz + (C_h + C_to) * C_p / (C_h + C_to + C_p);
}

// L_o is set at A1 for each trimmer; the frequency ratio between A2 and A1
// falls as the trimmer grows.
PadderOscillator OracleAlign(const CalculationState& s, double C_p, double A1, double A2)
{
    const long double x1 = GangFor(s, A1), x2 = GangFor(s, A2);
    const long double o1 = A1 + s.f_kf, o2 = A2 + s.f_kf;
    const auto ratio = [&](long double C_to) {
        return std::sqrt(TankAt(x1, C_to, C_p, s.C_sz) / TankAt(x2, C_to, C_p, s.C_sz));
    };
    long double lo = -x2 * (1.0L - 1e-12L), hi = 1e-6L;
    for (int i = 0; i < 200; ++i) {
        const long double mid = 0.5L * (lo + hi);
        (ratio(mid) > o2 / o1 ? lo : hi) = mid;
    }
    const long double C_to = 0.5L * (lo + hi);
    const long double w1 = 2.0L * std::numbers::pi_v<long double> * o1;
    const long double L = 1.0L / (w1 * w1 * TankAt(x1, C_to, C_p, s.C_sz));
    return {static_cast<double>(L), C_p, static_cast<double>(C_to)};
}

long double OracleDeviation(const CalculationState& s, const PadderOscillator& o, long double f)
{
    const long double C = TankAt(GangFor(s, f), o.C_to, o.C_p, s.C_sz);
    return 1.0L / (2.0L * std::numbers::pi_v<long double> * std::sqrt(o.L_o * C)) - s.f_kf - f;
}

double OracleQ(const CalculationState& s, double C_p, double A1, double A2)
{
    const PadderOscillator o = OracleAlign(s, C_p, A1, A2);
    long double q = INFINITY;
    for (int i = 0; i < kSweepSteps; ++i) {
        const long double f = s.f_max - i * (s.f_max - s.f_min) / 499.0L;
        const long double x = (f + OracleDeviation(s, o, f)) / f;
        q = std::min(q, 1.0L / std::abs(x - 1.0L / x));
    }
    return static_cast<double>(q);
}

// A padder fitted at its best points, checked by the oracle: it tracks at A1
// and A2 (and at the check point when it says so), its Q is the oracle's,
// aligning it at F1 and F3 gives no more, nor does moving either point by a
// fifth of a per cent of the band.
void CheckFitted(const CalculationState& s, const StandardPadder& row, const Points& f)
{
    const auto [A1, A2] = row.alignment;
    QVERIFY(s.f_min <= A1 && A1 < A2 && A2 <= s.f_max);
    for (const double A : {A1, A2, row.tracksAtCheck ? row.checkPoint : A1}) {
        const double d = static_cast<double>(OracleDeviation(s, row.oscillator, A));
        QVERIFY2(std::abs(d) < 0.005, qPrintable(Mismatch(d, 0.0)));
    }
    if (!row.tracksAtCheck) {
        QCOMPARE(row.checkPoint, 0.5 * (s.f_min + s.f_max));
        const double d = static_cast<double>(OracleDeviation(s, row.oscillator, row.checkPoint));
        QVERIFY2(std::abs(d - row.checkDeviation) < 0.01,
                 qPrintable(Mismatch(row.checkDeviation, d)));
    }
    const double q = OracleQ(s, row.nominal, A1, A2);
    QVERIFY2(RelativelyClose(*row.curve.usableQ, q, 1e-5),
             qPrintable(Mismatch(*row.curve.usableQ, q)));
    const double atF = OracleQ(s, row.nominal, f[0], f[2]);
    QVERIFY2(q >= atF * (1.0 - 1e-6), qPrintable(Mismatch(q, atF)));
    const double move = 0.002 * (s.f_max - s.f_min);
    for (const auto& [a1, a2] :
         {std::pair{A1 - move, A2}, {A1 + move, A2}, {A1, A2 - move}, {A1, A2 + move}}) {
        const double moved = OracleQ(s, row.nominal, a1, a2);
        QVERIFY2(moved <= q * (1.0 + 1e-6), qPrintable(Mismatch(moved, q)));
    }
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
    void choices_data();
    void choices();
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
    QTest::addColumn<QString>("unalignedRow"); // the standard padders that cannot be aligned
    // The usable Q of E12 and E24 at their best points. 0: not checked.
    QTest::addColumn<double>("e12Q");
    QTest::addColumn<double>("e24Q");
    QTest::addColumn<QString>("coil");         // µH: the bandspread input circuit; null: trimmer only
    QTest::addColumn<QString>("inputParts");   // bandspread Cs_b and Cp_b to 0.01 pF; empty: not checked

    // Aligned at F1 and F3 the standard padders allow: worked example 560 pF
    // Q 82.0, long wave 270 pF 235, 3900 pF 287, FM 820 pF 5200 and 910 pF 13 500.
    const std::tuple<const char*, Inputs, double, double> bands[] = {
        {"worked example: 560 pF", kWorkedExample, 83.68, 83.68},
        {"long wave: 270 pF", {"12", "500", "10", "0.15", "0.285", "0.455"}, 252.3, 252.3},
        {"short wave 3.5-10 MHz, 10-365 pF gang", {"10", "365", "10", "3.5", "10", "0.455"}, 0.0, 0.0},
        {"short wave 3.5-10 MHz: 3900 pF", {"12", "500", "10", "3.5", "10", "0.455"}, 354.5, 354.5},
        // E24 910 pF tracks at its alignment points alone, checked mid-band.
        {"FM: E12 820 pF, E24 910 pF", {"10", "40", "5", "87.5", "108", "10.7"}, 7641, 19400},
    };
    for (const auto& [name, inputs, e12Q, e24Q] : bands) {
        QTest::addRow("%s, largest usable Q", name) << inputs << PointPlacement::LargestUsableQ << Points{} << 0.0 << 0.0 << QString() << e12Q << e24Q << QString() << QString();
        QTest::addRow("%s, smallest deviation", name) << inputs << PointPlacement::SmallestDeviation << Points{} << 0.0 << 0.0 << QString() << 0.0 << 0.0 << QString() << QString();
    }
    QTest::newRow("worked example, own points") << kWorkedExample << PointPlacement::OwnPoints << Points{0.6e6, 1.0e6, 1.5e6} << 0.0 << 0.0 << QString() << 0.0 << 0.0 << QString() << QString();
    // Equal peaks of the exact |x - 1/x| give Q 85.06; equal peaks of |d| / f
    // would settle lower. With the stray across the coil the padder is 558 pF
    // (548 pF with it across the gang section, the same curve).
    QTest::newRow("worked example's optimum: Q 85.06, padder 558 pF") << kWorkedExample << PointPlacement::LargestUsableQ << Points{} << 85.0558 << 558.0 << QString() << 0.0 << 0.0 << QString() << QString();
    // The 11 pF padder, aligned at F1, misses F3 by 0.0014 Hz (1.6e-12) of
    // 855 MHz; it aligns at its own points.
    QTest::newRow("IF far above the band: E24 11 pF misses F3, aligns at its own points") << Inputs{"20", "4800", "27.5", "0.83", "6.4", "850"} << PointPlacement::LargestUsableQ << Points{} << 0.0 << 0.0 << QString() << 0.0 << 0.0 << QString() << QString();
    // A trimmer of 0.27 pF beside a 15 nF padder: no alignment holds within
    // double arithmetic.
    QTest::newRow("15 nF padder beside a 0.27 pF trimmer: neither row aligns, the design stays") << Inputs{"0.15022", "1.61162", "0", "414.407", "876.564", "0.053022"} << PointPlacement::LargestUsableQ << Points{} << 0.0 << 0.0 << "E12 E24" << 0.0 << 0.0 << QString() << QString();

    // Bandspread: the same points and curve as the trimmer-only design, with
    // a real coil; the 49 m figures: Cs_b 24.87 pF, Cp_b 64.22 pF.
    const Inputs band49m{"15", "365", "25", "5.9", "6.2", "0.455"};
    const auto spread = [](const char* name, Inputs inputs, const char* coil, const char* parts, const char* unaligned = "") {
        QTest::newRow(name) << inputs << PointPlacement::LargestUsableQ << Points{} << 0.0 << 0.0 << QString(unaligned) << 0.0 << 0.0 << coil << parts;
    };
    spread("bandspread 49 m, Lb 15 uH", band49m, "15", "Cs_b 24.87, Cp_b 64.22");
    spread("bandspread 40 m on 12-500 pF, Lb 15 uH", {"12", "500", "10", "7.0", "7.3", "0.455"}, "15", "Cs_b 25.44, Cp_b 134.97");
    spread("bandspread 80 m on 12-500 pF, Lb 15,0 uH with a comma", {"12", "500", "10", "3.5", "3.8", "0.455"}, "15,0", "Cs_b 150.20, Cp_b 359.38");
    // The range 0.19633..21.4985 uH shown inward as 0,1964..21,498.
    spread("bandspread 49 m, the lowest coil shown: Cs_b of tens of uF", band49m, "0.1964", "");
    // Its 8.69 pF padder rounds down to E12 8.2 pF, which needs Cp_o -1.5 pF.
    spread("bandspread 49 m, the highest coil shown: Cp_b of a few fF, E12 padder unaligned", band49m, "21.498", "", "E12");
    QTest::newRow("bandspread 49 m, own points") << band49m << PointPlacement::OwnPoints << Points{5.95e6, 6.05e6, 6.15e6} << 0.0 << 0.0 << QString() << 0.0 << 0.0 << "15" << "";
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
    QFETCH(double, e12Q);
    QFETCH(double, e24Q);
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
    for (const auto& [name, row, q] :
         {std::tuple{"E12", &design.e12, e12Q}, std::tuple{"E24", &design.e24, e24Q}}) {
        QCOMPARE(!row->Aligned(), unalignedRow.contains(name));
        if (!row->Aligned()) {
            if (row->alignmentFailed)
                QVERIFY(row->oscillator.L_o == 0.0 && row->oscillator.C_p == row->nominal
                        && !row->curve.usableQ);
            continue;
        }
        if (!coil.isNull()) {
            // A bandspread row is re-set at F1 and F3 against the input
            // circuit of its own series' Cs_b.
            const BandspreadInput& in =
                name == QStringLiteral("E12") ? spread.e12.input : spread.e24.input;
            for (const std::size_t i : {std::size_t{0}, std::size_t{2}}) {
                const double C_h = SpreadGangFor(in, design.f[i], s.C_sz);
                const double d = OscillatorAt(row->oscillator, C_h, s.C_sz) - s.f_kf - design.f[i];
                QVERIFY2(std::abs(d) < 0.005, qPrintable(Mismatch(d, 0.0)));
            }
            continue;
        }
        CheckFitted(s, *row, design.f);
        if (q > 0.0)
            QVERIFY2(
                RelativelyClose(*row->curve.usableQ, q, 1e-3),
                qPrintable(QStringLiteral("%1: ").arg(name) + Mismatch(*row->curve.usableQ, q)));
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
    // Both circuits resonate where they should at each point: the deviation
    // there is below the 0.01 Hz shown.
    for (std::size_t i = 0; i < 3; ++i) {
        const double f = design.f[i];
        const double input = coil.isNull() ? Resonance(s.L_b, design.C_h[i] + s.C_tb + s.C_sz)
                                           : InputAt(spread.input, design.C_h[i], s.C_sz);
        QVERIFY2(std::abs(input - f) < 0.005, qPrintable(Mismatch(input, f)));
        const double d = OscillatorAt(design.oscillator, design.C_h[i], s.C_sz) - s.f_kf - f;
        QVERIFY2(std::abs(d) < 0.005,
                 qPrintable(QStringLiteral("F%1: ").arg(i + 1) + Mismatch(d, 0.0)));
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
void TestThreePoint::choices_data()
{
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<double>("own");      // pF, 0: none typed
    QTest::addColumn<double>("ownQ");
    QTest::addColumn<QString>("e12Pair");
    QTest::addColumn<double>("e12PairQ");
    QTest::addColumn<QString>("e24Pair");
    QTest::addColumn<double>("e24PairQ");
    QTest::addColumn<double>("q2");       // the smallest Q within +-2 %, 0: not checked
    QTest::addColumn<double>("q5");       // and within +-5 %

    // 560 pF alone allows 83.68; 470 + 82 = 552 pF is the nearest E12 pair.
    QTest::newRow("worked example: 510 + 47, E24 560 pF within 2 % and 5 %") << kWorkedExample << 0.0 << 0.0 << "470 + 82" << 80.08 << "510 + 47" << 84.23 << 69.59 << 54.61;
    QTest::newRow("worked example, a measured 556 pF: its own row and tolerance") << kWorkedExample << 556.0 << 83.38 << "470 + 82" << 80.08 << "510 + 47" << 84.23 << 69.37 << 54.46;
    // 3900 pF alone allows 354.5.
    QTest::newRow("short wave 3.5-10 MHz: 3600 + 160") << Inputs{"12", "500", "10", "3.5", "10", "0.455"} << 0.0 << 0.0 << "3300 + 470" << 415.54 << "3600 + 160" << 420.90 << 0.0 << 0.0;
}
// clang-format on

void TestThreePoint::choices()
{
    QFETCH(Inputs, inputs);
    QFETCH(double, own);
    QFETCH(double, ownQ);
    QFETCH(QString, e12Pair);
    QFETCH(double, e12PairQ);
    QFETCH(QString, e24Pair);
    QFETCH(double, e24PairQ);
    QFETCH(double, q2);
    QFETCH(double, q5);
    const CalculationState s = Solved(inputs);
    const ThreePointDesign threePoint = DesignThreePoint(s, PointPlacement::LargestUsableQ);
    const std::optional<double> ownPadder =
        own > 0.0 ? std::optional(own * kFaradPerPicofarad) : std::nullopt;
    const PadderChoices choices = FitPadders(s, threePoint, ownPadder);

    QCOMPARE(choices.own.has_value(), own > 0.0);
    if (choices.own) {
        CheckFitted(s, *choices.own, threePoint.f);
        QVERIFY2(RelativelyClose(*choices.own->curve.usableQ, ownQ, 1e-3),
                 qPrintable(Mismatch(*choices.own->curve.usableQ, ownQ)));
    }
    for (const auto& [pair, text, q] : {std::tuple{&choices.e12Pair, e12Pair, e12PairQ},
                                        std::tuple{&choices.e24Pair, e24Pair, e24PairQ}}) {
        QVERIFY(pair->has_value());
        const PadderPair& p = **pair;
        QCOMPARE(QStringLiteral("%1 + %2")
                     .arg(p.larger / kFaradPerPicofarad)
                     .arg(p.smaller / kFaradPerPicofarad),
                 text);
        QCOMPARE(p.fit.nominal, p.larger + p.smaller);
        CheckFitted(s, p.fit, threePoint.f);
        QVERIFY2(RelativelyClose(*p.fit.curve.usableQ, q, 1e-4),
                 qPrintable(Mismatch(*p.fit.curve.usableQ, q)));
    }

    // The fitted padder, off by 5 % either way and aligned at its nominal's
    // points, stays inside the envelope; so does the nominal curve.
    const StandardPadder& fitted = choices.own ? *choices.own : threePoint.e24;
    QVERIFY(choices.tolerance.has_value());
    const PadderTolerance& band = *choices.tolerance;
    QCOMPARE(band.nominal, fitted.nominal);
    for (const double factor : {0.95, 1.0, 1.05}) {
        const PadderOscillator o =
            OracleAlign(s, factor * fitted.nominal, fitted.alignment[0], fitted.alignment[1]);
        for (int i = 0; i < kSweepSteps; i += 7) {
            const double f = s.f_max - i * (s.f_max - s.f_min) / 499.0;
            const double d = static_cast<double>(OracleDeviation(s, o, f));
            QVERIFY2(band.lowest[i] - 0.01 <= d && d <= band.highest[i] + 0.01,
                     qPrintable(QStringLiteral("step %1 at %2: ").arg(i).arg(factor)
                                + Mismatch(d, band.lowest[i])));
        }
    }
    for (const auto& [tolerance, q] : {std::pair{0, q2}, std::pair{1, q5}})
        if (q > 0.0)
            QVERIFY2(RelativelyClose(*band.bands[tolerance].usableQ, q, 1e-3),
                     qPrintable(Mismatch(*band.bands[tolerance].usableQ, q)));
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
