#pragma once

// What the benchmarks that open the real agent's window do from the outside: wait on its state
// and double-tap a key through XTest.

#include "BenchAgent.h"

#include <QDeadlineTimer>
#include <QThread>

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

} // namespace BenchAgent
