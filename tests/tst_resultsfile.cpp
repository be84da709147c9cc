// SPDX-License-Identifier: GPL-3.0-or-later
// The results file: where it lands, its 17 lines byte for byte, its
// character set, and saves that fail without harming what is on disk: bad
// names, read-only folders (for root too), read-only and full media, each
// with its reason in Hungarian under any locale, no descriptor and no
// temporary file left; symbolic links that lead outside "adatok" and names
// of devices, FIFOs and sockets are refused, links within "adatok" are
// followed, and a folder swapped for a link at any step of a save never
// leads it outside.

#include "ResultsFile.h"
#include "ResultsFileExpectations.h"
#include "SaveFaultFixtures.h"
#include "SaveTarget.h"

#include <QLibraryInfo>
#include <QTest>
#include <QTranslator>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

using namespace kalibrix;
using namespace kalibrix::test;

namespace {

const QDateTime kAfternoon(QDate(2024, 3, 5), QTime(14, 7, 9));
const QDateTime kMorning(QDate(2024, 11, 23), QTime(9, 5, 3));

const QByteArray kWorkedExampleLines = WorkedExampleLines('.');
// Line 1 under the C locale's LC_TIME, which the test case sets.
const QByteArray kAfternoonLineC = "03/05/24      14:07:09\r\n";
const QByteArray kWorkedExampleFileC = kAfternoonLineC + kWorkedExampleLines;

// The bytes of a results file written into a fresh program folder, in the
// named character set, or in the one of the program's environment when none
// is named.
QByteArray WrittenFile(const ResultTexts& texts, const QDateTime& now,
                       const QByteArray& codeset = {})
{
    QTemporaryDir program;
    if (!program.isValid())
        return "<no temporary folder>";
    const QString path = program.filePath(QStringLiteral("meres.txt"));
    if (codeset.isEmpty())
        WriteTextFile(path, ResultsFileText(texts, now));
    else
        WriteTextFile(path, ResultsFileText(texts, now), codeset);
    return ReadAll(path);
}

// What stands in the program's folder, and where the save must land.
enum class ProgramFolder { Writable, ReadOnly };
enum class Adatok { Missing, WritableFolder, ReadOnlyFolder, RegularFile };
enum class Lands { BesideProgram, InXdgDataHome, InHomeLocalShare };

// Sets (or, for a null value, unsets) an environment variable for the
// object's lifetime.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const QString& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(value));
    }
    ~EnvironmentVariable()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

} // namespace

Q_DECLARE_METATYPE(ResultTexts)
Q_DECLARE_METATYPE(ProgramFolder)
Q_DECLARE_METATYPE(Adatok)
Q_DECLARE_METATYPE(Lands)

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
    void sameNameTwiceKeepsOnlyTheSecondWithTheFirstsPermissions();
    void refusesNamesLeavingAdatok_data();
    void refusesNamesLeavingAdatok();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void refusedTargetsStayAsTheyWere_data();
    void refusedTargetsStayAsTheyWere();
    void linksWithinAdatokAreFollowed_data();
    void linksWithinAdatokAreFollowed();
    void swappedFolderNeverLeadsOutside_data();
    void swappedFolderNeverLeadsOutside();
    void faultsAroundTheRename_data();
    void faultsAroundTheRename();
    void savesWhereThisProcessCanWrite_data();
    void savesWhereThisProcessCanWrite();

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

// clang-format off
void TestResultsFile::seventeenLines_data()
{
    QTest::addColumn<ResultTexts>("texts");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("C locale, worked example") << kWorkedExample << kWorkedExampleFileC;
    QTest::newRow("Hungarian, worked example with commas in lines 8 to 17") << kWorkedExampleHungarian << kAfternoonLineC + WorkedExampleLines(',');

    ResultTexts noStray = kWorkedExample;
    noStray[2].clear();
    QByteArray noStrayFile = kWorkedExampleFileC;
    noStrayFile.replace("= 10  pf", "=   pf");
    QTest::newRow("empty stray capacitance") << noStray << noStrayFile;
}
// clang-format on

