#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <array>
#include <stdexcept>

namespace kalibrix {

// The sixteen field texts a results file records, in file order (lines 2 to
// 17): c_min, c_max, c_szort, f_min, f_max, f_kf, l_b, c_tb, l_o, c_to, c_1,
// c_2, f_1, f_2, p_elt, n_elt.
using ResultTexts = std::array<QString, 16>;

// A save that could not be done; userMessage() is the Hungarian text for the
// message box, naming the file and the reason.
class ResultsFileError : public std::runtime_error {
public:
    explicit ResultsFileError(const QString& userMessage);
    const QString& userMessage() const { return userMessage_; }

private:
    QString userMessage_;
};

// <programDir>/adatok/<name>.txt, the name exactly as typed, with symbolic
// links resolved: the real folder and, for an existing link, its target. A
// name that would leave "adatok" throws ResultsFileError: as typed (absolute,
// or with a ".." component) or through a link outside the real "adatok".
QString ResultsFilePath(const QString& programDir, const QString& name);

// Writes the 17-line file in the character set of the C library's current
// locale. The file is replaced atomically: a temporary file beside it is
// renamed over the old one only when everything is written, so a failed save
// leaves the old file and no temporary behind. When the file's own folder is
// the missing "adatok", it is created; other missing folders are not. Throws
// ResultsFileError, with the reason in Hungarian, when the file cannot be
// written, and before writing anything when the path names a symbolic link
// or anything but a regular file.
void WriteResultsFile(const QString& path, const ResultTexts& texts, const QDateTime& now,
                      const QLocale& locale);

// The same in the named character set ("UTF-8", "ISO-8859-2", ...); a name
// the converter does not know means UTF-8. Characters the set cannot hold
// are written as "?".
void WriteResultsFile(const QString& path, const ResultTexts& texts, const QDateTime& now,
                      const QLocale& locale, const QByteArray& codeset);

} // namespace kalibrix
