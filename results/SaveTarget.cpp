// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveTarget.h"

#include "SaveFailure.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/openat2.h>
#include <stdio.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace kalibrix {
namespace {

// As many links as the kernel follows in one path lookup.
constexpr int kLinkHops = 40;
// Random temporary names tried before the save gives up; 36^8 names make a
// second try rare already.
constexpr int kTemporaryTries = 100;

std::function<int(SaveStep)>& Hook()
{
    static std::function<int(SaveStep)> hook;
    return hook;
}

// 0, or the error number a test makes this step fail with.
int Injected(SaveStep step)
{
    const auto& hook = Hook();
    return hook ? hook(step) : 0;
}

// An open file or folder, closed at the end of its owner's life.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
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
    int fd_ = -1;
};

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

// realpath(3): the absolute path with every link, "." and ".." resolved;
// empty when a part is missing.
QString RealPath(const QString& path)
{
    const std::unique_ptr<char, decltype(&std::free)> real(
        ::realpath(QFile::encodeName(path).constData(), nullptr), &std::free);
    return real ? QFile::decodeName(real.get()) : QString();
}

// An absolute link target below `folder` (the base's path), relative to
// it; empty for one that is not. Only a string: whatever it gives is then
// resolved beneath the open base, so a wrong answer cannot lead outside.
QByteArray BelowFolder(const QString& folder, const QByteArray& target)
{
    const QString real = RealPath(folder);
    const QByteArray prefix = QFile::encodeName(real) + '/';
    return !real.isEmpty() && target.startsWith(prefix) ? target.mid(prefix.size()) : QByteArray();
}

// Opens `path`, relative and naming a folder, beneath the open folder
// `base`, whose path is `folder`: every link on the way is followed only
// while it stays beneath it, and a ".." never climbs above it (EXDEV
// otherwise). openat2 does that in one call; a kernel without it (before
// 5.6) gets the same from a walk, which also follows an absolute link that
// names a place below `folder` (openat2 refuses any absolute link).
int WalkBeneath(int base, const QByteArray& path, const QString& folder);

int OpenFolderBeneath(int base, const QByteArray& path, const QString& folder)
{
    const int injected = Injected(SaveStep::OpenFileFolder);
    if (injected == ENOSYS)
        return WalkBeneath(base, path, folder);
    if (injected != 0) {
        errno = injected;
        return -1;
    }
    open_how how{};
    how.flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    const long fd = ::syscall(SYS_openat2, base, path.constData(), &how, sizeof how);
    return fd >= 0 || (errno != ENOSYS && errno != EXDEV) ? static_cast<int>(fd)
                                                          : WalkBeneath(base, path, folder);
}