void TestResultsFile::seventeenLines()
{
    QFETCH(ResultTexts, texts);
    QFETCH(QByteArray, expected);

    const QByteArray written = WrittenFile(texts, kAfternoon);
    QCOMPARE(written, expected);
    QCOMPARE(written.count("\r\n"), 17);
    QCOMPARE(written.count('\n'), 17);
}

// clang-format off
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
// clang-format on

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

// clang-format off
void TestResultsFile::characterSet_data()
{
    QTest::addColumn<QByteArray>("codeset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    const QString oEuro = QStringLiteral("ő€");
    QTest::newRow("UTF-8") << QByteArray("UTF-8") << oEuro << QByteArray("\xC5\x91\xE2\x82\xAC");
    QTest::newRow("Latin-2: ő is 0xF5, € is ?") << QByteArray("ISO-8859-2") << oEuro << QByteArray("\xF5?");
    QTest::newRow("Latin-2 among plain text") << QByteArray("ISO-8859-2") << QStringLiteral("1,5 é€ű x") << QByteArray("1,5 \xE9?\xFB x");
    QTest::newRow("Latin-2: a character beyond 16 bits is one ?") << QByteArray("ISO-8859-2") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
    QTest::newRow("Latin-1: ő is ?, é is 0xE9") << QByteArray("ISO-8859-1") << QStringLiteral("őé") << QByteArray("?\xE9");
    QTest::newRow("ASCII of the C locale") << QByteArray("ANSI_X3.4-1968") << oEuro << QByteArray("??");
    QTest::newRow("unknown character set means UTF-8") << QByteArray("NINCS-ILYEN") << oEuro << QByteArray("\xC5\x91\xE2\x82\xAC");
    QTest::newRow("UTF-8: a lone surrogate is ?") << QByteArray("UTF-8") << QString(QChar(0xD800)) << QByteArray("?");
}
// clang-format on

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

// clang-format off
void TestResultsFile::savesUnderTheTypedName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<QString>("file");

    QTest::newRow("plain name") << "meres" << "" << "meres.txt";
    QTest::newRow("x.txt gets a second .txt") << "x.txt" << "" << "x.txt.txt";
    QTest::newRow("one blank is a name") << " " << "" << " .txt";
    QTest::newRow("blanks are not trimmed") << " a b " << "" << " a b .txt";
    QTest::newRow("Hungarian letters") << QStringLiteral("mérés ő") << "" << QStringLiteral("mérés ő.txt");
    QTest::newRow("dots that are no parent step") << "..x" << "" << "..x.txt";
    QTest::newRow("existing subfolder") << "sub/x" << "sub" << "sub/x.txt";
}
// clang-format on

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
    SaveTextFile(program.path(), name, ResultsFileText(kWorkedExample, kAfternoon));

    QCOMPARE(FilesUnder(adatok), QStringList{file});
    QCOMPARE(ReadAll(path), kWorkedExampleFileC);
}

void TestResultsFile::createsMissingAdatok()
{
    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString path = ResultsFilePath(program.path(), QStringLiteral("elso"));
    SaveTextFile(program.path(), QStringLiteral("elso"),
                 ResultsFileText(kWorkedExample, kAfternoon));

    QCOMPARE(FilesUnder(program.path()), QStringList{QStringLiteral("adatok/elso.txt")});
    QCOMPARE(ReadAll(path), kWorkedExampleFileC);
}

void TestResultsFile::sameNameTwiceKeepsOnlyTheSecondWithTheFirstsPermissions()
{
    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString path = ResultsFilePath(program.path(), QStringLiteral("ketszer"));
    ResultTexts longer;
    longer.fill(QStringLiteral("123456789012345678901234567890"));
    SaveTextFile(program.path(), QStringLiteral("ketszer"), ResultsFileText(longer, kMorning));
    // The second file keeps the first one's permission bits, not its
    // set-user-ID, set-group-ID or sticky bit.
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 07750) == 0);
    SaveTextFile(program.path(), QStringLiteral("ketszer"),
                 ResultsFileText(kWorkedExample, kAfternoon));

    QCOMPARE(ReadAll(path), kWorkedExampleFileC);
    QCOMPARE(FilesUnder(program.path()), QStringList{QStringLiteral("adatok/ketszer.txt")});
    struct stat saved {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &saved) == 0);
    QCOMPARE(saved.st_mode & 07777, mode_t(0750));
}

