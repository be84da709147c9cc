#include "SaveTarget.h"

#include "SaveFailure.h"

#include <QDir>
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

enum class EntryKind { Missing, RegularFile, SymbolicLink, Folder, Device, Fifo, Socket, Other };

struct EntryLookup {
    EntryKind kind = EntryKind::Missing;
    int error = 0;
};

// lstat(2): what the name itself is, a link not followed. A name that does
// not exist is Missing without an error.
EntryLookup EntryKindOf(const QString& path)
{
    struct stat entry {};
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0) {
        const int error = errno;
        return error == ENOENT ? EntryLookup{} : EntryLookup{EntryKind::Missing, error};
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

QString LeadsOutsideReason(const QString& target)
{
    return QStringLiteral("A név szimbolikus linken át az „adatok” mappán kívülre vezet, ide: %1. "
                          "A mentés csak az „adatok” mappába kerülhet")
        .arg(QDir::toNativeSeparators(target));
}

QString KindReason(EntryKind kind)
{
    switch (kind) {
    case EntryKind::SymbolicLink:
        return QStringLiteral("A név egy olyan szimbolikus link, amelynek a célja nem létezik "
                              "vagy nem ellenőrizhető");
    case EntryKind::Folder:
        return SaveErrorReason(EISDIR);
    case EntryKind::Device:
        return QStringLiteral("A név egy eszközt jelöl, nem közönséges fájlt");
    case EntryKind::Fifo:
        return QStringLiteral("A név egy csővezetéket (FIFO) jelöl, nem közönséges fájlt");
    case EntryKind::Socket:
        return QStringLiteral("A név egy socketet jelöl, nem közönséges fájlt");
    default:
        return QStringLiteral("A név nem közönséges fájlt jelöl");
    }
}

} // namespace

QString ResolveInsideFolder(const QString& folder, const QString& path)
{
    const RealPathLookup realFolder = RealPath(folder);
    const QFileInfo file(path);
    const RealPathLookup fileFolder = RealPath(file.path());
    if (realFolder.error != 0 || fileFolder.error != 0)
        return path;

    QString resolved = fileFolder.path + u'/' + file.fileName();
    if (EntryKindOf(resolved).kind == EntryKind::SymbolicLink) {
        const RealPathLookup target = RealPath(resolved);
        if (target.error != 0)
            return resolved;
        resolved = target.path;
    }
    if (!IsInside(realFolder.path, resolved))
        throw SaveFailed(path, LeadsOutsideReason(resolved));
    return resolved;
}

void CheckReplaceable(const QString& path)
{
    const EntryLookup entry = EntryKindOf(path);
    if (entry.error != 0)
        throw SaveFailed(path, SaveErrorReason(entry.error));
    if (entry.kind == EntryKind::Missing)
        return;
    if (entry.kind != EntryKind::RegularFile)
        throw SaveFailed(path, KindReason(entry.kind));
    if (const int error = WriteAccessError(path); error != 0)
        throw SaveFailed(path, SaveErrorReason(error));
}

int MakeFolder(const QString& path)
{
    return ::mkdir(QFile::encodeName(path).constData(), 0777) == 0 ? 0 : errno;
}

} // namespace kalibrix
