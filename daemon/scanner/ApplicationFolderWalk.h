#pragma once

#include "DesktopEntryReader.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVariantList>

#include <sys/stat.h>

#include <memory>
#include <utility>

// What one scan learnt about the folders and entries, so that the next scan reads only what
// changed: a folder whose status is unchanged has the same names in it, an entry whose status
// is unchanged the same contents. Used by one scan at a time.
struct ApplicationScanCache {
    // The identity and change times of a folder or file; a change of contents or of the names
    // in a folder moves the change time.
    struct Status {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const Status &other) const;
    };
    struct Child {
        QByteArray name;
        unsigned char type = 0; // DT_DIR, DT_REG or DT_LNK
    };
    struct Folder {
        Status status;
        QList<Child> children;
    };
    struct Entry {
        Status status;
        DesktopEntryReader::Entry entry;
    };

    QHash<QByteArray, Folder> folders;
    QHash<QByteArray, Entry> entries;
    QByteArray environmentKey;
};

// Walks the application folders of one scan, in list order, and collects application records:
// ".app" and ".prefPane" folders, and desktop entries. Lives on the scan thread only.
class ApplicationFolderWalk
{
public:
    // Without a cache every folder and entry is read.
    explicit ApplicationFolderWalk(std::shared_ptr<ApplicationScanCache> cache = {});

    // Appends the application records found under the folder.
    void scanFolder(const QString &folder, QVariantList &applicationsList);
    // Drops from the cache what this walk did not see (after the last folder).
    void finish();

    // An application record as the scanner creates it: "x", "P" and "T" only.
    static QVariantMap applicationRecord(const QString &path, const QString &title);
    // The title of a ".app" or ".prefPane" folder: its name with the extension hidden.
    static QString bundleTitle(const QString &name);

private:
    void walk(const QByteArray &path, const QString &relativePath, QVariantList &applicationsList);
    const QList<ApplicationScanCache::Child> *
    listFolder(const QByteArray &path, const ApplicationScanCache::Status &status);
    void addDesktopEntry(const QByteArray &path, const QString &relativePath,
                         QVariantList &applicationsList);

    std::shared_ptr<ApplicationScanCache> mCache;
    DesktopEntryReader mDesktopEntries;
    // Names seen in this walk, so that vanished ones leave the cache.
    QSet<QByteArray> mFoldersSeen;
    QSet<QByteArray> mEntriesSeen;
    // A desktop-file ID belongs to the first folder of the list that holds it, even when that
    // entry hides the application.
    QSet<QString> mDesktopIdsTaken;
    // Folders already entered: bind mounts can make cycles without any symbolic link.
    QSet<std::pair<dev_t, ino_t>> mFoldersEntered;
};
