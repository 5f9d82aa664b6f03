#pragma once

#include "FoundItem.h"
#include "PreparedList.h"
#include "SearchPass.h"
#include "SearchSources.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

// The main-thread side of the search: starts and cancels passes, publishes their results, and
// holds the type filter.
class SearchController : public QObject
{
    Q_OBJECT
public:
    using SourcesProvider = std::function<SearchSources()>; // called on the main thread
    // Milliseconds on a monotonic clock; for the protected filter's deadline.
    using Clock = std::function<qint64()>;

    explicit SearchController(SourcesProvider sources, QObject *parent = nullptr);
    ~SearchController() override;

    void searchFieldModified(const QString &fieldText);
    void controlTextDidChange(const QString &fieldText);
    bool setTypeForSearch(int value); // true when the value changed
    int typeForSearch() const;
    // Filter buttons / filter menu: setTypeForSearch(tag) then search the last text again.
    void groupChanged(int tag);
    void menuGroupChanged(int tag);
    const FoundItems &displayedList() const;
    // An edit made in the agent: the row shows the edited record, ranked where it was.
    void replaceDisplayedRecord(int row, const QVariantMap &record);
    // The query the displayed list answers.
    QString displayedQuery() const { return mDisplayedQuery; }
    // How long the pass that found the displayed list took on its thread, and when its text
    // came (steady clock, nanoseconds).
    qint64 displayedPassNanoseconds() const { return mDisplayedPassNs; }
    qint64 displayedTextArrivedAt() const { return mDisplayedTextAt; }
    int totalItems() const;
    QString selectionInformation() const; // "%1 / %2" or "%1"
    bool isSearchRunning() const;
    // Asked when the protected-notes filter (6) needs the password; returns whether a password
    // code is held afterwards. Default: refuses (as a cancelled password does).
    void setProtectedPasswordAsker(std::function<bool()> asker);
    // The clipboard offer for a one-space query, built on the main thread. Default: empty.
    void setClipboardOfferProvider(std::function<QVariantList()> provider);
    void setClock(Clock clock);
    // Answers (daemon/answers): asked for each text typed under the filter "all", with an empty
    // text under any other; their rows come back through showAnswers and lead the list.
    void setAnswerAsker(std::function<void(const QString &)> asker);
    // Rows computed for query; dropped unless query is still the text typed and the filter is
    // "all". Shown at once above the found items when they answer the same text, else kept for
    // the pass that will.
    void showAnswers(const QString &query, const QList<QVariantMap> &rows);
    // The desktop's search (daemon/desktopsearch): asked as the answers are; its rows come back
    // one source at a time through showDesktopRows and go below the found items, in the order
    // they came.
    void setDesktopSearchAsker(std::function<void(const QString &)> asker);
    // Dropped unless query is still the text typed and the filter is "all". Appended to the
    // rows shown when they answer the same text (the rows above, and the selection, stay), else
    // kept for the pass that will.
    void showDesktopRows(const QString &query, int order, const QList<QVariantMap> &rows);
    int desktopRowCount() const { return mDesktopRowCount; }
    // How many of the displayed rows, from the first, are answers.
    int answerRowCount() const { return mAnswerRowCount; }
    // Forgets the prepared lists (they are rebuilt on the next pass).
    void clearPreparedLists();
    // The protected notes were locked: their prepared copy and the rows showing them go, even
    // from a pass still running, and the filter asks for the password again. Text typed under
    // their filter goes too.
    void forgetProtectedNotes();
    // What the prepared lists hold, in bytes (an estimate).
    std::size_t preparedMemoryBytes() const { return mCache.memoryBytes(); }

    // A pass for another program (korvale-search over the bus): the same lists and prepared
    // lists, on a worker of its own, leaving the window's pass, text and filter alone. done runs
    // on that worker; the result is cut short only when the controller goes away. The protected
    // notes are never part of it, whatever the type.
    using CallerDone = std::function<void(const SearchPass::Result &)>;
    void searchForCaller(int type, const QString &query, CallerDone done);

    // The room the window's passes write found items into (bytes; 0 once let go).
    std::size_t passRoomBytes() const { return mWindowPass.roomBytes(); }
    // How long the room is kept after the last pass (kKeepRoomMs unless set).
    void setRoomKeptFor(int milliseconds) { mRoomRelease.setInterval(milliseconds); }

    static constexpr qint64 kProtectedDeadlineMs = 300 * 1000;
    static constexpr int kKeepRoomMs = 10 * 1000;
    static constexpr int kRetryMs = 10;

signals:
    void searchRequested();
    void runningChanged(bool running);
    void displayedListUpdated();
    // The rest of a long list whose first rows were published: those rows stay as they are,
    // the others follow them.
    void displayedListCompleted();
    void displayedRowChanged(int row);
    // Around rows added at the end of the displayed list, from first to last.
    void displayedRowsAboutToBeAppended(int first, int last);
    void displayedRowsAppended();
    void typeForSearchChanged(int value);
    // What was typed to find protected notes is forgotten (their filter was left, or they were
    // locked): the search field must forget it as well.
    void protectedQueryEnded();

private:
    void startPass(const QString &query);
    void updateDisplayedList(FoundItems items, int totalItems, const QString &query);
    void completeDisplayedList(FoundItems items, int totalItems);
    // The pass's items displayed, the answers for the displayed query in front of them.
    void takeFoundItems(FoundItems items, int totalItems);
    void askAnswers(const QString &text);
    void askDesktopSources();
    // Puts the answers held for the displayed query in front of its found items.
    void placeAnswers();
    // Puts the desktop's rows held for the displayed query after its found items.
    void placeDesktopRows();
    void passFinished();
    bool dropProtectedRows();
    void endProtectedQuery();

    SourcesProvider mSources;
    std::function<bool()> mPasswordAsker;
    std::function<QVariantList()> mClipboardOffer;
    std::function<void(const QString &)> mAnswerAsker;
    QList<QVariantMap> mAnswers;
    QString mAnswersQuery;
    int mAnswerRowCount = 0;
    std::function<void(const QString &)> mDesktopAsker;
    // The text the desktop's sources are asked next, once the keystroke's own rows are out.
    std::optional<QString> mPendingDesktopAsk;
    // The desktop's rows for mDesktopQuery, in the order they came.
    QList<QList<QVariantMap>> mDesktopRows;
    QList<int> mDesktopOrders;
    QString mDesktopQuery;
    int mDesktopRowCount = 0;
    Clock mClock;
    PreparedListCache mCache;
    // The window's passes run one at a time: their room is kept from one to the next, and let go
    // after a quiet while (kKeepRoomMs).
    SearchPass mWindowPass{mCache};
    QTimer mRoomRelease;
    std::thread mThread;
    std::atomic<bool> mMustStop{false};
    bool mRunning = false;
    bool mRetryScheduled = false;
    QString mLastText;
    int mType = 0;
    FoundItems mDisplayed;
    // The running pass's first rows are shown: its end completes them.
    bool mFirstRowsShown = false;
    QString mDisplayedQuery;
    qint64 mDisplayedPassNs = 0;
    qint64 mDisplayedTextAt = 0;
    qint64 mLastTextAt = 0;
    int mTotalItems = 0;
    bool mPasswordHeld = false;
    qint64 mProtectedChosenAt = -1;
    // Counts forgetProtectedNotes(), so that a pass that started before it hands nothing over.
    int mProtectedGeneration = 0;
    // One caller pass at a time: each already uses both cores on large lists.
    QThreadPool mCallers;
    std::atomic<bool> mCallersMustStop{false};
};
