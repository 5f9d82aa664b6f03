// "ApplicationsUse.krvdata" after five years of use: about 100,000 intervals and 1,826 day
// summaries, in a private temporary home.
//
// - application_use_load_compact: reading the file, splitting it and compacting the use records,
//   as the agent loads it and then saves (11 runs, the first cold).
// - application_use_compact: the compaction alone of the whole loaded list.
// - application_use_save_on_worker: an hourly save's compaction, summaries and writing, as the
//   worker runs them (what the main thread would bear without the worker).
// - application_use_hourly_save_longest_stall: the agent's controller and recorder with those
//   lists; an hourly sample starts a save, and a 1 ms heartbeat on the main thread gives the
//   longest gap until the save is back (the sample itself included). 21 runs.
// - application_use_sample_queries: the front application and the running processes, as one
//   sample asks them of the desktop, on a worker thread.
#include "ApplicationUse.h"
#include "ApplicationUseRecorder.h"
#include "ArchiveFile.h"
#include "BenchMainThread.h"
#include "BenchUtils.h"
#include "CommonKorvaleClass.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "SharedPreferences.h"
#include "platform/FakeWorkspace.h"
#include "platform/NotificationCenter.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cmath>
#include <cstdlib>
#include <memory>

// X11 last: its macros clash with Qt's names.
#include "BenchGestures.h"

#include <X11/keysym.h>

namespace {

using namespace ApplicationUse;

constexpr int Days = 1826;
constexpr int IntervalsPerDay = 55;

const QStringList &applicationNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const char *base : {"firefox", "org.gnome.Terminal", "code", "thunderbird",
                                 "libreoffice-writer", "org.gnome.Nautilus", "gimp", "slack",
                                 "spotify", "org.kde.okular", "inkscape", "vlc"})
            list << QString::fromLatin1(base);
        for (int i = 0; i < 28; ++i)
            list << QStringLiteral("application-%1").arg(i);
        return list;
    }();
    return names;
}

ApplicationUse::Records fiveYears(qint64 firstDay)
{
    Records records;
    records.uses.reserve(qsizetype(Days) * IntervalsPerDay);
    const QStringList &names = applicationNames();
    quint32 seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int day = 0; day < Days; ++day) {
        const qint64 start = firstDay + qint64(day) * 86400;
        qint64 t = start + 8 * 3600;
        QSet<QString> open;
        for (int i = 0; i < IntervalsPerDay; ++i) {
            const QString &name = names.at(qsizetype(next() % quint32(names.size())));
            const qint64 length = 60 + qint64(next() % 900);
            records.uses.append(QVariantMap{{KeyName, name}, {KeyStart, t}, {KeyEnd, t + length}});
            open.insert(name);
            t += length + qint64(next() % 120);
        }
        records.days.append(daySummary(open, start));
    }
    return records;
}

class Clock : public DaemonClock
{
public:
    double now() const override { return mNow; }
    double mNow = 0;
};

class Hooks : public DaemonHooks
{
public:
    ApplicationUseRecorder *recorder = nullptr;
    void loadApplicationsUse() override
    {
        if (recorder)
            recorder->loadApplicationsUse();
    }
};

