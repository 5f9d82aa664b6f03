#pragma once

#include <QObject>
#include <QVariant>

#include <functional>
#include <memory>

// Runs the readers of other programs' files away from the thread that asks (the agent's main
// thread, which draws the windows and answers the gestures): one reading at a time, in the order
// asked, each result handed back to the asking thread, which alone replaces its lists. The
// readings never touch a widget or a list of the agent.
class ReaderThread : public QObject
{
    Q_OBJECT
public:
    using Work = std::function<QVariant()>;
    using Done = std::function<void(const QVariant &result)>;

    // How long the destructor waits for a reading to end.
    static constexpr int StopWaitMs = 2000;

    explicit ReaderThread(QObject *parent = nullptr);
    // stop(StopWaitMs).
    ~ReaderThread() override;

    // `work` runs on the reader thread after the readings asked before it; `done` then runs on
    // this object's thread with its result, unless the reader was stopped meanwhile.
    void run(Work work, Done done);
    // Readings asked whose result has not been handed back yet.
    int pending() const { return mPending; }

    // Drops the readings not started, asks the one under way to end (QThread::
    // requestInterruption: the calendar reader looks at it between events) and waits for the
    // thread at most `ms`. True when it ended; otherwise it is left to finish on its own and
    // hands nothing back. Nothing runs after a stop.
    bool stop(int ms);
    bool isStopped() const;

private:
    struct Shared;
    class Worker;

    std::shared_ptr<Shared> mShared;
    Worker *mWorker = nullptr;
    int mPending = 0;
};
