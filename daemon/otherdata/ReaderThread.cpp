#include "ReaderThread.h"

#include "platform/ThreadPriority.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include <deque>

struct ReaderThread::Shared {
    QMutex mutex;
    QWaitCondition wake;
    std::deque<std::pair<Work, Done>> queue;
    bool stopping = false;
    // Cleared under the mutex when the owner goes: a late result has nobody to go to.
    ReaderThread *owner = nullptr;
};

class ReaderThread::Worker : public QThread
{
public:
    explicit Worker(std::shared_ptr<Shared> shared)
        : mShared(std::move(shared))
    {
        setObjectName(QStringLiteral("korvale-readers"));
    }

protected:
    void run() override
    {
        // The readers must never take a core from the main thread while it opens a window.
        ThreadPriority::lowerCurrentThread();
        for (;;) {
            std::pair<Work, Done> job;
            {
                QMutexLocker lock(&mShared->mutex);
                while (mShared->queue.empty() && !mShared->stopping)
                    mShared->wake.wait(&mShared->mutex);
                if (mShared->stopping)
                    return;
                job = std::move(mShared->queue.front());
                mShared->queue.pop_front();
            }
            const QVariant result = job.first ? job.first() : QVariant();
            QMutexLocker lock(&mShared->mutex);
            if (mShared->stopping || !mShared->owner)
                return;
            ReaderThread *owner = mShared->owner;
            Done done = std::move(job.second);
            QMetaObject::invokeMethod(
                owner,
                [owner, done = std::move(done), result] {
                    --owner->mPending;
                    if (done && !owner->isStopped())
                        done(result);
                },
                Qt::QueuedConnection);
        }
    }

private:
    std::shared_ptr<Shared> mShared;
};

ReaderThread::ReaderThread(QObject *parent)
    : QObject(parent)
    , mShared(std::make_shared<Shared>())
{
    mShared->owner = this;
}

ReaderThread::~ReaderThread()
{
    stop(StopWaitMs);
    QMutexLocker lock(&mShared->mutex);
    mShared->owner = nullptr;
}

void ReaderThread::run(Work work, Done done)
{
    QMutexLocker lock(&mShared->mutex);
    if (mShared->stopping)
        return;
    if (!mWorker) {
        mWorker = new Worker(mShared);
        mWorker->start();
    }
    mShared->queue.emplace_back(std::move(work), std::move(done));
    ++mPending;
    mShared->wake.wakeOne();
}

bool ReaderThread::isStopped() const
{
    QMutexLocker lock(&mShared->mutex);
    return mShared->stopping;
}

bool ReaderThread::stop(int ms)
{
    {
        QMutexLocker lock(&mShared->mutex);
        mShared->stopping = true;
        mShared->queue.clear();
        mPending = 0;
        mShared->wake.wakeAll();
    }
    if (!mWorker)
        return true;
    mWorker->requestInterruption();
    if (mWorker->wait(QDeadlineTimer(ms))) {
        delete mWorker;
        mWorker = nullptr;
        return true;
    }
    // Destroying a running QThread aborts the program: the thread keeps its object and the
    // shared state, and ends (or the process does) without us.
    QObject::connect(mWorker, &QThread::finished, mWorker, &QObject::deleteLater);
    mWorker = nullptr;
    return false;
}