// clang-format off
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
// clang-format on

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

// clang-format off
void TestResultsFile::failedSaveChangesNothing_data()
{
    QTest::addColumn<bool>("hungarian");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    const QString noPermission =
        QStringLiteral("nincs jogosultság az íráshoz (a fájl vagy a mappája írásvédett)");
    const QString readOnly = QStringLiteral("az adathordozó csak olvasható");
    const QString noAdatok = QStringLiteral("az „adatok” mappa nem hozható létre: ");
    const QString noFolder = QStringLiteral("a mappa nem létezik");
    for (const bool hungarian : {false, true}) {
        const char* language = hungarian ? "hu_HU" : "C";
        QTest::addRow("%s: no permission, read-only folder, old file kept", language) << hungarian << Fault::ReadOnlyFolder << "regi" << noPermission;
        QTest::addRow("%s: no permission, adatok missing, program folder read-only", language) << hungarian << Fault::ReadOnlyProgramFolder << "regi" << noAdatok + noPermission;
        QTest::addRow("%s: read-only medium, old file kept", language) << hungarian << Fault::ReadOnlyMedium << "regi" << readOnly;
        QTest::addRow("%s: read-only medium, new file", language) << hungarian << Fault::ReadOnlyMedium << "uj" << readOnly;
        QTest::addRow("%s: read-only medium, adatok missing", language) << hungarian << Fault::ReadOnlyMediumWithoutAdatok << "regi" << noAdatok + readOnly;
        QTest::addRow("%s: no space, full disk, old file kept", language) << hungarian << Fault::FullDisk << "regi" << QStringLiteral("nincs elég szabad hely az adathordozón");
        QTest::addRow("%s: name too long", language) << hungarian << Fault::NameTooLong << QString(300, 'a') << QStringLiteral("a fájl neve vagy az útvonala túl hosszú");
        QTest::addRow("%s: no such folder, missing subfolder is not created", language) << hungarian << Fault::MissingSubfolder << "nincs/regi" << noFolder;
        QTest::addRow("%s: adatok/x names a subfolder of adatok, not adatok itself", language) << hungarian << Fault::MissingSubfolder << "adatok/regi" << noFolder;
        QTest::addRow("%s: adatok a link to a missing folder", language) << hungarian << Fault::DanglingAdatokLink << "regi" << QStringLiteral("az „adatok” mappa helyén egy szimbolikus link áll, amelynek a célja nem létezik");
        QTest::addRow("%s: append-only folder, old file kept, no temporary file left", language) << hungarian << Fault::AppendOnlyFolder << "regi" << QStringLiteral("a mappa csak bővíthető (append-only): benne fájl nem cserélhető és nem nevezhető át");
        QTest::addRow("%s: every temporary name taken, tries bounded", language) << hungarian << Fault::TemporaryNameAlwaysTaken << "regi" << QStringLiteral("a mappában nem akadt szabad név az ideiglenes fájlnak");
        QTest::addRow("%s: a write of 0 bytes ends the save", language) << hungarian << Fault::WriteOfNothing << "regi" << QStringLiteral("az adathordozó nem fogadott el több adatot (az írás egy bájtot sem vitt át)");
        QTest::addRow("%s: an error number outside the table named in Hungarian", language) << hungarian << Fault::ErrorOutsideTheTable << "regi" << QStringLiteral("ismeretlen rendszerhiba (hibakód: %1)").arg(EBADMSG);
        QTest::addRow("%s: not a folder, adatok is a regular file", language) << hungarian << Fault::AdatokIsAFile << "regi" << QStringLiteral("az útvonal egyik tagja nem mappa");
        QTest::addRow("%s: is a folder", language) << hungarian << Fault::NameIsAFolder << "mappa" << QStringLiteral("a név egy mappát jelöl, nem fájlt");
        QTest::addRow("%s: file too large, size limit reached while writing, old file kept", language) << hungarian << Fault::FileSizeLimit << "regi" << QStringLiteral("a fájl túl nagy");
    }
}
// clang-format on

