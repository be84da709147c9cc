#pragma once

#include <QString>

class QByteArray;

// Where a save may write, and the writing itself. The system calls behind
// them are POSIX and Linux (realpath, lstat, mkdir, openat, fstatat,
// renameat2, fsync); a failed one throws ResultsFileError with its error
// number worded by SaveFailure.
namespace kalibrix {

enum class EntryKind { RegularFile, SymbolicLink, Folder, Device, Fifo, Socket, Other };

// The file a save to `path` writes, `path` being a file below `folder`, with
// every symbolic link resolved: the real folder of the file and, when the
// file is an existing link, the real path of its target. When a part of the
// path cannot be looked up (a missing folder, a link that leads nowhere), the
// path comes back unresolved and counts as inside; writing it then meets the
// same fault, or FileReplacement refuses it.
struct ResolvedTarget {
    QString path;
    bool insideFolder = true; // false when `path` lies outside the real `folder`
};
ResolvedTarget ResolveInsideFolder(const QString& folder, const QString& path);

// Creates the folder (mkdir); 0, or the system's error number.
int MakeFolder(const QString& path);

// The atomic replacement of one file. The constructor opens the file's
// folder once, refusing a symbolic link in its place (O_NOFOLLOW), and looks
// at what stands under the file's name there without following a link: only
// nothing or a regular file that may be written is accepted. Commit creates
// a fresh temporary file in that folder (O_EXCL, O_NOFOLLOW), writes and
// syncs it, renames it over the name and syncs the folder. Whatever is put
// under the name meanwhile is never followed: where the name was free, the
// rename refuses to replace it; where it held a file, the rename replaces
// the entry itself. Every step works relative to the open folder, with a
// name that holds no "/". A failed step removes the temporary file.
class FileReplacement {
public:
    explicit FileReplacement(const QString& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    void Commit(const QByteArray& bytes);

private:
    QString path_;    // as given, for the messages
    QByteArray name_; // the file's name in its folder, without any "/"
    int folder_ = -1; // the open folder
    bool existed_ = false;
    unsigned mode_ = 0666; // the permissions of the new file: those of the old one
};

} // namespace kalibrix
