// Runs under scripts/with-session.sh: the real korvale-daemon on a private session bus.
#include "SharedPreferences.h"
#include "TestEnvironment.h"
#include "platform/DBusNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

bool haveSessionBus()
{
    return std::getenv("DBUS_SESSION_BUS_ADDRESS") && QDBusConnection::sessionBus().isConnected();
}

#define REQUIRE_SESSION_BUS()                                                                      \
    if (!haveSessionBus())                                                                         \
    GTEST_SKIP() << "no D-Bus session bus: run under scripts/with-session.sh"

QVariantMap daemonStatus()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.korvale.Daemon"), QStringLiteral("/org/korvale/Instance"),
        QStringLiteral("org.korvale.Instance"), QStringLiteral("Status"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return DBusNotificationCenter::fromWire(reply.arguments().first()).toMap();
}

template <typename Predicate> bool waitFor(Predicate predicate, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (predicate())
            return true;
        QTest::qWait(50);
    }
    return predicate();
}

void emitDaemonCommand(const QString &object)
{
    const ProgramRun run = runProgram(
        QStringLiteral("gdbus"),
        {"emit", "--session", "--object-path", "/org/korvale/Notifications", "--signal",
         "org.korvale.Notifications.KRV1_DaemonNotification", "'" + object + "'", "@a{sv} {}"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
}

} // namespace

TEST(DBusNotificationCenter, RecordsCrossTheBusWithTheirTypes)
{
    REQUIRE_SESSION_BUS();
    auto poster = NotificationCenter::createSessionBusCenter();
    DBusNotificationCenter observer(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("observer")));
    ASSERT_TRUE(observer.observe(NotificationChannel::Main));
    QList<QVariantMap> received;
    QStringList objects;
    QObject::connect(&observer, &NotificationCenter::notificationReceived,
                     [&](const QString &channel, const QString &object, const QVariantMap &info) {
                         EXPECT_EQ(channel, NotificationChannel::Main);
                         objects << object;
                         received << info;
                     });
    const QDateTime due = QDateTime::fromMSecsSinceEpoch(1796776800123LL);
    const QVariantMap record{{"x", 8},
                             {"T", "Café"},
                             {"Date", due},
                             {"K", QVariantList{"a", 2, QVariantMap{{"n", 1.5}}}},
                             {"cb", QByteArray("\x00\x01", 2)},
                             {"none", QVariant()}};
    EXPECT_FALSE(poster->post(NotificationChannel::Main, QString(), record));
    EXPECT_FALSE(poster->post(QStringLiteral("KRV1_Other"), "EditItem", record));
    ASSERT_TRUE(poster->post(NotificationChannel::Main, "EditItem", record));
    ASSERT_TRUE(poster->post(NotificationChannel::Daemon, "SettingChanged"));
    ASSERT_TRUE(waitFor([&] { return !received.isEmpty(); }, 3000));
    QTest::qWait(100);
    ASSERT_EQ(objects, QStringList{"EditItem"});
    const QVariantMap got = received.first();
    EXPECT_EQ(got.value("x").toInt(), 8);
    EXPECT_EQ(got.value("T").toString(), "Café");
    EXPECT_EQ(got.value("Date").toDateTime(), due);
    EXPECT_EQ(got.value("cb").toByteArray(), QByteArray("\x00\x01", 2));
    const QVariantList keywords = got.value("K").toList();
    ASSERT_EQ(keywords.size(), 3);
    EXPECT_EQ(keywords.at(2).toMap().value("n").toDouble(), 1.5);
    EXPECT_FALSE(got.contains("none"));
}

// Starts the real agent in a temporary home, changes a setting the way the manager does, and
// tells it so; then a second start hands over, and "QuitDaemon" ends it.
TEST(DaemonProgram, RereadsSettingsOnRequestHandsOverToItselfAndQuits)
{
    REQUIRE_SESSION_BUS();
    TemporaryHome home;
    QProcess daemon;
    daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    daemon.setProcessEnvironment(environment);
    daemon.start(builtProgram("bin/korvale-daemon"), {});
    ASSERT_TRUE(daemon.waitForStarted(5000));
    auto stop = qScopeGuard([&daemon] {
        if (daemon.state() != QProcess::NotRunning) {
            daemon.kill();
            daemon.waitForFinished(3000);
        }
    });

    ASSERT_TRUE(waitFor([] { return daemonStatus().value("timerRunning").toBool(); }))
        << "the agent did not come up on the bus";
    QVariantMap status = daemonStatus();
    EXPECT_EQ(status.value("pid").toLongLong(), daemon.processId());
    EXPECT_EQ(status.value("PriorityForNotes").toInt(), 0);
    const int readsBefore = status.value("settingsReadCount").toInt();

    SharedPreferences manager;
    manager.setValue("PriorityForNotes", 4);
    ASSERT_TRUE(manager.synchronize());
    emitDaemonCommand("SettingChanged");
    EXPECT_TRUE(
        waitFor([] { return daemonStatus().value("PriorityForNotes").toInt() == 4; }, 5000));
    EXPECT_GT(daemonStatus().value("settingsReadCount").toInt(), readsBefore);

    const ProgramRun second = runProgram(builtProgram("bin/korvale-daemon"), {});
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(daemonStatus().value("activationCount").toInt(), 1);
    EXPECT_EQ(daemon.state(), QProcess::Running);

    emitDaemonCommand("QuitDaemon");
    ASSERT_TRUE(daemon.waitForFinished(5000)) << "the agent did not quit";
    EXPECT_EQ(daemon.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(daemon.exitCode(), 0);
    // Nothing of the manager's was lost.
    EXPECT_EQ(SharedPreferences().intValue("PriorityForNotes"), 4);
}

TEST(DaemonProgram, EndsCleanlyWhenTheSessionTerminatesIt)
{
    REQUIRE_SESSION_BUS();
    TemporaryHome home;
    QProcess daemon;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    daemon.setProcessEnvironment(environment);
    daemon.start(builtProgram("bin/korvale-daemon"), {});
    ASSERT_TRUE(daemon.waitForStarted(5000));
    ASSERT_TRUE(waitFor([] { return daemonStatus().value("timerRunning").toBool(); }));
    daemon.terminate(); // SIGTERM
    ASSERT_TRUE(daemon.waitForFinished(5000));
    EXPECT_EQ(daemon.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(daemon.exitCode(), 0);
    // The name is free again for the next session's agent.
    EXPECT_TRUE(waitFor([] { return daemonStatus().isEmpty(); }, 3000));
}

// Started outside a desktop session, the agent says why it cannot run instead of letting the
// platform plugin abort it.
TEST(DaemonProgram, SaysWhyItCannotStartWithoutADisplay)
{
    TemporaryHome home;
    const struct {
        const char *display;
        const char *expected;
    } cases[] = {{"", "DISPLAY is not set"}, {":4097", "does not answer"}};
    for (const auto &c : cases) {
        QProcess daemon;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("DISPLAY", c.display);
        daemon.setProcessEnvironment(environment);
        daemon.start(builtProgram("bin/korvale-daemon"), {});
        ASSERT_TRUE(daemon.waitForFinished(10000));
        EXPECT_EQ(daemon.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(daemon.exitCode(), 1);
        const QByteArray err = daemon.readAllStandardError();
        EXPECT_TRUE(err.contains("korvale-daemon cannot start")) << err.toStdString();
        EXPECT_TRUE(err.contains(c.expected)) << err.toStdString();
    }
}
