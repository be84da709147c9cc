#include "ResultsFile.h"

#include "ResultsLocation.h"
#include "SaveFailure.h"
#include "SaveTarget.h"

#include <QDir>
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
    if (QDir::isAbsolutePath(name)
        || QDir::fromNativeSeparators(name).split(u'/').contains(QStringLiteral(".."))) {
        throw NameLeavesFolder(name);
    }
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
    const QString path = ResultsFilePath(programDir, name);
    ReplaceBeneath(ResultsFolder(programDir), name + QStringLiteral(".txt"),
                   Encode(lines.join(kLineEnd) + kLineEnd, codeset), true, path);
}

} // namespace kalibrix
