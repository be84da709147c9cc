// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultsFileFormat.h"

#include "LocaleDateTime.h"

namespace kalibrix {
namespace {

// The date and the time on line 1 are parted by blanks up to the next print
// zone; the zones are 14 characters wide and start at columns 1, 15, 29...
constexpr qsizetype kPrintZoneWidth = 14;

// Line 1: the date in the system's short format, blanks up to the next print
// zone (at least one, so a date that fills its zones is still parted from
// the time), then the time in the system's format.
QString DateAndTimeLine(const QDateTime& now)
{
    const DateAndTime stamp = LocaleDateAndTime(now);
    const qsizetype blanks = kPrintZoneWidth - stamp.date.size() % kPrintZoneWidth;
    return stamp.date + QString(blanks, u' ') + stamp.time;
}

} // namespace

QStringList ResultsFileText(const ResultTexts& texts, const QDateTime& now)
{
    QStringList lines{DateAndTimeLine(now)};
    for (std::size_t i = 0; i < kResultsFileLines.size(); ++i)
        lines << QLatin1String(kResultsFileLines[i].label) + texts[i]
                     + QLatin1String(kResultsFileLines[i].unit);
    return lines;
}

} // namespace kalibrix