void TestResultsFile::failedSaveChangesNothing()
{
    QFETCH(bool, hungarian);
    QFETCH(Fault, fault);
    QFETCH(QString, name);
    QFETCH(QString, reason);

    if (hungarian && !hungarianUnavailable_.isEmpty())
        QSKIP(qPrintable(hungarianUnavailable_));
    const MessageLanguage language(hungarian, translation_, localePath_);
    // The program's folder is also the user's data folder for Kalibrix, so
    // the save meets the fault there whichever of the two it chooses.
    QTemporaryDir dataHome;
    QVERIFY(dataHome.isValid() && QDir(dataHome.path()).mkdir(QStringLiteral("kalibrix")));
    const EnvironmentVariable xdgVariable("XDG_DATA_HOME", dataHome.path());
    const QDir program(dataHome.filePath(QStringLiteral("kalibrix")));

    // The program folder is a small medium of its own for these faults.
    std::optional<SmallMedium> medium;
    if (fault == Fault::ReadOnlyMedium || fault == Fault::ReadOnlyMediumWithoutAdatok
        || fault == Fault::FullDisk) {
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
    } else if (fault == Fault::DanglingAdatokLink) {
        QVERIFY(MakeLink(QStringLiteral("nincs-ilyen"), adatok));
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
    std::optional<AppendOnly> appendOnly;
    if (fault == Fault::AppendOnlyFolder) {
        appendOnly.emplace(adatok);
        if (!appendOnly->error().isEmpty())
            QSKIP(qPrintable(appendOnly->error()));
    }
    std::optional<StepHook> hook;
    const auto inject = [&hook](SaveStep at, int error) {
        hook.emplace([at, error](SaveStep step) { return step == at ? error : 0; });
    };
    if (fault == Fault::TemporaryNameAlwaysTaken)
        inject(SaveStep::CreateTemporary, EEXIST);
    if (fault == Fault::WriteOfNothing)
        inject(SaveStep::Write, kNothingWritten);
    if (fault == Fault::ErrorOutsideTheTable)
        inject(SaveStep::SyncFile, EBADMSG);
    const auto before = Snapshot(program.path());
    const qsizetype descriptors = OpenDescriptors();

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
            SaveTextFile(program.path(), name, ResultsFileText(kWorkedExample, kAfternoon));
        } catch (const ResultsFileError& e) {
            message = e.userMessage();
        }
    }
    QCOMPARE(Snapshot(program.path()), before);
    QCOMPARE(OpenDescriptors(), descriptors);

    QCOMPARE(message, SaveFailedMessage(path, reason));
}

