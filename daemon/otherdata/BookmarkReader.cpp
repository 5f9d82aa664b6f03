#include "BookmarkReader.h"

#include "BoundedFile.h"
#include "BrowserBookmarks.h"
#include "OtherDataRecords.h"

namespace {

QByteArray readFile(const QString &path)
{
    const BoundedFile::Result read = BoundedFile::read(path, BoundedFile::Limit::Bookmarks);
    BoundedFile::logFailure(path, read);
    return read.bytes;
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
