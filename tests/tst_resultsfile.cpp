// The results file: where it lands, its 17 lines byte for byte, its
// character set, and saves that fail without harming what is on disk.

#include "ResultsFile.h"

#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <optional>

using namespace kalibrix;

namespace {

// The worked example as the window shows it. Inputs carry the typed point
// under every locale; the results carry the locale's separator.
const ResultTexts kWorkedExample{"12",     "500",   "10",    "0.52",   "1.62",  "0.455",
                                 "172.18", "34.06", "51.23", "99.91",  "273.55", "25.01",
                                 "0.681",  "1.459", "70217.63", "-74580.2"};
const ResultTexts kWorkedExampleHungarian{"12",     "500",   "10",    "0.52",   "1.62",  "0.455",
                                          "172,18", "34,06", "51,23", "99,91",  "273,55", "25,01",
                                          "0,681",  "1,459", "70217,63", "-74580,2"};

const QDateTime kAfternoon(QDate(2024, 3, 5), QTime(14, 7, 9));
const QDateTime kMorning(QDate(2024, 11, 23), QTime(9, 5, 3));

const QByteArray kWorkedExampleLines = "C_min      = 12  pf\r\n"
                                       "C_max      = 500  pf\r\n"
                                       "C_sz       = 10  pf\r\n"
                                       "f_min      = 0.52  MHz\r\n"
                                       "f_max      = 1.62  MHz\r\n"
                                       "f_kf       = 0.455  MHz\r\n"
                                       "L_b        = 172.18  uH\r\n"
                                       "C_tb       = 34.06  pf\r\n"
                                       "L_o        = 51.23  uH\r\n"
                                       "C_to       = 99.91  pf\r\n"
                                       "C_hp1      = 273.55  pf\r\n"
                                       "C_hp2      = 25.01  pf\r\n"
                                       "f_h1       = 0.681  MHz\r\n"
                                       "f_h2       = 1.459  MHz\r\n"
                                       "f_max_elt  = 70217.63  Hz\r\n"
                                       "f_max_elt  = -74580.2  Hz\r\n";
const QByteArray kWorkedExampleFileC = "5 Mar 2024    14:07:09\r\n" + kWorkedExampleLines;

const QLocale kHungarian(QLocale::Hungarian, QLocale::Hungary);

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
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

enum class Fault {
    AdatokIsAFile,
    MissingSubfolder,
    NameTooLong,
    NameIsAFolder,
    ReadOnlyFolder,
    ReadOnlyProgramFolder,
    DiskFull
};

} // namespace

Q_DECLARE_METATYPE(ResultTexts)
Q_DECLARE_METATYPE(Fault)

class TestResultsFile : public QObject {
    Q_OBJECT

private slots:
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
};

void TestResultsFile::seventeenLines_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<ResultTexts>("texts");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("C locale, worked example")
        << QLocale::c() << kWorkedExample << kWorkedExampleFileC;
    QTest::newRow("Hungarian, worked example with commas in lines 8 to 17")
        << kHungarian << kWorkedExampleHungarian
        << QByteArray("2024. 03. 05. 14:07:09\r\n"
                      "C_min      = 12  pf\r\n"
                      "C_max      = 500  pf\r\n"
                      "C_sz       = 10  pf\r\n"
                      "f_min      = 0.52  MHz\r\n"
                      "f_max      = 1.62  MHz\r\n"
                      "f_kf       = 0.455  MHz\r\n"
                      "L_b        = 172,18  uH\r\n"
                      "C_tb       = 34,06  pf\r\n"
                      "L_o        = 51,23  uH\r\n"
                      "C_to       = 99,91  pf\r\n"
                      "C_hp1      = 273,55  pf\r\n"
                      "C_hp2      = 25,01  pf\r\n"
                      "f_h1       = 0,681  MHz\r\n"
                      "f_h2       = 1,459  MHz\r\n"
                      "f_max_elt  = 70217,63  Hz\r\n"
                      "f_max_elt  = -74580,2  Hz\r\n");

    ResultTexts noStray = kWorkedExample;
    noStray[2].clear();
    QByteArray noStrayFile = kWorkedExampleFileC;
    noStrayFile.replace("C_sz       = 10  pf", "C_sz       =   pf");
    QTest::newRow("empty stray capacitance") << QLocale::c() << noStray << noStrayFile;
}

void TestResultsFile::seventeenLines()
{
    QFETCH(QLocale, locale);
    QFETCH(ResultTexts, texts);
    QFETCH(QByteArray, expected);

    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString path = ResultsFilePath(program.path(), QStringLiteral("meres"));
    WriteResultsFile(path, texts, kAfternoon, locale);

    const QByteArray written = ReadAll(path);
    QCOMPARE(written, expected);
    QCOMPARE(written.count("\r\n"), 17);
    QCOMPARE(written.count('\n'), 17);
}