// clang-format off
void TestResultsFile::refusedTargetsStayAsTheyWere_data()
{
    QTest::addColumn<Trap>("trap");
    QTest::addColumn<QString>("name");

    QTest::newRow("link to a file outside adatok") << Trap::LinkToFileOutside << "kulso";
    QTest::newRow("link to /dev/null") << Trap::LinkToDevNull << "null";
    QTest::newRow("linked subfolder leading outside") << Trap::LinkedFolderOutside << "kint/x";
    QTest::newRow("link to a missing file outside adatok") << Trap::DanglingLinkOutside << "semmi";
    QTest::newRow("link to itself") << Trap::LinkLoop << "hurok";
    QTest::newRow("link put in between the check and the write")
        << Trap::LinkSwappedInAfterCheck << "csere";
    QTest::newRow("FIFO in adatok") << Trap::FifoInAdatok << "cso";
    QTest::newRow("socket in adatok") << Trap::SocketInAdatok << "aljzat";
    QTest::newRow("device in adatok") << Trap::DeviceInAdatok << "eszkoz";
}
// clang-format on

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
    std::optional<StepHook> swap;
    QStringList swappedIn; // what the watched entries are right after the swap
    switch (trap) {
    case Trap::LinkToFileOutside:
        target = outside + QStringLiteral("/sajat.txt");
        WriteAll(target, "not a results file\n");
        reason = LeadsOutside(target);
        break;
    case Trap::LinkToDevNull:
        dev.emplace();
        if (!dev->error().isEmpty())
            QSKIP(qPrintable(QStringLiteral("/dev is writable here and cannot be protected: ")
                             + dev->error()));
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
    case Trap::LinkSwappedInAfterCheck:
        // The name is free at the look-up; the link comes right after it.
        target = outside + QStringLiteral("/sajat.txt");
        WriteAll(target, "not a results file\n");
        swap.emplace([target, entry, adatok, outside, &swappedIn](SaveStep step) {
            if (step == SaveStep::CreateTemporary && swappedIn.isEmpty() && MakeLink(target, entry))
                for (const QString& watchedPath : {entry, target, adatok, outside})
                    swappedIn << EntryState(watchedPath);
            return 0;
        });
        reason = QStringLiteral("mentés közben valami más került erre a névre");
        break;
    case Trap::FifoInAdatok:
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        reason = QStringLiteral("a név egy csővezetéket (FIFO) jelöl, nem közönséges fájlt");
        break;
    case Trap::SocketInAdatok:
        QVERIFY(MakeSocket(path));
        reason = QStringLiteral("a név egy socketet jelöl, nem közönséges fájlt");
        break;
    case Trap::DeviceInAdatok:
        // A node of the null device, as /dev/null is.
        if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
            QSKIP(qPrintable(QStringLiteral("making a device node needs root (CAP_MKNOD): ")
                             + ErrnoText(errno)));
        reason = QStringLiteral("a név egy eszközt jelöl, nem közönséges fájlt");
        break;
    }
    if (!target.isEmpty() && !swap)
        QVERIFY(MakeLink(target, entry));

    const QStringList watched{entry, target, adatok, outside};
    QStringList before;
    for (const QString& watchedPath : watched)
        before << EntryState(watchedPath);

    const qsizetype descriptors = OpenDescriptors();
    QString message;
    try {
        SaveTextFile(program.path(), name, ResultsFileText(kWorkedExample, kAfternoon));
    } catch (const ResultsFileError& e) {
        message = e.userMessage();
    }
    QCOMPARE(OpenDescriptors(), descriptors);
    if (swap)
        before = swappedIn;
    QStringList after;
    for (const QString& watchedPath : watched)
        after << EntryState(watchedPath);

    QCOMPARE(after, before);
    QCOMPARE(message, SaveFailedMessage(path, reason));
}

// clang-format off
void TestResultsFile::linksWithinAdatokAreFollowed_data()
{
    // Paths relative to the program folder; the link holds its target as
    // given, relative to the link's own folder, or, when it starts with "/",
    // below the real program folder.
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("linkTarget");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");

    QTest::newRow("link to a file in adatok") << "adatok/link.txt" << "cel.txt" << "link" << "adatok/cel.txt";
    QTest::newRow("linked subfolder within adatok") << "adatok/alias" << "valodi" << "alias/x" << "adatok/valodi/x.txt";
    QTest::newRow("adatok itself a link to a folder elsewhere") << "adatok" << "masik" << "x" << "masik/x.txt";
    QTest::newRow("absolute link to a file in adatok") << "adatok/abs.txt" << "/adatok/cel.txt" << "abs" << "adatok/cel.txt";
    QTest::newRow("absolute link to a subfolder in adatok") << "adatok/absalias" << "/adatok/valodi" << "absalias/x" << "adatok/valodi/x.txt";
}
// clang-format on

