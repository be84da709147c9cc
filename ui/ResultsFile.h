#pragma once

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

// <programDir>/adatok/<name>.txt. A name that would leave "adatok" (absolute,
// or with a ".." component) throws ResultsFileError.
QString ResultsFilePath(const QString& programDir, const QString& name);

// Writes the 17-line file atomically: the old file is replaced only when the
// new one is complete. Creates "adatok" when it is missing. Throws
// ResultsFileError when the file cannot be written.
void WriteResultsFile(const QString& path, const ResultTexts& texts, const QDateTime& now,
                      const QLocale& locale);

} // namespace kalibrix
