#include "SaveFailure.h"

#include <QDir>
#include <QtGlobal>

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
};

} // namespace

ResultsFileError SaveFailed(const QString& path, const QString& reason)
{
    return ResultsFileError(QStringLiteral("A mentés nem sikerült.\nFájl: %1\nOk: %2")
                                .arg(QDir::toNativeSeparators(path), reason));
}

QString SaveErrorReason(int error)
{
    const auto* entry = std::ranges::find(kReasons, error, &ErrorReason::error);
    return entry != std::end(kReasons) ? QString::fromUtf8(entry->reason)
                                       : QString::fromLocal8Bit(std::strerror(error));
}

QString SaveFileErrorReason(const QString& errorString)
{
    const auto* entry = std::ranges::find_if(kReasons, [&errorString](const ErrorReason& known) {
        return errorString == qt_error_string(known.error);
    });
    return entry != std::end(kReasons) ? QString::fromUtf8(entry->reason) : errorString;
}

} // namespace kalibrix
