// The ways a terminal or a session ends a program: SIGHUP (the terminal closed), SIGINT (Ctrl+C)
// and SIGTERM. Each ends the real agent and the real manager as their own Quit does, with what
// they keep saved and status 0.
#include "E2eSupport.h"

#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QString useFile()
{
    return CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        DataFileName::ApplicationsUse);
}

const char *const ManagerFrameKey = "NSWindow Frame mainWindow";

} // namespace

TEST(SignalsEndToEnd, EachSignalEndsTheAgentInOrderWithItsUseSaved)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    {
        SharedPreferences preferences;
        preferences.setValue("AppsFoldersList", QVariantList());
        ASSERT_TRUE(preferences.synchronize());
    }
    for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        AgentProcess agent;
        agent.start();
        ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
        // Whatever a periodic save wrote goes: the file must come from the quit.
        QFile::remove(useFile());
        ASSERT_EQ(::kill(pid_t(agent.pid()), signal), 0);
        ASSERT_TRUE(agent.waitForFinished()) << "the agent did not quit";
        EXPECT_EQ(agent.howItEnded(), "exit 0") << agent.log().toStdString();
        EXPECT_TRUE(QFile::exists(useFile())) << agent.log().toStdString();
    }
}

TEST(SignalsEndToEnd, EachSignalEndsTheManagerWithItsWindowsPlaceSaved)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    {
        // The licence of this version taken and the agent off: only the manager runs.
        SharedPreferences preferences;
        preferences.setValue("Version", QStringLiteral(KORVALE_VERSION));
        preferences.setValue("DaemonActivated", 0);
        ASSERT_TRUE(preferences.synchronize());
    }
    const QString service = QStringLiteral("org.korvale.Manager");
    for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        {
            SharedPreferences preferences;
            preferences.removeValue(ManagerFrameKey);
            ASSERT_TRUE(preferences.synchronize());
        }
        QProcess manager;
        manager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        manager.setChildProcessModifier([] { ::signal(SIGHUP, SIG_DFL); });
        manager.start(builtProgram("bin/korvale-manager"), {});
        ASSERT_TRUE(waitFor([&] { return !instanceStatus(service).isEmpty(); }, 20000));
        ASSERT_EQ(::kill(pid_t(manager.processId()), signal), 0);
        const bool ended = manager.waitForFinished(10000);
        if (!ended) {
            manager.kill();
            manager.waitForFinished(2000);
        }
        ASSERT_TRUE(ended) << "the manager did not quit";
        EXPECT_EQ(manager.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(manager.exitCode(), 0);
        EXPECT_TRUE(SharedPreferences().value(ManagerFrameKey).isValid());
        // Its name is free again for the next start.
        ASSERT_TRUE(waitFor([&] { return instanceStatus(service).isEmpty(); }));
    }
}