// One part at a time, none followed by the kernel (O_NOFOLLOW); a link met
// is read and its target walked in its place, relative to the folder that
// holds it. The folders entered stay open, so that ".." returns to the one
// the walk came from, not to whatever holds it by then.
int WalkBeneath(int base, const QByteArray& path, const QString& folder)
{
    std::vector<Descriptor> entered;
    const auto current = [&entered, base] { return entered.empty() ? base : entered.back().get(); };
    QList<QByteArray> rest = path.split('/');
    int hops = 0;
    while (!rest.isEmpty()) {
        const QByteArray part = rest.takeFirst();
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (entered.empty()) {
                errno = EXDEV;
                return -1;
            }
            entered.pop_back();
            continue;
        }
        const int fd =
            ::openat(current(), part.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0) {
            entered.emplace_back(fd);
            continue;
        }
        const int openError = errno;
        char target[PATH_MAX];
        const ssize_t length = ::readlinkat(current(), part.constData(), target, sizeof target);
        if (length < 0) {
            errno = openError;
            return -1;
        }
        if (++hops > kLinkHops) {
            errno = ELOOP;
            return -1;
        }
        QByteArray link(target, length);
        if (link.startsWith('/')) {
            link = BelowFolder(folder, link);
            if (link.isEmpty()) {
                errno = EXDEV;
                return -1;
            }
            entered.clear();
        }
        rest = link.split('/') + rest;
    }
    return ::openat(current(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Where a refused link leads, for the message alone: the real folder of the
// file and, for a link, the real path of its target; empty when a part of
// it cannot be resolved.
QString WhereLinkLeads(const QString& path)
{
    const QFileInfo file(path);
    const QString folder = RealPath(file.path());
    if (folder.isEmpty())
        return {};
    const QString resolved = folder + u'/' + file.fileName();
    return QFileInfo(resolved).isSymLink() ? RealPath(resolved) : resolved;
}

ResultsFileError RefusedLink(const QString& folder, const QString& shownPath)
{
    const QString target = WhereLinkLeads(shownPath);
    const QString realFolder = RealPath(folder) + u'/';
    // A target that reads as inside by now (the folder changed meanwhile)
    // is not named as outside.
    if (target.isEmpty() || target.startsWith(realFolder))
        return EntryRefused(shownPath, EntryKind::SymbolicLink);
    return LinkLeavesFolder(shownPath, target);
}

// The file a save writes: its open folder, its name there, and what stands
// under the name now.
struct Target {
    Descriptor folder;
    QByteArray name;
    bool exists = false;
    mode_t mode = 0;
};

// Resolves `path` beneath `base`, following a link under the file's name as
// long as it stays beneath; a link whose target is missing is refused, so
// that a save never creates a file through a link.
Target ResolveBeneath(int base, QByteArray path, const QString& folder, const QString& shownPath)
{
    for (int hops = 0;; ++hops) {
        const qsizetype slash = path.lastIndexOf('/');
        Target target;
        target.name = path.mid(slash + 1);
        const QByteArray parent = path.left(slash + 1);
        if (target.name.isEmpty() || target.name == "." || target.name == "..")
            throw EntryRefused(shownPath, EntryKind::Folder);
        target.folder = Descriptor(
            OpenFolderBeneath(base, parent.isEmpty() ? QByteArray(".") : parent, folder));
        if (target.folder.get() < 0) {
            if (errno == EXDEV)
                throw RefusedLink(folder, shownPath);
            throw SaveStepFailed(shownPath, errno);
        }

        struct stat entry {};
        int error = Injected(SaveStep::LookUpName);
        if (error == 0
            && ::fstatat(target.folder.get(), target.name.constData(), &entry, AT_SYMLINK_NOFOLLOW)
                   != 0)
            error = errno;
        if (error == ENOENT && hops == 0)
            return target;
        if (error == ENOENT)
            throw EntryRefused(shownPath, EntryKind::SymbolicLink);
        if (error != 0)
            throw SaveStepFailed(shownPath, error);
        if (!S_ISLNK(entry.st_mode)) {
            if (const EntryKind kind = KindOf(entry.st_mode); kind != EntryKind::RegularFile)
                throw EntryRefused(shownPath, kind);
            target.exists = true;
            target.mode = entry.st_mode;
            return target;
        }

        char link[PATH_MAX];
        const ssize_t length =
            ::readlinkat(target.folder.get(), target.name.constData(), link, sizeof link);
        if (length < 0 || hops == kLinkHops)
            throw EntryRefused(shownPath, EntryKind::SymbolicLink);
        const QByteArray next(link, length);
        path = next.startsWith('/') ? BelowFolder(folder, next) : parent + next;
        if (path.isEmpty())
            throw RefusedLink(folder, shownPath);
    }
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

// Temporary files of this program that a failed save could not remove: its
// folder's device and inode, and the name.
struct Leftover {
    dev_t device;
    ino_t inode;
    QByteArray name;
};
std::vector<Leftover>& Leftovers()
{
    static std::vector<Leftover> leftovers;
    return leftovers;
}

void RemoveLeftovers(int folder)
{
    auto& leftovers = Leftovers();
    struct stat self {};
    if (leftovers.empty() || ::fstat(folder, &self) != 0)
        return;
    std::erase_if(leftovers, [&self, folder](const Leftover& leftover) {
        return leftover.device == self.st_dev && leftover.inode == self.st_ino
               && (::unlinkat(folder, leftover.name.constData(), 0) == 0 || errno == ENOENT);
    });
}

void RemoveTemporary(int folder, const QByteArray& name)
{
    int error = Injected(SaveStep::RemoveTemporary);
    if (error == 0 && ::unlinkat(folder, name.constData(), 0) != 0)
        error = errno;
    struct stat self {};
    if (error != 0 && error != ENOENT && ::fstat(folder, &self) == 0)
        Leftovers().push_back({self.st_dev, self.st_ino, name});
}

// Opens the base folder, creating it first where asked: a new folder is
// synced into its parent, so that the file's entry does not outlive it.
Descriptor OpenBase(const QString& folder, bool create, const QString& shownPath)
{
    const QByteArray encoded = QFile::encodeName(folder);
    if (const int injected = Injected(SaveStep::OpenFolder); injected != 0)
        throw SaveStepFailed(shownPath, injected);
    Descriptor base(::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (base.get() >= 0 || errno != ENOENT)
        return base;
    struct stat entry {};
    if (::lstat(encoded.constData(), &entry) == 0 && S_ISLNK(entry.st_mode))
        throw DanglingFolderLink(shownPath);
    if (!create)
        throw SaveStepFailed(shownPath, ENOENT);

    if (::mkdir(encoded.constData(), 0777) != 0 && errno != EEXIST)
        throw FolderNotCreated(shownPath, errno);
    const Descriptor parent(::open(QFile::encodeName(QFileInfo(folder).path()).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parent.get() < 0 || (::fsync(parent.get()) != 0 && errno != EINVAL))
        throw SaveStepFailed(shownPath, errno);
    return Descriptor(::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

} // namespace

void SetSaveStepHook(std::function<int(SaveStep)> hook)
{
    Hook() = std::move(hook);
}

void ReplaceBeneath(const QString& folder, const QString& name, const QByteArray& bytes,
                    bool createFolder, const QString& shownPath)
{
    const QByteArray relative = QFile::encodeName(name);
    const Descriptor base = OpenBase(folder, createFolder && !relative.contains('/'), shownPath);
    if (base.get() < 0)
        throw SaveStepFailed(shownPath, errno);
    const Target target = ResolveBeneath(base.get(), relative, folder, shownPath);
    const int dir = target.folder.get();

    // A read-only file is not replaced, though its folder would allow it.
    if (target.exists && ::faccessat(dir, target.name.constData(), W_OK, 0) != 0)
        throw SaveStepFailed(shownPath, errno);
    // An append-only folder takes the temporary file but lets neither the
    // rename nor the removal take it away again: refused before it is made.
    if (int flags = 0; ::ioctl(dir, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_APPEND_FL) != 0)
        throw AppendOnlyFolder(shownPath);
    RemoveLeftovers(dir);

    QByteArray temporary;
    Descriptor file;
    for (int tries = 0; file.get() < 0; ++tries) {
        if (tries == kTemporaryTries)
            throw NoTemporaryName(shownPath);
        temporary = TemporaryName();
        int error = Injected(SaveStep::CreateTemporary);
        if (error == 0) {
            file = Descriptor(::openat(dir, temporary.constData(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            error = file.get() < 0 ? errno : 0;
        }
        if (error != 0 && error != EEXIST)
            throw SaveStepFailed(shownPath, error);
    }
    const auto fail = [dir, &temporary](ResultsFileError failure) {
        RemoveTemporary(dir, temporary);
        return failure;
    };
    const auto step = [](SaveStep which, auto call) {
        const int injected = Injected(which);
        return injected != 0 ? injected : (call() == 0 ? 0 : errno);
    };

    // Only the permission bits: set-user-ID, set-group-ID and sticky bits of
    // the old file are not handed to the new one.
    if (target.exists && ::fchmod(file.get(), target.mode & 0777) != 0)
        throw fail(SaveStepFailed(shownPath, errno));
    for (qsizetype written = 0; written < bytes.size();) {
        const int injected = Injected(SaveStep::Write);
        ssize_t n = 0;
        if (injected == 0) {
            n = ::write(file.get(), bytes.constData() + written,
                        static_cast<std::size_t>(bytes.size() - written));
        } else if (injected != kNothingWritten) {
            n = -1;
            errno = injected;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw fail(SaveStepFailed(shownPath, errno));
        if (n == 0)
            throw fail(NothingWritten(shownPath));
        written += n;
    }
    if (const int error = step(SaveStep::SyncFile, [&file] { return ::fsync(file.get()); });
        error != 0)
        throw fail(SaveStepFailed(shownPath, error));
    if (const int error = file.Close(); error != 0)
        throw fail(SaveStepFailed(shownPath, error));

    // A name that was free at the look-up must still be free: a link put
    // there meanwhile stays as it is. A file system without RENAME_NOREPLACE
    // gives EINVAL; there the plain rename replaces the entry, link or not,
    // without following it.
    const char* from = temporary.constData();
    const char* to = target.name.constData();
    const int renamed = step(SaveStep::Rename, [&] {
        const int result = ::renameat2(dir, from, dir, to, target.exists ? 0 : RENAME_NOREPLACE);
        return result != 0 && errno == EINVAL && !target.exists ? ::renameat(dir, from, dir, to)
                                                                : result;
    });
    if (renamed != 0)
        throw fail(SaveStepFailed(shownPath, renamed));
    // The new entry is on the medium once its folder is; a folder that
    // cannot be synced (EINVAL) keeps it as the file system does.
    if (const int error = step(SaveStep::SyncFolder, [dir] { return ::fsync(dir); });
        error != 0 && error != EINVAL)
        throw SavedButNotSynced(shownPath, error);
}

} // namespace kalibrix
