#pragma once

#include <QBasicTimer>
#include <QObject>

#include <functional>

// The pace of a periodic tick that has nothing to do while its program is quiet: every interval
// while anything may happen; after a run of quiet ticks, one wake per `quietTicks` intervals
// standing for all of them; back to every interval, the first tick at once, when woken. Each
// tick is told how many intervals it stands for, so that what is counted in ticks keeps time.
class TickPace : public QObject
{
public:
    struct Timing {
        int intervalMs = 143;
        // Intervals one quiet wake stands for.
        int quietTicks = 35;
        // Quiet ticks in a row before the pace slows.
        int quietTicksBeforeSlowing = 7;
    };
    // Milliseconds on a steady clock: what a woken tick counts the time gone by with.
    using Clock = std::function<qint64()>;

    explicit TickPace(std::function<void(int ticks)> tick, QObject *parent = nullptr);
    TickPace(Timing timing, std::function<void(int ticks)> tick, QObject *parent = nullptr);
    // Tests: a clock of their own.
    void setClock(Clock clock) { mClock = std::move(clock); }

    void start();
    void stop();
    bool isActive() const { return mTimer.isActive(); }
    bool isSlow() const { return mSlow; }
    const Timing &timing() const { return mTiming; }

    // After each tick: whether nothing can happen until a wake. True when the pace has just
    // slowed (the caller then arms what wakes it).
    bool afterTick(bool quiet);
    // Something happened: every interval again. True when the pace was slow.
    bool wake();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    Timing mTiming;
    std::function<void(int)> mTick;
    QBasicTimer mTimer;
    Clock mClock;
    qint64 mLastTickAt = 0;
    bool mSlow = false;
    bool mWoken = false;
    int mQuietRun = 0;
};
