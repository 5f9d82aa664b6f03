// Other programs' files as the readers open them: the bytes are written to a file and read back
// through the bounded read (whole under a small limit, refused over it; a head cut where asked),
// then through each reader that takes a path. The first byte chooses the reader and the limit.
#include "AddressBookReader.h"
#include "BoundedFile.h"
#include "BrowserBookmarks.h"
#include "CalendarReader.h"
#include "DesktopEntryReader.h"
#include "NotesText.h"
#include "ReaderLibraries.h"
#include "ReaderLibrariesInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

} // namespace

// libical, SQLite and libplist linked in: a fuzz target has no module folder to look in.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ReaderLibraries::useLinked(korvaleReadersModule());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A home of its own, so that the Firefox reader finds the profiles file written below.
    static QTemporaryDir home;
    static const bool prepared = [] {
        setenv("HOME", QFile::encodeName(home.path()).constData(), 1);
        setenv("TZ", "Europe/Paris", 1);
        tzset();
        return QDir().mkpath(home.path() + QStringLiteral("/.mozilla/firefox"));
    }();
    if (!prepared || size == 0)
        return 0;
    const uint8_t choice = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));

    const QString path = home.path() + QStringLiteral("/input");
    if (!writeFile(path, bytes))
        return 0;
    const qint64 limit = choice % 64;
    const BoundedFile::Result read = BoundedFile::read(path, limit);
    const bool fits = bytes.size() <= limit;
    if (fits && (!read.isRead() || read.bytes != bytes))
        __builtin_trap();
    if (!fits && (read.status != BoundedFile::Status::TooLarge || !read.bytes.isEmpty()))
        __builtin_trap();
    const BoundedFile::Result head = BoundedFile::readHead(path, limit);
    if (!head.isRead() || head.bytes != bytes.left(qsizetype(limit)))
        __builtin_trap();

    switch (choice % 5) {
    case 0: {
        const QString profiles = home.path() + QStringLiteral("/.mozilla/firefox/profiles.ini");
        if (writeFile(profiles, bytes))
            (void)FirefoxBookmarks::profileFolders();
        break;
    }
    case 1: {
        AddressBookReader::Sources sources;
        sources.vcardPaths = {path};
        (void)AddressBookReader::read(sources);
        break;
    }
    case 2: {
        static const QDateTime from(QDate(2027, 3, 15), QTime(0, 0));
        static const QDateTime to(QDate(2027, 4, 15), QTime(0, 0));
        (void)CalendarReader::eventsInFiles({path}, from, to);
        break;
    }
    case 3: {
        static DesktopEntryReader reader;
        (void)reader.listedTitle(path);
        break;
    }
    default:
        (void)NotesText::importNotesFromFile(path, false);
        break;
    }
    return 0;
}
