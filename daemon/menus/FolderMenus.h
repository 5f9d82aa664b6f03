#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QIcon;
class QMenu;

// The entries of the pop-up menus that stand for a file, folder or volume. Each carries the
// index of its path in the shared path list as its tag (QAction::data), and acts on the path it
// was built for: the list starts again with every menu, and another menu built while this one is
// open must not turn its entries to other paths. A folder's submenu is filled with the folder's
// listing only when its entry is first highlighted or opened.
class FolderMenus : public QObject
{
    Q_OBJECT
public:
    struct Settings {
        bool showPackageContents = false;
        bool showIcons = true; // "ShowIconInPopupMenus"
    };
    struct Actions {
        std::function<void(const QString &path)> reveal; // doRevealItemInPopupMenu
        std::function<void(const QString &path)> openEditor; // doOpenEditorForItem
    };

    static constexpr int IconSize = 16;

    FolderMenus(QStringList &paths, std::function<Settings()> settings, Actions actions,
                QObject *parent = nullptr);

    // An entry titled `title` for the path, appended to `menu`; with `withSubmenu` it gets an
    // empty submenu that fills itself.
    QAction *addFolderEntry(QMenu *menu, const QString &path, const QString &title,
                            const QIcon &icon, bool withSubmenu);
    // An entry for a path the way the menus list the user's files: its display name, its icon,
    // and a submenu when it is a folder to descend into.
    QAction *addPathEntry(QMenu *menu, const QString &path);
    // The folder's listing, "Empty" when nothing is listed, a separator and the editor entry
    // (with `editorTag`, the tag of the entry whose submenu this is).
    void addContentsOf(const QString &folder, QMenu *menu, int editorTag);
    // The editor entry for the path at `tag`.
    QAction *addEditorEntry(QMenu *menu, int tag);

    // The icon of a path as the menus draw it, 16 by 16.
    static QIcon menuIcon(const QString &path);
    static QIcon menuIcon(const QString &path, bool isDir);

    QStringList &paths() { return mPaths; }
    Settings settings() const { return mSettings(); }

    // Fills the submenu of `entry` now if it is still empty (menu:willHighlightItem:).
    void fillSubmenu(QAction *entry);

private:
    QAction *addEntry(QMenu *menu, const QString &path, const QString &title, const QIcon &icon,
                      bool withSubmenu);
    void watch(QMenu *menu);

    QStringList &mPaths;
    std::function<Settings()> mSettings;
    Actions mActions;
};
