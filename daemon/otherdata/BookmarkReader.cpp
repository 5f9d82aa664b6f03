#include "BookmarkReader.h"

#include "BrowserBookmarks.h"
#include "OtherDataRecords.h"

#include <QFile>

namespace {

// Bookmark files run to a few megabytes; anything far larger is not one.
constexpr qint64 MaximumFileSize = 256 * 1024 * 1024;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > MaximumFileSize)
        return {};
    return file.readAll();
}

void addAll(OtherDataRecords::BookmarkList &list, const QList<Bookmark> &bookmarks)
{
    for (const Bookmark &bookmark : bookmarks)
        list.add(bookmark.title, bookmark.address);
}

} // namespace

QVariantList BookmarkReader::readAll()
{
    OtherDataRecords::BookmarkList list;
    addAll(list, SafariBookmarks::parse(readFile(SafariBookmarks::path())));
    const QString backup = FirefoxBookmarks::newestBackup(FirefoxBookmarks::profileFolders());
    if (const std::optional<QByteArray> json = FirefoxBookmarks::decodeBackup(readFile(backup)))
        addAll(list, FirefoxBookmarks::parse(*json));
    for (const QString &file : ChromiumBookmarks::bookmarkFiles())
        addAll(list, ChromiumBookmarks::parse(readFile(file)));
    QVariantList records = list.take();
    OtherDataRecords::sortByTitle(records);
    return records;
}
