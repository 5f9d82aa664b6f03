#pragma once

#include "platform/KeyboardGrab.h"
#include "platform/SessionActions.h"
#include "platform/Workspace.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QVariantMap>

#include <functional>
#include <memory>

class AccessWindowBus;
class AccessWindowController;
class AgentProtectedNotes;
class AnswerEngine;
class AnswerFamilies;
class SystemActionRunner;
class ApplicationLauncher;
class CursorHighlight;
class DesktopSearchRows;
class DaemonController;
class ItemOpener;
class OfferedSearch;
class RunnerBus;
class SearchProviderBus;
class SearchBus;
class SearchController;

// The agent's search-and-open side put together: the search engine over the controller's lists,
// the access window, opening items, the cursor highlight, and the access window's and the
// search's places on the bus. The program connects the gestures to the slots below.
class AgentAccess : public QObject
{
    Q_OBJECT
public:
    struct Environment {
        // Whether Option (Alt) is down at this moment; false when unknown.
        std::function<bool()> optionKeyDown;
        // Holds the keys typed between a gesture and the window's focus; may be missing.
        std::unique_ptr<KeyboardGrab> keyboardGrab;
        // Empty: the desktop session's.
        std::unique_ptr<Workspace> workspace;
    };

    AgentAccess(DaemonController &daemon, Environment environment, QObject *parent = nullptr);
    ~AgentAccess() override;

    AccessWindowController &window() { return *mWindow; }
    SearchController &search() { return *mSearch; }
    ItemOpener &opener() { return *mOpener; }
    AgentProtectedNotes &protectedNotes() { return *mProtectedNotes; }

    bool isWindowVisible() const;
    bool isWindowKey() const;
    // What the window shows, for the bus: visible, active, query, rows, titles, counter ...
    QVariantMap state() const;

public slots:
    void openAccessWindow();
    void closeAccessWindow();
    void toggleAccessWindow();
    void highlightCursor();
    void selectSearchText();
    // An item shortcut: opened as it is, whatever modifiers are held.
    void openItemFromShortcut(const QVariantMap &record);
    // The desktop's search asked for more: the window opens with its text typed in.
    void openAccessWindowWithText(const QString &text);
    void rerunSearch();
    // saveFavicons: the bookmark rows are drawn with the new list.
    void faviconsChanged();
    // Another program saved the protected notes: reread them when unlocked.
    void reloadProtectedNotes();

signals:
    // The bus asked for the menu-bar menu.
    void menuBarMenuRequested();

private:
    void finishKeyboardGrab();
    // Reads the providers' and runners' files on a worker, now and then, never on a keystroke.
    void findDesktopSearchSources();
    void applyDesktopSearchPreferences();
    void notePainted();
    void noteActivated();
    QIcon favicon(const QString &address);
    bool confirmSystemAction(SessionActions::Action action, const QStringList &holding);

    DaemonController &mDaemon;
    Environment mEnvironment;
    std::unique_ptr<ApplicationLauncher> mLauncher;
    // Before the search, which asks it: it goes after.
    std::unique_ptr<AnswerEngine> mAnswers;
    std::unique_ptr<AnswerFamilies> mAnswerFamilies;
    std::unique_ptr<SystemActionRunner> mSystemActions;
    std::unique_ptr<SearchController> mSearch;
    std::unique_ptr<AccessWindowController> mWindow;
    std::unique_ptr<ItemOpener> mOpener;
    std::unique_ptr<CursorHighlight> mCursorHighlight;
    std::unique_ptr<AccessWindowBus> mBus;
    std::unique_ptr<SearchBus> mSearchBus;
    // The agent in the desktop's own search (GNOME Shell, KRunner).
    std::unique_ptr<OfferedSearch> mOfferedSearch;
    std::unique_ptr<SearchProviderBus> mSearchProviderBus;
    std::unique_ptr<RunnerBus> mRunnerBus;
    // The desktop's providers and runners, asked for the text typed.
    std::unique_ptr<DesktopSearchRows> mDesktopRows;
    qint64 mDesktopSourcesFoundAt = -1;
    bool mDesktopSourcesFinding = false;
    std::unique_ptr<AgentProtectedNotes> mProtectedNotes;
    // Steady-clock nanoseconds of the last opening, of the first paint after it and of the
    // moment it had the keyboard.
    qint64 mOpenedAt = 0;
    qint64 mPaintedAt = 0;
    // The results' first paint after a new list was shown, and its pass's own time.
    qint64 mResultsPaintedAt = 0;
    qint64 mResultsPassNs = 0;
    qint64 mResultsTextAt = 0;
    bool mAwaitingResultsPaint = false;
    qint64 mActivatedAt = 0;
    bool mAwaitingPaint = false;
    bool mAwaitingActivation = false;
    // Decoded when a row first needs them; dropped with each new favicon list.
    QHash<QString, QIcon> mFavicons;
    bool mFaviconsIndexed = false;
};
