#include "ResultsFile.h"

namespace kalibrix {

ResultsFileError::ResultsFileError(const QString& userMessage)
    : std::runtime_error(userMessage.toStdString()), userMessage_(userMessage)
{
}

QString ResultsFilePath(const QString& programDir, const QString& name)
{
    return programDir + QStringLiteral("/adatok/") + name + QStringLiteral(".txt");
}

void WriteResultsFile(const QString&, const ResultTexts&, const QDateTime&, const QLocale&)
{
}

} // namespace kalibrix
