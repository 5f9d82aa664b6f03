#include "SearchController.h"

#include "SearchFilter.h"
#include "SearchPass.h"

#include "ClipboardOffer.h"
#include "ItemRecord.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <utility>

namespace {
// The filter "all": the only one under which answers are shown.
constexpr int AllTypes = 0;
} // namespace

SearchController::SearchController(SourcesProvider sources, QObject *parent)
    : QObject(parent)
    , mSources(std::move(sources))
    , mPasswordAsker([] { return false; })
    , mClipboardOffer([] { return ClipboardOffer::build(); })
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    mClock = [timer] { return timer->elapsed(); };
    mCallers.setMaxThreadCount(1);
    mRoomRelease.setSingleShot(true);
    mRoomRelease.setInterval(kKeepRoomMs);
    connect(&mRoomRelease, &QTimer::timeout, this, [this] {
        if (!mRunning)
            mWindowPass.releaseRoom();
    });
}

SearchController::~SearchController()
{
    // The pass's hand-over is queued to this object, so joining here cannot wait for it.
    mMustStop = true;
    mCallersMustStop = true;
    if (mThread.joinable())
        mThread.join();
    mCallers.waitForDone();
}

void SearchController::controlTextDidChange(const QString &fieldText)
{
    searchFieldModified(fieldText);
}

void SearchController::searchFieldModified(const QString &fieldText)
{
    emit searchRequested();
    if (fieldText != mLastText || mLastTextAt == 0)
        mLastTextAt = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
    mLastText = fieldText;
    askAnswers(fieldText);
    if (mRunning) {
        mMustStop = true;
        // One retry at a time: each would otherwise cancel the pass the previous one started.
        if (!mRetryScheduled) {
            mRetryScheduled = true;
            QTimer::singleShot(kRetryMs, this, [this] {
                mRetryScheduled = false;
                searchFieldModified(mLastText);
            });
        }
        return;
    }
    if (!fieldText.isEmpty() && fieldText.back().unicode() < 32) {
        askDesktopSources();
        return;
    }
    startPass(fieldText);
}

void SearchController::startPass(const QString &query)
{
    if (mThread.joinable())
        mThread.join(); // already past its hand-over
    mRunning = true;
    mMustStop = false;
    emit runningChanged(true);

    const SearchSources sources = mSources ? mSources() : SearchSources();
    const QVariantList offer =
        query == QLatin1String(" ") && mClipboardOffer ? mClipboardOffer() : QVariantList();
    const int type = mType;
    const int generation = mProtectedGeneration;
    const qint64 textAt = mLastTextAt;
    mThread = std::thread([this, sources, offer, type, query, generation, textAt] {
        QElapsedTimer passTime;
        passTime.start();
        SearchPass &pass = mWindowPass;
        // Many found: the first rows are shown while the rest is ranked.
        const auto firstRows = [&](FoundItems items, int totalItems) {
            auto first = std::make_shared<FoundItems>(std::move(items));
            const qint64 passNs = passTime.nsecsElapsed();
            QMetaObject::invokeMethod(
                this,
                [this, first, totalItems, query, generation, passNs, textAt] {
                    if (generation != mProtectedGeneration || mMustStop)
                        return; // the pass's end settles it
                    mDisplayedPassNs = passNs;
                    mDisplayedTextAt = textAt;
                    updateDisplayedList(std::move(*first), totalItems, query);
                    mFirstRowsShown = true;
                },
                Qt::QueuedConnection);
        };
        auto result = std::make_shared<SearchPass::Result>(
            pass.run(sources, type, query, offer, mMustStop, firstRows));
        const qint64 passNs = passTime.nsecsElapsed();
        QMetaObject::invokeMethod(
            this,
            [this, result, query, generation, passNs, textAt] {
                if (generation != mProtectedGeneration) {
                    // Locked while the pass ran: what it prepared and found of them goes too.
                    mCache.clear(SearchFilter::ProtectedNotes);
                    result->items.removeIf([](const FoundItem &item) {
                        return ItemRecord::kind(item.record()) == ItemRecord::KindProtectedNote;
                    });
                }
                // An overtaken pass is not shown: the retry already waits with newer text.
                if (result->completed && !mMustStop) {
                    if (mFirstRowsShown && generation == mProtectedGeneration) {
                        completeDisplayedList(std::move(result->items), result->totalItems);
                    } else {
                        mDisplayedPassNs = passNs;
                        mDisplayedTextAt = textAt;
                        updateDisplayedList(std::move(result->items), result->totalItems, query);
                    }
                }
                mFirstRowsShown = false;
                passFinished();
                askDesktopSources();
            },
            Qt::QueuedConnection);
    });
}

