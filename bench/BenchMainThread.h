#pragma once

// How long the main thread is held, measured two ways: the longest gap between the beats of a
// 1 ms timer (wall clock, so a loaded machine adds its own waits), and the longest single event
// delivered on the main thread in the thread's own processor time (what the program's work
// costs, whatever else runs on the machine).
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <ctime>

namespace Bench {

inline double threadCpuMs()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) * 1e3 + double(time.tv_nsec) / 1e6;
}

// Times every event the main thread delivers while `measuring` is set.
class TimedApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!measuring || mDepth > 0)
            return QApplication::notify(receiver, event);
        ++mDepth;
        const double before = threadCpuMs();
        const bool result = QApplication::notify(receiver, event);
        longestEventCpuMs = std::max(longestEventCpuMs, threadCpuMs() - before);
        --mDepth;
        return result;
    }
    bool measuring = false;
    double longestEventCpuMs = 0;

private:
    int mDepth = 0;
};

// A 1 ms heartbeat on the main thread, from start() on.
class Heartbeat
{
public:
    Heartbeat()
    {
        mTimer.setTimerType(Qt::PreciseTimer);
        mTimer.setInterval(1);
        QObject::connect(&mTimer, &QTimer::timeout, [this] { beat(); });
    }
    void start()
    {
        mLongest = 0;
        mSinceBeat.start();
        mTimer.start();
    }
    // Counts the time since the last beat too.
    double stop()
    {
        beat();
        mTimer.stop();
        return mLongest;
    }
    // The longest gap so far, the running one not counted.
    double longest() const { return mLongest; }
    void beat()
    {
        mLongest = std::max(mLongest, double(mSinceBeat.nsecsElapsed()) / 1e6);
        mSinceBeat.restart();
    }

private:
    QTimer mTimer;
    QElapsedTimer mSinceBeat;
    double mLongest = 0;
};

} // namespace Bench
