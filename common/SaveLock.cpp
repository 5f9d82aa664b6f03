#include "SaveLock.h"

#include "PrivateFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::chrono::milliseconds kDefaultWait{2000};
std::atomic<qint64> mainThreadWaitMs{kDefaultWait.count()};

bool onMainThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Ends a blocked flock: the waiting thread alone gets this signal, and its handler does nothing,
// so the call returns with EINTR. A blocked flock rather than polling: the kernel hands the lock
// to a waiter as it is released, where a poller could lose every round to a program saving in a
// loop.
int interruptSignal()
{
    static const int number = [] {
        const int chosen = SIGRTMIN + 7;
        struct sigaction action {
        };
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the flock must return
        ::sigaction(chosen, &action, nullptr);
        return chosen;
    }();
    return number;
}

// True once the lock is held; false with errno EINTR when `wait` ran out first.
bool waitBlocked(int fd, std::chrono::milliseconds wait)
{
    struct sigevent event {
    };
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = interruptSignal();
    event._sigev_un._tid = ::gettid();
    timer_t timer;
    if (::timer_create(CLOCK_MONOTONIC, &event, &timer) != 0)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    bool held = false;
    int error = EINTR;
    for (;;) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            break;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        struct itimerspec when {
        };
        when.it_value.tv_sec = time_t(ns / 1000000000);
        when.it_value.tv_nsec = long(ns % 1000000000);
        ::timer_settime(timer, 0, &when, nullptr);
        if (::flock(fd, LOCK_EX) == 0) {
            held = true;
            break;
        }
        if (errno != EINTR) {
            error = errno;
            break;
        }
    }
    ::timer_delete(timer);
    errno = held ? 0 : error;
    return held;
}

} // namespace

QString SaveLock::lockPathFor(const QString &path)
{
    // Hidden beside the file: the data folder is the user's to look at.
    const QFileInfo info(path);
    return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

std::chrono::milliseconds SaveLock::waitHere()
{
    return onMainThread() ? std::chrono::milliseconds(mainThreadWaitMs.load()) : kDefaultWait;
}

void SaveLock::setMainThreadWait(std::chrono::milliseconds wait)
{
    mainThreadWaitMs.store(wait.count());
}

SaveLock::SaveLock(const QString &path)
    : SaveLock(path, waitHere())
{
}

SaveLock::SaveLock(const QString &path, std::chrono::milliseconds wait)
{
    // Made where missing; a folder found open is closed by its writers, not by every reader
    // that takes the lock to set a damaged file aside.
    if (const QString folder = QFileInfo(path).absolutePath(); !QFileInfo::exists(folder))
        PrivateFolder::ensure(folder);
    const QByteArray lockPath = QFile::encodeName(lockPathFor(path));
    mFd =
        ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (mFd < 0) {
        mErrno = errno;
        return;
    }
    if (::flock(mFd, LOCK_EX | LOCK_NB) == 0)
        return;
    if (errno == EWOULDBLOCK && wait.count() > 0 && waitBlocked(mFd, wait))
        return;
    mErrno = errno == EINTR ? EWOULDBLOCK : errno;
    mBusy = mErrno == EWOULDBLOCK;
    ::close(mFd);
    mFd = -1;
}

SaveLock::~SaveLock()
{
    if (mFd >= 0)
        ::close(mFd); // closing the last descriptor releases the lock
}
