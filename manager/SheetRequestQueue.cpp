#include "SheetRequestQueue.h"

#include <QApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace {

int loopLevel()
{
    return QThread::currentThread()->loopLevel();
}

} // namespace

SheetRequestQueue::SheetRequestQueue(Handler handler, QObject *parent)
    : QObject(parent)
    , mHandler(std::move(handler))
{
}

bool SheetRequestQueue::isSheetOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}

void SheetRequestQueue::submit(const Request &request)
{
    if (mPending.isEmpty() && !isSheetOpen()) {
        mHandler(request);
        return;
    }
    if (mPending.isEmpty()) {
        mSheetLoopLevel = loopLevel();
        mLooksAfterClose = 0;
    }
    if (!mPending.contains(request))
        mPending.append(request);
    emit requestWaiting(request);
    if (isSheetOpen())
        watchOpenSheet();
    else
        lookAgain(0);
}

void SheetRequestQueue::watchOpenSheet()
{
    QWidget *sheet = QApplication::activeModalWidget();
    if (sheet == mWatched)
        return;
    stopWatching();
    mWatched = sheet;
    if (sheet) {
        sheet->installEventFilter(this);
        connect(sheet, &QObject::destroyed, this, &SheetRequestQueue::sheetDestroyed,
                Qt::UniqueConnection);
    }
}

void SheetRequestQueue::sheetDestroyed()
{
    lookAgain(0);
}

bool SheetRequestQueue::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mWatched && event->type() == QEvent::Hide)
        lookAgain(0);
    return QObject::eventFilter(watched, event);
}

void SheetRequestQueue::lookAgain(int delayMs)
{
    if (mLookScheduled)
        return;
    mLookScheduled = true;
    QTimer::singleShot(delayMs, this, [this] {
        mLookScheduled = false;
        runPending();
    });
}

void SheetRequestQueue::runPending()
{
    if (mRunning || mPending.isEmpty())
        return;
    if (isSheetOpen()) {
        // Another sheet followed the first (an alert after OK, the shortcut sheet from the
        // editor): wait for that one.
        watchOpenSheet();
        return;
    }
    // The sheet is hidden, but the code that ran it may not have its result yet: a look made
    // from inside the sheet's closing loop would run a request before that code saves.
    if (loopLevel() >= mSheetLoopLevel && mLooksAfterClose < MaxLooksAfterClose) {
        ++mLooksAfterClose;
        lookAgain(LookIntervalMs);
        return;
    }
    stopWatching();
    mRunning = true;
    while (!mPending.isEmpty()) {
        if (isSheetOpen()) {
            // A request opened a sheet without waiting for it: the rest waits for that one.
            mSheetLoopLevel = loopLevel() + 1;
            mLooksAfterClose = 0;
            watchOpenSheet();
            break;
        }
        const Request next = mPending.takeFirst();
        mHandler(next);
    }
    mRunning = false;
    if (mPending.isEmpty()) {
        stopWatching();
        emit drained();
    }
}

void SheetRequestQueue::stopWatching()
{
    if (mWatched)
        mWatched->removeEventFilter(this);
    mWatched = nullptr;
}
