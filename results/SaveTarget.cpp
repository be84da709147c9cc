#include "SaveTarget.h"

#include "SaveFailure.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <utility>

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

bool IsSymbolicLink(const QString& path)
{
    struct stat entry {};
    return ::lstat(QFile::encodeName(path).constData(), &entry) == 0 && S_ISLNK(entry.st_mode);
}

EntryKind KindOf(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFREG:
        return EntryKind::RegularFile;
    case S_IFLNK:
        return EntryKind::SymbolicLink;
    case S_IFDIR:
        return EntryKind::Folder;
    case S_IFCHR:
    case S_IFBLK:
        return EntryKind::Device;
    case S_IFIFO:
        return EntryKind::Fifo;
    case S_IFSOCK:
        return EntryKind::Socket;
    default:
        return EntryKind::Other;
    }
}

bool IsInside(const QString& folder, const QString& path)
{
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return path.startsWith(prefix) && path.size() > prefix.size();
}

// A temporary file's name in the save's folder: short, whatever the length
// of the file's own name, and hidden from a plain listing.
QByteArray TemporaryName()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = ".kalibrix-";
    for (int i = 0; i < 8; ++i)
        name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return name;
}

// An open file or folder, closed at the end of its owner's life.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // close(2), whose error (a delayed write error on some file systems)
    // counts; 0 or the error number.
    int Close()
    {
        const int result = ::close(std::exchange(fd_, -1));
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

} // namespace

ResolvedTarget ResolveInsideFolder(const QString& folder, const QString& path)
{
    const RealPathLookup realFolder = RealPath(folder);
    const QFileInfo file(path);
    const RealPathLookup fileFolder = RealPath(file.path());
    if (realFolder.error != 0 || fileFolder.error != 0)
        return {path};

    QString resolved = fileFolder.path + u'/' + file.fileName();
    if (IsSymbolicLink(resolved)) {
        const RealPathLookup target = RealPath(resolved);
        if (target.error != 0)
            return {resolved};
        resolved = target.path;
    }
    return {resolved, IsInside(realFolder.path, resolved)};
}

int MakeFolder(const QString& path)
{
    return ::mkdir(QFile::encodeName(path).constData(), 0777) == 0 ? 0 : errno;
}

FileReplacement::FileReplacement(const QString& path) : path_(path)
{
    const QByteArray encoded = QFile::encodeName(path);
    const qsizetype slash = encoded.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : encoded.left(qMax(slash, 1));
    name_ = encoded.mid(slash + 1);

    folder_ = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder_ < 0)
        throw SaveStepFailed(path_, errno);

    struct stat entry {};
    if (::fstatat(folder_, name_.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)
            throw SaveStepFailed(path_, errno);
        return;
    }
    if (const EntryKind kind = KindOf(entry.st_mode); kind != EntryKind::RegularFile)
        throw EntryRefused(path_, kind);
    // A read-only file is not replaced, though its folder would allow it.
    if (::faccessat(folder_, name_.constData(), W_OK, 0) != 0)
        throw SaveStepFailed(path_, errno);
    existed_ = true;
    mode_ = entry.st_mode & 07777;
}

FileReplacement::~FileReplacement()
{
    if (folder_ >= 0)
        ::close(folder_);
}

void FileReplacement::Commit(const QByteArray& bytes)
{
    QByteArray temporary;
    int fd = -1;
    while (fd < 0) {
        temporary = TemporaryName();
        fd = ::openat(folder_, temporary.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            throw SaveStepFailed(path_, errno);
    }
    Descriptor file(fd);
    const auto fail = [this, &temporary](int error) {
        ::unlinkat(folder_, temporary.constData(), 0);
        return SaveStepFailed(path_, error);
    };

    if (existed_ && ::fchmod(file.get(), mode_) != 0)
        throw fail(errno);
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(file.get(), bytes.constData() + written,
                                  static_cast<std::size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw fail(errno);
        written += n;
    }
    if (::fsync(file.get()) != 0)
        throw fail(errno);
    if (const int error = file.Close(); error != 0)
        throw fail(error);

    // A name that was free at the look-up must still be free: a link put
    // there meanwhile stays as it is. A file system without RENAME_NOREPLACE
    // gives EINVAL; there the plain rename replaces the entry, link or not,
    // without following it.
    int renamed = ::renameat2(folder_, temporary.constData(), folder_, name_.constData(),
                              existed_ ? 0 : RENAME_NOREPLACE);
    if (renamed != 0 && errno == EINVAL && !existed_)
        renamed = ::renameat(folder_, temporary.constData(), folder_, name_.constData());
    if (renamed != 0)
        throw fail(errno);
    // The new entry is on the medium once its folder is; a folder that
    // cannot be synced (EINVAL) keeps it as the file system does.
    if (::fsync(folder_) != 0 && errno != EINVAL)
        throw SaveStepFailed(path_, errno);
}

} // namespace kalibrix
