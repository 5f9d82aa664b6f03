#pragma once

#include "platform/MountTable.h"

#include <QList>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

class FolderMenus;
class QMenu;

// The floating menu of one row of the access window: the actions for its record and, for a
// folder, its contents and the folders that enclose it. Built fresh for each request.
class FloatingMenu
{
public:
    FloatingMenu() = delete;

    struct Actions {
        std::function<void()> open; // doOpenItem
        std::function<void()> reveal; // doRevealItem
        std::function<void()> edit; // doEditItem
        std::function<void()> sendEmail; // sendEmailTo
        std::function<void()> openInBrowser; // doOpenBrowser, for a folder
        // An answer's result or expression to the clipboard.
        std::function<void(const QString &)> copyText;
        // An open window's row: that window asked to close.
        std::function<void()> closeWindow;
        // A calculation's result pasted where the user was; empty where keys cannot be sent.
        std::function<void(const QString &)> pasteText;
        // A row of the desktop's search: one of its runner's actions (its id) run on it.
        std::function<void(const QString &)> desktopAction;
    };

    // Nothing for kinds without a menu (stocks, the current clipboard, clipboard entries) and
    // for a file-system record without a path. `rightBorder`: the click was in the row's right
    // border, which for a folder means its contents at once, without the actions.
    static std::unique_ptr<QMenu> build(const QVariantMap &record, bool rightBorder,
                                        FolderMenus &folders, const Actions &actions,
                                        const QList<MountTable::Mount> &mounts);

    // The folders enclosing the path, nearest first, ending with "/" or, for a path on a volume
    // mounted where removable and other disks go (/media, /run/media, /mnt), with that volume's
    // root. Empty for "/".
    static QStringList enclosingFolders(const QString &path,
                                        const QList<MountTable::Mount> &mounts);
};
