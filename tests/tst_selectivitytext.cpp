// SPDX-License-Identifier: GPL-3.0-or-later
// The selectivity section's words on Qt Core: a figure with its dial
// frequency, and the bounds that stand for attenuations beyond the double
// range.

#include "SelectivityText.h"
#include "TrackingCalculator.h"

#include <QLocale>
#include <QTest>

using namespace kalibrix;

Q_DECLARE_METATYPE(Bound)

class TestSelectivityText : public QObject {
    Q_OBJECT

private slots:
    void fieldText_data();
    void fieldText();
};

void TestSelectivityText::fieldText_data()
{
    QTest::addColumn<double>("dB");
    QTest::addColumn<Bound>("bound");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");

    // clang-format off
    QTest::newRow("exact, rounded to 0.1 dB, Hungarian") << 17.0702 << Bound::Exact << "," << "17,1 (0,520 MHz)";
    QTest::newRow("exact below zero, point") << -1.2866 << Bound::Exact << "." << "−1.3 (0.520 MHz)";
    QTest::newRow("attenuation beyond the range: at least, grouped") << 18598.04 << Bound::AtLeast << "," << "> 18\u00A0598,0 (0,520 MHz)";
    QTest::newRow("signal beyond the range: at most, grouped") << -18477.2 << Bound::AtMost << "," << "< −18\u00A0477,2 (0,520 MHz)";
    // clang-format on
}

void TestSelectivityText::fieldText()
{
    QFETCH(double, dB);
    QFETCH(Bound, bound);
    QFETCH(QString, separator);
    // The figures are grouped as the locale whose separator they carry.
    QLocale::setDefault(separator == "," ? QLocale(QLocale::Hungarian, QLocale::Hungary)
                                         : QLocale::c());
    TrackingCalculator calc;
    calc.decimalSeparator = separator.toStdString();
    QTEST(SelectivityFieldText(SelectivityExtreme{{dB, bound}, 499, 520e3}, calc), "text");
    QVERIFY(SelectivityFieldText(std::nullopt, calc).isEmpty());
}

QTEST_APPLESS_MAIN(TestSelectivityText)
#include "tst_selectivitytext.moc"
