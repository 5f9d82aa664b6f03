#pragma once

#include <QString>

#include <chrono>

// The advisory lock every program of the suite holds around one save of a shared file: the read
// of what is on disk, the merge, the write and the rename. It is a flock(2) on "NAME.lock" beside
// the file, so it dies with its holder and a crashed program never blocks the others. Readers do
// not take it: the rename makes every read see a whole file.
class SaveLock
{
public:
    // Waits at most `wait` for another program's save to end.
    SaveLock(const QString &path, std::chrono::milliseconds wait);
    // Waits as long as the calling thread may (waitHere()).
    explicit SaveLock(const QString &path);
    ~SaveLock();
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

    bool held() const { return mFd >= 0; }
    // Another program held the lock for the whole wait; the save may be tried again later.
    bool busy() const { return mBusy; }
    // errno of a lock file that could not be made or locked (a read-only or full file system).
    int errorNumber() const { return mErrno; }

    static QString lockPathFor(const QString &path);

    // How long a save waits for the lock: 2 s, except on the main thread of a program that asked
    // for less (the agent, whose event loop must never stall on another program's save).
    static std::chrono::milliseconds waitHere();
    static void setMainThreadWait(std::chrono::milliseconds wait);

private:
    int mFd = -1;
    int mErrno = 0;
    bool mBusy = false;
};
