// Idle cost of watching the keyboard, and how fast a double tap opens the access window.
// Needs an X display: run under scripts/with-session.sh.
//   bench_activation [idle seconds, default 60] [taps, default 50]
#include "ActivationMonitor.h"
#include "BenchUtils.h"
#include "TickPace.h"
#include "platform/KeyMapSource.h"
#include "platform/PointerSource.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include <ctime>

// Xlib last: its macros must not reach the Qt headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using Clock = std::chrono::steady_clock;

double processCpuSeconds()
{
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
}

// Context switches of every thread of this process: each is a wake-up (or a preemption).
double contextSwitches()
{
    double total = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task) + QStringLiteral("/status"));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:")
                || line.startsWith("nonvoluntary_ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toDouble();
        }
    }
    return total;
}

void runEventLoopFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

// Processor use in % of one core, per 10 s window of the event loop run for `seconds`: the
// windows of one run agree closely, so their median is not moved by one busy moment.
std::vector<double> cpuPerWindow(double seconds)
{
    constexpr double kWindow = 10;
    std::vector<double> windows;
    for (double left = seconds; left > 0; left -= kWindow) {
        const double cpuBefore = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runEventLoopFor(std::min(left, kWindow));
        windows.push_back(100.0 * (processCpuSeconds() - cpuBefore)
                          / (double(wall.nsecsElapsed()) / 1e9));
    }
    return windows;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const double idleSeconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 60.0;
    const int taps = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 50;

    KeyMapSource::Creation keys = KeyMapSource::createX11();
    PointerSource::Creation pointer = PointerSource::createX11();
    if (!keys.source || !pointer.source) {
        std::fprintf(stderr, "bench_activation: %s\n", qPrintable(keys.reason + pointer.reason));
        return 1;
    }

    SystemActivationClock clock;
    ActivationMonitor monitor(keys.source.get(), pointer.source.get(), clock);
    ActivationSettings settings;
    settings.shortCutsActivated = 1; // double tap of Command (Super)
    monitor.setSettings(settings);
    monitor.start(clock.now());
    // As the agent's controller ticks: 7 a second, slowed while nothing is held, woken by the
    // first key or button. Held at 7 a second, it is the reference: the pace before slowing.
    bool heldAtSevenPerSecond = false;
    TickPace *pace = nullptr;
    TickPace ticker([&](int) {
        monitor.timerTick(clock.now());
        if (pace->afterTick(!heldAtSevenPerSecond && monitor.isQuiet()))
            monitor.waitForInput(true);
    });
    pace = &ticker;
    const auto wake = [&] {
        if (ticker.wake())
            monitor.waitForInput(false);
    };
    QObject::connect(&monitor, &ActivationMonitor::inputResumed, &monitor, wake);
    ticker.start();

    // Idle: no key pressed, tap recognition on; 10 s windows of each pace in turn, so that both
    // meet the same moments of a shared machine.
    std::vector<double> paced;
    std::vector<double> reference;
    double pacedSeconds = 0;
    double pacedSwitches = 0;
    for (double left = idleSeconds; left > 0; left -= 10) {
        // Each window starts once its pace is settled: the quiet one slows after a second.
        heldAtSevenPerSecond = false;
        runEventLoopFor(1.5);
        const double switchesBefore = contextSwitches();
        QElapsedTimer wall;
        wall.start();
        paced.push_back(cpuPerWindow(10).front());
        pacedSeconds += double(wall.nsecsElapsed()) / 1e9;
        pacedSwitches += contextSwitches() - switchesBefore;
        heldAtSevenPerSecond = true;
        wake();
        runEventLoopFor(1.5);
        reference.push_back(cpuPerWindow(10).front());
    }
    heldAtSevenPerSecond = false;
    const Bench::Stats pacedStats = Bench::stats(paced);
    const Bench::Stats referenceStats = Bench::stats(reference);
    Bench::print("activation_idle_seconds", pacedSeconds, "s");
    Bench::print("activation_idle_cpu_10s_median", pacedStats.median, "% of one core");
    Bench::print("activation_idle_cpu_10s_p95", pacedStats.p95, "% of one core");
    Bench::print("activation_idle_cpu_target", 0.1, "% of one core");
    Bench::print("activation_seven_per_second_cpu_10s_median", referenceStats.median,
                 "% of one core");
    Bench::print("activation_idle_cpu_ratio_to_seven_per_second",
                 pacedStats.median / referenceStats.median, "x");
    // The keyboard thread sleeps until a key moves and the timer, nothing held, wakes once in
    // 5 s: the wake-ups of all threads, from their context switches.
    Bench::print("activation_idle_wakeups", pacedSwitches / pacedSeconds, "per second");

    // Latency: double taps injected through XTest on a connection of their own.
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bench_activation: cannot open the display for XTest\n");
        return 1;
    }
    const KeyCode super = XKeysymToKeycode(display, XK_Super_L);
    std::mutex mutex;
    Clock::time_point secondRelease;
    std::vector<double> latencies;
    std::atomic<int> opened{0};
    QObject::connect(&monitor, &ActivationMonitor::openAccessWindowRequested, &monitor, [&] {
        const Clock::time_point now = Clock::now();
        std::lock_guard lock(mutex);
        latencies.push_back(std::chrono::duration<double, std::milli>(now - secondRelease).count());
        ++opened;
    });

    std::atomic<bool> injecting{true};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> phase(0, 142);
    std::thread injector([&] {
        const auto edge = [&](bool down) {
            XTestFakeKeyEvent(display, super, down ? True : False, CurrentTime);
            XSync(display, False);
        };
        for (int tap = 0; tap < taps; ++tap) {
            const int before = opened.load();
            edge(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            edge(false);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            edge(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            {
                std::lock_guard lock(mutex);
                edge(false);
                secondRelease = Clock::now();
            }
            for (int wait = 0; wait < 100 && opened.load() == before; ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            // Far enough apart that two double taps never read as one sequence, and at a
            // varying phase of the timer: a whole number of ticks apart, every tap would land
            // at the same point of the period.
            std::this_thread::sleep_for(std::chrono::milliseconds(700 + phase(random)));
        }
        injecting = false;
    });
    while (injecting)
        runEventLoopFor(0.05);
    injector.join();
    XCloseDisplay(display);

    const Bench::Stats stats = Bench::stats(latencies);
    Bench::print("activation_double_tap_recognised", double(latencies.size()), "taps");
    Bench::print("activation_double_tap_injected", double(taps), "taps");
    Bench::print("activation_open_latency_median", stats.median, "ms");
    Bench::print("activation_open_latency_p95", stats.p95, "ms");
    return 0;
}