// The real agent beside a window in front, with the use file of five years and recording on:
// its processor time while nobody types, and while a key is tapped every 5 s (one sample a
// minute, after the first sample's save of the whole file is over).
int measureAgent(int seconds)
{
    Display *display = BenchAgent::openSessionDisplay();
    if (!display)
        return 1;
    QProcess agent;
    if (!BenchAgent::startAgent(agent))
        return 1;
    // The test window lives a minute: a fresh one in front for each phase that types.
    std::unique_ptr<QProcess> window;
    const auto windowInFront = [&window] {
        if (window) {
            window->kill();
            window->waitForFinished(2000);
        }
        window = std::make_unique<QProcess>();
        window->start(QCoreApplication::applicationDirPath()
                          + QStringLiteral("/korvale-test-window"),
                      {QStringLiteral("Recorded window")});
        window->waitForStarted();
        QProcess activate;
        activate.setStandardOutputFile(QProcess::nullDevice());
        activate.start(QStringLiteral("xdotool"),
                       {QStringLiteral("search"), QStringLiteral("--sync"),
                        QStringLiteral("--name"), QStringLiteral("Recorded window"),
                        QStringLiteral("windowactivate")});
        activate.waitForFinished(10000);
    };
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    const auto tap = [&] {
        XTestFakeKeyEvent(display, shift, True, CurrentTime);
        XSync(display, False);
        QThread::msleep(60);
        XTestFakeKeyEvent(display, shift, False, CurrentTime);
        XSync(display, False);
    };
    // Per second, over `seconds`; `typing` taps a key every 5 s.
    const auto measure = [&](const char *name, bool typing) {
        std::vector<double> perSecond;
        const double first = BenchAgent::processCpuSeconds(agent.processId());
        double previous = first;
        for (int i = 0; i < seconds; ++i) {
            if (typing && i % 5 == 0)
                tap();
            QThread::sleep(1);
            const double used = BenchAgent::processCpuSeconds(agent.processId());
            perSecond.push_back((used - previous) * 100.0);
            previous = used;
        }
        const Bench::Stats stats = Bench::stats(perSecond);
        const QByteArray prefix(name);
        Bench::print(prefix.constData(), (previous - first) * 100.0 / seconds, "%");
        Bench::print((prefix + "_per_second_median").constData(), stats.median, "%");
        Bench::print((prefix + "_per_second_p95").constData(), stats.p95, "%");
    };
    // Start-up, the first reload and the first application scan settle first.
    QThread::sleep(8);
    measure("application_use_agent_idle_cpu", false);
    // The first sample saves at once, compacting the whole file on the worker: not idle work.
    windowInFront();
    const bool saved = BenchAgent::waitFor(
        [&] {
            tap();
            QThread::sleep(2);
            return BenchAgent::status().value(QStringLiteral("applicationUseSaves")).toInt() > 0;
        },
        120000);
    if (!saved)
        std::fprintf(stderr, "the agent saved no application use\n");
    QThread::sleep(2);
    windowInFront();
    const int samplesBefore =
        BenchAgent::status().value(QStringLiteral("applicationUseSamples")).toInt();
    measure("application_use_agent_recording_cpu", true);
    Bench::print("application_use_agent_recording_samples",
                 BenchAgent::status().value(QStringLiteral("applicationUseSamples")).toInt()
                     - samplesBefore,
                 "samples");
    agent.terminate();
    if (!agent.waitForFinished(10000))
        agent.kill();
    window->kill();
    window->waitForFinished(2000);
    XCloseDisplay(display);
    return saved ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + "/.local/share"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/.config"));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Bench::TimedApplication app(argc, argv);

    const qint64 today = dayStart(qint64(DaemonClock().now()));
    const qint64 firstDay = today - qint64(Days) * 86400;
    const Records generated = fiveYears(firstDay);
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        DataFileName::ApplicationsUse);
    ArchiveFile::write(path, fileList(generated));
    Bench::print("application_use_records", double(generated.uses.size()), "records");
    Bench::print("application_use_day_summaries", double(generated.days.size()), "records");
    Bench::print("application_use_file_size", double(QFile(path).size()) / 1e6, "MB");
    if (argc > 1 && QByteArray(argv[1]) == "--agent")
        return measureAgent(argc > 2 ? std::max(10, std::atoi(argv[2])) : 60);

    {
        const std::vector<double> ms = Bench::timeRuns(11, [&path] {
            Records records = load(ArchiveFile::readList(path));
            compact(records.uses);
        });
        const Bench::Stats s = Bench::stats(ms);
        Bench::print("application_use_load_compact_median", s.median, "ms");
        Bench::print("application_use_load_compact_p95", s.p95, "ms");
    }
    {
        const Records loaded = load(ArchiveFile::readList(path));
        const std::vector<double> ms = Bench::timeRuns(11, [&loaded] {
            Records records = loaded;
            compact(records.uses);
        });
        const Bench::Stats s = Bench::stats(ms);
        Bench::print("application_use_compact_median", s.median, "ms");
        Bench::print("application_use_compact_p95", s.p95, "ms");
    }
    {
        // An hourly save: what the last save compacted is not walked again.
        Records compacted = generated;
        compact(compacted.uses);
        const qsizetype before = compacted.uses.size();
        const std::vector<double> ms = Bench::timeRuns(11, [&] {
            Records records = compacted;
            records.uses.append(QVariantMap{{KeyName, "firefox"}, {KeyStart, today + 43200}});
            prepareSave(records, {QStringLiteral("firefox")}, today, before);
            ArchiveFile::write(path, fileList(records));
        });
        const Bench::Stats s = Bench::stats(ms);
        Bench::print("application_use_save_on_worker_median", s.median, "ms");
        Bench::print("application_use_save_on_worker_p95", s.p95, "ms");
    }

    // The agent as it runs: controller, recorder and the lists of five years.
    ArchiveFile::write(path, fileList(generated));
    Clock clock;
    clock.mNow = double(today + 12 * 3600);
    SharedPreferences preferences(SharedPreferences::defaultPath());
    std::shared_ptr<NotificationCenter> notifications{NotificationCenter::createLocalCenter()};
    DaemonController::Environment environment;
    environment.preferences = &preferences;
    environment.clock = &clock;
    const auto hooks = std::make_shared<Hooks>();
    environment.hooks = hooks;
    environment.notifications = notifications;
    environment.quitApplication = [] {};
    DaemonController controller(std::move(environment));
    FakeWorkspace workspace;
    workspace.addProcess(10, "/usr/share/applications/firefox.desktop");
    workspace.addProcess(11, "/usr/share/applications/code.desktop");
    workspace.bringProcessToFront(10);
    ApplicationUseRecorder recorder(controller, workspace);
    hooks->recorder = &recorder;
    controller.awakeFromNib();

    // The start-up reading of the file, on the worker: from the second start-up stage until
    // the lists hold the file (and 50 ms more), the longest heartbeat gap, the longest event
    // in the main thread's processor time, and the time until the lists are filled.
    {
        std::vector<double> gaps;
        std::vector<double> events;
        std::vector<double> filled;
        Bench::Heartbeat heartbeat;
        for (int run = 0; run < 11; ++run) {
            controller.lists().mListOfApplicationsUse.clear();
            controller.lists().mListOfApplicationsOpened.clear();
            QEventLoop loop;
            QElapsedTimer sinceAsked;
            const QMetaObject::Connection loaded =
                QObject::connect(&recorder, &ApplicationUseRecorder::loaded, [&] {
                    filled.push_back(double(sinceAsked.nsecsElapsed()) / 1e6);
                    QTimer::singleShot(50, &loop, &QEventLoop::quit);
                });
            QTimer::singleShot(5, [&] {
                sinceAsked.start();
                if (run == 0)
                    controller.applicationDidFinishLaunching();
                else
                    recorder.loadApplicationsUse();
            });
            app.longestEventCpuMs = 0;
            app.measuring = true;
            heartbeat.start();
            loop.exec();
            gaps.push_back(heartbeat.stop());
            app.measuring = false;
            events.push_back(app.longestEventCpuMs);
            QObject::disconnect(loaded);
        }
        const Bench::Stats gap = Bench::stats(gaps);
        Bench::print("application_use_start_load_longest_stall_median", gap.median, "ms");
        Bench::print("application_use_start_load_longest_stall_p95", gap.p95, "ms");
        const Bench::Stats event = Bench::stats(events);
        Bench::print("application_use_start_load_longest_event_cpu_median", event.median, "ms");
        Bench::print("application_use_start_load_longest_event_cpu_p95", event.p95, "ms");
        const Bench::Stats in = Bench::stats(filled);
        Bench::print("application_use_start_load_filled_median", in.median, "ms");
        Bench::print("application_use_start_load_filled_p95", in.p95, "ms");
    }

    std::vector<double> stalls;
    for (int run = 0; run < 21; ++run) {
        clock.mNow += 3601;
        controller.schedule().mNextApplicationsUseSaved = 0;
        workspace.bringProcessToFront(run % 2 == 0 ? 11 : 10);
        QEventLoop loop;
        QObject::connect(&recorder, &ApplicationUseRecorder::saved, &loop, &QEventLoop::quit);
        double longest = 0;
        QElapsedTimer sinceBeat;
        QTimer heartbeat;
        heartbeat.setTimerType(Qt::PreciseTimer);
        heartbeat.setInterval(1);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            longest = std::max(longest, double(sinceBeat.nsecsElapsed()) / 1e6);
            sinceBeat.restart();
        });
        QTimer::singleShot(5, [&] {
            const double before = double(sinceBeat.nsecsElapsed()) / 1e6;
            QElapsedTimer sample;
            sample.start();
            recorder.updateListOfAppsUsed();
            longest = std::max(longest, before + double(sample.nsecsElapsed()) / 1e6);
        });
        sinceBeat.start();
        heartbeat.start();
        loop.exec();
        // The hand-back ran in the slot that quit the loop: count it up to the next beat.
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        longest = std::max(longest, double(sinceBeat.nsecsElapsed()) / 1e6);
        heartbeat.stop();
        stalls.push_back(longest);
    }
    const Bench::Stats s = Bench::stats(stalls);
    Bench::print("application_use_hourly_save_longest_stall_median", s.median, "ms");
    Bench::print("application_use_hourly_save_longest_stall_p95", s.p95, "ms");
    Bench::print("application_use_records_after_saves",
                 double(controller.lists().mListOfApplicationsUse.size()), "records");
    controller.applicationWillTerminate();

    // What one sample asks of this desktop: the front application and every running process
    // (the X display and /proc; run under scripts/with-session.sh for a display).
    const std::unique_ptr<Workspace> desktop = Workspace::createLinux();
    qsizetype processes = 0;
    const Bench::Stats q = Bench::stats(Bench::timeRuns(21, [&desktop, &processes] {
        desktop->frontApplication();
        processes = desktop->runningProcesses().size();
    }));
    Bench::print("application_use_sample_queries_median", q.median, "ms");
    Bench::print("application_use_sample_queries_p95", q.p95, "ms");
    Bench::print("application_use_sample_processes", double(processes), "processes");
    return 0;
}
