#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> Signals = {SIGHUP, SIGINT, SIGTERM};

int gSignalSockets[2] = {-1, -1};

void writeSignal(int)
{
    const char byte = 1;
    // Nothing else is safe in a signal handler; a full socket means one is already pending.
    [[maybe_unused]] const ssize_t written = ::write(gSignalSockets[0], &byte, 1);
}

// `nohup` asks that the program outlive its terminal.
bool ignoredAtStart(int signal)
{
    struct sigaction current = {};
    return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void installHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (int signal : Signals)
        sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (int signal : Signals) {
        if (signal == SIGHUP && ignoredAtStart(signal))
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

std::atomic<bool> gToolHolds = false;
static_assert(std::atomic<bool>::is_always_lock_free);

void toolSignal(int signal)
{
    if (gToolHolds.load())
        return;
    // The default action, now: the signal is blocked while this runs and taken on return.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (gSignalSockets[0] >= 0)
        return; // one per process
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalSockets) != 0)
        return;
    installHandler(writeSignal);

    mNotifier = new QSocketNotifier(gSignalSockets[1], QSocketNotifier::Read, this);
    connect(mNotifier, &QSocketNotifier::activated, this, [this] {
        char buffer[16];
        while (::read(gSignalSockets[1], buffer, sizeof buffer) > 0) {
        }
        emit terminationRequested();
    });
}

TerminationSignals::~TerminationSignals()
{
    if (!mNotifier)
        return;
    for (int signal : Signals) {
        struct sigaction current = {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == writeSignal)
            ::signal(signal, SIG_DFL);
    }
    ::close(gSignalSockets[0]);
    ::close(gSignalSockets[1]);
    gSignalSockets[0] = gSignalSockets[1] = -1;
}

void ToolTermination::install()
{
    installHandler(toolSignal);
}

void ToolTermination::holdFromHere()
{
    gToolHolds = true;
}
