// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ResultsFile.h"
#include "SaveTarget.h"

#include <QString>

namespace kalibrix {

// The one place that words a failed save, from what a check or a step found.
// Every message but the first and the last is "A mentés nem sikerült."
// naming `path`, the file the save was to write, and the reason ("Oka:"),
// worded from the system's error number alone.

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

// The results folder is a symbolic link whose target is missing.
ResultsFileError DanglingFolderLink(const QString& path);

// The file's folder is append-only: a temporary file could be neither
// renamed nor removed there.
ResultsFileError AppendOnlyFolder(const QString& path);

// Every temporary name tried was taken.
ResultsFileError NoTemporaryName(const QString& path);

// A write transferred no byte, where it should have written or failed.
ResultsFileError NothingWritten(const QString& path);

// The new file has replaced the old one, but its folder could not be synced.
ResultsFileError SavedButNotSynced(const QString& path, int error);

} // namespace kalibrix
