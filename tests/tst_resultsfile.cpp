// The results file: where it lands, its 17 lines byte for byte, its
// character set, and saves that fail without harming what is on disk: bad
// names, read-only folders (for root too), read-only and full media, each
// with its reason in Hungarian under any locale; symbolic links that lead
// outside "adatok" and names of devices, FIFOs and sockets are refused, links
// within "adatok" are followed.

#include "Form1Fields.h"
#include "ResultsFile.h"
#include "SaveFailure.h"
#include "WorkedExample.h"

#include <QtTest>

#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

using namespace kalibrix;

namespace {

// The worked example as the window shows it, in file order: the inputs as
// typed (with points under every locale), the results with the separator.
ResultTexts WorkedExampleTexts(std::string_view separator)
{
    ResultTexts texts;
    for (std::size_t i = 0; i < kResultsFileLines.size(); ++i) {
        const form1::ControlId field = kResultsFileLines[i].field;
        const auto input = std::ranges::find_if(kInputs, [field](const InputSpec& spec) {
            return form1::InputControl(spec.field).id == field;
        });
        const auto result = std::ranges::find(form1::kResultFields, field, &form1::ResultField::control);
        const std::string text = input != kInputs.end()
                                     ? std::string(test::worked_example::Typed(input->field))
                                     : test::worked_example::Shown(result->output, separator);
        texts[i] = QString::fromStdString(text);
    }
    return texts;
}

const ResultTexts kWorkedExample = WorkedExampleTexts(".");
const ResultTexts kWorkedExampleHungarian = WorkedExampleTexts(",");

const QDateTime kAfternoon(QDate(2024, 3, 5), QTime(14, 7, 9));
const QDateTime kMorning(QDate(2024, 11, 23), QTime(9, 5, 3));

// Lines 2 to 17 of the worked example's file under the C locale, as the
// program must write them; lines 8 to 17 carry the locale's separator.
QByteArray WorkedExampleLines(char separator)
{
    QFile file(QStringLiteral(KALIBRIX_TEST_DATA "/worked_example_lines.txt"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 6; i < lines.size(); ++i)
        lines[i].replace('.', separator);
    return lines.join('\n');
}

const QByteArray kWorkedExampleLines = WorkedExampleLines('.');
// Line 1 under the C locale's LC_TIME, which the test case sets.
const QByteArray kAfternoonLineC = "03/05/24      14:07:09\r\n";
const QByteArray kWorkedExampleFileC = kAfternoonLineC + kWorkedExampleLines;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

// The bytes of a results file written into a fresh program folder, in the
// named character set, or in the one of the program's environment when none
// is named.
QByteArray WrittenFile(const ResultTexts& texts, const QDateTime& now,
                       const QByteArray& codeset = {})
{
    QTemporaryDir program;
    if (!program.isValid())
        return "<no temporary folder>";
    const QString path = ResultsFilePath(program.path(), QStringLiteral("meres"));
    if (codeset.isEmpty())
        WriteResultsFile(path, texts, now);
    else
        WriteResultsFile(path, texts, now, codeset);
    return ReadAll(path);
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Every entry under a folder, relative path -> contents ("<folder>" for a
// folder): a failed save must leave this unchanged.
QMap<QString, QByteArray> Snapshot(const QString& root)
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

QStringList FilesUnder(const QString& root)
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

QString ErrnoText(int error)
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
bool TakesNewFiles(const QString& folder)
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
QString EnterPrivateMountNamespace()
{
    static const QString failure = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return QStringLiteral("mounting a file system needs root (CAP_SYS_ADMIN); "
                                  "unshare(CLONE_NEWNS): ") +
                   ErrnoText(errno);
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
                    options.constData()) != 0)
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
                       MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
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
    FullDisk
};

QString SaveFailedMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("A mentés nem sikerült.\nFájl: %1\nOk: %2").arg(path, reason);
}

QString LeadsOutside(const QString& target)
{
    return QStringLiteral("A név szimbolikus linken át az „adatok” mappán kívülre vezet, ide: %1. "
                          "A mentés csak az „adatok” mappába kerülhet")
        .arg(target);
}

const QString kUnresolvedLink = QStringLiteral(
    "A név egy olyan szimbolikus link, amelynek a célja nem létezik vagy nem ellenőrizhető");

// <language>.UTF-8 (hu_HU, de_DE) for setlocale: the installed one, or else
// one that localedef compiles (once) from the source in the locales package
// into `folder`, which LOCPATH (set in `localePath`) then names while
// setlocale loads it. Empty when the locale can be set, otherwise why not.
QString PrepareLocale(const QString& language, const QString& folder, QByteArray& localePath)
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
        : previous_(std::setlocale(LC_ALL, nullptr)), translation_(hungarian ? &translation : nullptr)
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
QString LinkContents(const QString& path)
{
    char target[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
    return length < 0 ? QString() : QFile::decodeName(QByteArray(target, length));
}

// What a refused save must leave as it was about a name: its type, inode and
// size (of the name itself, a link not followed), a link's target, a regular
// file's bytes, a folder's entries.
QString EntryState(const QString& path)
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
        state += QStringLiteral(" entries ") +
                 QDir(path)
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                     .join(u',');
    }
    return state;
}

