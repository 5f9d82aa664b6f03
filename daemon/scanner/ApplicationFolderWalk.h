#pragma once

#include <QSet>
#include <QString>
#include <QVariantList>

#include <sys/types.h>

#include <utility>

// Walks the application folders of one scan, in list order, and collects application records:
// ".app" and ".prefPane" folders, and desktop entries. Lives on the scan thread only.
class ApplicationFolderWalk
{
public:
    // Appends the application records found under the folder.
    void scanFolder(const QString &folder, QVariantList &applicationsList);

    // An application record as the scanner creates it: "x", "P" and "T" only.
    static QVariantMap applicationRecord(const QString &path, const QString &title);
    // The title of a ".app" or ".prefPane" folder: its name with the extension hidden.
    static QString bundleTitle(const QString &name);

private:
    void walk(int parentFd, const QByteArray &name, const QString &path,
              const QString &relativePath, QVariantList &applicationsList);
    void addDesktopEntry(const QString &path, const QString &relativePath,
                         QVariantList &applicationsList);

    // A desktop-file ID belongs to the first folder of the list that holds it, even when that
    // entry hides the application.
    QSet<QString> mDesktopIdsTaken;
    // Folders already entered: bind mounts can make cycles without any symbolic link.
    QSet<std::pair<dev_t, ino_t>> mFoldersEntered;
};
