#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace kalibrix {

// A save that could not be done; userMessage() is the Hungarian text for the
// message box, naming the file and the reason (SaveFailure words it).
class ResultsFileError : public std::runtime_error {
public:
    explicit ResultsFileError(const QString& userMessage);
    const QString& userMessage() const { return userMessage_; }

private:
    QString userMessage_;
};

// The folder where every save lands: "adatok" beside the program, or in
// the user's data folder where that cannot be written (ResultsLocation.h).
QString ResultsFolder(const QString& programDir);

// The folder's name alone, for the messages that name it.
QString ResultsFolderName();

// <ResultsFolder>/<name>.txt, the name exactly as typed, with symbolic links
// resolved: the real folder and, for an existing link, its target. A name
// that would leave the folder throws ResultsFileError: as typed (absolute,
// or with a ".." component) or through a link outside the real folder.
QString ResultsFilePath(const QString& programDir, const QString& name);

// The character set of the C library's current locale; QCoreApplication has
// set that locale from the environment.
QByteArray LocaleCodeset();

// Writes the lines, each ended by CR LF, in the named character set
// ("UTF-8", "ISO-8859-2", ...); a name the converter does not know means
// UTF-8, and characters the set cannot hold are written as "?". The file is
// replaced atomically (SaveTarget.h): a failed save leaves the old file and
// no temporary behind. When the file's own folder is the missing results
// folder, it is created; other missing folders are not. Throws
// ResultsFileError, with the reason in Hungarian, when the file cannot be
// written, and before writing anything when the path names a symbolic link
// or anything but a regular file.
void WriteTextFile(const QString& path, const QStringList& lines,
                   const QByteArray& codeset = LocaleCodeset());

// A save of the user: the lines, in the locale's character set, to the file
// that `name` gives in the results folder beside the program.
void SaveTextFile(const QString& programDir, const QString& name, const QStringList& lines);

} // namespace kalibrix
