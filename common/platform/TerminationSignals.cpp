#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int gSignalSockets[2] = {-1, -1};

void writeSignal(int)
{
    const char byte = 1;
    // Nothing else is safe in a signal handler; a full socket means one is already pending.
    [[maybe_unused]] const ssize_t written = ::write(gSignalSockets[0], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (gSignalSockets[0] >= 0)
        return; // one per process
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalSockets) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);

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
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    ::close(gSignalSockets[0]);
    ::close(gSignalSockets[1]);
    gSignalSockets[0] = gSignalSockets[1] = -1;
}
