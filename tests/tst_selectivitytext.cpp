// The selectivity section's words on Qt Core: a figure with its dial
// frequency, the bounds that stand for attenuations beyond the double range,
// and the reading of the typed Q (a comma, a zero and letters: the window's
// test).

#include "SelectivityText.h"
#include "TrackingCalculator.h"

#include <QTest>

using namespace kalibrix;

Q_DECLARE_METATYPE(Bound)

class TestSelectivityText : public QObject {
    Q_OBJECT

private slots:
    void fieldText_data();
    void fieldText();
    void readQ_data();
    void readQ();
};

void TestSelectivityText::fieldText_data()
{
    QTest::addColumn<double>("dB");
    QTest::addColumn<Bound>("bound");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");

    // clang-format off
    QTest::newRow("exact, rounded to 0.1 dB, Hungarian") << 17.0702 << Bound::Exact << "," << "17,1 (0,520 MHz)";
    QTest::newRow("exact below zero, point") << -1.2866 << Bound::Exact << "." << "-1.3 (0.520 MHz)";
    QTest::newRow("attenuation beyond the range: at least") << 18598.04 << Bound::AtLeast << "," << "> 18598,0 (0,520 MHz)";
    QTest::newRow("signal beyond the range: at most") << -18477.2 << Bound::AtMost << "," << "< -18477,2 (0,520 MHz)";
    // clang-format on
}

void TestSelectivityText::fieldText()
{
    QFETCH(double, dB);
    QFETCH(Bound, bound);
    QFETCH(QString, separator);
    TrackingCalculator calc;
    calc.decimalSeparator = separator.toStdString();
    QTEST(SelectivityFieldText(SelectivityExtreme{{dB, bound}, 499, 520e3}, calc), "text");
    QVERIFY(SelectivityFieldText(std::nullopt, calc).isEmpty());
}

void TestSelectivityText::readQ_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("Q"); // 0: refused

    QTest::newRow("whole number") << "50" << 50.0;
    QTest::newRow("decimal point, blanks around") << " 33.5 " << 33.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("negative") << "-10" << 0.0;
    QTest::newRow("beyond the double range") << "1e400" << 0.0;
    QTest::newRow("infinity spelt out") << "inf" << 0.0;
}

void TestSelectivityText::readQ()
{
    QFETCH(QString, text);
    QTEST(ReadQ(text).value_or(0.0), "Q");
}

QTEST_APPLESS_MAIN(TestSelectivityText)
#include "tst_selectivitytext.moc"
