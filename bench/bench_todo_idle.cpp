// The agent's processor use while idle with 1,000 to-do items and 100 reminders: the overdue
// watch and the daily calendar check run on every timer tick and must not rescan the lists.
// Needs a display and a session bus: run it under scripts/with-session.sh.
//   bench_todo_idle [seconds measured, default 30]
#include "BenchAgent.h"
#include "BenchUtils.h"

#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"
#include "ToDoItems.h"
#include "platform/DBusNotificationCenter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

void writeData()
{
    const QDateTime now = QDateTime::currentDateTime();
    QVariantList toDo;
    for (int i = 0; i < 1000; ++i) {
        // Spread over two years ahead, a tenth of them done.
        toDo << ToDoItems::newRecord(QStringLiteral("task %1").arg(i),
                                     now.addSecs(3600 + i * 63000), i % 10 == 0);
    }
    ToDoItems::sort(toDo);
    CommonKorvaleClass::saveListInFile(toDo, DataFileName::ToDo);
    QVariantList reminders;
    for (int i = 0; i < 100; ++i)
        reminders << QVariantMap{
            {QStringLiteral("x"), 11},
            {QStringLiteral("T"), QStringLiteral("reminder %1").arg(i, 3, 10, QChar('0'))},
            {QStringLiteral("Color"), i % 4}};
    CommonKorvaleClass::saveListInFile(reminders, DataFileName::Reminder);
    SharedPreferences preferences;
    preferences.setValue(QStringLiteral("OtherDataCalendarEvents"), 1);
    preferences.synchronize();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!std::getenv("DISPLAY") || !QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "bench_todo_idle: run it under scripts/with-session.sh\n");
        return 1;
    }
    const int seconds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 30;
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toLocal8Bit());
    writeData();

    QProcess daemon;
    daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon.start(QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-daemon"), {});
    if (!daemon.waitForStarted(5000)) {
        std::fprintf(stderr, "bench_todo_idle: korvale-daemon did not start\n");
        return 1;
    }
    // Start-up, the first reload and the first application scan settle first.
    QThread::sleep(8);
    std::vector<double> perSecond;
    const double first = BenchAgent::processCpuSeconds(daemon.processId());
    double previous = first;
    for (int i = 0; i < seconds; ++i) {
        QThread::sleep(1);
        const double used = BenchAgent::processCpuSeconds(daemon.processId());
        perSecond.push_back((used - previous) * 100.0);
        previous = used;
    }
    DBusNotificationCenter bus(QDBusConnection::sessionBus());
    bus.post(NotificationChannel::Daemon, QStringLiteral("QuitDaemon"), {});
    if (!daemon.waitForFinished(5000)) {
        daemon.kill();
        daemon.waitForFinished(2000);
    }
    const Bench::Stats stats = Bench::stats(perSecond);
    Bench::print("idle_cpu_1000_todos", (previous - first) * 100.0 / seconds, "%");
    Bench::print("idle_cpu_1000_todos_per_second_median", stats.median, "%");
    Bench::print("idle_cpu_1000_todos_per_second_p95", stats.p95, "%");
    return 0;
}
