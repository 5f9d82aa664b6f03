#pragma once

#include "AccessMenus.h"
#include "OpeningView.h"

#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class DaemonController;
class FilePreviewPanel;
class FoundItemsModel;
class ItemOpener;
class MainWindow;
class QKeyEvent;
class ScanningPanel;
class SearchController;
class SearchField;
class SelectionPresenter;
class TableView;

// Drives the access window: opening and closing, the keys of the search field and the table,
// the guard on Return, the reuse of a short result list, the recent searches, the quiet-time text
// selection, the scanning panel, and what opening an item needs from the window.
class AccessWindowController : public QObject, public OpeningView
{
    Q_OBJECT
public:
    using Clock = std::function<double()>; // seconds since the reference date

    // Return this soon after the window opened belongs to the gesture that opened it.
    static constexpr double ReturnGuardSeconds = 0.5;
    // Reopening shows the previous results again, without a search, up to this many.
    static constexpr int ReusableResults = 20;
    static constexpr int HideAgentDelayMs = 700;
    static constexpr double FadeOutSeconds = 1.0;

    // `now` defaults to the daemon's clock.
    AccessWindowController(DaemonController &daemon, SearchController *search, Clock now = {},
                           QObject *parent = nullptr);
    ~AccessWindowController() override;

    void setItemOpener(ItemOpener *opener);
    // Whether the to-do window is up: the agent then stays shown when others close this window.
    void setToDoWindowVisible(std::function<bool()> visible)
    {
        mToDoWindowVisible = std::move(visible);
    }

    // The window and its parts are built on the first need (an agent that is never opened
    // keeps no widget): each of these builds it.
    MainWindow *window() const;
    SearchField *searchField() const;
    TableView *tableView() const;
    SelectionPresenter *selectionPresenter() const;
    ScanningPanel *scanningPanel() const;
    // Null until something needed the window.
    MainWindow *builtWindow() const { return mWindow.get(); }
    FoundItemsModel *model() const { return mModel; }
    bool isWindowVisible() const { return mWindowVisible; }
    double openedTime() const { return mOpenedTime; }
    bool showInvisible() const { return mShowInvisible; }
    bool showPackageContents() const { return mShowPackageContents; }

    void doOpenAccessWindow();
    void doCloseAccessWindow();
    // Keys typed between the gesture and the window's focus: they replace the selected text.
    void insertPendingText(const QString &text);
    // Five quiet seconds (ActivationMonitor::selectSearchTextRequested): new typing replaces.
    void selectSearchText();
    void hideScanningPanel();
    // On Linux the agent has no application to hide: its windows are hidden instead.
    void hideAgent();
    // A closed window still fading out, or waiting for its hide, is hidden now. A pop-up menu
    // opened next would be closed by that later hide (the focus leaves the agent's windows).
    void finishClosing();
    // A floating menu of a row closed: what the user types next goes to the search field, after
    // the query, rather than to the list's own type-ahead.
    void floatingMenuClosed();

    // Whether Return is ignored now.
    bool isReturnGuarded() const;
    std::optional<QVariantMap> selectedRecord() const;
    QString searchText() const;

    void selectList();
    void setSelectionInformation();
    void makeSearchFieldFirstResponder();
    void makeTextViewFirstResponder();
    void publishAppendedRows();
    void selectSearchField();
    void toggleQuickLook();
    // The existing paths of the selected rows that have one (applications, files).
    QStringList quickLookPaths() const;
    void openSelection();
    void recordRecentSearch(const QString &fieldText);

    // OpeningView
    QString previewText(const QVariantMap &record) override;
    void showMessageForOpening(const QString &path) override;
    void showMessageForFailedOpening(const QString &path, const QString &reason) override;
    void showMessageForOpeningURL() override;
    void showMessageForCopyingText() override;
    void showMessageWithText(const QString &key) override;
    void closeAccessWindowAfter(int milliseconds) override;
    double accessWindowOpenedTime() const override { return mOpenedTime; }
    QString accessWindowFrame() const override;
    void clearMenuBarMenu() override;
    void openItemEditor(const QVariantMap &record) override;
    // After an edit made in the agent: the first row showing `original` shows `edited`, and the
    // preview follows when it is the selected one.
    void replaceShownRecord(const QVariantMap &original, const QVariantMap &edited);

signals:
    // The floating menu of a row (menus come later): at the right end of the row for the arrow
    // key and the right border, at the pointer otherwise.
    void floatingMenuRequested(const QVariantMap &record, const QPoint &globalPosition,
                               bool rightBorder);
    // Action-menu entries whose windows live elsewhere (calendar, to-do, reminders, the cursor
    // highlight, the tour in the manager); the lead connects them.
    void actionRequested(AccessMenus::Entry entry);
    void itemEditorRequested(const QVariantMap &record);
    // A stock entry became the selected row: the agent surveys it.
    void stockSelected(const QString &title);
    void menuBarMenuCleared();
    void windowVisibilityChanged(bool visible);
    void agentHidden();
    void showFlagsChanged(bool showInvisible, bool showPackageContents);
    void windowBuilt(MainWindow *window);

private:
    void buildWindow();
    bool searchFieldCommand(QKeyEvent *event);
    void escape();
    void publishDisplayedList();
    void selectionChanged();
    void showFilter(int value);
    void menuEntryTriggered(AccessMenus::Entry entry);
    void updateMenus();
    void setWindowVisible(bool visible);
    void windowClosedByOthers();
    void copyCommand();
    void selectAllCommand();
    void requestFloatingMenu(int row, const QPoint &globalPosition, bool rightBorder);
    void resetIdleCounter();
    bool showKeysDetection() const;
    double now() const { return mNow(); }

    DaemonController &mDaemon;
    SearchController *mSearch;
    Clock mNow;
    QPointer<ItemOpener> mOpener;
    std::unique_ptr<MainWindow> mWindow;
    std::unique_ptr<ScanningPanel> mScanningPanel;
    FoundItemsModel *mModel = nullptr;
    SelectionPresenter *mPresenter = nullptr;
    FilePreviewPanel *mFilePreview = nullptr;
    bool mWindowVisible = false;
    double mOpenedTime = 0;
    std::function<bool()> mToDoWindowVisible;
    bool mShowInvisible = false;
    // The stock entry selected last, surveyed once until another row is selected.
    QString mSurveyedStock;
    bool mShowPackageContents = false;
    // Bumped by every opening, so that a hide scheduled by an earlier closing does nothing.
    int mVisibilityGeneration = 0;
};
