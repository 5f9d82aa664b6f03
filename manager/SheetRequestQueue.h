#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>

class QWidget;

// What other programs ask of the manager (edit an item, show the to-do list, reread a list) waits
// while a modal sheet or alert of the manager is open: it would refill the open sheet or change
// the section behind it, and the sheet's OK would then save what the user never saw. Waiting
// requests run in the order they came, each once, after the sheet has closed and the code that
// opened it has done with its result.
class SheetRequestQueue : public QObject
{
    Q_OBJECT
public:
    struct Request {
        QString object;
        QVariantMap userInfo;
        friend bool operator==(const Request &, const Request &) = default;
    };
    using Handler = std::function<void(const Request &)>;

    // Past this many looks the sheet's caller is taken to be done (a sheet shown without a loop of
    // its own never lowers the level).
    static constexpr int MaxLooksAfterClose = 50;
    static constexpr int LookIntervalMs = 20;

    explicit SheetRequestQueue(Handler handler, QObject *parent = nullptr);

    // A modal window of this program is open.
    static bool isSheetOpen();
    // Handles the request now when no sheet is open and nothing waits; otherwise keeps it for
    // later (a request equal to one already waiting is kept once).
    void submit(const Request &request);
    const QList<Request> &pending() const { return mPending; }

signals:
    // The request waits for the open sheet.
    void requestWaiting(const SheetRequestQueue::Request &request);
    // Nothing waits any more.
    void drained();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sheetDestroyed();
    void watchOpenSheet();
    void stopWatching();
    void lookAgain(int delayMs);
    void runPending();

    Handler mHandler;
    QList<Request> mPending;
    QPointer<QWidget> mWatched;
    // The event-loop level at which the first waiting request came: the sheet's own loop. Its
    // caller is done once the thread is back below it.
    int mSheetLoopLevel = 0;
    int mLooksAfterClose = 0;
    bool mLookScheduled = false;
    bool mRunning = false;
};
