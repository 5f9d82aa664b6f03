#include "AgentMenus.h"

#include "AccessIcons.h"
#include "AccessWindowController.h"
#include "AgentAccess.h"
#include "AgentItemEditor.h"
#include "AgentProtectedNotes.h"
#include "ClipboardDetails.h"
#include "CommonKorvaleClass.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "DeferredIcon.h"
#include "FileEditorWindow.h"
#include "FloatingMenu.h"
#include "ItemOpener.h"
#include "ItemRecord.h"
#include "KorvaleLog.h"
#include "MainWindow.h"
#include "ManagerHandOver.h"
#include "MenuBarMenu.h"
#include "SharedPreferences.h"
#include "platform/FrontWindowPaste.h"
#include "platform/NotificationCenter.h"
#include "platform/QOR_MountedVolumes.h"
#include "platform/SessionClipboard.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMimeData>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

namespace {

QString clipboardFileOfSession()
{
    const QMimeData *mime = SessionClipboard::mimeData();
    if (!mime || !mime->hasUrls())
        return {};
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

AgentMenus::AgentMenus(DaemonController &daemon, AgentAccess &access, Environment environment,
                       QObject *parent)
    : QObject(parent)
    , mDaemon(daemon)
    , mAccess(access)
    , mEnvironment(std::move(environment))
{
    if (!mEnvironment.volumes) {
        mEnvironment.volumes = [] {
            QOR_MountedVolumes &volumes = QOR_MountedVolumes::shared();
            volumes.updateListVolumes();
            QVariantList list;
            for (const QVariantMap &record : volumes.getAllMountedVolumes())
                list << record;
            return list;
        };
    }
    if (!mEnvironment.mounts)
        mEnvironment.mounts = [] { return MountTable::mounts(); };
    if (!mEnvironment.clipboardText)
        mEnvironment.clipboardText = &CommonKorvaleClass::getStringFromPasteboard;
    if (!mEnvironment.clipboardFile)
        mEnvironment.clipboardFile = &clipboardFileOfSession;

    FolderMenus::Actions folderActions;
    folderActions.reveal = [this](const QString &path) {
        mAccess.opener().doRevealPathInPopupMenu(path);
    };
    folderActions.openEditor = [this](const QString &path) { fileEditor()->edit(path); };
    mFolders = std::make_unique<FolderMenus>(
        mAccess.opener().popupMenuPaths(),
        [this] {
            FolderMenus::Settings settings;
            settings.showPackageContents = mAccess.window().showPackageContents();
            settings.showIcons = mDaemon.settings().mShowIconInPopupMenus != 0;
            return settings;
        },
        std::move(folderActions));

    AccessWindowController &window = mAccess.window();
    connect(&window, &AccessWindowController::floatingMenuRequested, this,
            &AgentMenus::showFloatingMenu);
    connect(&window, &AccessWindowController::showFlagsChanged, this, &AgentMenus::storeShowFlags);
    // Edit… from a menu: the agent's own editors, and the manager for what they do not edit.
    mHandOver = std::make_unique<ManagerHandOver>(mDaemon);
    // The tour's pictures and pages are the manager's: Help asks it, starting it when needed.
    connect(&window, &AccessWindowController::actionRequested, this,
            [this](AccessMenus::Entry entry) {
                if (entry == AccessMenus::Entry::Help)
                    mHandOver->showTourInManager();
            });
    AgentItemEditor::Environment editing;
    DaemonLists &lists = mDaemon.lists();
    editing.notes = &lists.mListOfNotes;
    editing.stocks = &lists.mListOfStocksSurvey;
    editing.stocksFile = &lists.mFiles.mStocksSurvey;
    editing.protectedNotes = &mAccess.protectedNotes();
    editing.managerRunning = [this] { return mDaemon.hooks().isMainAppLaunched(); };
    editing.handOver = [this](const QVariantMap &record) { mHandOver->editInManager(record); };
    editing.notesSaved = [this] {
        mDaemon.notifications().post(NotificationChannel::Main, QStringLiteral("NotesChanged"));
    };
    editing.window = [this]() -> QWidget * { return mAccess.window().window(); };
    mItemEditor = std::make_unique<AgentItemEditor>(std::move(editing));
    connect(&window, &AccessWindowController::itemEditorRequested, mItemEditor.get(),
            &AgentItemEditor::doEditItem);
    connect(mItemEditor.get(), &AgentItemEditor::itemEdited, &window,
            &AccessWindowController::replaceShownRecord);
    // The details belong to the window they stand beside.
    connect(&window, &AccessWindowController::windowVisibilityChanged, this, [this](bool shown) {
        if (!shown && mClipboardDetails)
            mClipboardDetails->hide();
    });

    if (mEnvironment.trayIcon)
        createTrayIcon();
}

AgentMenus::~AgentMenus()
{
    delete mFloatingMenu;
    delete mMenuBarMenu;
}

void AgentMenus::showFloatingMenu(const QVariantMap &record, const QPoint &globalPosition,
                                  bool rightBorder)
{
    if (record.value(ItemRecord::KeyKind).toInt() == ItemRecord::KindClipboard) {
        if (record.contains(ItemRecord::KeyClipboardContents) && mAccess.window().window())
            clipboardDetails().show(record.value(ItemRecord::KeyClipboardContents).toByteArray(),
                                    mAccess.window().window()->frameGeometry());
        return;
    }
    // The menu-bar menu's tags index the path list, which this menu starts again.
    clearMenubarMenu();
    mFolders->paths().clear();
    if (mFloatingMenu)
        mFloatingMenu->deleteLater();

    AccessWindowController &window = mAccess.window();
    ItemOpener &opener = mAccess.opener();
    FloatingMenu::Actions actions;
    actions.open = [&window] { window.openSelection(); };
    actions.reveal = [&window, &opener] { opener.doRevealItem(window.selectedRecord()); };
    actions.edit = [&window, record] { window.openItemEditor(record); };
    actions.sendEmail = [&window, &opener] { opener.sendEmailTo(window.selectedRecord()); };
    actions.openInBrowser = [&window, &opener] { opener.doOpenBrowser(window.selectedRecord()); };
    actions.copyText = [&opener](const QString &text) { opener.copyText(text); };
    actions.closeWindow = [&opener, record] { opener.closeAnswerWindow(record); };
    actions.desktopAction = [&opener, record](const QString &action) {
        opener.runDesktopAction(record, action);
    };
    if (FrontWindowPaste::canPaste())
        actions.pasteText = [&opener](const QString &text) { opener.pasteText(text); };
    std::unique_ptr<QMenu> menu =
        FloatingMenu::build(record, rightBorder, *mFolders, actions, mEnvironment.mounts());
    if (!menu)
        return;
    mFloatingMenu = menu.release();
    connect(mFloatingMenu, &QMenu::aboutToHide, &window,
            &AccessWindowController::floatingMenuClosed);
    mFloatingMenu->popup(globalPosition);
}

void AgentMenus::fillMenuBarMenu(QMenu *menu)
{
    MenuBarMenu::Sources sources;
    sources.clipboardText = mEnvironment.clipboardText();
    sources.clipboardFile = mEnvironment.clipboardFile();
    sources.volumes = mEnvironment.volumes();
    sources.files = mDaemon.lists().mListOfFiles;
    sources.recentItems = mDaemon.lists().mLatestItems;

    MenuBarMenu::Actions actions;
    actions.pasteText = [](int tag) { CommonKorvaleClass::pasteTextClipboard(tag); };
    actions.openRecentItem = [this](int tag) { mAccess.opener().doOpenRecentItem(tag); };
    actions.openAccessWindow = [this] { mAccess.openAccessWindow(); };
    actions.openBrowser = [this] { mAccess.opener().doOpenBrowser(std::nullopt); };
    actions.openMainApp = [this] { mDaemon.openMainApp(); };
    // After the menu is gone: the alert runs its own loop, which must not run inside the menu's.
    actions.quit = [this] { QTimer::singleShot(0, &mDaemon, [this] { mDaemon.quitDaemon(); }); };
    MenuBarMenu::build(menu, sources, *mFolders, actions);
}

QMenu *AgentMenus::createMenubarMenu()
{
    clearMenubarMenu();
    mMenuBarMenu = new QMenu;
    fillMenuBarMenu(mMenuBarMenu);
    mDaemon.flags().mMenuBarMenuBuilt = true;
    return mMenuBarMenu;
}

void AgentMenus::clearMenubarMenu()
{
    // Later: the entry being triggered may be the one that asked for the clearing.
    if (mMenuBarMenu)
        mMenuBarMenu->deleteLater();
    mMenuBarMenu = nullptr;
    mDaemon.flags().mMenuBarMenuBuilt = false;
}

void AgentMenus::discardMenubarMenu()
{
    if (!mMenuBarMenu || !mMenuBarMenu->isVisible()) {
        clearMenubarMenu();
        return;
    }
    // What it was built from stays until then: its tags index the path list, which only a new
    // menu starts again.
    connect(mMenuBarMenu, &QMenu::aboutToHide, mMenuBarMenu, &QObject::deleteLater);
    mMenuBarMenu = nullptr;
    mDaemon.flags().mMenuBarMenuBuilt = false;
}

void AgentMenus::popUpMenuBarMenu()
{
    // A closing access window hides itself a moment later, which would take the menu with it.
    mAccess.window().finishClosing();
    createMenubarMenu()->popup(QCursor::pos());
}

void AgentMenus::createTrayIcon()
{
    const bool trayNow = mEnvironment.trayAvailable ? mEnvironment.trayAvailable()
                                                    : QSystemTrayIcon::isSystemTrayAvailable();
    if (!trayNow) {
        KorvaleLog::line(QStringLiteral(
            "No system tray in this session: the menu-bar menu is reached by Control-clicking "
            "the top of the screen or over the session bus"));
    }
    // The icon stays shown even without a tray, so that Qt docks it in one that appears later.
    // Its image (the SVG engine and Qt SVG) and its menu (a widget, so the style
    // and the fonts) wait until a tray draws it: most sessions without a tray never pay them.
    QPointer<AgentMenus> self(this);
    auto firstDrawn = [self] {
        // Not while Qt is drawing the icon.
        if (self) {
            QTimer::singleShot(0, self.data(), [self] {
                if (self)
                    self->trayMenuBuilt();
            });
        }
    };
    mTrayIcon = std::make_unique<QSystemTrayIcon>(DeferredIcon::make(
        [] { return AccessIcons::icon(QStringLiteral("icon_Agent")); }, firstDrawn));
    mTrayIcon->setToolTip(QStringLiteral("Korvale"));
    // A host that shows the menu itself reads it when the icon is docked.
    if (trayNow)
        trayMenuBuilt();
    connect(mTrayIcon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // Qt pops up the context menu itself, once it has one.
                const bool hadMenu = mTrayMenu != nullptr;
                if (reason == QSystemTrayIcon::Trigger
                    || (reason == QSystemTrayIcon::Context && !hadMenu))
                    trayMenuBuilt()->popup(QCursor::pos());
            });
    mTrayIcon->show();
}

QMenu *AgentMenus::trayMenuBuilt()
{
    if (mTrayMenu)
        return mTrayMenu.get();
    mTrayMenu = std::make_unique<QMenu>();
    // Filled each time it opens: the clipboard, the volumes and the lists change meanwhile.
    connect(mTrayMenu.get(), &QMenu::aboutToShow, this, [this] {
        mAccess.window().finishClosing();
        MenuBarMenu::clear(mTrayMenu.get());
        clearMenubarMenu();
        fillMenuBarMenu(mTrayMenu.get());
    });
    mTrayIcon->setContextMenu(mTrayMenu.get());
    return mTrayMenu.get();
}

FileEditorWindow *AgentMenus::fileEditor()
{
    if (!mFileEditor)
        mFileEditor = std::make_unique<FileEditorWindow>();
    return mFileEditor.get();
}

ClipboardDetails &AgentMenus::clipboardDetails()
{
    if (!mClipboardDetails)
        mClipboardDetails = std::make_unique<ClipboardDetails>();
    return *mClipboardDetails;
}

void AgentMenus::storeShowFlags(bool showInvisible, bool showPackageContents)
{
    SharedPreferences &preferences = mDaemon.preferences();
    preferences.setValue(QStringLiteral("ShowInvisible"), showInvisible);
    preferences.setValue(QStringLiteral("ShowPackageContents"), showPackageContents);
    // The settings pick them up at the next reading.
    preferences.synchronize();
}
