#include "FilesList.h"

#include "ItemRecord.h"
#include "ManagerListFilter.h"
#include "QOR_StringUtils.h"
#include "SearchTextFields.h"
#include "TextMatching.h"
#include "XdgUserDirs.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <vector>

QVariantMap FilesList::recordForPath(const QString &path)
{
    using namespace ItemRecord;
    return {{KeyKind, int(KindFile)},
            {KeyTitle, QOR_StringUtils::localizedNameAtPath(path)},
            {KeyPath, path},
            {KeyIsFolder, QFileInfo(path).isDir() ? 1 : 0}};
}

bool FilesList::addPath(QVariantList &list, const QString &path)
{
    const bool listed = std::any_of(list.cbegin(), list.cend(), [&path](const QVariant &item) {
        return ItemRecord::string(item.toMap(), ItemRecord::KeyPath) == path;
    });
    if (listed)
        return false;
    list << recordForPath(path);
    sort(list);
    return true;
}

void FilesList::sort(QVariantList &list)
{
    // Display paths read the file system: computed once per record, not once per comparison.
    TextMatching::sortByTitle(list, [](const QVariant &item) -> std::optional<QString> {
        const QString path = ItemRecord::string(item.toMap(), ItemRecord::KeyPath);
        if (path.isEmpty())
            return std::nullopt;
        return SearchTextFields::lastPathElement(QOR_StringUtils::localizedPath(path));
    });
}

void FilesList::removeRows(QVariantList &list, const QList<int> &shown,
                           const QList<int> &selectedRows)
{
    const QList<int> positions = ManagerListFilter::recordPositions(shown, selectedRows);
    // Last to first, so that each position still names the record it named.
    for (auto at = positions.crbegin(); at != positions.crend(); ++at) {
        if (*at < list.size())
            list.removeAt(*at);
    }
}

int FilesList::setIncludeContents(QVariantList &list, const QList<int> &positions, bool include)
{
    int set = 0;
    for (const int at : positions) {
        if (at < 0 || at >= list.size())
            continue;
        QVariantMap record = list.at(at).toMap();
        if (record.value(ItemRecord::KeyIsFolder).toInt() == 0)
            continue;
        record.insert(ItemRecord::KeyFolderContents, include ? 1 : 0);
        list[at] = record;
        ++set;
    }
    return set;
}

QVariantList FilesList::defaultFilesList()
{
    const QString home = QDir::cleanPath(QDir::homePath());
    const QHash<QString, QString> userDirs = XdgUserDirs::read();
    // Without the desktop's file the documents folder is the usual one; a folder turned off
    // (set to the home itself) is left out.
    const QString documents = userDirs.contains(QStringLiteral("DOCUMENTS"))
        ? userDirs.value(QStringLiteral("DOCUMENTS"))
        : home + QStringLiteral("/Documents");
    struct Folder {
        QString path;
        bool includeContents;
    };
    const QList<Folder> folders{
        {home, false},
        {documents, true},
        {userDirs.value(QStringLiteral("DESKTOP")), true},
        {userDirs.value(QStringLiteral("DOWNLOAD")), true},
    };

    QVariantList list;
    QStringList listed;
    for (const Folder &folder : folders) {
        // A user folder set to the home itself is turned off.
        if (folder.path.isEmpty() || listed.contains(folder.path) || !QFileInfo(folder.path).isDir()
            || (folder.includeContents && folder.path == home))
            continue;
        listed << folder.path;
        QVariantMap record = recordForPath(folder.path);
        record.insert(ItemRecord::KeyIsFolder, 1);
        if (folder.includeContents)
            record.insert(ItemRecord::KeyFolderContents, 1);
        list << record;
    }
    sort(list);
    return list;
}

bool FilesList::addApplicationFolder(QStringList &folders, const QString &path)
{
    if (!QFileInfo(path).isDir() || folders.contains(path))
        return false;
    folders << path;
    return true;
}
