#include "ResultsFile.h"

#include "SaveFailure.h"
#include "SaveTarget.h"
#include "SystemClock.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>

#include <langinfo.h>

#include <cerrno>

namespace kalibrix {
namespace {

const QString kFolderName = QStringLiteral("adatok");
const QString kLineEnd = QStringLiteral("\r\n");

// The date and the time on line 1 are parted by blanks up to the next print
// zone; the zones are 14 characters wide and start at columns 1, 15, 29...
constexpr qsizetype kPrintZoneWidth = 14;

// Line 1: the date in the system's short format, blanks up to the next print
// zone (at least one, so a date that fills its zones is still parted from
// the time), then the time in the system's format.
QString DateAndTimeLine(const QDateTime& now)
{
    const DateAndTime stamp = SystemDateAndTime(now);
    const qsizetype blanks = kPrintZoneWidth - stamp.date.size() % kPrintZoneWidth;
    return stamp.date + QString(blanks, u' ') + stamp.time;
}

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

// Creates the file's folder when it is the missing "adatok". Deeper folders
// that a name asks for must exist already.
void CreateMissingResultsFolder(const QString& path)
{
    const QFileInfo folder(QFileInfo(path).path());
    if (folder.fileName() != kFolderName || folder.exists())
        return;
    const int error = MakeFolder(folder.filePath());
    if (error != 0 && error != EEXIST)
        throw FolderNotCreated(path, error);
}

} // namespace

QByteArray LocaleCodeset()
{
    return QByteArray(nl_langinfo(CODESET));
}

QString ResultsFilePath(const QString& programDir, const QString& name)
{
    if (QDir::isAbsolutePath(name)
        || QDir::fromNativeSeparators(name).split(u'/').contains(QStringLiteral(".."))) {
        throw NameLeavesFolder(name);
    }
    const QString folder = programDir + u'/' + kFolderName;
    const QString path = folder + u'/' + name + QStringLiteral(".txt");
    const ResolvedTarget target = ResolveInsideFolder(folder, path);
    if (!target.insideFolder)
        throw LinkLeavesFolder(path, target.path);
    return target.path;
}

void WriteResultsFile(const QString& path, const ResultTexts& texts, const QDateTime& now)
{
    WriteResultsFile(path, texts, now, LocaleCodeset());
}

void WriteResultsFile(const QString& path, const ResultTexts& texts, const QDateTime& now,
                      const QByteArray& codeset)
{
    QStringList lines{DateAndTimeLine(now)};
    for (std::size_t i = 0; i < kResultsFileLines.size(); ++i)
        lines << QLatin1String(kResultsFileLines[i].label) + texts[i]
                     + QLatin1String(kResultsFileLines[i].unit);
    WriteTextFile(path, lines, codeset);
}

void SaveTextFile(const QString& programDir, const QString& name, const QStringList& lines)
{
    WriteTextFile(ResultsFilePath(programDir, name), lines);
}

void WriteTextFile(const QString& path, const QStringList& lines, const QByteArray& codeset)
{
    QString content;
    for (const QString& line : lines)
        content += line + kLineEnd;
    const QByteArray bytes = Encode(content, codeset);

    CreateMissingResultsFolder(path);
    if (const EntryCheck entry = CheckReplaceable(path); !entry.replaceable())
        throw NotReplaceable(path, entry);
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a short write (a full disk, a file size limit)
    // shows here: QSaveFile::commit does not report a failed flush of
    // buffered data and would rename the truncated file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw WriteFailed(path, file.errorString());
    for (qsizetype written = 0; written < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            throw WriteFailed(path, file.errorString());
        written += n;
    }
    if (!file.commit())
        throw WriteFailed(path, file.errorString());
}

} // namespace kalibrix
