#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QMenu;

// The browser's pop-up menus of paths: a folder's contents (as the outline lists them, a
// submenu for each folder that fills itself when it opens) and a path's ancestors. Every entry
// acts on the path it was built for; its tag (QAction::data) is the path's index in
// mPopupMenuContentsPaths, which starts again with every contextual menu.
class BrowserMenus : public QObject
{
    Q_OBJECT
public:
    struct Options {
        bool showInvisible = false;
        bool showPackageContents = false;
    };

    BrowserMenus(std::function<Options()> options, std::function<void(const QString &)> reveal,
                 QObject *parent = nullptr);

    void clearPaths() { mPopupMenuContentsPaths.clear(); }
    const QStringList &paths() const { return mPopupMenuContentsPaths; }

    // The folder's entries sorted by display name, "Empty" when there are none.
    void addContentsOf(const QString &folder, QMenu *menu);
    // The path's ancestors, nearest first, up to "/"; a folder that holds mounted volumes
    // ends the list before it.
    void addAncestorsOf(const QString &path, QMenu *menu);

    // The folders whose children are mounted volumes: the parent of a volume is no place to go.
    static bool holdsVolumes(const QString &folder);

private:
    void addEntry(QMenu *menu, const QString &path, const QString &title, bool withSubmenu);

    std::function<Options()> mOptions;
    std::function<void(const QString &)> mReveal;
    QStringList mPopupMenuContentsPaths;
};
