#pragma once

#include "platform/ProcessTable.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// Operations on paths, folders and processes shared by every program. A path that names a
// symbolic link designates the link itself, except where isApplication says otherwise.
class QOR_FilesUtils
{
public:
    QOR_FilesUtils() = delete;

    static constexpr int StatusOK = 0;
    static constexpr int StatusIOError = -36;
    // The item's name starts with a dot: no setting makes it visible.
    static constexpr int StatusBadName = -37;
    static constexpr int StatusFileNotFound = -43;
    static constexpr int StatusPermissionDenied = -54;

    // Unlocks an existing item, or creates the folder and its missing parents (0700: the data
    // folders hold the user's notes). A missing volume root is never created.
    static bool createStandardFolder(const QString &path);

    // "/" and the mount points of real file systems.
    static bool isRootOfVolume(const QString &path);

    // Locked means the owner may not write the item.
    static bool isLocked(const QString &path);
    static int setLockedLocked(const QString &path, bool locked);

    // Hidden as the file managers hide: a name that starts with a dot, or a name listed in the
    // ".hidden" file of its folder. True when the item cannot be read.
    static bool isVisible(const QString &path);
    // Edits the folder's ".hidden" file.
    static int setVisibleVisible(const QString &path, bool visible);

    // ".app" folders (any case), desktop entries of applications and executable files; links
    // are followed, since most programs in /usr/bin are reached through one.
    static bool isApplication(const QString &path);

    // Keys of a process dictionary.
    static const QString BundlePathKey;
    static const QString PIDKey;
    static const QString NameKey;
    static const QString ExecutableKey;

    // The current user's processes; see ProcessTable for what their bundle path is.
    static QStringList getListOfLaunchedProcess(const ProcessTable &table = ProcessTable::system());
    static QList<QVariantMap>
    getListOfLaunchedProcessDictionary(const ProcessTable &table = ProcessTable::system());
    static std::optional<QVariantMap>
    getProcessInformationWithPath(const QString &bundlePath,
                                  const ProcessTable &table = ProcessTable::system());
    static bool isProcessLaunchedWithPath(const QString &bundlePath,
                                          const ProcessTable &table = ProcessTable::system());
    // Bundle paths are compared by their file name without its last extension, to the name
    // with or without its own: "gedit" and "gedit.desktop" count ".../gedit.desktop", and
    // "org.gnome.gedit" counts ".../org.gnome.gedit.desktop".
    static int
    numberOfProcessesLaunchedWithName(const QString &name,
                                      const ProcessTable &table = ProcessTable::system());
    static bool isProcessLaunchedWithName(const QString &name,
                                          const ProcessTable &table = ProcessTable::system());

    // Every name in the folder but "." and "..", sorted without regard to case; none when the
    // folder cannot be read.
    static std::optional<QStringList> sortedContentsOfDirectoryAtPath(const QString &path);

    // Runs /usr/bin/TOOL with the arguments (no shell) and returns its standard output; none
    // when the list is empty, the tool is missing, cannot start or crashes.
    static std::optional<QString> executeWithArgs(const QString &tool, const QStringList &args);
};
