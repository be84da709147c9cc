#include "SaveTarget.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace kalibrix {
namespace {

struct RealPathLookup {
    QString path;
    int error = 0;
};

// realpath(3): the absolute path with every link, "." and ".." resolved;
// every part must exist.
RealPathLookup RealPath(const QString& path)
{
    const std::unique_ptr<char, decltype(&std::free)> real(
        ::realpath(QFile::encodeName(path).constData(), nullptr), &std::free);
    if (!real)
        return {QString(), errno};
    return {QFile::decodeName(real.get()), 0};
}

// lstat(2): what the name itself is, a link not followed. A name that does
// not exist is Missing without an error.
EntryCheck EntryKindOf(const QString& path)
{
    struct stat entry {};
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0) {
        const int error = errno;
        return error == ENOENT ? EntryCheck{} : EntryCheck{EntryKind::Missing, error};
    }
    switch (entry.st_mode & S_IFMT) {
    case S_IFREG:
        return {EntryKind::RegularFile, 0};
    case S_IFLNK:
        return {EntryKind::SymbolicLink, 0};
    case S_IFDIR:
        return {EntryKind::Folder, 0};
    case S_IFCHR:
    case S_IFBLK:
        return {EntryKind::Device, 0};
    case S_IFIFO:
        return {EntryKind::Fifo, 0};
    case S_IFSOCK:
        return {EntryKind::Socket, 0};
    default:
        return {EntryKind::Other, 0};
    }
}

// access(2) for writing, the check QSaveFile makes before it replaces an
// existing file; 0, or the system's error number (EACCES, EROFS...).
int WriteAccessError(const QString& path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0 ? 0 : errno;
}

bool IsInside(const QString& folder, const QString& path)
{
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return path.startsWith(prefix) && path.size() > prefix.size();
}

} // namespace

ResolvedTarget ResolveInsideFolder(const QString& folder, const QString& path)
{
    const RealPathLookup realFolder = RealPath(folder);
    const QFileInfo file(path);
    const RealPathLookup fileFolder = RealPath(file.path());
    if (realFolder.error != 0 || fileFolder.error != 0)
        return {path};

    QString resolved = fileFolder.path + u'/' + file.fileName();
    if (EntryKindOf(resolved).kind == EntryKind::SymbolicLink) {
        const RealPathLookup target = RealPath(resolved);
        if (target.error != 0)
            return {resolved};
        resolved = target.path;
    }
    return {resolved, IsInside(realFolder.path, resolved)};
}

EntryCheck CheckReplaceable(const QString& path)
{
    const EntryCheck entry = EntryKindOf(path);
    if (entry.error != 0 || entry.kind != EntryKind::RegularFile)
        return entry;
    return {entry.kind, WriteAccessError(path)};
}

int MakeFolder(const QString& path)
{
    return ::mkdir(QFile::encodeName(path).constData(), 0777) == 0 ? 0 : errno;
}

} // namespace kalibrix
