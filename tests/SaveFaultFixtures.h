// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// File-system fixtures for the tests of saving (POSIX and Linux only): what
// a folder holds before and after, a lowered file size limit, a thread
// without root's capabilities, a private mount namespace with a small tmpfs
// that can be filled up or made read-only, a write-protected folder, the
// Hungarian C locale for the system's messages, links, sockets, an
// append-only folder, the save's steps interposed, the descriptors open, and
// a /dev that a faulty save cannot harm.

#include "SaveTarget.h"

#include <QDirIterator>
#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <linux/capability.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>

namespace kalibrix::test {

// What a save meets that makes it fail.
enum class Fault {
    AdatokIsAFile,
    MissingSubfolder,
    NameTooLong,
    NameIsAFolder,
    ReadOnlyFolder,
    ReadOnlyProgramFolder,
    FileSizeLimit,
    ReadOnlyMedium,
    ReadOnlyMediumWithoutAdatok,
    FullDisk,
    DanglingAdatokLink,
    AppendOnlyFolder,
    TemporaryNameAlwaysTaken,
    WriteOfNothing,
    ErrorOutsideTheTable
};

// What lies behind a name that a save must refuse.
enum class Trap {
    LinkToFileOutside,
    LinkToDevNull,
    LinkedFolderOutside,
    DanglingLinkOutside,
    LinkLoop,
    LinkSwappedInAfterCheck,
    FifoInAdatok,
    SocketInAdatok,
    DeviceInAdatok
};

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Every entry under a folder, relative path -> contents ("<folder>" for a
// folder): a failed save must leave this unchanged.
inline QMap<QString, QByteArray> Snapshot(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        entries.insert(QDir(root).relativeFilePath(entry.filePath()),
                       entry.isDir() ? QByteArray("<folder>") : ReadAll(entry.filePath()));
    }
    return entries;
}

inline QStringList FilesUnder(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    return files;
}

// Lowers the file size limit of this process for its lifetime, so that a
// write past the limit fails with EFBIG like a write to a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit lowered = previous_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

inline QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Root passes over the mode bits of files and folders only through its
// capabilities (CAP_DAC_OVERRIDE above all). While this object lives, the
// calling thread has no effective capability, so a read-only folder refuses
// root as it refuses any user; the capabilities stay permitted and are taken
// up again at the end. For a user without capabilities nothing changes.
class WithoutCapabilities {
public:
    WithoutCapabilities()
    {
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[_LINUX_CAPABILITY_U32S_3];
        std::memcpy(lowered, saved_, sizeof lowered);
        for (__user_cap_data_struct& word : lowered)
            word.effective = 0;
        lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutCapabilities()
    {
        if (lowered_)
            syscall(SYS_capset, &header_, saved_);
    }
    WithoutCapabilities(const WithoutCapabilities&) = delete;
    WithoutCapabilities& operator=(const WithoutCapabilities&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3]{};
    bool lowered_ = false;
};

// Whether a new file can be made in the folder; a file made to find out is
// removed again.
inline bool TakesNewFiles(const QString& folder)
{
    const QByteArray probe = QFile::encodeName(folder + QStringLiteral("/.probe"));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.constData());
    return true;
}

// Gives the main thread, which runs every test function, a mount namespace
// of its own whose mounts reach no other process and vanish with this one.
// Empty when that worked, otherwise why not: mounting needs root
// (CAP_SYS_ADMIN); a user namespace, where a user could mount, is granted
// only to a single-threaded process, and Qt Test runs a watchdog thread.
// Done once; later calls give the first answer.
inline QString EnterPrivateMountNamespace()
{
    static const QString failure = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return QStringLiteral("mounting a file system needs root (CAP_SYS_ADMIN); "
                                  "unshare(CLONE_NEWNS): ")
                   + ErrnoText(errno);
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return QStringLiteral("no private mounts: ") + ErrnoText(errno);
        return QString();
    }();
    return failure;
}

// A small tmpfs mounted over a folder for the object's lifetime: a medium
// that can be filled up or made read-only, as a USB stick or a floppy can.
class SmallMedium {
public:
    static constexpr int kBytes = 64 * 1024;

