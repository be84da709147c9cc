#include "SaveFailure.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace kalibrix {
namespace {

struct ErrorReason {
    int error;
    const char* reason;
};

// Every error a save can meet while it looks up, creates, writes and renames
// the file, in the user's words.
constexpr ErrorReason kReasons[] = {
    {EACCES, "Nincs jogosultság az íráshoz (a fájl vagy a mappája írásvédett)"},
    {EPERM, "A rendszer nem engedélyezi a műveletet"},
    {EROFS, "Az adathordozó csak olvasható"},
    {ENOSPC, "Nincs elég szabad hely az adathordozón"},
    {EDQUOT, "Elfogyott a felhasználó lemezkvótája"},
    {ENAMETOOLONG, "A fájl neve vagy az útvonala túl hosszú"},
    {ENOENT, "A mappa nem létezik"},
    {ENOTDIR, "Az útvonal egyik tagja nem mappa"},
    {EISDIR, "A név egy mappát jelöl, nem fájlt"},
    {EMFILE, "A program túl sok fájlt tart nyitva"},
    {ENFILE, "A rendszerben túl sok a megnyitott fájl"},
    {EIO, "Hiba történt az adathordozó írása vagy olvasása közben"},
    {EFBIG, "A fájl túl nagy"},
    {ELOOP, "A szimbolikus linkek körbe mutatnak, vagy túl sok követi egymást"},
    {EEXIST, "Mentés közben valami más került erre a névre"},
};

// The Hungarian reason for a system error number met while saving a file;
// the system's own text only for a number the table does not hold.
QString SaveErrorReason(int error)
{
    const auto* entry = std::ranges::find(kReasons, error, &ErrorReason::error);
    return entry != std::end(kReasons) ? QString::fromUtf8(entry->reason)
                                       : QString::fromLocal8Bit(std::strerror(error));
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

ResultsFileError SaveFailed(const QString& path, const QString& reason)
{
    return ResultsFileError(QStringLiteral("A mentés nem sikerült.\nFájl: %1\nOk: %2")
                                .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

ResultsFileError NameLeavesFolder(const QString& name)
{
    return ResultsFileError(
        QStringLiteral("Ez a név nem használható: „%1”\nA mentés csak az „%2” mappába "
                       "kerülhet, ezért a neve nem lehet abszolút útvonal, és nem "
                       "tartalmazhat „..” részt.")
            .arg(name, ResultsFolderName()));
}

ResultsFileError LinkLeavesFolder(const QString& path, const QString& target)
{
    return SaveFailed(path,
                      QStringLiteral("A név szimbolikus linken át az „%1” mappán kívülre vezet, "
                                     "ide: %2. A mentés csak az „%1” mappába kerülhet")
                          .arg(ResultsFolderName(), QDir::toNativeSeparators(target)));
}

ResultsFileError FolderNotCreated(const QString& path, int error)
{
    return SaveFailed(path, QStringLiteral("Az „%1” mappa nem hozható létre: %2")
                                .arg(ResultsFolderName(), SaveErrorReason(error)));
}

ResultsFileError EntryRefused(const QString& path, EntryKind kind)
{
    return SaveFailed(path, KindReason(kind));
}

ResultsFileError SaveStepFailed(const QString& path, int error)
{
    return SaveFailed(path, SaveErrorReason(error));
}

} // namespace kalibrix
