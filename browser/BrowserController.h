#pragma once

#include "BatchRename.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

class BrowserItem;
class BrowserMenus;
class BrowserModel;
class DateSheet;
class FilePreviewPanel;
class MainWindowForDrop;
class NotificationCenter;
class OutlineView;
class QAction;
class QMenu;
class RenameSheet;
class SelectionWindow;
class SharedPreferences;
class Workspace;

// korvale-browser's one controller: the window with its outline of one folder, the action menu,
// the information panel glued under the window, the pop-up menus, the file preview and the two
// bulk sheets. The agent tells it what to show on "KRV1_BrowserNotification"; it never writes
// back. Main thread.
class BrowserController : public QObject
{
    Q_OBJECT
public:
    struct Environment {
        // Not owned; absent ones are made (the session bus, the desktop's workspace, the
        // browser's own preferences file).
        NotificationCenter *notifications = nullptr;
        Workspace *workspace = nullptr;
        SharedPreferences *preferences = nullptr;
        // What ends the program; QCoreApplication::quit by default.
        std::function<void()> quit;
        // Tells the user which items a bulk run could not change; an alert by default.
        std::function<void(const QString &title, const QString &text)> reportFailures;
    };

    explicit BrowserController(Environment environment);
    ~BrowserController() override;
    static BrowserController *sharedInstance();

    // The browser's own settings file, beside the suite's shared preferences.
    static QString defaultPreferencesPath();
    static const QString ShowPackageContentsKey;
    static const QString ShowInvisibleKey;
    static const QString ShowRawPathKey;
    static const QString WindowFrameKey;

    // Builds the window, reads the options, places the window.
    void awakeFromNib();
    // Observes the agent's channel; 1 s later shows the home folder if nothing was shown yet.
    void applicationDidFinishLaunching();

    void createBrowserForPath(const QString &path, bool forceUpdate);
    // Forced, after 0.1 s (drops).
    void createBrowserForPathLater(const QString &path);
    static QString localizedPath(const QString &path);

    void receiveNotification(const QString &channel, const QString &object,
                             const QVariantMap &userInfo);

    // The actions of the menus and keys.
    void doubleClickBrowser();
    void doOpenItem();
    void doRevealItem();
    void doShowParent();
    void browserCopy();
    void browserSelectAll();
    void browserModifyDate();
    void browserModifyName();
    void browserShowInvisible();
    void browserShowPackageContents();
    void browserShowRawPath();
    void browserQuit();
    void doRevealItemInPopupMenu(const QString &path);
    void toggleQL();
    // Tab in the outline: the information text takes the keys, all of it selected.
    void makeTextViewFirstResponder();

    // The contextual menu for the selected row (nullptr without one); the caller owns it.
    QMenu *getFloatingPopupMenu();
    void addContentsOf(const QString &folder, QMenu *menu);

    // Whether the Alt key (Option) is down now.
    static bool optionKeyPressed();

    // Where the window opens when the access window asks for it: beside that window, the
    // frames `AccessWindowGap` apart, or cascaded from it when the screen has no room beside.
    static QRect frameBesideAccessWindow(const QRect &access, const QSize &size, const QRect &room);
    static constexpr int AccessWindowGap = 8;
    // Where the panel goes: the window's x and width, 2 pixels under the window, as high as the
    // text needs (at least 40), never past the screen's bottom.
    static QRect informationPanelFrame(const QRect &windowFrame, int textHeight,
                                       const QRect &screen);

    // What the program shows, for the session bus (Status) and tests.
    QVariantMap status() const;

    MainWindowForDrop *window() const { return mWindow; }
    OutlineView *outline() const;
    BrowserModel *model() const { return mModel; }
    BrowserItem *rootItem() const;
    RenameSheet *renameSheet() const { return mRenameSheet; }
    DateSheet *dateSheet() const { return mDateSheet; }
    SelectionWindow *informationPanel() const { return mSelectionWindow; }
    FilePreviewPanel *preview() const { return mPreview.get(); }
    QAction *action(const QString &titleKey) const;
    bool showInvisible() const { return mShowInvisible; }
    bool showPackageContents() const { return mShowPackageContents; }
    bool showRawPath() const { return mShowRawPath; }
    // The selected rows' items, top to bottom; the reference row's item.
    QList<BrowserItem *> selectedItems() const;
    BrowserItem *selectedItem() const;

private:
    void buildActionMenu();
    QAction *addMenuAction(QMenu *menu, const QString &titleKey, void (BrowserController::*slot)(),
                           const QKeySequence &shortcut);
    void validateMenus();
    void updateInformationPanel();
    void placeInformationPanel();
    void hideInformationPanel();
    void toggleOption(bool &option, const QString &key);
    void bringToFront();
    void saveWindowFrame();
    void quitSoon();
    void reportFailures(const char *titleKey, const QList<BatchRename::Failure> &failures);

    Environment mEnvironment;
    std::unique_ptr<NotificationCenter> mOwnNotifications;
    std::unique_ptr<Workspace> mOwnWorkspace;
    std::unique_ptr<SharedPreferences> mOwnPreferences;

    QPointer<MainWindowForDrop> mWindow;
    BrowserModel *mModel = nullptr;
    SelectionWindow *mSelectionWindow = nullptr;
    QString mShownInformation;
    RenameSheet *mRenameSheet = nullptr;
    DateSheet *mDateSheet = nullptr;
    BrowserMenus *mMenus = nullptr;
    std::unique_ptr<FilePreviewPanel> mPreview;
    QHash<QString, QAction *> mActions;
    bool mShowPackageContents = false;
    bool mShowInvisible = false;
    bool mShowRawPath = false;
    bool mQuitting = false;
};
