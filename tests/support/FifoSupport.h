#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

// Files that are not files, put where a reader expects one of another program's files.

// A FIFO with no writer: opening it to read waits until a writer comes, unless O_NONBLOCK.
inline bool makeFifo(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A link to /dev/zero: it says it is empty and never ends.
inline bool linkToDevZero(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    return QFile::link(QStringLiteral("/dev/zero"), path);
}

inline void openWritingEnds(const QStringList &fifos)
{
    for (const QString &fifo : fifos) {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
}

// For a reader that must run on the calling thread (it uses the thread's objects): while the
// object lives, a reader waiting on one of `fifos` is released after a generous wait by opening
// their writing ends, and released() says so. A hang check, not a time limit.
class FifoWatchdog
{
public:
    explicit FifoWatchdog(QStringList fifos)
        : mFifos(std::move(fifos))
        , mThread([this] { watch(); })
    {
    }
    ~FifoWatchdog()
    {
        {
            const std::lock_guard lock(mMutex);
            mDone = true;
        }
        mWake.notify_all();
        mThread.join();
    }
    FifoWatchdog(const FifoWatchdog &) = delete;
    FifoWatchdog &operator=(const FifoWatchdog &) = delete;

    bool released() const { return mReleased; }

private:
    void watch()
    {
        using namespace std::chrono_literals;
        std::unique_lock lock(mMutex);
        if (mWake.wait_for(lock, 60s, [this] { return mDone; }))
            return;
        mReleased = true;
        while (!mWake.wait_for(lock, 50ms, [this] { return mDone; }))
            openWritingEnds(mFifos);
    }

    QStringList mFifos;
    std::mutex mMutex;
    std::condition_variable mWake;
    bool mDone = false;
    std::atomic<bool> mReleased{false};
    std::thread mThread;
};

// Runs `read` on a thread of its own and returns what it gives. A reader that waits on one of
// `fifos` for a writer would never return: after a generous wait the test fails, and the FIFOs
// are opened from the writing end until the reader ends. A hang check, not a time limit.
template <typename Read>
auto returnsWithoutAWriter(const QStringList &fifos, Read read) -> decltype(read())
{
    using namespace std::chrono_literals;
    auto done = std::async(std::launch::async, read);
    if (done.wait_for(60s) == std::future_status::timeout) {
        ADD_FAILURE() << "the reader waited for a writer on a FIFO";
        while (done.wait_for(50ms) == std::future_status::timeout)
            openWritingEnds(fifos);
    }
    return done.get();
}