void TestResultsFile::linksWithinAdatokAreFollowed()
{
    QFETCH(QString, link);
    QFETCH(QString, linkTarget);
    QFETCH(QString, name);
    QFETCH(QString, written);

    QTemporaryDir program;
    QVERIFY(program.isValid());
    if (linkTarget.startsWith(u'/'))
        linkTarget.prepend(QFileInfo(program.path()).canonicalFilePath());
    const QString file = program.filePath(written);
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    WriteAll(file, "an earlier save\r\n");
    const QString linkPath = program.filePath(link);
    QVERIFY(QDir().mkpath(QFileInfo(linkPath).path()));
    QVERIFY(MakeLink(linkTarget, linkPath));

    SaveTextFile(program.path(), name, ResultsFileText(kWorkedExample, kAfternoon));

    QCOMPARE(ReadAll(file), kWorkedExampleFileC);
    QCOMPARE(LinkContents(linkPath), linkTarget);
}

// clang-format off
void TestResultsFile::swappedFolderNeverLeadsOutside_data()
{
    // A save of "sub/deep/x" while `swapped` (relative to the program
    // folder) is moved aside and a link to a folder outside takes its name,
    // just before `step`; with `walk`, as on a kernel without openat2.
    QTest::addColumn<QString>("swapped");
    QTest::addColumn<SaveStep>("step");
    QTest::addColumn<bool>("walk");

    const std::pair<SaveStep, const char*> steps[] = {
        {SaveStep::OpenFolder, "opening adatok"}, {SaveStep::OpenFileFolder, "opening the file's folder"},
        {SaveStep::LookUpName, "looking up the name"}, {SaveStep::CreateTemporary, "creating the temporary file"},
        {SaveStep::Write, "writing"}, {SaveStep::SyncFile, "syncing the file"},
        {SaveStep::Rename, "renaming"}, {SaveStep::SyncFolder, "syncing the folder"}};
    for (const bool walk : {false, true}) {
        for (const auto& [step, name] : steps) {
            const char* how = walk ? "walk" : "openat2";
            QTest::addRow("%s: adatok/sub swapped before %s", how, name) << "adatok/sub" << step << walk;
            QTest::addRow("%s: adatok swapped before %s", how, name) << "adatok" << step << walk;
        }
    }
}
// clang-format on

void TestResultsFile::swappedFolderNeverLeadsOutside()
{
    QFETCH(QString, swapped);
    QFETCH(SaveStep, step);
    QFETCH(bool, walk);

    QTemporaryDir program;
    QTemporaryDir outsideFolder;
    QVERIFY(program.isValid() && outsideFolder.isValid());
    const QString outside = QFileInfo(outsideFolder.path()).canonicalFilePath();
    // Both places hold an earlier sub/deep/x.txt, so that a save led
    // outside would replace a file there.
    const QString inFile = QStringLiteral("/sub/deep/x.txt");
    const QString outFile =
        swapped.endsWith(QStringLiteral("sub")) ? QStringLiteral("/deep/x.txt") : inFile;
    for (const QString& file :
         {program.filePath(QStringLiteral("adatok")) + inFile, outside + outFile}) {
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        WriteAll(file, "an earlier save\r\n");
    }
    const QString swappedPath = program.filePath(swapped);
    const QString moved = swappedPath + QStringLiteral(".regi");
    const StepHook hook([&](SaveStep now) {
        if (now == step && !QFileInfo::exists(moved)) {
            QDir().rename(swappedPath, moved);
            MakeLink(outside, swappedPath);
        }
        return walk && now == SaveStep::OpenFileFolder ? ENOSYS : 0;
    });
    const auto outsideBefore = Snapshot(outside);
    const qsizetype descriptors = OpenDescriptors();
    const QString path = ResultsFilePath(program.path(), QStringLiteral("sub/deep/x"));

    QString message;
    try {
        SaveTextFile(program.path(), QStringLiteral("sub/deep/x"),
                     ResultsFileText(kWorkedExample, kAfternoon));
    } catch (const ResultsFileError& e) {
        message = e.userMessage();
    }
    QVERIFY2(QFileInfo(moved).isDir(), "the swap was made");
    QCOMPARE(OpenDescriptors(), descriptors);
    const QString movedAdatok =
        swapped == QStringLiteral("adatok") ? moved : program.filePath(QStringLiteral("adatok"));
    const QString checkedFolder = swapped == QStringLiteral("adatok")
                                      ? movedAdatok + inFile
                                      : moved + QStringLiteral("/deep/x.txt");
    for (const QString& root : {program.path(), outside})
        QVERIFY2(!FilesUnder(root).join(u',').contains(QStringLiteral(".kalibrix-")),
                 qPrintable(FilesUnder(root).join(u',')));

    if (step == SaveStep::OpenFolder && swapped == QStringLiteral("adatok")) {
        // adatok was a link when the save opened it: the user's own kind of
        // folder, and the only one written.
        QCOMPARE(message, QString());
        QCOMPARE(ReadAll(outside + inFile), kWorkedExampleFileC);
        QCOMPARE(ReadAll(movedAdatok + inFile), QByteArray("an earlier save\r\n"));
        return;
    }
    QCOMPARE(Snapshot(outside), outsideBefore);
    if (swapped != QStringLiteral("adatok") && step <= SaveStep::OpenFileFolder) {
        QCOMPARE(message,
                 SaveFailedMessage(path, LeadsOutside(outside + QStringLiteral("/deep/x.txt"))));
        QCOMPARE(ReadAll(checkedFolder), QByteArray("an earlier save\r\n"));
    } else {
        QCOMPARE(message, QString());
        QCOMPARE(ReadAll(checkedFolder), kWorkedExampleFileC);
    }
}

