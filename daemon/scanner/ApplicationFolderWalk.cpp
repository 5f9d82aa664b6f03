#include "ApplicationFolderWalk.h"

#include "FolderEntries.h"

#include "ItemRecord.h"

#include <QFile>
#include <QVariantMap>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool isBundleName(const QString &name)
{
    // Exact case: "Tool.APP" is a plain folder and is entered.
    return name.endsWith(QLatin1String(".app")) || name.endsWith(QLatin1String(".prefPane"));
}

bool isDesktopEntryName(const QByteArray &name)
{
    return name.endsWith(".desktop") && name.size() > 8;
}

ApplicationScanCache::Status statusOf(const struct stat &info)
{
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool statusAt(const QByteArray &path, ApplicationScanCache::Status &status, bool &isDirectory,
              bool &isRegular)
{
    struct stat info {
    };
    if (stat(path.constData(), &info) != 0)
        return false;
    status = statusOf(info);
    isDirectory = S_ISDIR(info.st_mode);
    isRegular = S_ISREG(info.st_mode);
    return true;
}

// The names in a folder with their types, links unresolved.
bool readFolder(const QByteArray &path, QList<ApplicationScanCache::Child> &children)
{
    return FolderEntries::read(
        path,
        [&children](const char *name, unsigned char type, int fd) {
            if (type == DT_UNKNOWN) {
                struct stat info {
                };
                if (fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                    return;
                type = S_ISDIR(info.st_mode) ? DT_DIR
                    : S_ISREG(info.st_mode)  ? DT_REG
                    : S_ISLNK(info.st_mode)  ? DT_LNK
                                             : DT_UNKNOWN;
            }
            if (type == DT_DIR || type == DT_REG || type == DT_LNK)
                children.append({QByteArray(name), type});
        },
        [](const char *) {});
}

} // namespace

bool ApplicationScanCache::Status::operator==(const Status &other) const
{
    return device == other.device && inode == other.inode && size == other.size
        && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
        && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

ApplicationFolderWalk::ApplicationFolderWalk(std::shared_ptr<ApplicationScanCache> cache)
    : mCache(cache ? std::move(cache) : std::make_shared<ApplicationScanCache>())
{
    const QByteArray key = mDesktopEntries.environmentKey();
    if (mCache->environmentKey != key) {
        mCache->entries.clear();
        mCache->environmentKey = key;
    }
}

QVariantMap ApplicationFolderWalk::applicationRecord(const QString &path, const QString &title)
{
    return {{ItemRecord::KeyKind, int(ItemRecord::KindApplication)},
            {ItemRecord::KeyPath, path},
            {ItemRecord::KeyTitle, title}};
}

QString ApplicationFolderWalk::bundleTitle(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

void ApplicationFolderWalk::scanFolder(const QString &folder, QVariantList &applicationsList)
{
    QString root = folder;
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    // The listed folder itself may be a link (distributions link /usr/share/applications around);
    // only what lies inside it is held to the no-link rule.
    walk(QFile::encodeName(root), QString(), applicationsList);
}

const QList<ApplicationScanCache::Child> *
ApplicationFolderWalk::listFolder(const QByteArray &path,
                                  const ApplicationScanCache::Status &status)
{
    mFoldersSeen.insert(path);
    auto cached = mCache->folders.find(path);
    if (cached != mCache->folders.end() && cached->status == status)
        return &cached->children;
    ApplicationScanCache::Folder folder{status, {}};
    if (!readFolder(path, folder.children)) {
        mCache->folders.remove(path);
        return nullptr;
    }
    return &mCache->folders.insert(path, std::move(folder))->children;
}

void ApplicationFolderWalk::walk(const QByteArray &path, const QString &relativePath,
                                 QVariantList &applicationsList)
{
    ApplicationScanCache::Status status;
    bool isDirectory = false;
    bool isRegular = false;
    if (!statusAt(path, status, isDirectory, isRegular) || !isDirectory
        || mFoldersEntered.contains({status.device, status.inode}))
        return;
    mFoldersEntered.insert({status.device, status.inode});
    const QList<ApplicationScanCache::Child> *listed = listFolder(path, status);
    if (!listed)
        return;
    // The cache may grow while the folder's subfolders are walked.
    const QList<ApplicationScanCache::Child> children = *listed;

    const QByteArray prefix = path == "/" ? path : path + '/';
    const QString relativePrefix =
        relativePath.isEmpty() ? relativePath : relativePath + QLatin1Char('/');
    for (const ApplicationScanCache::Child &child : children) {
        const QByteArray childPath = prefix + child.name;
        if (child.type == DT_DIR) {
            const QString name = QFile::decodeName(child.name);
            if (isBundleName(name))
                applicationsList.append(
                    applicationRecord(QFile::decodeName(childPath), bundleTitle(name)));
            else
                walk(childPath, relativePrefix + name, applicationsList);
        } else if (isDesktopEntryName(child.name)) {
            // Flatpak exports its entries as links, so an entry may be a link to a file (never
            // to a folder: links to folders stay unfollowed).
            addDesktopEntry(childPath, relativePrefix + QFile::decodeName(child.name),
                            applicationsList);
        }
    }
}

void ApplicationFolderWalk::addDesktopEntry(const QByteArray &path, const QString &relativePath,
                                            QVariantList &applicationsList)
{
    const QString id = DesktopEntryReader::desktopFileId(relativePath);
    if (mDesktopIdsTaken.contains(id))
        return;
    ApplicationScanCache::Status status;
    bool isDirectory = false;
    bool isRegular = false;
    if (!statusAt(path, status, isDirectory, isRegular) || !isRegular)
        return;
    mDesktopIdsTaken.insert(id);
    mEntriesSeen.insert(path);
    const QString entryPath = QFile::decodeName(path);
    auto cached = mCache->entries.find(path);
    if (cached == mCache->entries.end() || !(cached->status == status)) {
        ApplicationScanCache::Entry read{
            status, mDesktopEntries.readEntry(DesktopEntryReader::readSmallFile(path), entryPath)};
        cached = mCache->entries.insert(path, std::move(read));
    }
    if (const std::optional<QString> title = mDesktopEntries.listedTitle(cached->entry))
        applicationsList.append(applicationRecord(entryPath, *title));
}

void ApplicationFolderWalk::finish()
{
    for (auto it = mCache->folders.begin(); it != mCache->folders.end();)
        it = mFoldersSeen.contains(it.key()) ? std::next(it) : mCache->folders.erase(it);
    for (auto it = mCache->entries.begin(); it != mCache->entries.end();)
        it = mEntriesSeen.contains(it.key()) ? std::next(it) : mCache->entries.erase(it);
}
