// The manager's activity report over a year and the chart of one day, from a use file of five
// years (about 100,000 intervals and 1,800 day summaries), as the windows compute them; then the
// manager itself (off screen, in a private temporary home) opening that file in its windows,
// with the longest stall of its main thread.
#include "ActivityData.h"
#include "BenchMainThread.h"
#include "BenchUtils.h"
#include "KorvaleArchive.h"
#include "MainController.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// The windows opened on the file 11 times, from the request until they are filled and painted
// again: the longest gap of a 1 ms heartbeat on the main thread, the longest event in the main
// thread's processor time, and the time until they are filled; then the heartbeat alone for as
// long, which is what the machine adds.
void openInTheManager(Bench::TimedApplication &app, const QString &path)
{
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    SharedPreferences preferences;
    preferences.setValue("Version", "bench");
    preferences.setValue("DaemonActivated", 0);
    preferences.synchronize();
    std::unique_ptr<NotificationCenter> notifications = NotificationCenter::createLocalCenter();
    MainController::Environment environment;
    environment.notifications = notifications.get();
    environment.interactive = false;
    environment.version = QStringLiteral("bench");
    environment.daemonPath = QStringLiteral("/nonexistent/korvale-daemon");
    MainController manager(environment);
    manager.awakeFromNib();
    manager.applicationDidFinishLaunching();
    std::vector<double> stalls;
    std::vector<double> events;
    std::vector<double> filledAfter;
    Bench::Heartbeat heartbeat;
    for (int run = 0; run < 11; ++run) {
        QEventLoop loop;
        QElapsedTimer sinceAsked;
        const QMetaObject::Connection filled =
            QObject::connect(&manager, &MainController::activityWindowsFilled, [&] {
                filledAfter.push_back(double(sinceAsked.nsecsElapsed()) / 1e6);
                // The windows repaint with the data: counted too.
                QTimer::singleShot(100, &loop, &QEventLoop::quit);
            });
        QTimer::singleShot(5, [&] {
            sinceAsked.start();
            manager.openFile(path);
        });
        app.longestEventCpuMs = 0;
        app.measuring = true;
        heartbeat.start();
        loop.exec();
        stalls.push_back(heartbeat.stop());
        app.measuring = false;
        events.push_back(app.longestEventCpuMs);
        QObject::disconnect(filled);
    }
    std::vector<double> idle;
    for (int run = 0; run < 11; ++run) {
        QEventLoop loop;
        QTimer::singleShot(int(filledAfter.at(std::size_t(run))) + 105, &loop, &QEventLoop::quit);
        heartbeat.start();
        loop.exec();
        idle.push_back(heartbeat.stop());
    }
    const Bench::Stats stall = Bench::stats(stalls);
    Bench::print("activity_windows_open_longest_stall_median", stall.median, "ms");
    Bench::print("activity_windows_open_longest_stall_p95", stall.p95, "ms");
    const Bench::Stats event = Bench::stats(events);
    Bench::print("activity_windows_open_longest_event_cpu_median", event.median, "ms");
    Bench::print("activity_windows_open_longest_event_cpu_p95", event.p95, "ms");
    const Bench::Stats quiet = Bench::stats(idle);
    Bench::print("activity_heartbeat_alone_longest_gap_median", quiet.median, "ms");
    Bench::print("activity_heartbeat_alone_longest_gap_p95", quiet.p95, "ms");
    const Bench::Stats shown = Bench::stats(filledAfter);
    Bench::print("activity_windows_open_filled_median", shown.median, "ms");
    Bench::print("activity_windows_open_filled_p95", shown.p95, "ms");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    Bench::TimedApplication app(argc, argv);
    constexpr qint64 Day = 86400;
    constexpr int Years = 5;
    constexpr int Days = 365 * Years;
    const qint64 firstDay = 8000 * Day;
    const QStringList names{"org.gnome.TextEditor",
                            "firefox-esr",
                            "org.gnome.Terminal",
                            "thunderbird",
                            "libreoffice-calc",
                            "code",
                            "org.gnome.Nautilus",
                            "gimp",
                            "vlc",
                            "xterm",
                            "org.gnome.Calculator",
                            "evince"};
    QRandomGenerator random(28);
    QVariantList records;
    // 55 intervals a day of 2 to 20 minutes, one after the other from 8:00.
    for (int day = 0; day < Days; ++day) {
        qint64 moment = firstDay + day * Day + 8 * 3600;
        for (int i = 0; i < 55; ++i) {
            const qint64 length = 120 + random.bounded(1080);
            QVariantMap use{{"N", names.at(random.bounded(int(names.size())))}, {"D", moment}};
            // One in fifty without an end, as a last sample before the agent stopped.
            if (random.bounded(50) != 0)
                use.insert("T", moment + length);
            records << use;
            moment += length;
        }
    }
    for (int day = 0; day < Days; ++day) {
        QVariantMap set;
        for (int i = 0; i < 6; ++i)
            set.insert(names.at(random.bounded(int(names.size()))), 0);
        records << QVariantMap{{"M", KorvaleArchive::encode(set).bytes},
                               {"D", firstDay + day * Day}};
    }
    const qint64 today = firstDay + Days * Day;
    Bench::print("activity_records", double(records.size()), "records");

    // The file's records sorted out once, as opening the windows does.
    ActivityData data;
    const Bench::Stats load =
        Bench::stats(Bench::timeRuns(9, [&] { data = ActivityData::fromRecords(records, today); }));
    Bench::print("activity_levels_median", load.median, "ms");
    Bench::print("activity_levels_p95", load.p95, "ms");

    // From the file: read, decode, sort out and add up a year, as opening the report does.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("ApplicationsUse.krvdata"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(KorvaleArchive::encode(records).bytes);
    }
    const Bench::Stats opened = Bench::stats(Bench::timeRuns(9, [&] {
        const std::optional<QVariantList> read = ActivityData::readFile(path);
        data = ActivityData::fromRecords(read.value_or(QVariantList()), today);
        data.report(today - 365 * Day, today);
    }));
    Bench::print("activity_open_file_and_report_year_median", opened.median, "ms");
    Bench::print("activity_open_file_and_report_year_p95", opened.p95, "ms");

    qsizetype rows = 0;
    const Bench::Stats report = Bench::stats(
        Bench::timeRuns(21, [&] { rows += data.report(today - 365 * Day, today).size(); }));
    Bench::print("activity_report_year_median", report.median, "ms");
    Bench::print("activity_report_year_p95", report.p95, "ms");

    qsizetype lanes = 0;
    int run = 0;
    const Bench::Stats chart = Bench::stats(Bench::timeRuns(21, [&] {
        const qint64 day = today - (1 + run++ % 300) * Day;
        lanes += data.chart(day, day + Day).lanes.size();
    }));
    Bench::print("activity_chart_day_median", chart.median, "ms");
    Bench::print("activity_chart_day_p95", chart.p95, "ms");

    openInTheManager(app, path);
    return rows > 0 && lanes > 0 ? 0 : 1;
}
