#pragma once

// What the benchmarks that open the real agent's window do from the outside: wait on its state
// and double-tap a key through XTest.

#include "BenchAgent.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <cstdio>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace BenchAgent {

template <typename Predicate> bool waitFor(Predicate predicate, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (predicate())
            return true;
        QThread::msleep(2);
    }
    return false;
}

// Returns the time of the second release.
inline qint64 doubleTap(Display *display, KeyCode key)
{
    qint64 released = 0;
    for (int tap = 0; tap < 2; ++tap) {
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XSync(display, False);
        QThread::msleep(70);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        XSync(display, False);
        released = steadyNow();
        if (tap == 0)
            QThread::msleep(70);
    }
    return released;
}

// The session's display, or nothing (said on standard error) outside a session with a bus.
inline Display *openSessionDisplay()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display || !QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "run under scripts/with-session.sh (needs X and a session bus)\n");
        return nullptr;
    }
    return display;
}

// Starts the agent beside this benchmark and waits until it answers on the bus.
inline bool startAgent(QProcess &agent)
{
    agent.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    agent.start(QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-daemon"), {});
    if (!agent.waitForStarted() || !waitFor([] { return !state().isEmpty(); }, 20000)) {
        std::fprintf(stderr, "the agent did not come up\n");
        return false;
    }
    return true;
}

} // namespace BenchAgent
