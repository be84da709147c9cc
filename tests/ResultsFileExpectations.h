// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the results-file tests expect a save to write or to report: the
// worked example's field texts and file lines, and the wording of a failed
// save.

#include "ResultsFileFormat.h"
#include "WorkedExample.h"

#include <QFile>
#include <QList>

#include <string>
#include <string_view>
#include <variant>

namespace kalibrix::test {

// The worked example as the window shows it, in file order: the inputs as
// typed (with points under every locale), the results with the separator.
inline ResultTexts WorkedExampleTexts(std::string_view separator)
{
    ResultTexts texts;
    for (std::size_t i = 0; i < kResultsFileLines.size(); ++i) {
        const ResultsFileField& field = kResultsFileLines[i].field;
        const auto* input = std::get_if<InputField>(&field);
        const std::string text =
            input ? std::string(worked_example::Typed(*input))
                  : worked_example::Shown(std::get<OutputField>(field), separator);
        texts[i] = QString::fromStdString(text);
    }
    return texts;
}

inline const ResultTexts kWorkedExample = WorkedExampleTexts(".");
inline const ResultTexts kWorkedExampleHungarian = WorkedExampleTexts(",");

// Lines 2 to 17 of the worked example's file under the C locale, as the
// program must write them; lines 8 to 17 carry the locale's separator.
inline QByteArray WorkedExampleLines(char separator)
{
    QFile file(QStringLiteral(KALIBRIX_TEST_DATA "/worked_example_lines.txt"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 6; i < lines.size(); ++i)
        lines[i].replace('.', separator);
    return lines.join('\n');
}

inline QString SaveFailedMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("A mentés nem sikerült.\nFájl: %1\nOka: %2").arg(path, reason);
}

inline QString LeadsOutside(const QString& target)
{
    return QStringLiteral("a név szimbolikus linken át az „adatok” mappán kívülre vezet, ide: %1. "
                          "A mentés csak az „adatok” mappába kerülhet")
        .arg(target);
}

inline const QString kUnresolvedLink = QStringLiteral(
    "a név egy olyan szimbolikus link, amelynek a célja nem létezik vagy nem ellenőrizhető");

} // namespace kalibrix::test
