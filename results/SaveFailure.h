#pragma once

#include "ResultsFile.h"
#include "SaveTarget.h"

#include <QString>

namespace kalibrix {

// The one place that words a failed save, from what a check or a step found.
// Every message but the first is "A mentés nem sikerült." naming `path`, the
// file the save was to write, and the reason, worded from the system's error
// number alone.

// A name refused as typed: an absolute path, or one with a ".." component.
ResultsFileError NameLeavesFolder(const QString& name);

// `path` leads through a symbolic link to `target`, outside the results folder.
ResultsFileError LinkLeavesFolder(const QString& path, const QString& target);

// The missing results folder of `path` could not be created: mkdir's error.
ResultsFileError FolderNotCreated(const QString& path, int error);

// Something a save must not replace stands under the name.
ResultsFileError EntryRefused(const QString& path, EntryKind kind);

// A step of the save failed with the system's error number.
ResultsFileError SaveStepFailed(const QString& path, int error);

} // namespace kalibrix
