#pragma once

#include <QString>

// Where a save may write, checked before anything is written. The system
// calls behind these checks are POSIX (realpath, lstat, access, mkdir); each
// sits in a function of its own in SaveTarget.cpp.
namespace kalibrix {

// The file a save to `path` writes, `path` being a file below `folder`, with
// every symbolic link resolved: the real folder of the file and, when the
// file is an existing link, the real path of its target. Throws
// ResultsFileError naming `path` when that lies outside the real `folder`.
// When a part of the path cannot be looked up (a missing folder, a link that
// leads nowhere), the path comes back unresolved; writing it then meets the
// same fault, or CheckReplaceable refuses it.
QString ResolveInsideFolder(const QString& folder, const QString& path);

// Throws ResultsFileError naming `path` when a save must not put a new file
// in its place: a symbolic link (a save never writes through one), anything
// but a regular file, a file that may not be written, or a path that cannot
// be looked up. A missing file is fine: the save creates it.
void CheckReplaceable(const QString& path);

// Creates the folder (mkdir); 0, or the system's error number.
int MakeFolder(const QString& path);

} // namespace kalibrix