// clang-format off
void TestResultsFile::faultsAroundTheRename_data()
{
    QTest::addColumn<SaveStep>("step"); // that fails with EIO
    QTest::addColumn<bool>("removalFails"); // of the temporary file, with EPERM
    QTest::addColumn<QString>("message"); // %1: the file
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("leftovers");

    const QString io = QStringLiteral("hiba történt az adathordozó írása vagy olvasása közben");
    QTest::newRow("folder sync fails after the rename: the message says the new file is in place") << SaveStep::SyncFolder << false << QStringLiteral("Az új fájl a helyére került, de a mappáját nem sikerült az adathordozóra írni, ezért egy áramszünet után a régi fájl térhet vissza.\nFájl: %1\nOka: ") + io << kWorkedExampleFileC << 0;
    QTest::newRow("rename fails and its temporary file cannot be removed: the next save removes it") << SaveStep::Rename << true << SaveFailedMessage(QStringLiteral("%1"), io) << QByteArray("an earlier save\r\n") << 1;
}
// clang-format on

void TestResultsFile::faultsAroundTheRename()
{
    QFETCH(SaveStep, step);
    QFETCH(bool, removalFails);
    QFETCH(QString, message);
    QFETCH(QByteArray, contents);
    QFETCH(int, leftovers);

    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString adatok = program.filePath(QStringLiteral("adatok"));
    QVERIFY(QDir().mkpath(adatok));
    const QString path = ResultsFilePath(program.path(), QStringLiteral("regi"));
    WriteAll(path, "an earlier save\r\n");
    const QStringList lines = ResultsFileText(kWorkedExample, kAfternoon);
    {
        const StepHook hook([&](SaveStep now) {
            return now == step ? EIO : now == SaveStep::RemoveTemporary && removalFails ? EPERM : 0;
        });
        try {
            SaveTextFile(program.path(), QStringLiteral("regi"), lines);
            QFAIL("the save reported no fault");
        } catch (const ResultsFileError& e) {
            QCOMPARE(e.userMessage(), message.arg(path));
        }
    }
    QCOMPARE(ReadAll(path), contents);
    QCOMPARE(FilesUnder(adatok).size(), 1 + leftovers);

    SaveTextFile(program.path(), QStringLiteral("regi"), lines);
    QCOMPARE(FilesUnder(adatok), QStringList{QStringLiteral("regi.txt")});
}

