// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultsFile.h"

#include "ResultsLocation.h"
#include "SaveFailure.h"
#include "SaveTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>

#include <langinfo.h>

namespace kalibrix {
namespace {

const QString kFolderName = QStringLiteral("adatok");
const QString kLineEnd = QStringLiteral("\r\n");

// The codeset if the converter knows it, otherwise UTF-8.
QByteArray KnownCodeset(const QByteArray& codeset)
{
    return QStringEncoder(codeset.constData()).isValid() ? codeset : QByteArrayLiteral("UTF-8");
}

// The text in the character set; a character the set cannot hold becomes
// "?". Converters differ in what they put in its place (ICU writes the SUB
// control), so on an error the text is encoded again one character at a
// time, each with a fresh converter, since a converter keeps reporting an
// error once it has met one. The converters are built in place: a moved ICU
// converter no longer reports errors.
QByteArray Encode(const QString& text, const QByteArray& codeset)
{
    const QByteArray name = KnownCodeset(codeset);
    QStringEncoder whole(name.constData(), QStringConverter::Flag::Stateless);
    QByteArray bytes = whole.encode(text);
    if (!whole.hasError())
        return bytes;

    QByteArray mended;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        QStringEncoder one(name.constData(), QStringConverter::Flag::Stateless);
        const QByteArray encoded = one.encode(QStringView(text).mid(i, length));
        mended += one.hasError() ? QByteArrayLiteral("?") : encoded;
        i += length;
    }
    return mended;
}

// A name that would leave the results folder as typed: absolute, or with a
// ".." component.
void RefuseNameLeavingFolder(const QString& name)
{
    if (QDir::isAbsolutePath(name)
        || QDir::fromNativeSeparators(name).split(u'/').contains(QStringLiteral(".."))) {
        throw NameLeavesFolder(name);
    }
}

// In the user's data folder the program's own folder (kalibrix) may be
// missing at the first save: it is made for the user alone (0700), and the
// save then makes the results folder in it as it does beside the program.
// Beside the program the parent is the program's folder, which exists.
void MakeMissingParent(const QString& folder)
{
    const QString parent = QFileInfo(folder).path();
    if (QFileInfo::exists(parent))
        return;
    QDir().mkpath(parent);
    QFile::setPermissions(parent, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

ResultsFileError::ResultsFileError(const QString& userMessage)
    : std::runtime_error(userMessage.toStdString()), userMessage_(userMessage)
{
}

QString ResultsFolder(const QString& programDir)
{
    return ResultsLocation(programDir, kFolderName);
}

QString ResultsFolderName()
{
    return kFolderName;
}

QString ResultsFilePath(const QString& programDir, const QString& name)
{
    RefuseNameLeavingFolder(name);
    return ResultsFolder(programDir) + u'/' + name + QStringLiteral(".txt");
}

QByteArray LocaleCodeset()
{
    return QByteArray(nl_langinfo(CODESET));
}

void WriteTextFile(const QString& path, const QStringList& lines, const QByteArray& codeset)
{
    const QFileInfo file(path);
    ReplaceBeneath(file.path(), file.fileName(), Encode(lines.join(kLineEnd) + kLineEnd, codeset),
                   false, path);
}

void SaveTextFile(const QString& programDir, const QString& name, const QStringList& lines,
                  const QByteArray& codeset)
{
    RefuseNameLeavingFolder(name);
    // Decided once, so that the folder checked is the folder written.
    const QString folder = ResultsFolder(programDir);
    const QString fileName = name + QStringLiteral(".txt");
    MakeMissingParent(folder);
    ReplaceBeneath(folder, fileName, Encode(lines.join(kLineEnd) + kLineEnd, codeset), true,
                   folder + u'/' + fileName);
}

} // namespace kalibrix
