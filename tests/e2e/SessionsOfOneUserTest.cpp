// One user, two or three desktop sessions at once (a second seat, a remote desktop), each with a
// session bus of its own: what runs in another session neither keeps this session's agent from
// starting nor stands for this session's manager, while a second copy of the suite on this
// session's bus is still named.
#include "E2eSupport.h"

#include "DaemonControl.h"
#include "SharedPreferences.h"
#include "platform/DBusNotificationCenter.h"
#include "platform/QOR_AppUtils.h"
#include "platform/SessionPrograms.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace {

// Even a test that crashes leaves nothing running.
void endWithThisProcess(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

// The session bus of another login: no services are started on demand, and every program
// connected to it is ended with it.
class OtherSessionBus
{
public:
    OtherSessionBus()
    {
        QFile config(mFolder.filePath(QStringLiteral("bus.conf")));
        config.open(QIODevice::WriteOnly);
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                     "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\">"
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                     "<allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        endWithThisProcess(mBus);
        mBus.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                    QStringLiteral("--config-file=") + config.fileName()});
        if (mBus.waitForStarted(5000) && waitFor([this] { return mBus.canReadLine(); }, 5000))
            mAddress = QString::fromUtf8(mBus.readLine()).trimmed();
    }

    ~OtherSessionBus()
    {
        for (const std::unique_ptr<QProcess> &program : mPrograms)
            program->terminate();
        for (const std::unique_ptr<QProcess> &program : mPrograms) {
            if (!program->waitForFinished(5000))
                program->kill();
            program->waitForFinished(2000);
        }
        endOtherClients();
        if (!mAddress.isEmpty())
            QDBusConnection::disconnectFromBus(mAddress);
        mBus.terminate();
        if (!mBus.waitForFinished(5000)) {
            mBus.kill();
            mBus.waitForFinished(2000);
        }
    }
    OtherSessionBus(const OtherSessionBus &) = delete;
    OtherSessionBus &operator=(const OtherSessionBus &) = delete;

    bool isUp() const { return !mAddress.isEmpty(); }

    // A program of that session, on its bus.
    void run(const QString &program)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), mAddress);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        endWithThisProcess(*process);
        process->start(program, {});
        mPrograms.push_back(std::move(process));
    }

    bool owns(const QString &service) { return bus().interface()->isServiceRegistered(service); }

private:
    QDBusConnection bus() { return QDBusConnection::connectToBus(mAddress, mAddress); }

    // Whatever the programs started on the bus goes too.
    void endOtherClients()
    {
        if (!isUp())
            return;
        QDBusConnectionInterface *daemon = bus().interface();
        std::vector<pid_t> clients;
        for (const QString &name : daemon->registeredServiceNames().value()) {
            const pid_t pid = pid_t(daemon->servicePid(name).value());
            if (name.startsWith(QLatin1Char(':')) && pid > 0 && pid != ::getpid())
                clients.push_back(pid);
        }
        for (const pid_t pid : clients)
            ::kill(pid, SIGTERM);
        for (const pid_t pid : clients) {
            if (!waitFor([pid] { return ::kill(pid, 0) != 0; }, 3000))
                ::kill(pid, SIGKILL);
        }
    }

    QTemporaryDir mFolder;
    QProcess mBus;
    QString mAddress;
    std::vector<std::unique_ptr<QProcess>> mPrograms;
};

} // namespace

TEST(SessionsOfOneUser, OtherSessionsProgramsCountNowhereButACopyOnThisBusIsNamed)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    const QString agentPath =
        QFileInfo(builtProgram(QStringLiteral("bin/korvale-daemon"))).canonicalFilePath();
    const QString managerPath =
        QFileInfo(builtProgram(QStringLiteral("bin/korvale-manager"))).canonicalFilePath();
    const QString suiteFolder = QFileInfo(QFileInfo(agentPath).path()).path();
    {
        // The licence of this version was accepted: the other session's manager comes up
        // without its sheet, with the agent switched on.
        SharedPreferences preferences;
        preferences.setValue(QStringLiteral("Version"), QStringLiteral(KORVALE_VERSION));
        preferences.setValue(QStringLiteral("DaemonActivated"), 1);
        ASSERT_TRUE(preferences.synchronize());
    }
    // A second copy of the suite, installed elsewhere.
    const QString copyPath = home.path() + QStringLiteral("/copy/bin/korvale-daemon");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(copyPath).path()));
    ASSERT_TRUE(QFile::copy(agentPath, copyPath));

    // The second session runs this copy's agent and manager, the third the other copy's agent.
    OtherSessionBus second;
    OtherSessionBus third;
    ASSERT_TRUE(second.isUp() && third.isUp());
    second.run(agentPath);
    third.run(copyPath);
    const QString agentService = SessionProgram::daemon().service;
    ASSERT_TRUE(waitFor([&] { return second.owns(agentService) && third.owns(agentService); }));
    second.run(managerPath);
    // That manager took its own session's agent as running and made it a login item.
    ASSERT_TRUE(waitFor([&] { return QOR_AppUtils::isInLoginItems(agentPath); }));
    QOR_AppUtils::removeFromLoginItems(agentPath);

    // Here the switch starts this copy's agent and makes it a login item, without a word of
    // another copy.
    QStringList started;
    QStringList named;
    const auto control = [&](const QString &path) {
        DaemonControl::Environment environment;
        environment.daemonPath = path;
        environment.start = [&](const QString &program) {
            started << program;
            return true;
        };
        environment.multipleDaemons = [&](const QString &folder) { named << folder; };
        return std::make_unique<DaemonControl>(std::move(environment));
    };
    const std::unique_ptr<DaemonControl> thisCopy = control(agentPath);
    EXPECT_FALSE(thisCopy->daemonIsLaunched());
    thisCopy->apply(true);
    EXPECT_EQ(started.join(QLatin1Char(' ')).toStdString(), agentPath.toStdString());
    EXPECT_TRUE(named.isEmpty()) << named.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(QOR_AppUtils::isInLoginItems(agentPath));

    // The agent's own one-per-session check lets it start here; no manager is on its bus, so it
    // changes the to-do list itself rather than post to a manager that cannot hear it.
    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    EXPECT_TRUE(thisCopy->daemonIsLaunched());
    const auto managerHeard = [] {
        const QVariantMap status = agentStatus();
        EXPECT_TRUE(status.contains(QStringLiteral("mainAppLaunched")));
        return status.value(QStringLiteral("mainAppLaunched")).toBool();
    };
    EXPECT_FALSE(managerHeard()) << "the other session's manager";
    {
        const QString connection = QStringLiteral("manager");
        QDBusConnection manager =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, connection);
        ASSERT_TRUE(manager.registerService(SessionProgram::manager().service));
        EXPECT_TRUE(managerHeard());
        manager.unregisterService(SessionProgram::manager().service);
        QDBusConnection::disconnectFromBus(connection);
    }

    // The other copy's manager, in this session where this copy's agent runs, names this copy
    // and starts nothing.
    started.clear();
    EXPECT_FALSE(control(copyPath)->launchDaemon());
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(named.join(QLatin1Char(' ')).toStdString(), suiteFolder.toStdString());
}
