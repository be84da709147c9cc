// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDateTime;

namespace kalibrix {

struct DateAndTime {
    QString date;
    QString time;
};

// The instant in the local time zone, in the formats of the C library's
// current LC_TIME locale: the date as strftime's %x (the short date) and the
// time as its %X (hours, minutes and seconds). QCoreApplication has set that
// locale from the environment, so these are the formats that `date +%x` and
// `date +%X` print.
DateAndTime LocaleDateAndTime(const QDateTime& instant);

} // namespace kalibrix