void SearchController::updateDisplayedList(FoundItems items, int totalItems, const QString &query)
{
    mDisplayedQuery = query;
    mDesktopRowCount = 0;
    takeFoundItems(std::move(items), totalItems);
    placeDesktopRows();
    emit displayedListUpdated();
}

void SearchController::completeDisplayedList(FoundItems items, int totalItems)
{
    // Rows of the desktop's search placed below the first rows go below all of them.
    if (mDesktopRowCount > 0)
        return updateDisplayedList(std::move(items), totalItems, mDisplayedQuery);
    takeFoundItems(std::move(items), totalItems);
    emit displayedListCompleted();
}

void SearchController::takeFoundItems(FoundItems items, int totalItems)
{
    mDisplayed = std::move(items);
    mTotalItems = totalItems;
    mAnswerRowCount = 0;
    placeAnswers();
}

void SearchController::setAnswerAsker(std::function<void(const QString &)> asker)
{
    mAnswerAsker = std::move(asker);
}

void SearchController::askAnswers(const QString &text)
{
    // What was answered for another text is never shown beside this one's found items.
    if (text != mAnswersQuery) {
        mAnswers.clear();
        mAnswersQuery.clear();
    }
    if (mAnswerAsker)
        mAnswerAsker(mType == AllTypes ? text : QString());
    if (text != mDesktopQuery) {
        mDesktopRows.clear();
        mDesktopOrders.clear();
        mDesktopQuery.clear();
    }
    // Asked once the pass has handed its rows over (askDesktopSources): sending ten questions on
    // the bus took the time of a search pass from the keystroke's own rows.
    mPendingDesktopAsk = mType == AllTypes ? text : QString();
}

void SearchController::askDesktopSources()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!mPendingDesktopAsk || !mDesktopAsker)
                return;
            const QString asked = *std::exchange(mPendingDesktopAsk, std::nullopt);
            mDesktopAsker(asked);
        },
        Qt::QueuedConnection);
}

void SearchController::setDesktopSearchAsker(std::function<void(const QString &)> asker)
{
    mDesktopAsker = std::move(asker);
}

void SearchController::showDesktopRows(const QString &query, int order,
                                       const QList<QVariantMap> &rows)
{
    if (query != mLastText || mType != AllTypes || rows.isEmpty())
        return;
    if (query != mDesktopQuery) {
        mDesktopRows.clear();
        mDesktopOrders.clear();
        mDesktopQuery = query;
    }
    if (mDesktopOrders.contains(order))
        return;
    mDesktopOrders.append(order);
    mDesktopRows.append(rows);
    if (query != mDisplayedQuery)
        return; // the pass for this text will take them
    const int first = int(mDisplayed.size());
    emit displayedRowsAboutToBeAppended(first, first + int(rows.size()) - 1);
    for (const QVariantMap &row : rows)
        mDisplayed.append(FoundItem(row));
    mDesktopRowCount += int(rows.size());
    mTotalItems += int(rows.size());
    emit displayedRowsAppended();
}

void SearchController::placeDesktopRows()
{
    mDisplayed.removeLast(mDesktopRowCount);
    mTotalItems -= mDesktopRowCount;
    mDesktopRowCount = 0;
    if (mType != AllTypes || mDesktopQuery != mDisplayedQuery)
        return;
    for (const QList<QVariantMap> &rows : std::as_const(mDesktopRows)) {
        for (const QVariantMap &row : rows)
            mDisplayed.append(FoundItem(row));
        mDesktopRowCount += int(rows.size());
    }
    mTotalItems += mDesktopRowCount;
}

void SearchController::showAnswers(const QString &query, const QList<QVariantMap> &rows)
{
    if (query != mLastText || mType != AllTypes)
        return;
    mAnswers = rows;
    mAnswersQuery = query;
    if (query != mDisplayedQuery)
        return; // the pass for this text will take them
    placeAnswers();
    emit displayedListUpdated();
}

void SearchController::placeAnswers()
{
    const bool shown = mType == AllTypes && mAnswersQuery == mDisplayedQuery;
    const int count = shown ? int(mAnswers.size()) : 0;
    if (count == 0 && mAnswerRowCount == 0)
        return; // nearly always: copying 100,000 found items for nothing took 1-2 ms
    FoundItems items;
    items.reserve(count + mDisplayed.size() - mAnswerRowCount);
    for (int i = 0; i < count; ++i)
        items.append(FoundItem(mAnswers.at(i)));
    items.takeFrom(mDisplayed, mAnswerRowCount);
    mTotalItems += count - mAnswerRowCount;
    mAnswerRowCount = count;
    mDisplayed = std::move(items);
}

