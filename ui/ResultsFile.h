#pragma once

#include "Form1Layout.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

namespace kalibrix {

// Lines 2 to 17 of a results file, in file order: each a 13-character label
// (the name padded with blanks, "=" and one blank), the text of its field as
// the window shows it, then the unit.
struct ResultsFileLine {
    const char* label;
    form1::ControlId field;
    const char* unit;
};

inline constexpr std::array<ResultsFileLine, 16> kResultsFileLines{{
    {"C_min      = ", form1::ControlId::c_min, "  pf"},
    {"C_max      = ", form1::ControlId::c_max, "  pf"},
    {"C_sz       = ", form1::ControlId::c_szort, "  pf"},
    {"f_min      = ", form1::ControlId::f_min, "  MHz"},
    {"f_max      = ", form1::ControlId::f_max, "  MHz"},
    {"f_kf       = ", form1::ControlId::f_kf, "  MHz"},
    {"L_b        = ", form1::ControlId::l_b, "  uH"},
    {"C_tb       = ", form1::ControlId::c_tb, "  pf"},
    {"L_o        = ", form1::ControlId::l_o, "  uH"},
    {"C_to       = ", form1::ControlId::c_to, "  pf"},
    {"C_hp1      = ", form1::ControlId::c_1, "  pf"},
    {"C_hp2      = ", form1::ControlId::c_2, "  pf"},
    {"f_h1       = ", form1::ControlId::f_1, "  MHz"},
    {"f_h2       = ", form1::ControlId::f_2, "  MHz"},
    // Both extremes are "maximum deviations": the upper one, then the lower.
    {"f_max_elt  = ", form1::ControlId::p_elt, "  Hz"},
    {"f_max_elt  = ", form1::ControlId::n_elt, "  Hz"},
}};

// The texts of the fields of kResultsFileLines, in its order.
using ResultTexts = std::array<QString, kResultsFileLines.size()>;

// <programDir>/adatok/<name>.txt, the name exactly as typed, with symbolic
// links resolved: the real folder and, for an existing link, its target. A
// name that would leave "adatok" throws ResultsFileError (SaveFailure.h): as
// typed (absolute, or with a ".." component) or through a link outside the
// real "adatok".
QString ResultsFilePath(const QString& programDir, const QString& name);

// Writes the 17-line file in the character set of the C library's current
// locale, line 1 holding `now` in the date and time formats of its LC_TIME.
// The file is replaced atomically: a temporary file beside it is renamed
// over the old one only when everything is written, so a failed save leaves
// the old file and no temporary behind. When the file's own folder is
// the missing "adatok", it is created; other missing folders are not. Throws
// ResultsFileError, with the reason in Hungarian, when the file cannot be
// written, and before writing anything when the path names a symbolic link
// or anything but a regular file.
void WriteResultsFile(const QString& path, const ResultTexts& texts, const QDateTime& now);

// The character set of the C library's current locale; QCoreApplication
// has set that locale from the environment.
QByteArray LocaleCodeset();

// Writes the lines, each ended by CR LF, in the named character set, with
// the same atomic replacement, folder creation and refusals as
// WriteResultsFile.
void WriteTextFile(const QString& path, const QStringList& lines,
                   const QByteArray& codeset = LocaleCodeset());

// A save of the user: the lines, in the locale's character set, to the file
// that `name` gives in "adatok" beside the program.
void SaveTextFile(const QString& programDir, const QString& name, const QStringList& lines);

// The same in the named character set ("UTF-8", "ISO-8859-2", ...); a name
// the converter does not know means UTF-8. Characters the set cannot hold
// are written as "?".
void WriteResultsFile(const QString& path, const ResultTexts& texts, const QDateTime& now,
                      const QByteArray& codeset);

} // namespace kalibrix