// clang-format off
void TestResultsFile::savesWhereThisProcessCanWrite_data()
{
    QTest::addColumn<ProgramFolder>("programFolder");
    QTest::addColumn<Adatok>("adatok");
    // Null: unset; "<xdg>": a temporary folder of its own.
    QTest::addColumn<QString>("xdgDataHome");
    QTest::addColumn<Lands>("lands");

    const QString xdg = QStringLiteral("<xdg>");
    QTest::newRow("build folder, adatok not made yet") << ProgramFolder::Writable << Adatok::Missing << xdg << Lands::BesideProgram;
    QTest::newRow("install in the home folder, adatok there") << ProgramFolder::Writable << Adatok::WritableFolder << xdg << Lands::BesideProgram;
    QTest::newRow("read-only program folder, writable adatok in it") << ProgramFolder::ReadOnly << Adatok::WritableFolder << xdg << Lands::BesideProgram;
    QTest::newRow("/usr/bin, XDG_DATA_HOME set") << ProgramFolder::ReadOnly << Adatok::Missing << xdg << Lands::InXdgDataHome;
    QTest::newRow("/usr/bin, XDG_DATA_HOME unset") << ProgramFolder::ReadOnly << Adatok::Missing << QString() << Lands::InHomeLocalShare;
    QTest::newRow("/usr/bin, XDG_DATA_HOME empty") << ProgramFolder::ReadOnly << Adatok::Missing << "" << Lands::InHomeLocalShare;
    QTest::newRow("/usr/bin, XDG_DATA_HOME relative, so ignored") << ProgramFolder::ReadOnly << Adatok::Missing << "adatok-itt" << Lands::InHomeLocalShare;
    QTest::newRow("writable program folder, read-only adatok") << ProgramFolder::Writable << Adatok::ReadOnlyFolder << xdg << Lands::InXdgDataHome;
    QTest::newRow("writable program folder, adatok a regular file") << ProgramFolder::Writable << Adatok::RegularFile << xdg << Lands::InXdgDataHome;
}
// clang-format on

// The folder the program saves in, and the save itself landing there whole,
// the missing folders of the user's data folder created on the way.
void TestResultsFile::savesWhereThisProcessCanWrite()
{
    QFETCH(ProgramFolder, programFolder);
    QFETCH(Adatok, adatok);
    QFETCH(QString, xdgDataHome);
    QFETCH(Lands, lands);

    QTemporaryDir program;
    QTemporaryDir home;
    QTemporaryDir dataHome;
    QVERIFY(program.isValid() && home.isValid() && dataHome.isValid());
    const QString besideProgram = program.filePath(QStringLiteral("adatok"));
    if (adatok == Adatok::RegularFile)
        WriteAll(besideProgram, "not a folder\r\n");
    else if (adatok != Adatok::Missing)
        QVERIFY(QDir().mkdir(besideProgram));
    const EnvironmentVariable homeVariable("HOME", home.path());
    const EnvironmentVariable xdgVariable(
        "XDG_DATA_HOME", xdgDataHome == QStringLiteral("<xdg>") ? dataHome.path() : xdgDataHome);
    std::optional<WriteProtection> locked;
    if (programFolder == ProgramFolder::ReadOnly)
        locked.emplace(program.path());
    if (adatok == Adatok::ReadOnlyFolder)
        locked.emplace(besideProgram);

    const QString expected = lands == Lands::BesideProgram ? besideProgram
                             : lands == Lands::InXdgDataHome
                                 ? dataHome.filePath(QStringLiteral("kalibrix/adatok"))
                                 : home.filePath(QStringLiteral(".local/share/kalibrix/adatok"));
    const QStringList lines = ResultsFileText(kWorkedExample, kAfternoon);
    {
        // Decided and saved as an ordinary user would, root included.
        WithoutCapabilities ordinaryUser;
        if (locked
            && TakesNewFiles(adatok == Adatok::ReadOnlyFolder ? besideProgram : program.path()))
            QSKIP("a folder without write permission still takes new files here");
        QCOMPARE(ResultsFolder(program.path()), expected);
        SaveTextFile(program.path(), QStringLiteral("meres"), lines);
    }
    QCOMPARE(ReadAll(expected + QStringLiteral("/meres.txt")), kWorkedExampleFileC);
}

QTEST_GUILESS_MAIN(TestResultsFile)
#include "tst_resultsfile.moc"
