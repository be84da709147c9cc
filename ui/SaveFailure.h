#pragma once

#include "ResultsFile.h"

#include <QString>

namespace kalibrix {

// "A mentés nem sikerült." naming the file and the reason.
ResultsFileError SaveFailed(const QString& path, const QString& reason);

// The Hungarian reason for a system error number met while saving a file;
// the system's own text only for a number the table does not hold.
QString SaveErrorReason(int error);

// The same for a failed step of a QSaveFile, from its errorString(): Qt words
// a system error as qt_error_string does, in English or in the language of
// an installed translation; any other text is given as it is.
QString SaveFileErrorReason(const QString& errorString);

} // namespace kalibrix
