#pragma once

#include <QByteArray>
#include <QString>

// Reads a file that another program wrote or that the user hands us, as a regular file and never
// past a size limit: a link to /dev/zero would never end, a FIFO would block the reader until a
// writer came. A link is followed, but what it leads to must be a regular file, checked before
// opening (so no device is ever opened) and again on the file opened (it may have been swapped
// meanwhile); opening never waits (O_NONBLOCK). The limits per kind of file live here, in one
// place (docs/platform.md).
namespace BoundedFile {

// The largest file read, per kind. Each is far above any real file of its kind; a larger one is
// refused whole rather than cut, since a cut list, card or calendar would read as a shorter one.
namespace Limit {
inline constexpr qint64 MiB = 1024 * 1024;
inline constexpr qint64 FirefoxProfiles = 1 * MiB; // profiles.ini: a few lines per profile
inline constexpr qint64 Bookmarks = 64 * MiB; // Safari plist, Firefox backup, Chromium JSON
inline constexpr qint64 VCards = 256 * MiB; // one file may hold a whole book with photos
inline constexpr qint64 Calendar = 128 * MiB; // an .ics file, attachments and all
inline constexpr qint64 ContactPicture = 8 * MiB; // a photo a card names by its path
inline constexpr qint64 ThunderbirdStore =
    256 * MiB; // an address book or calendar store, and its log
inline constexpr qint64 ImportedNotes = 64 * MiB; // a text file imported as notes
inline constexpr qint64 InstallScript = 1 * MiB; // "installscript.txt"
inline constexpr qint64 InstallerNews = 4 * MiB; // the installed program's news page
inline constexpr qint64 DesktopEntry = 1 * MiB; // a .desktop file
inline constexpr qint64 ApplicationIcon = 8 * MiB; // an image a desktop entry names by its path
inline constexpr qint64 StockQuotes = 4 * MiB; // "StocksSurvey.txt"
inline constexpr qint64 HiddenList = 1 * MiB; // a folder's ".hidden": a name per line
inline constexpr qint64 BundlePropertyList = 4 * MiB; // a ".app" folder's Contents/Info.plist
inline constexpr qint64 AppStream = 16 * MiB; // an application's AppStream metadata
inline constexpr qint64 ApplicationsUse = 64 * MiB; // a use file the user opens in the manager
// The suite's own lists: years of saved clipboard pictures, any other list, the preferences.
inline constexpr qint64 ClipboardList = 256 * MiB;
inline constexpr qint64 List = 128 * MiB;
inline constexpr qint64 Preferences = 16 * MiB;
// The records one list holds at most; a list of more is read up to this many (ArchiveFile).
inline constexpr qsizetype ListRecords = 500000;
} // namespace Limit

enum class Status {
    Read, // bytes holds the whole file (or its head, for readHead)
    Missing, // no such file (or an empty path)
    NotRegular, // a folder, a FIFO, a device, a socket
    TooLarge, // over the limit: nothing is kept
    Failed, // opening or reading failed (permissions, I/O)
};

struct Result {
    Status status = Status::Missing;
    QByteArray bytes;
    QString reason; // why nothing was read, for one log line; empty when read

    bool isRead() const { return status == Status::Read; }
};

// The whole file when it is a regular file of at most `limit` bytes. A file that grew past the
// size it gave is refused as soon as it passes the limit: at most limit + 1 bytes are ever read.
// A file that says it is empty is read as empty, without a read: /proc entries say so, and some
// never end.
Result read(const QString &path, qint64 limit);
// The same for a path in the system's own bytes, as a folder listing gives it.
Result readNative(const QByteArray &nativePath, qint64 limit);

// At most the first `count` bytes of a regular file, however long it is: enough to see what a
// file holds.
Result readHead(const QString &path, qint64 count);

// Whether the path leads (links followed) to a regular file, for readers that hand the path to a
// library that would open anything (SQLite, GIO).
bool isRegularFile(const QString &path);
bool isRegularFile(const QByteArray &nativePath);

// One log line "Exception reading file PATH: REASON" for a file that is there but was not read;
// nothing for a file that was read or is missing.
void logFailure(const QString &path, const Result &result);

} // namespace BoundedFile