void TestResultsFile::firstLineHoldsDateThenTime_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("expected");

    // The time starts at the next 14-character print zone after the date.
    QTest::newRow("C") << QLocale::c() << kAfternoon << "5 Mar 2024    14:07:09";
    QTest::newRow("C, morning") << QLocale::c() << kMorning << "23 Nov 2024   09:05:03";
    QTest::newRow("Hungarian") << kHungarian << kAfternoon << "2024. 03. 05. 14:07:09";
    QTest::newRow("Hungarian, morning") << kHungarian << kMorning << "2024. 11. 23. 9:05:03";
    QTest::newRow("English US, 12-hour, zone dropped")
        << QLocale(QLocale::English, QLocale::UnitedStates) << kAfternoon
        << "3/5/24        2:07:09 PM";
    QTest::newRow("Croatian, zone in brackets dropped")
        << QLocale(QLocale::Croatian, QLocale::Croatia) << kAfternoon << "05. 03. 2024. 14:07:09";
    QTest::newRow("Belarusian, zone after a comma dropped")
        << QLocale(QLocale::Belarusian, QLocale::Belarus) << kAfternoon << "5.03.24       14:07:09";
    QTest::newRow("Chinese (Singapore), zone in front dropped")
        << QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::Singapore)
        << kAfternoon << QStringLiteral("05/03/24      下午2:07:09");
}

void TestResultsFile::firstLineHoldsDateThenTime()
{
    QFETCH(QLocale, locale);
    QFETCH(QDateTime, now);
    QFETCH(QString, expected);

    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString path = ResultsFilePath(program.path(), QStringLiteral("ido"));
    WriteResultsFile(path, kWorkedExample, now, locale, "UTF-8");

    const QByteArray written = ReadAll(path);
    QCOMPARE(QString::fromUtf8(written.left(written.indexOf("\r\n"))), expected);
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

    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString path = ResultsFilePath(program.path(), QStringLiteral("kod"));
    ResultTexts texts = kWorkedExample;
    texts[0] = text;
    WriteResultsFile(path, texts, kAfternoon, QLocale::c(), codeset);

    QByteArray expected = kWorkedExampleFileC;
    expected.replace("C_min      = 12  pf", "C_min      = " + bytes + "  pf");
    QCOMPARE(ReadAll(path), expected);
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
    WriteResultsFile(path, kWorkedExample, kAfternoon, QLocale::c());

    QCOMPARE(FilesUnder(adatok), QStringList{file});
    QCOMPARE(ReadAll(path), kWorkedExampleFileC);
}

void TestResultsFile::createsMissingAdatok()
{
    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString path = ResultsFilePath(program.path(), QStringLiteral("elso"));
    WriteResultsFile(path, kWorkedExample, kAfternoon, QLocale::c());

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
    WriteResultsFile(path, longer, kMorning, kHungarian);
    WriteResultsFile(path, kWorkedExample, kAfternoon, QLocale::c());

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
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("name");

    QTest::newRow("adatok is a regular file") << Fault::AdatokIsAFile << "regi";
    QTest::newRow("missing subfolder is not created") << Fault::MissingSubfolder << "nincs/regi";
    QTest::newRow("name the file system refuses") << Fault::NameTooLong << QString(300, 'a');
    QTest::newRow("name of a folder") << Fault::NameIsAFolder << "mappa";
    QTest::newRow("read-only folder, old file kept") << Fault::ReadOnlyFolder << "regi";
    QTest::newRow("adatok missing, program folder read-only")
        << Fault::ReadOnlyProgramFolder << "regi";
    QTest::newRow("disk full while writing, old file kept") << Fault::DiskFull << "regi";
}

void TestResultsFile::failedSaveChangesNothing()
{
    QFETCH(Fault, fault);
    QFETCH(QString, name);

    const bool readOnly = fault == Fault::ReadOnlyFolder || fault == Fault::ReadOnlyProgramFolder;
    if (readOnly && geteuid() == 0)
        QSKIP("root writes into read-only folders");

    QTemporaryDir program;
    QVERIFY(program.isValid());
    const QString adatok = program.filePath(QStringLiteral("adatok"));
    const QByteArray oldContents = "an earlier save\r\n";
    if (fault == Fault::AdatokIsAFile) {
        WriteAll(adatok, oldContents);
    } else if (fault != Fault::ReadOnlyProgramFolder) {
        QVERIFY(QDir().mkpath(adatok + QStringLiteral("/mappa.txt")));
        WriteAll(adatok + QStringLiteral("/regi.txt"), oldContents);
    }
    const QString lockedFolder = fault == Fault::ReadOnlyFolder ? adatok : program.path();
    const QFile::Permissions writable = QFile::permissions(lockedFolder);
    if (readOnly)
        QVERIFY(QFile::setPermissions(lockedFolder, QFile::ReadOwner | QFile::ExeOwner));
    const auto before = Snapshot(program.path());

    const QString path = ResultsFilePath(program.path(), name);
    QString message;
    try {
        // The new file is over 300 bytes; the limit lets 100 of them through.
        std::optional<FileSizeLimit> limit;
        if (fault == Fault::DiskFull)
            limit.emplace(100);
        WriteResultsFile(path, kWorkedExample, kAfternoon, QLocale::c());
    } catch (const ResultsFileError& e) {
        message = e.userMessage();
    }
    const auto after = Snapshot(program.path());
    QFile::setPermissions(lockedFolder, writable);

    QVERIFY2(!message.isEmpty(), "the failed save was not reported");
    QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
    QCOMPARE(after, before);
}

QTEST_GUILESS_MAIN(TestResultsFile)
#include "tst_resultsfile.moc"
