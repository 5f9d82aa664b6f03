// Start-up time of korvale-daemon to its first activation-timer tick, and its resident memory
// once idle, with empty lists in a fresh home; each beside its target. The resident memory is
// mostly the libraries' file pages; its anonymous part is the agent's own. Needs a session bus (the
// agent reports its first tick there): run it under scripts/with-session.sh.
#include "BenchUtils.h"

#include "platform/DBusNotificationCenter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

qint64 timerCounter()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.korvale.Daemon"), QStringLiteral("/org/korvale/Instance"),
        QStringLiteral("org.korvale.Instance"), QStringLiteral("Status"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return -1;
    return DBusNotificationCenter::fromWire(reply.arguments().first())
        .toMap()
        .value(QStringLiteral("timerCounter"), -1)
        .toLongLong();
}

// A field of /proc/PID/status in megabytes: "VmRSS" (all resident pages), "RssAnon" (the
// process's own memory: heap, stacks, written pages of the libraries' data).
double statusMegabytes(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Resident memory of the process's mappings of OpenSSL's libcrypto, which only the protected
// notes need: 0 while they have not been unlocked.
double libcryptoResidentMegabytes(qint64 pid)
{
    QFile smaps(QStringLiteral("/proc/%1/smaps").arg(pid));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    bool inLibcrypto = false;
    double kilobytes = 0;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[0].contains('-') && !fields[0].endsWith(':'))
            inLibcrypto = fields.size() >= 6 && fields[5].contains("/libcrypto.so");
        else if (inLibcrypto && line.startsWith("Rss:"))
            kilobytes += fields.value(1).toDouble();
    }
    return kilobytes / 1024.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS") || !QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr,
                     "bench_daemon_startup: no session bus; run it under "
                     "scripts/with-session.sh\n");
        return 1;
    }
    const QString program =
        QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-daemon");
    constexpr int runs = 9;
    std::vector<double> startup;
    std::vector<double> memory;
    std::vector<double> anonymous;
    std::vector<double> libcrypto;
    DBusNotificationCenter bus(QDBusConnection::sessionBus());

    for (int run = 0; run < runs; ++run) {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.path() + QStringLiteral("/.config"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           home.path() + QStringLiteral("/.local/share"));
        QProcess daemon;
        daemon.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        daemon.start(program, {});
        if (!daemon.waitForStarted(5000)) {
            std::fprintf(stderr, "bench_daemon_startup: %s did not start\n", qPrintable(program));
            return 1;
        }
        while (timerCounter() < 1 && clock.elapsed() < 10000)
            QThread::usleep(500);
        startup.push_back(double(clock.nsecsElapsed()) / 1e6);

        QThread::msleep(2000);
        memory.push_back(statusMegabytes(daemon.processId(), "VmRSS"));
        anonymous.push_back(statusMegabytes(daemon.processId(), "RssAnon"));
        libcrypto.push_back(libcryptoResidentMegabytes(daemon.processId()));

        bus.post(NotificationChannel::Daemon, QStringLiteral("QuitDaemon"), {});
        if (!daemon.waitForFinished(5000)) {
            daemon.kill();
            daemon.waitForFinished(2000);
        }
    }
    const Bench::Stats time = Bench::stats(startup);
    const Bench::Stats rss = Bench::stats(memory);
    Bench::print("daemon_startup_to_first_tick_median", time.median, "ms");
    Bench::print("daemon_startup_to_first_tick_p95", time.p95, "ms");
    Bench::print("daemon_startup_to_first_tick_target", 150, "ms");
    Bench::print("daemon_idle_resident_memory_median", rss.median, "MB");
    Bench::print("daemon_idle_resident_memory_p95", rss.p95, "MB");
    Bench::print("daemon_idle_resident_memory_target", 25, "MB");
    Bench::print("daemon_idle_anonymous_memory_median", Bench::stats(anonymous).median, "MB");
    Bench::print("daemon_idle_libcrypto_resident_median", Bench::stats(libcrypto).median, "MB");
    return 0;
}
