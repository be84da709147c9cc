// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QByteArray;

// The writing of a save, confined to one folder. The system calls behind it
// are POSIX and Linux (open, openat2 or an openat walk, fstatat, readlinkat,
// mkdir, renameat2, fsync); a failed one throws ResultsFileError with its
// error number worded by SaveFailure.
namespace kalibrix {

enum class EntryKind { RegularFile, SymbolicLink, Folder, Device, Fifo, Socket, Other };

// The steps of a save in their order, each one system call (Write: each
// write of the loop; RemoveTemporary: only after a failed step).
enum class SaveStep {
    OpenFolder,     // the base folder, after creating it where asked and missing
    OpenFileFolder, // the file's own folder, resolved beneath the base
    LookUpName,     // what stands under the file's name there
    CreateTemporary,
    Write,
    SyncFile,
    Rename,
    SyncFolder,
    RemoveTemporary
};

// For tests: called before each step. It may change the file system (to
// race the save) and returns 0 to let the step run, or an error number that
// the step then fails with as if its system call had given it. For Write,
// kNothingWritten makes the write transfer no byte; for OpenFileFolder,
// ENOSYS stands for a kernel without openat2. An empty hook costs one test.
inline constexpr int kNothingWritten = -1;
void SetSaveStepHook(std::function<int(SaveStep)> hook);

// Replaces the file `name` beneath `folder` with `bytes`, atomically: a
// temporary file in the file's own folder, written and synced, is renamed
// over the name, and the folder is synced. `folder` is opened once, links in
// its own path followed (it may itself be a link the user made); with
// `createFolder`, it is created when missing and `name` has no subfolder.
// Everything after that works from the open folder: `name` (which may hold
// "/", a ".." that stays inside, and relative links that stay inside) is
// resolved beneath it in one pass, so that nothing swapped in meanwhile can
// lead outside. Only a missing name or a writable regular file under it is
// replaced; the old file's permission bits are kept. A failed step removes
// the temporary file, and one that cannot be removed is removed by a later
// save into the same folder. `shownPath` names the file in the messages.
void ReplaceBeneath(const QString& folder, const QString& name, const QByteArray& bytes,
                    bool createFolder, const QString& shownPath);

} // namespace kalibrix
