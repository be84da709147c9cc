// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveFailure.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <iterator>

namespace kalibrix {
namespace {

struct ErrorReason {
    int error;
    const char* reason;
};

// Every error a save can meet while it looks up, creates, writes and renames
// the file, in the user's words; each continues "Oka: ".
constexpr ErrorReason kReasons[] = {
    {EACCES, "nincs jogosultság az íráshoz (a fájl vagy a mappája írásvédett)"},
    {EPERM, "a rendszer nem engedélyezi a műveletet"},
    {EROFS, "az adathordozó csak olvasható"},
    {ENOSPC, "nincs elég szabad hely az adathordozón"},
    {EDQUOT, "elfogyott a felhasználó lemezkvótája"},
    {ENAMETOOLONG, "a fájl neve vagy az útvonala túl hosszú"},
    {ENOENT, "a mappa nem létezik"},
    {ENOTDIR, "az útvonal egyik tagja nem mappa"},
    {EISDIR, "a név egy mappát jelöl, nem fájlt"},
    {EMFILE, "a program túl sok fájlt tart nyitva"},
    {ENFILE, "a rendszerben túl sok a megnyitott fájl"},
    {EIO, "hiba történt az adathordozó írása vagy olvasása közben"},
    {EFBIG, "a fájl túl nagy"},
    {ELOOP, "a szimbolikus linkek körbe mutatnak, vagy túl sok követi egymást"},
    {EEXIST, "mentés közben valami más került erre a névre"},
    {EXDEV, "az útvonal egy másik adathordozóra vezet"},
    {ESTALE, "a hálózati mappa már nem érhető el (elavult hivatkozás); nyissa meg újra"},
    {EBUSY, "a fájlt vagy a mappát a rendszer éppen használja"},
    {ETXTBSY, "a fájlt egy futó program használja"},
    {EINVAL, "a fájlrendszer nem fogadja el ezt a nevet vagy műveletet"},
    {EOPNOTSUPP, "a fájlrendszer nem támogatja a műveletet"},
    {ENXIO, "az eszköz nem érhető el"},
    {ENODEV, "az eszköz nem érhető el"},
    {ENOMEM, "nincs elég memória"},
    {EAGAIN, "az erőforrás átmenetileg nem érhető el; próbálja újra"},
    {EINTR, "a műveletet megszakították; próbálja újra"},
    {EMLINK, "a mappában túl sok a bejegyzés"},
    {EOVERFLOW, "a fájl túl nagy ehhez a művelethez"},
    {ETIMEDOUT, "a hálózati meghajtó nem válaszolt időben"},
    {ENOTCONN, "a hálózati meghajtó nincs csatlakoztatva"},
    {EUCLEAN, "a fájlrendszer sérült; ellenőrizni kell"},
    {ENOLCK, "a fájl nem zárolható"},
    {EBADF, "belső hiba: érvénytelen fájlleíró"},
    {EFAULT, "belső hiba: érvénytelen memóriacím"},
};

// The Hungarian reason for a system error number met while saving a file;
// a number the table does not hold is named, in Hungarian too.
QString SaveErrorReason(int error)
{
    const auto* entry = std::ranges::find(kReasons, error, &ErrorReason::error);
    return entry != std::end(kReasons)
               ? QString::fromUtf8(entry->reason)
               : QStringLiteral("ismeretlen rendszerhiba (hibakód: %1)").arg(error);
}

QString KindReason(EntryKind kind)
{
    switch (kind) {
    case EntryKind::SymbolicLink:
        return QStringLiteral("a név egy olyan szimbolikus link, amelynek a célja nem létezik "
                              "vagy nem ellenőrizhető");
    case EntryKind::Folder:
        return SaveErrorReason(EISDIR);
    case EntryKind::Device:
        return QStringLiteral("a név egy eszközt jelöl, nem közönséges fájlt");
    case EntryKind::Fifo:
        return QStringLiteral("a név egy csővezetéket (FIFO) jelöl, nem közönséges fájlt");
    case EntryKind::Socket:
        return QStringLiteral("a név egy socketet jelöl, nem közönséges fájlt");
    default:
        return QStringLiteral("a név nem közönséges fájlt jelöl");
    }
}

ResultsFileError SaveFailed(const QString& path, const QString& reason)
{
    return ResultsFileError(QStringLiteral("A mentés nem sikerült.\nFájl: %1\nOka: %2")
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
                      QStringLiteral("a név szimbolikus linken át az „%1” mappán kívülre vezet, "
                                     "ide: %2. A mentés csak az „%1” mappába kerülhet")
                          .arg(ResultsFolderName(), QDir::toNativeSeparators(target)));
}

ResultsFileError FolderNotCreated(const QString& path, int error)
{
    return SaveFailed(path, QStringLiteral("az „%1” mappa nem hozható létre: %2")
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

ResultsFileError DanglingFolderLink(const QString& path)
{
    return SaveFailed(path, QStringLiteral("az „%1” mappa helyén egy szimbolikus link áll, "
                                           "amelynek a célja nem létezik")
                                .arg(ResultsFolderName()));
}

ResultsFileError AppendOnlyFolder(const QString& path)
{
    return SaveFailed(path, QStringLiteral("a mappa csak bővíthető (append-only): benne fájl "
                                           "nem cserélhető és nem nevezhető át"));
}

ResultsFileError NoTemporaryName(const QString& path)
{
    return SaveFailed(path, QStringLiteral("a mappában nem akadt szabad név az ideiglenes "
                                           "fájlnak"));
}

ResultsFileError NothingWritten(const QString& path)
{
    return SaveFailed(path, QStringLiteral("az adathordozó nem fogadott el több adatot "
                                           "(az írás egy bájtot sem vitt át)"));
}

ResultsFileError SavedButNotSynced(const QString& path, int error)
{
    return ResultsFileError(
        QStringLiteral("Az új fájl a helyére került, de a mappáját nem sikerült az "
                       "adathordozóra írni, ezért egy áramszünet után a régi fájl térhet "
                       "vissza.\nFájl: %1\nOka: %2")
            .arg(QDir::toNativeSeparators(path), SaveErrorReason(error)));
}

} // namespace kalibrix
