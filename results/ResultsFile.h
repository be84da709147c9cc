// SPDX-License-Identifier: GPL-3.0-or-later
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

// <ResultsFolder>/<name>.txt, the name exactly as typed, for the messages
// and the reader. A name that would leave the folder as typed (absolute, or
// with a ".." component) throws ResultsFileError; links are the save's
// concern.
QString ResultsFilePath(const QString& programDir, const QString& name);

// The character set of the C library's current locale; QCoreApplication has
// set that locale from the environment.
QByteArray LocaleCodeset();

// Writes the lines, each ended by CR LF, in the named character set
// ("UTF-8", "ISO-8859-2", ...); a name the converter does not know means
// UTF-8, and characters the set cannot hold are written as "?". The file is
// replaced atomically (SaveTarget.h) in the folder `path` names, which must
// exist: a failed save leaves the old file and no temporary behind. Throws
// ResultsFileError, with the reason in Hungarian, when the file cannot be
// written, and before writing anything when the name is a symbolic link
// that leads out of that folder or nowhere, or names anything but a regular
// file.
void WriteTextFile(const QString& path, const QStringList& lines,
                   const QByteArray& codeset = LocaleCodeset());

// A save of the user: the lines, in the character set, to the file that
// `name` gives beneath the results folder beside the program, as
// WriteTextFile writes it. The results folder is created when missing (not
// for a name in a subfolder, which could not exist in it); the name is
// resolved beneath the folder once opened, following only the links that
// stay inside.
void SaveTextFile(const QString& programDir, const QString& name, const QStringList& lines,
                  const QByteArray& codeset = LocaleCodeset());

} // namespace kalibrix
