#include "ApplicationFolderWalk.h"

#include "DesktopEntry.h"
#include "ItemRecord.h"

#include <QVariantMap>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isBundleName(const QString &name)
{
    // Exact case: "Tool.APP" is a plain folder and is entered.
    return name.endsWith(QLatin1String(".app")) || name.endsWith(QLatin1String(".prefPane"));
}

bool isDesktopEntryName(const QString &name)
{
    return name.endsWith(QLatin1String(".desktop")) && name.size() > 8;
}

} // namespace

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
    walk(AT_FDCWD, root.toLocal8Bit(), root, QString(), applicationsList);
}

void ApplicationFolderWalk::walk(int parentFd, const QByteArray &name, const QString &path,
                                 const QString &relativePath, QVariantList &applicationsList)
{
    const int fd = openat(parentFd, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat folderStat {
    };
    if (fstat(fd, &folderStat) != 0
        || mFoldersEntered.contains({folderStat.st_dev, folderStat.st_ino})) {
        close(fd);
        return;
    }
    mFoldersEntered.insert({folderStat.st_dev, folderStat.st_ino});
    DIR *dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return;
    }
    const QString prefix = path == QLatin1String("/") ? path : path + QLatin1Char('/');
    const QString relativePrefix =
        relativePath.isEmpty() ? relativePath : relativePath + QLatin1Char('/');
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat entryStat {
            };
            if (fstatat(fd, entry->d_name, &entryStat, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(entryStat.st_mode) ? DT_DIR
                : S_ISREG(entryStat.st_mode)  ? DT_REG
                : S_ISLNK(entryStat.st_mode)  ? DT_LNK
                                              : DT_UNKNOWN;
        }
        const QByteArray entryName(entry->d_name);
        const QString fileName = QString::fromLocal8Bit(entryName);
        if (type == DT_DIR) {
            if (isBundleName(fileName)) {
                applicationsList.append(
                    applicationRecord(prefix + fileName, bundleTitle(fileName)));
            } else {
                walk(fd, entryName, prefix + fileName, relativePrefix + fileName, applicationsList);
            }
        } else if ((type == DT_REG || type == DT_LNK) && isDesktopEntryName(fileName)) {
            // Flatpak exports its entries as links, so an entry may be a link to a file (never to
            // a folder: links to folders stay unfollowed).
            if (type == DT_LNK) {
                struct stat target {
                };
                if (fstatat(fd, entry->d_name, &target, 0) != 0 || !S_ISREG(target.st_mode))
                    continue;
            }
            addDesktopEntry(prefix + fileName, relativePrefix + fileName, applicationsList);
        }
    }
    closedir(dir);
}

void ApplicationFolderWalk::addDesktopEntry(const QString &path, const QString &relativePath,
                                            QVariantList &applicationsList)
{
    const QString id = DesktopEntry::desktopFileId(relativePath);
    if (mDesktopIdsTaken.contains(id))
        return;
    mDesktopIdsTaken.insert(id);
    if (const std::optional<QString> title = DesktopEntry::listedTitle(path))
        applicationsList.append(applicationRecord(path, *title));
}
