// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultsLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace kalibrix {
namespace {

// Whether this process may create entries in the folder, judged by its
// effective user and capabilities (AT_EACCESS): root without
// CAP_DAC_OVERRIDE is refused a read-only folder like anybody else, and a
// read-only medium refuses everybody.
bool TakesNewEntries(const QString& folder)
{
    return QFileInfo(folder).isDir()
           && ::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS)
                  == 0;
}

// $XDG_DATA_HOME, which the XDG base directories allow only as an absolute
// path, otherwise ~/.local/share.
QString UserDataFolder()
{
    QString set = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(set))
        return set;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

} // namespace

QString ResultsLocation(const QString& programDir, const QString& folderName)
{
    QString besideProgram = QDir(programDir).filePath(folderName);
    const bool writable = QFileInfo::exists(besideProgram) ? TakesNewEntries(besideProgram)
                                                           : TakesNewEntries(programDir);
    if (writable)
        return besideProgram;

    return UserDataFolder() + QStringLiteral("/kalibrix/") + folderName;
}

} // namespace kalibrix
