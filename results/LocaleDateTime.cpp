// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocaleDateTime.h"

#include <QDateTime>

#include <array>
#include <ctime>
#include <cwchar>

namespace kalibrix {
namespace {

// wcsftime(3) of one format. The wide-character form takes the locale's
// texts (month names, AM and PM) in Unicode, whatever character set the
// LC_CTYPE locale has.
QString Formatted(const wchar_t* format, const std::tm& local)
{
    std::array<wchar_t, 256> text{};
    const std::size_t length = std::wcsftime(text.data(), text.size(), format, &local);
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(length));
}

} // namespace

DateAndTime LocaleDateAndTime(const QDateTime& instant)
{
    const std::time_t seconds = instant.toSecsSinceEpoch();
    std::tm local{};
    ::localtime_r(&seconds, &local);
    return {Formatted(L"%x", local), Formatted(L"%X", local)};
}

} // namespace kalibrix
