// The browsers' bookmark files: a Safari property list (binary or XML), a Firefox backup (mozLz4
// or plain JSON) and a Chromium "Bookmarks" file. The first byte chooses the reader.
#include "BrowserBookmarks.h"
#include "ReaderLibraries.h"
#include "ReaderLibrariesInterface.h"

#include <cstddef>
#include <cstdint>

// libical, SQLite and libplist linked in: a fuzz target has no module folder to look in.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ReaderLibraries::useLinked(korvaleReadersModule());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    QList<Bookmark> bookmarks;
    switch (data[0] % 3) {
    case 0:
        bookmarks = SafariBookmarks::parse(bytes);
        break;
    case 1:
        if (const std::optional<QByteArray> json = FirefoxBookmarks::decodeBackup(bytes))
            bookmarks = FirefoxBookmarks::parse(*json);
        break;
    default:
        bookmarks = ChromiumBookmarks::parse(bytes);
        break;
    }
    for (const Bookmark &bookmark : bookmarks) {
        if (bookmark.title.isEmpty() || bookmark.address.isEmpty())
            __builtin_trap();
    }
    return 0;
}
