#pragma once

#include <QString>

// Operations on paths and folders shared by every program.
class QOR_FilesUtils
{
public:
    QOR_FilesUtils() = delete;

    // Unlocks an existing item, or creates the folder and its missing parents (0700: the data
    // folders hold the user's notes). A missing volume root is never created.
    static bool createStandardFolder(const QString &path);

    // "/" and the mount points of real file systems.
    static bool isRootOfVolume(const QString &path);

    // Locked means the owner may not write the item.
    static bool isLocked(const QString &path);
    static int setLockedLocked(const QString &path, bool locked);

    static constexpr int StatusOK = 0;
    static constexpr int StatusFileNotFound = -43;
};
