#pragma once

#include "FolderMenus.h"
#include "platform/MountTable.h"

#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>

class AgentAccess;
class AgentItemEditor;
class ClipboardDetails;
class DaemonController;
class FileEditorWindow;
class ManagerHandOver;
class QSystemTrayIcon;

// The agent's pop-up menus put together: the floating menu of the access window's rows (or a
// clipboard entry's details), and the menu-bar menu, which Linux reaches three ways: the
// Control-click in the screen's top strip, the tray icon and the bus. Main thread only.
class AgentMenus : public QObject
{
    Q_OBJECT
public:
    struct Environment {
        // Empty: this machine's mounted volumes and mount table.
        std::function<QVariantList()> volumes;
        std::function<QList<MountTable::Mount>()> mounts;
        // Empty: the session's clipboard.
        std::function<std::optional<QString>()> clipboardText;
        std::function<QString()> clipboardFile;
        bool trayIcon = true;
        // Whether a tray shows icons now; empty: the session is asked.
        std::function<bool()> trayAvailable;
    };

    AgentMenus(DaemonController &daemon, AgentAccess &access, Environment environment,
               QObject *parent = nullptr);
    ~AgentMenus() override;

    // The floating menu for a row's record, popped up at the position; for a clipboard entry
    // its details windows instead.
    void showFloatingMenu(const QVariantMap &record, const QPoint &globalPosition,
                          bool rightBorder);
    QMenu *floatingMenu() const { return mFloatingMenu; }

    // createMenubarMenu: a fresh menu-bar menu, replacing the last one.
    QMenu *createMenubarMenu();
    // clearMenubarMenu: dropped; rebuilt at the next use.
    void clearMenubarMenu();
    // Out of date (the lists or the settings changed): rebuilt at the next use, but a menu the
    // user is in stays open until it closes.
    void discardMenubarMenu();
    QMenu *menuBarMenu() const { return mMenuBarMenu; }
    // controlClickInMenuBar: built afresh and popped up at the pointer.
    void popUpMenuBarMenu();
    // The tray's menu: built with the icon when a tray shows it at start, else when a tray
    // first draws the icon or the icon is clicked.
    QMenu *trayMenu() const { return mTrayMenu.get(); }
    QSystemTrayIcon *trayIcon() const { return mTrayIcon.get(); }

    FileEditorWindow *fileEditor();
    AgentItemEditor &itemEditor() { return *mItemEditor; }
    ClipboardDetails &clipboardDetails();
    FolderMenus &folderMenus() { return *mFolders; }

private:
    void fillMenuBarMenu(QMenu *menu);
    void storeShowFlags(bool showInvisible, bool showPackageContents);
    void createTrayIcon();
    QMenu *trayMenuBuilt();

    DaemonController &mDaemon;
    AgentAccess &mAccess;
    Environment mEnvironment;
    std::unique_ptr<FolderMenus> mFolders;
    QPointer<QMenu> mFloatingMenu;
    QPointer<QMenu> mMenuBarMenu;
    std::unique_ptr<QMenu> mTrayMenu;
    std::unique_ptr<QSystemTrayIcon> mTrayIcon;
    std::unique_ptr<FileEditorWindow> mFileEditor;
    std::unique_ptr<ClipboardDetails> mClipboardDetails;
    std::unique_ptr<ManagerHandOver> mHandOver;
    std::unique_ptr<AgentItemEditor> mItemEditor;
};