    explicit SmallMedium(const QString& folder) : folder_(QFile::encodeName(folder))
    {
        const QByteArray options = "size=" + QByteArray::number(kBytes) + ",mode=0700";
        if (::mount("kalibrix-test", folder_.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    options.constData())
            != 0)
            error_ = QStringLiteral("mount -t tmpfs: ") + ErrnoText(errno);
    }
    ~SmallMedium()
    {
        if (error_.isEmpty())
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    SmallMedium(const SmallMedium&) = delete;
    SmallMedium& operator=(const SmallMedium&) = delete;

    // Empty when mounted, otherwise the reason.
    const QString& error() const { return error_; }

    bool MakeReadOnly()
    {
        return ::mount(nullptr, folder_.constData(), nullptr,
                       MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr)
               == 0;
    }

    // Writes a file of blocks until the medium is full; true when it ended
    // on ENOSPC.
    bool FillUp(const QString& path)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), block.size()) > 0) {
        }
        const bool full = errno == ENOSPC;
        ::close(fd);
        return full;
    }

private:
    QByteArray folder_;
    QString error_;
};

// Makes a folder read-only for its owner for the object's lifetime.
class WriteProtection {
public:
    explicit WriteProtection(const QString& folder)
        : folder_(folder), writable_(QFile::permissions(folder))
    {
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~WriteProtection() { QFile::setPermissions(folder_, writable_); }
    WriteProtection(const WriteProtection&) = delete;
    WriteProtection& operator=(const WriteProtection&) = delete;

private:
    QString folder_;
    QFile::Permissions writable_;
};

// <language>.UTF-8 (hu_HU, de_DE) for setlocale: the installed one, or else
// one that localedef compiles (once) from the source in the locales package
// into `folder`, which LOCPATH (set in `localePath`) then names while
// setlocale loads it. Empty when the locale can be set, otherwise why not.
inline QString PrepareLocale(const QString& language, const QString& folder, QByteArray& localePath)
{
    const QByteArray name = (language + QStringLiteral(".UTF-8")).toLatin1();
    const auto loads = [&name](const QByteArray& path) {
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        if (!path.isEmpty())
            qputenv("LOCPATH", path);
        const bool loaded = std::setlocale(LC_ALL, name.constData()) != nullptr;
        qunsetenv("LOCPATH");
        std::setlocale(LC_ALL, previous.c_str());
        return loaded;
    };
    if (loads({}))
        return {};

    // Not tried with LOCPATH before it is compiled: the C library remembers
    // a locale it did not find.
    const QString compiled = folder + u'/' + QString::fromLatin1(name);
    const QByteArray path = QFile::encodeName(folder);
    if (!QFileInfo::exists(compiled)) {
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"), {"-i", language, "-f", "UTF-8", compiled});
        if (!localedef.waitForFinished(120'000))
            return QStringLiteral("localedef did not run: ") + localedef.errorString();
    }
    if (!loads(path))
        return QString::fromLatin1(name)
               + QStringLiteral(" is not installed, and localedef (of the locales package) "
                                "could not make it");
    localePath = path;
    return {};
}

// The language of the system's messages for one case: the C locale without
// a translation, or hu_HU.UTF-8 with the Qt translation the program installs
// and the Hungarian QLocale. What was set before comes back at the end.
class MessageLanguage {
public:
    MessageLanguage(bool hungarian, QTranslator& translation, const QByteArray& localePath)
        : previous_(std::setlocale(LC_ALL, nullptr)),
          translation_(hungarian ? &translation : nullptr)
    {
        if (!hungarian) {
            std::setlocale(LC_ALL, "C");
            return;
        }
        if (!localePath.isEmpty())
            qputenv("LOCPATH", localePath);
        std::setlocale(LC_ALL, "hu_HU.UTF-8");
        qunsetenv("LOCPATH");
        QCoreApplication::installTranslator(translation_);
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    }
    ~MessageLanguage()
    {
        if (translation_)
            QCoreApplication::removeTranslator(translation_);
        QLocale::setDefault(previousLocale_);
        std::setlocale(LC_ALL, previous_.c_str());
    }
    MessageLanguage(const MessageLanguage&) = delete;
    MessageLanguage& operator=(const MessageLanguage&) = delete;

private:
    std::string previous_;
    QLocale previousLocale_;
    QTranslator* translation_;
};

// The target a symbolic link holds, as written into it; empty for a name that
// is no link.
inline QString LinkContents(const QString& path)
{
    char target[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
    return length < 0 ? QString() : QFile::decodeName(QByteArray(target, length));
}

// What a refused save must leave as it was about a name: its type, inode and
// size (of the name itself, a link not followed), a link's target, a regular
// file's bytes, a folder's entries.
inline QString EntryState(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat entry {};
    if (::lstat(name.constData(), &entry) != 0)
        return path + QStringLiteral(": none");
    QString state = QStringLiteral("%1: mode %2 inode %3 device %4 size %5")
                        .arg(path)
                        .arg(entry.st_mode, 0, 8)
                        .arg(entry.st_ino)
                        .arg(entry.st_dev)
                        .arg(entry.st_size);
    if (S_ISLNK(entry.st_mode)) {
        state += QStringLiteral(" -> ") + LinkContents(path);
    } else if (S_ISREG(entry.st_mode)) {
        state += QStringLiteral(" bytes ") + QString::fromLatin1(ReadAll(path).toHex());
    } else if (S_ISDIR(entry.st_mode)) {
        state +=
            QStringLiteral(" entries ")
            + QDir(path)
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                  .join(u',');
    }
    return state;
}

inline bool MakeSocket(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (static_cast<std::size_t>(name.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

inline bool MakeLink(const QString& target, const QString& link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData())
           == 0;
}

// Where /dev can be written (as root), a save that wrongly went through a
// link to /dev/null would replace the machine's own device node. While this
// object lives, /dev is read-only in the process's private mount namespace.
class ProtectedDev {
public:
    ProtectedDev()
    {
        if (::access("/dev", W_OK) != 0)
            return;
        if (const QString unavailable = EnterPrivateMountNamespace(); !unavailable.isEmpty()) {
            error_ = unavailable;
            return;
        }
        if (::mount("/dev", "/dev", nullptr, MS_BIND | MS_REC, nullptr) != 0) {
            error_ = QStringLiteral("mount --rbind /dev: ") + ErrnoText(errno);
            return;
        }
        mounted_ = true;
        if (::mount(nullptr, "/dev", nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            error_ = QStringLiteral("read-only /dev: ") + ErrnoText(errno);
    }
    ~ProtectedDev()
    {
        if (mounted_)
            ::umount2("/dev", MNT_DETACH);
    }
    ProtectedDev(const ProtectedDev&) = delete;
    ProtectedDev& operator=(const ProtectedDev&) = delete;

    // Empty when /dev cannot be harmed, otherwise why not.
    const QString& error() const { return error_; }

private:
    bool mounted_ = false;
    QString error_;
};

// The descriptors this process holds open (the one that lists them too).
inline qsizetype OpenDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
        .size();
}

// A hook between the save's steps for the object's lifetime.
class StepHook {
public:
    explicit StepHook(std::function<int(SaveStep)> hook) { SetSaveStepHook(std::move(hook)); }
    ~StepHook() { SetSaveStepHook({}); }
    StepHook(const StepHook&) = delete;
    StepHook& operator=(const StepHook&) = delete;
};

// Makes a folder append-only (chattr +a) for the object's lifetime: new
// entries can be made in it, none removed or renamed.
class AppendOnly {
public:
    explicit AppendOnly(const QString& folder)
        : fd_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY))
    {
        int flags = 0;
        if (fd_ < 0 || ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) != 0) {
            error_ = QStringLiteral("FS_IOC_GETFLAGS: ") + ErrnoText(errno);
            return;
        }
        flags |= FS_APPEND_FL;
        if (::ioctl(fd_, FS_IOC_SETFLAGS, &flags) != 0)
            error_ = QStringLiteral("chattr +a needs CAP_LINUX_IMMUTABLE and a file system "
                                    "that keeps the flag: ")
                     + ErrnoText(errno);
    }
    ~AppendOnly()
    {
        int flags = 0;
        if (error_.isEmpty() && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_APPEND_FL;
            ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0)
            ::close(fd_);
    }
    AppendOnly(const AppendOnly&) = delete;
    AppendOnly& operator=(const AppendOnly&) = delete;

    // Empty when the folder is append-only, otherwise why not.
    const QString& error() const { return error_; }

private:
    int fd_;
    QString error_;
};

} // namespace kalibrix::test

Q_DECLARE_METATYPE(kalibrix::test::Fault)
Q_DECLARE_METATYPE(kalibrix::test::Trap)
Q_DECLARE_METATYPE(kalibrix::SaveStep)