bool MakeSocket(const QString& path)
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

bool MakeLink(const QString& target, const QString& link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
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

enum class Trap {
    LinkToFileOutside,
    LinkToDevNull,
    LinkedFolderOutside,
    DanglingLinkOutside,
    LinkLoop,
    FifoInAdatok,
    SocketInAdatok,
    DeviceInAdatok
};

} // namespace

Q_DECLARE_METATYPE(ResultTexts)
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Trap)

class TestResultsFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void seventeenLines_data();
    void seventeenLines();
    void firstLineHoldsDateThenTime_data();
    void firstLineHoldsDateThenTime();
    void characterSet_data();
    void characterSet();
    void savesUnderTheTypedName_data();
    void savesUnderTheTypedName();
    void createsMissingAdatok();
    void sameNameTwiceKeepsOnlyTheSecond();
    void refusesNamesLeavingAdatok_data();
    void refusesNamesLeavingAdatok();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void refusedTargetsStayAsTheyWere_data();
    void refusedTargetsStayAsTheyWere();
    void linksWithinAdatokAreFollowed_data();
    void linksWithinAdatokAreFollowed();

private:
    QTemporaryDir localeFolder_;
    QByteArray localePath_;
    QString hungarianUnavailable_;
    QTranslator translation_;
};

void TestResultsFile::initTestCase()
{
    QVERIFY(translation_.load(QStringLiteral("qtbase_hu"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QVERIFY(localeFolder_.isValid());
    hungarianUnavailable_ =
        PrepareLocale(QStringLiteral("hu_HU"), localeFolder_.path(), localePath_);
    // Line 1 in the C locale's formats, whatever the environment asks for.
    std::setlocale(LC_TIME, "C");
}

void TestResultsFile::seventeenLines_data()
{
    QTest::addColumn<ResultTexts>("texts");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("C locale, worked example") << kWorkedExample << kWorkedExampleFileC;
    QTest::newRow("Hungarian, worked example with commas in lines 8 to 17")
        << kWorkedExampleHungarian << kAfternoonLineC + WorkedExampleLines(',');

    ResultTexts noStray = kWorkedExample;
    noStray[2].clear();
    QByteArray noStrayFile = kWorkedExampleFileC;
    noStrayFile.replace("= 10  pf", "=   pf");
    QTest::newRow("empty stray capacitance") << noStray << noStrayFile;
}

void TestResultsFile::seventeenLines()
{
    QFETCH(ResultTexts, texts);
    QFETCH(QByteArray, expected);

    const QByteArray written = WrittenFile(texts, kAfternoon);
    QCOMPARE(written, expected);
    QCOMPARE(written.count("\r\n"), 17);
    QCOMPARE(written.count('\n'), 17);
}

void TestResultsFile::firstLineHoldsDateThenTime_data()
{
    QTest::addColumn<QString>("language"); // of LC_TIME
    QTest::addColumn<QDateTime>("now");

    QTest::newRow("C") << "C" << kAfternoon;
    QTest::newRow("C, morning") << "C" << kMorning;
    QTest::newRow("de_DE: 05.03.2024") << "de_DE" << kAfternoon;
    QTest::newRow("hu_HU: 2024-03-05") << "hu_HU" << kAfternoon;
    QTest::newRow("hu_HU, morning: 09:05:03") << "hu_HU" << kMorning;
}

void TestResultsFile::firstLineHoldsDateThenTime()
{
    QFETCH(QString, language);
    QFETCH(QDateTime, now);

    QByteArray localePath;
    QByteArray name = "C";
    if (language != QStringLiteral("C")) {
        const QString unavailable = PrepareLocale(language, localeFolder_.path(), localePath);
        if (!unavailable.isEmpty())
            QSKIP(qPrintable(unavailable));
        name = (language + QStringLiteral(".UTF-8")).toLatin1();
    }
    const std::string previous = std::setlocale(LC_TIME, nullptr);
    const auto restore = qScopeGuard([&previous] { std::setlocale(LC_TIME, previous.c_str()); });
    if (!localePath.isEmpty())
        qputenv("LOCPATH", localePath);
    QVERIFY(std::setlocale(LC_TIME, name.constData()));
    qunsetenv("LOCPATH");

    // What strftime gives for the same instant; the time starts at the next
    // 14-character print zone after the date.
    const std::time_t seconds = now.toSecsSinceEpoch();
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[64];
    char time[64];
    QVERIFY(std::strftime(date, sizeof date, "%x", &local) > 0);
    QVERIFY(std::strftime(time, sizeof time, "%X", &local) > 0);
    const QString blanks(14 - qsizetype(std::strlen(date)) % 14, u' ');

    const QByteArray written = WrittenFile(kWorkedExample, now, "UTF-8");
    QCOMPARE(QString::fromUtf8(written.left(written.indexOf("\r\n"))),
             QString::fromUtf8(date) + blanks + QString::fromUtf8(time));
    QVERIFY(written.endsWith(kWorkedExampleLines));
}

void TestResultsFile::characterSet_data()
{
    QTest::addColumn<QByteArray>("codeset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    const QString oEuro = QStringLiteral("ő€");
    QTest::newRow("UTF-8") << QByteArray("UTF-8") << oEuro << QByteArray("\xC5\x91\xE2\x82\xAC");
    QTest::newRow("Latin-2: ő is 0xF5, € is ?")
        << QByteArray("ISO-8859-2") << oEuro << QByteArray("\xF5?");
    QTest::newRow("Latin-2 among plain text")
        << QByteArray("ISO-8859-2") << QStringLiteral("1,5 é€ű x") << QByteArray("1,5 \xE9?\xFB x");
    QTest::newRow("Latin-2: a character beyond 16 bits is one ?")
        << QByteArray("ISO-8859-2") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
    QTest::newRow("Latin-1: ő is ?, é is 0xE9")
        << QByteArray("ISO-8859-1") << QStringLiteral("őé") << QByteArray("?\xE9");
    QTest::newRow("ASCII of the C locale")
        << QByteArray("ANSI_X3.4-1968") << oEuro << QByteArray("??");
    QTest::newRow("unknown character set means UTF-8")
        << QByteArray("NINCS-ILYEN") << oEuro << QByteArray("\xC5\x91\xE2\x82\xAC");
    QTest::newRow("UTF-8: a lone surrogate is ?")
        << QByteArray("UTF-8") << QString(QChar(0xD800)) << QByteArray("?");
}

void TestResultsFile::characterSet()
{
    QFETCH(QByteArray, codeset);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    ResultTexts texts = kWorkedExample;
    texts[0] = text;
    QByteArray expected = kWorkedExampleFileC;
    expected.replace("= 12  pf", "= " + bytes + "  pf");
    QCOMPARE(WrittenFile(texts, kAfternoon, codeset), expected);
}

void TestResultsFile::savesUnderTheTypedName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<QString>("file");

    QTest::newRow("plain name") << "meres" << "" << "meres.txt";
    QTest::newRow("x.txt gets a second .txt") << "x.txt" << "" << "x.txt.txt";
    QTest::newRow("one blank is a name") << " " << "" << " .txt";
    QTest::newRow("blanks are not trimmed") << " a b " << "" << " a b .txt";
    QTest::newRow("Hungarian letters")
        << QStringLiteral("mérés ő") << "" << QStringLiteral("mérés ő.txt");
    QTest::newRow("dots that are no parent step") << "..x" << "" << "..x.txt";
    QTest::newRow("existing subfolder") << "sub/x" << "sub" << "sub/x.txt";
}

void TestResultsFile::savesUnderTheTypedName()
{
    QFETCH(QString, name);
    QFETCH(QString, subfolder);
    QFETCH(QString, file);

    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString adatok = program.filePath(QStringLiteral("adatok"));
    QVERIFY(QDir().mkpath(adatok + '/' + subfolder));

    const QString path = ResultsFilePath(program.path(), name);
    QCOMPARE(path, adatok + '/' + file);
    WriteResultsFile(path, kWorkedExample, kAfternoon);

    QCOMPARE(FilesUnder(adatok), QStringList{file});
    QCOMPARE(ReadAll(path), kWorkedExampleFileC);
}

void TestResultsFile::createsMissingAdatok()
{
    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString path = ResultsFilePath(program.path(), QStringLiteral("elso"));
    WriteResultsFile(path, kWorkedExample, kAfternoon);

    QCOMPARE(FilesUnder(program.path()), QStringList{QStringLiteral("adatok/elso.txt")});
    QCOMPARE(ReadAll(path), kWorkedExampleFileC);
}

void TestResultsFile::sameNameTwiceKeepsOnlyTheSecond()
{
    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString path = ResultsFilePath(program.path(), QStringLiteral("ketszer"));
    ResultTexts longer;
    longer.fill(QStringLiteral("123456789012345678901234567890"));
    WriteResultsFile(path, longer, kMorning);
    WriteResultsFile(path, kWorkedExample, kAfternoon);

    QCOMPARE(ReadAll(path), kWorkedExampleFileC);
    QCOMPARE(FilesUnder(program.path()), QStringList{QStringLiteral("adatok/ketszer.txt")});
}

void TestResultsFile::refusesNamesLeavingAdatok_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("parent step") << "../x";
    QTest::newRow("parent step alone") << "..";
    QTest::newRow("parent steps below a subfolder") << "sub/../../x";
    QTest::newRow("parent step at the end") << "sub/..";
    QTest::newRow("absolute") << "/tmp/x";
    QTest::newRow("root folder") << "/";
}

void TestResultsFile::refusesNamesLeavingAdatok()
{
    QFETCH(QString, name);

    QTemporaryDir program;
    QVERIFY(program.isValid());
    try {
        ResultsFilePath(program.path(), name);
        QFAIL("the name was accepted");
    } catch (const ResultsFileError& e) {
        QVERIFY2(e.userMessage().contains(name), qPrintable(e.userMessage()));
        QVERIFY2(e.userMessage().contains(QStringLiteral("„adatok”")), qPrintable(e.userMessage()));
    }
}

void TestResultsFile::failedSaveChangesNothing_data()
{
    QTest::addColumn<bool>("hungarian");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    const QString noPermission =
        QStringLiteral("Nincs jogosultság az íráshoz (a fájl vagy a mappája írásvédett)");
    const QString readOnly = QStringLiteral("Az adathordozó csak olvasható");
    const QString noAdatok = QStringLiteral("Az „adatok” mappa nem hozható létre: ");
    for (const bool hungarian : {false, true}) {
        const char* language = hungarian ? "hu_HU" : "C";
        QTest::addRow("%s: no permission, read-only folder, old file kept", language)
            << hungarian << Fault::ReadOnlyFolder << "regi" << noPermission;
        QTest::addRow("%s: no permission, adatok missing, program folder read-only", language)
            << hungarian << Fault::ReadOnlyProgramFolder << "regi" << noAdatok + noPermission;
        QTest::addRow("%s: read-only medium, old file kept", language)
            << hungarian << Fault::ReadOnlyMedium << "regi" << readOnly;
        QTest::addRow("%s: read-only medium, new file", language)
            << hungarian << Fault::ReadOnlyMedium << "uj" << readOnly;
        QTest::addRow("%s: read-only medium, adatok missing", language)
            << hungarian << Fault::ReadOnlyMediumWithoutAdatok << "regi" << noAdatok + readOnly;
        QTest::addRow("%s: no space, full disk, old file kept", language)
            << hungarian << Fault::FullDisk << "regi"
            << QStringLiteral("Nincs elég szabad hely az adathordozón");
        QTest::addRow("%s: name too long", language)
            << hungarian << Fault::NameTooLong << QString(300, 'a')
            << QStringLiteral("A fájl neve vagy az útvonala túl hosszú");
        QTest::addRow("%s: no such folder, missing subfolder is not created", language)
            << hungarian << Fault::MissingSubfolder << "nincs/regi"
            << QStringLiteral("A mappa nem létezik");
        QTest::addRow("%s: not a folder, adatok is a regular file", language)
            << hungarian << Fault::AdatokIsAFile << "regi"
            << QStringLiteral("Az útvonal egyik tagja nem mappa");
        QTest::addRow("%s: is a folder", language)
            << hungarian << Fault::NameIsAFolder << "mappa"
            << QStringLiteral("A név egy mappát jelöl, nem fájlt");
        QTest::addRow("%s: file too large, size limit reached while writing, old file kept",
                      language)
            << hungarian << Fault::FileSizeLimit << "regi" << QStringLiteral("A fájl túl nagy");
    }
}

void TestResultsFile::failedSaveChangesNothing()
{
    QFETCH(bool, hungarian);
    QFETCH(Fault, fault);
    QFETCH(QString, name);
    QFETCH(QString, reason);

    if (hungarian && !hungarianUnavailable_.isEmpty())
        QSKIP(qPrintable(hungarianUnavailable_));
    const MessageLanguage language(hungarian, translation_, localePath_);
    QTemporaryDir program;
    QVERIFY(program.isValid());

    // The program folder is a small medium of its own for these faults.
    std::optional<SmallMedium> medium;
    if (fault == Fault::ReadOnlyMedium || fault == Fault::ReadOnlyMediumWithoutAdatok ||
        fault == Fault::FullDisk) {
        if (const QString unavailable = EnterPrivateMountNamespace(); !unavailable.isEmpty())
            QSKIP(qPrintable(unavailable));
        medium.emplace(program.path());
        if (!medium->error().isEmpty())
            QSKIP(qPrintable(medium->error()));
    }

    const QString adatok = program.filePath(QStringLiteral("adatok"));
    const QByteArray oldContents = "an earlier save\r\n";
    const bool withoutAdatok =
        fault == Fault::ReadOnlyProgramFolder || fault == Fault::ReadOnlyMediumWithoutAdatok;
    if (fault == Fault::AdatokIsAFile) {
        WriteAll(adatok, oldContents);
    } else if (!withoutAdatok) {
        QVERIFY(QDir().mkpath(adatok + QStringLiteral("/mappa.txt")));
        WriteAll(adatok + QStringLiteral("/regi.txt"), oldContents);
    }
    if (fault == Fault::FullDisk)
        QVERIFY(medium->FillUp(program.filePath(QStringLiteral("kitolto"))));
    if (fault == Fault::ReadOnlyMedium || fault == Fault::ReadOnlyMediumWithoutAdatok) {
        const bool readOnly = medium->MakeReadOnly();
        QVERIFY2(readOnly, qPrintable(ErrnoText(errno)));
    }

    std::optional<WriteProtection> locked;
    if (fault == Fault::ReadOnlyFolder)
        locked.emplace(adatok);
    if (fault == Fault::ReadOnlyProgramFolder)
        locked.emplace(program.path());
    const auto before = Snapshot(program.path());

    const QString path = ResultsFilePath(program.path(), name);
    QString message;
    {
        // Saved as an ordinary user would, root included.
        WithoutCapabilities ordinaryUser;
        if (locked && TakesNewFiles(fault == Fault::ReadOnlyFolder ? adatok : program.path()))
            QSKIP("a folder without write permission still takes new files here");
        // The new file is over 300 bytes; the limit lets 100 of them through.
        std::optional<FileSizeLimit> limit;
        if (fault == Fault::FileSizeLimit)
            limit.emplace(100);
        try {
            WriteResultsFile(path, kWorkedExample, kAfternoon);
        } catch (const ResultsFileError& e) {
            message = e.userMessage();
        }
    }
    QCOMPARE(Snapshot(program.path()), before);

    QCOMPARE(message, SaveFailedMessage(path, reason));
}

void TestResultsFile::refusedTargetsStayAsTheyWere_data()
{
    QTest::addColumn<Trap>("trap");
    QTest::addColumn<QString>("name");

    QTest::newRow("link to a file outside adatok") << Trap::LinkToFileOutside << "kulso";
    QTest::newRow("link to /dev/null") << Trap::LinkToDevNull << "null";
    QTest::newRow("linked subfolder leading outside") << Trap::LinkedFolderOutside << "kint/x";
    QTest::newRow("link to a missing file outside adatok")
        << Trap::DanglingLinkOutside << "semmi";
    QTest::newRow("link to itself") << Trap::LinkLoop << "hurok";
    QTest::newRow("FIFO in adatok") << Trap::FifoInAdatok << "cso";
    QTest::newRow("socket in adatok") << Trap::SocketInAdatok << "aljzat";
    QTest::newRow("device in adatok") << Trap::DeviceInAdatok << "eszkoz";
}

void TestResultsFile::refusedTargetsStayAsTheyWere()
{
    QFETCH(Trap, trap);
    QFETCH(QString, name);

    QTemporaryDir program;
    QTemporaryDir outsideFolder;
    QVERIFY(program.isValid() && outsideFolder.isValid());
    const QString adatok = program.filePath(QStringLiteral("adatok"));
    QVERIFY(QDir().mkpath(adatok));
    const QString outside = QFileInfo(outsideFolder.path()).canonicalFilePath();
    const QString path = adatok + u'/' + name + QStringLiteral(".txt");

    // The name the save is given, and what lies behind it.
    QString entry = path;
    QString target;
    QString reason;
    std::optional<ProtectedDev> dev;
    switch (trap) {
    case Trap::LinkToFileOutside:
        target = outside + QStringLiteral("/sajat.txt");
        WriteAll(target, "not a results file\n");
        reason = LeadsOutside(target);
        break;
    case Trap::LinkToDevNull:
        dev.emplace();
        if (!dev->error().isEmpty())
            QSKIP(qPrintable(QStringLiteral("/dev is writable here and cannot be protected: ") +
                             dev->error()));
        target = QStringLiteral("/dev/null");
        reason = LeadsOutside(target);
        break;
    case Trap::LinkedFolderOutside:
        entry = adatok + QStringLiteral("/kint");
        target = outside;
        reason = LeadsOutside(outside + QStringLiteral("/x.txt"));
        break;
    case Trap::DanglingLinkOutside:
        target = outside + QStringLiteral("/semmi.txt");
        reason = kUnresolvedLink;
        break;
    case Trap::LinkLoop:
        target = path;
        reason = kUnresolvedLink;
        break;
    case Trap::FifoInAdatok:
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        reason = QStringLiteral("A név egy csővezetéket (FIFO) jelöl, nem közönséges fájlt");
        break;
    case Trap::SocketInAdatok:
        QVERIFY(MakeSocket(path));
        reason = QStringLiteral("A név egy socketet jelöl, nem közönséges fájlt");
        break;
    case Trap::DeviceInAdatok:
        // A node of the null device, as /dev/null is.
        if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
            QSKIP(qPrintable(QStringLiteral("making a device node needs root (CAP_MKNOD): ") +
                             ErrnoText(errno)));
        reason = QStringLiteral("A név egy eszközt jelöl, nem közönséges fájlt");
        break;
    }
    if (!target.isEmpty())
        QVERIFY(MakeLink(target, entry));

    const QStringList watched{entry, target, adatok, outside};
    QStringList before;
    for (const QString& watchedPath : watched)
        before << EntryState(watchedPath);

    QString message;
    try {
        WriteResultsFile(ResultsFilePath(program.path(), name), kWorkedExample, kAfternoon);
    } catch (const ResultsFileError& e) {
        message = e.userMessage();
    }
    QStringList after;
    for (const QString& watchedPath : watched)
        after << EntryState(watchedPath);

    QCOMPARE(after, before);
    QCOMPARE(message, SaveFailedMessage(path, reason));
}

void TestResultsFile::linksWithinAdatokAreFollowed_data()
{
    // Paths relative to the program folder; the link holds its target as
    // given, relative to the link's own folder.
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("linkTarget");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");

    QTest::newRow("link to a file in adatok")
        << "adatok/link.txt" << "cel.txt" << "link" << "adatok/cel.txt";
    QTest::newRow("linked subfolder within adatok")
        << "adatok/alias" << "valodi" << "alias/x" << "adatok/valodi/x.txt";
    QTest::newRow("adatok itself a link to a folder elsewhere")
        << "adatok" << "masik" << "x" << "masik/x.txt";
}

void TestResultsFile::linksWithinAdatokAreFollowed()
{
    QFETCH(QString, link);
    QFETCH(QString, linkTarget);
    QFETCH(QString, name);
    QFETCH(QString, written);

    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString file = program.filePath(written);
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    WriteAll(file, "an earlier save\r\n");
    const QString linkPath = program.filePath(link);
    QVERIFY(QDir().mkpath(QFileInfo(linkPath).path()));
    QVERIFY(MakeLink(linkTarget, linkPath));

    WriteResultsFile(ResultsFilePath(program.path(), name), kWorkedExample, kAfternoon);

    QCOMPARE(ReadAll(file), kWorkedExampleFileC);
    QCOMPARE(LinkContents(linkPath), linkTarget);
}

QTEST_GUILESS_MAIN(TestResultsFile)
#include "tst_resultsfile.moc"