void SearchController::replaceDisplayedRecord(int row, const QVariantMap &record)
{
    if (row < 0 || row >= mDisplayed.size())
        return;
    mDisplayed[row].setRecord(record);
    emit displayedRowChanged(row);
}

void SearchController::passFinished()
{
    mRunning = false;
    mMustStop = false;
    mRoomRelease.start();
    emit runningChanged(false);
}

bool SearchController::setTypeForSearch(int value)
{
    const int previous = mType;
    if (value == 6) {
        const qint64 now = mClock();
        if (mProtectedChosenAt >= 0 && now - mProtectedChosenAt > kProtectedDeadlineMs)
            mPasswordHeld = false;
        if (!mPasswordHeld)
            mPasswordHeld = mPasswordAsker && mPasswordAsker();
        mProtectedChosenAt = now;
        if (!mPasswordHeld) {
            // The buttons were pressed: show the filter that stays in force.
            emit typeForSearchChanged(mType);
            return false;
        }
    }
    mType = value;
    emit typeForSearchChanged(mType);
    if (previous == ItemRecord::KindProtectedNote && mType != previous)
        endProtectedQuery();
    return mType != previous;
}

int SearchController::typeForSearch() const
{
    return mType;
}

void SearchController::groupChanged(int tag)
{
    setTypeForSearch(tag);
    searchFieldModified(mLastText);
}

void SearchController::menuGroupChanged(int tag)
{
    groupChanged(tag);
}

const FoundItems &SearchController::displayedList() const
{
    return mDisplayed;
}

int SearchController::totalItems() const
{
    return mTotalItems;
}

QString SearchController::selectionInformation() const
{
    const qsizetype shown = mDisplayed.size();
    if (shown == mTotalItems)
        return QString::number(shown);
    return QStringLiteral("%1 / %2").arg(shown).arg(mTotalItems);
}

bool SearchController::isSearchRunning() const
{
    return mRunning;
}

void SearchController::setProtectedPasswordAsker(std::function<bool()> asker)
{
    mPasswordAsker = std::move(asker);
}

void SearchController::setClipboardOfferProvider(std::function<QVariantList()> provider)
{
    mClipboardOffer = std::move(provider);
}

void SearchController::setClock(Clock clock)
{
    mClock = std::move(clock);
}

void SearchController::clearPreparedLists()
{
    if (!mRunning)
        mCache.clear();
}

void SearchController::forgetProtectedNotes()
{
    ++mProtectedGeneration;
    mPasswordHeld = false;
    mCache.clear(SearchFilter::ProtectedNotes);
    // The room holds title bytes of what the last pass found (a running pass's end starts the
    // timer that lets it go).
    if (!mRunning)
        mWindowPass.releaseRoom();
    if (mType == ItemRecord::KindProtectedNote)
        endProtectedQuery();
    else if (dropProtectedRows())
        emit displayedListUpdated();
}

bool SearchController::dropProtectedRows()
{
    const qsizetype removed = mDisplayed.removeIf([](const FoundItem &item) {
        return ItemRecord::kind(item.record()) == ItemRecord::KindProtectedNote;
    });
    if (removed == 0)
        return false;
    mTotalItems = std::max(int(mDisplayed.size()), mTotalItems - int(removed));
    return true;
}

void SearchController::endProtectedQuery()
{
    mLastText.clear();
    // A pass under way answers the text forgotten: its rows and its query are not taken.
    if (mRunning)
        mMustStop = true;
    const bool queryShown = !mDisplayedQuery.isEmpty();
    mDisplayedQuery.clear();
    if (dropProtectedRows() || queryShown)
        emit displayedListUpdated();
    emit protectedQueryEnded();
}

void SearchController::searchForCaller(int type, const QString &query, CallerDone done)
{
    SearchSources sources = mSources ? mSources() : SearchSources();
    // Another program must not see what the password guards, even by a filter that grew it.
    sources.protectedNotes.clear();
    mCallers.start([this, sources = std::move(sources), type, query, done = std::move(done)] {
        // A one-space query offers the clipboard only in the window.
        done(SearchPass(mCache).run(sources, type, query, {}, mCallersMustStop));
    });
}
