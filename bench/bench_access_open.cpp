// From the second release of a double tap of Super (injected through XTest) to the access window
// mapped and painted with the previous results, over 50 openings of the real agent. Run it under
// scripts/with-session.sh; the agent reports when it painted (steady clock, as here) on the bus.
#include "BenchAgent.h"
#include "BenchUtils.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

// After Qt: Xlib defines names that Qt's headers use.
#include "BenchGestures.h"

namespace {

using BenchAgent::call;
using BenchAgent::doubleTap;
using BenchAgent::state;
using BenchAgent::steadyNow;
using BenchAgent::waitFor;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int openings = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50;
    Display *display = BenchAgent::openSessionDisplay();
    if (!display)
        return 2;
    const KeyCode super = XKeysymToKeycode(display, XK_Super_L);

    QProcess agent;
    if (!BenchAgent::startAgent(agent))
        return 1;
    // A first opening fills the results the later ones show again.
    call(QStringLiteral("Open"));
    waitFor([] { return state().value(QStringLiteral("visible")).toBool(); }, 5000);
    QThread::msleep(1500);
    call(QStringLiteral("Close"));
    waitFor([] { return !state().value(QStringLiteral("visible")).toBool(); }, 5000);

    std::vector<double> latencies;
    int missed = 0;
    for (int i = 0; i < openings; ++i) {
        QThread::msleep(700); // taps of separate openings must not chain
        const qint64 released = doubleTap(display, super);
        qint64 painted = 0;
        const bool shown = waitFor(
            [&] {
                const QVariantMap s = state();
                painted = s.value(QStringLiteral("paintedAt")).toLongLong();
                return s.value(QStringLiteral("visible")).toBool() && painted > released;
            },
            3000);
        if (shown)
            latencies.push_back(double(painted - released) / 1e6);
        else
            ++missed;
        call(QStringLiteral("Close"));
        waitFor([] { return !state().value(QStringLiteral("visible")).toBool(); }, 3000);
    }
    agent.terminate();
    agent.waitForFinished(5000);
    XCloseDisplay(display);

    const Bench::Stats s = Bench::stats(latencies);
    Bench::print("open_to_painted_median", s.median, "ms");
    Bench::print("open_to_painted_p95", s.p95, "ms");
    Bench::print("openings_measured", double(latencies.size()), "count");
    Bench::print("openings_missed", double(missed), "count");
    return 0;
}
