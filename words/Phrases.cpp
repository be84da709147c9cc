// SPDX-License-Identifier: GPL-3.0-or-later
#include "Phrases.h"

#include "NumberText.h"
#include "TrackingCalculator.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace kalibrix {

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QString NumberPhrase(std::string_view number, const std::string& separator)
{
    const QLocale locale;
    const std::string group = locale.numberOptions().testFlag(QLocale::OmitGroupSeparator)
                                  ? std::string()
                                  : locale.groupSeparator().toStdString();
    QString text = Text(GroupDigits(number, separator, group));
    if (text.startsWith(u'-'))
        text[0] = QChar(0x2212);
    return text;
}

QString GeneralNumber(double x, const std::string& separator)
{
    return NumberPhrase(FormatGeneral(x, separator), separator);
}

QString StatedQText(const std::optional<double>& statedQ, const std::string& separator)
{
    return statedQ ? GeneralNumber(*statedQ, separator) : QStringLiteral("korlátlan");
}

QString RangeText(double low, double high, const std::string& separator)
{
    return GeneralNumber(low, separator) + QChar(0x2013) + GeneralNumber(high, separator);
}

QString PercentText(double ratio, const std::string& separator)
{
    const double percent = 100.0 * std::abs(ratio);
    if (!(percent > 0.0) || !std::isfinite(percent))
        return GeneralNumber(percent, separator);
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(percent))), 0, 12);
    return NumberPhrase(FormatFixed(percent, decimals, separator), separator);
}

QString MegahertzText(double f, const TrackingCalculator& calc)
{
    return NumberPhrase(calc.FormatMegahertz(f), calc.decimalSeparator) + QStringLiteral(" MHz");
}

QString BandText(const TrackingCalculator& calc)
{
    return NumberPhrase(calc.FormatMegahertz(calc.state.f_min), calc.decimalSeparator)
           + QChar(0x2013) + MegahertzText(calc.state.f_max, calc);
}

QString PicofaradText(double capacitance, const TrackingCalculator& calc)
{
    return NumberPhrase(calc.FormatValue(TrackingCalculator::RoundToPicofarad(capacitance)),
                        calc.decimalSeparator);
}

} // namespace kalibrix
