#pragma once

#include "SaveTarget.h"

#include <QString>

#include <stdexcept>

namespace kalibrix {

// A save that could not be done; userMessage() is the Hungarian text for the
// message box, naming the file and the reason.
class ResultsFileError : public std::runtime_error {
public:
    explicit ResultsFileError(const QString& userMessage);
    const QString& userMessage() const { return userMessage_; }

private:
    QString userMessage_;
};

// The one place that words a failed save, from what a check or a step found.
// Every message but the first is "A mentés nem sikerült." naming `path`, the
// file the save was to write, and the reason.

// A name refused as typed: an absolute path, or one with a ".." component.
ResultsFileError NameLeavesFolder(const QString& name);

// `path` leads through a symbolic link to `target`, outside "adatok".
ResultsFileError LinkLeavesFolder(const QString& path, const QString& target);

// The missing "adatok" folder of `path` could not be created: mkdir's error.
ResultsFileError FolderNotCreated(const QString& path, int error);

// CheckReplaceable found something a save must not replace.
ResultsFileError NotReplaceable(const QString& path, const EntryCheck& entry);

// A step of QSaveFile failed, with its errorString(): Qt words a system error
// as qt_error_string does, in English or in the language of an installed
// translation; that text becomes the Hungarian reason, any other is given as
// it is.
ResultsFileError WriteFailed(const QString& path, const QString& errorString);

} // namespace kalibrix
