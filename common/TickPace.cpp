#include "TickPace.h"

#include <QTimerEvent>

#include <algorithm>
#include <chrono>
#include <cmath>

TickPace::TickPace(std::function<void(int)> tick, QObject *parent)
    : TickPace(Timing(), std::move(tick), parent)
{
}

TickPace::TickPace(Timing timing, std::function<void(int)> tick, QObject *parent)
    : QObject(parent)
    , mTiming(timing)
    , mTick(std::move(tick))
    , mClock([] {
        using namespace std::chrono;
        return qint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    })
{
}

void TickPace::start()
{
    mSlow = false;
    mWoken = false;
    mQuietRun = 0;
    mLastTickAt = mClock();
    mTimer.start(mTiming.intervalMs, Qt::PreciseTimer, this);
}

void TickPace::stop()
{
    mTimer.stop();
    mSlow = false;
    mWoken = false;
}

bool TickPace::afterTick(bool quiet)
{
    mQuietRun = quiet ? mQuietRun + 1 : 0;
    if (mSlow || !mTimer.isActive() || mQuietRun < mTiming.quietTicksBeforeSlowing)
        return false;
    mSlow = true;
    // Precise: one wake per period is the whole point, and a coarse timer may come early.
    mTimer.start(mTiming.intervalMs * mTiming.quietTicks, Qt::PreciseTimer, this);
    return true;
}

bool TickPace::wake()
{
    mQuietRun = 0;
    if (!mSlow)
        return false;
    mSlow = false;
    mWoken = true;
    // The first tick from the event loop rather than from here: a wake may come from inside a
    // tick, or from a window being shown.
    mTimer.start(0, Qt::PreciseTimer, this);
    return true;
}

void TickPace::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != mTimer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    int ticks = mSlow ? mTiming.quietTicks : 1;
    if (mWoken) {
        // The part of a quiet period that went by before the wake.
        mWoken = false;
        const double intervals = double(mClock() - mLastTickAt) / mTiming.intervalMs;
        ticks = std::clamp(int(std::lround(intervals)), 1, mTiming.quietTicks);
        mTimer.start(mTiming.intervalMs, Qt::PreciseTimer, this);
    }
    mLastTickAt = mClock();
    mTick(ticks);
}
