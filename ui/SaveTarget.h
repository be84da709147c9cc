#pragma once

#include <QString>

// Where a save may write, looked up before anything is written. The checks
// report what they found, the kind of entry or the system's error number;
// SaveFailure words it. The system calls behind them are POSIX (realpath,
// lstat, access, mkdir); each sits in a function of its own in SaveTarget.cpp.
namespace kalibrix {

enum class EntryKind { Missing, RegularFile, SymbolicLink, Folder, Device, Fifo, Socket, Other };

// The file a save to `path` writes, `path` being a file below `folder`, with
// every symbolic link resolved: the real folder of the file and, when the
// file is an existing link, the real path of its target. When a part of the
// path cannot be looked up (a missing folder, a link that leads nowhere), the
// path comes back unresolved and counts as inside; writing it then meets the
// same fault, or CheckReplaceable refuses it.
struct ResolvedTarget {
    QString path;
    bool insideFolder = true; // false when `path` lies outside the real `folder`
};
ResolvedTarget ResolveInsideFolder(const QString& folder, const QString& path);

// What stands where a save puts its file: the kind of the entry (a link is
// not followed) and the system's error number of looking it up or, for a
// regular file, of the write access check; 0 when there was none.
struct EntryCheck {
    EntryKind kind = EntryKind::Missing;
    int error = 0;

    // Nothing there (the save creates the file) or a regular file that may be
    // written. A save never writes through a symbolic link.
    bool replaceable() const
    {
        return error == 0 && (kind == EntryKind::Missing || kind == EntryKind::RegularFile);
    }
};
EntryCheck CheckReplaceable(const QString& path);

// Creates the folder (mkdir); 0, or the system's error number.
int MakeFolder(const QString& path);

} // namespace kalibrix
