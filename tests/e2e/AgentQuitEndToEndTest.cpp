// The real agent ended the ways a session ends it, after its windows were shown: by SIGTERM at
// logout, and by "QuitDaemon" from the manager. Each start is kept lean (one note, no folder to
// scan) so that many of them fit in a few seconds each.
#include "E2eSupport.h"

#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

#ifdef KORVALE_SANITIZED
// Each start costs several times more under the sanitizers, which find what goes wrong in
// the teardown on fewer runs.
constexpr int Runs = 10;
#else
constexpr int Runs = 50;
#endif

class AgentQuit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_SESSION();
        // Nothing to scan; one note, listed and previewed as soon as the window opens.
        SharedPreferences preferences;
        preferences.setValue("AppsFoldersList", QVariantList());
        ASSERT_TRUE(preferences.synchronize());
        CommonKorvaleClass::saveListInFile(
            {QVariantMap{{"x", 5}, {"T", "Quitting note"}, {"t", "Text shown in the preview"}}},
            DataFileName::Notes);
    }

    // The access window is up with its preview beside it.
    static bool windowsShown()
    {
        const QVariantMap state = accessWindowState();
        return state.value("visible").toBool() && state.value("preview").toBool();
    }

    TemporaryHome home;
};

} // namespace

TEST_F(AgentQuit, SigtermAfterTheWindowsWereShownEndsWithZeroEveryTime)
{
    for (int run = 0; run < Runs; ++run) {
        AgentProcess agent;
        agent.start();
        ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
        ASSERT_TRUE(callAccessWindow("Open"));
        ASSERT_TRUE(waitFor(&windowsShown)) << "run " << run << ": " << agent.log().toStdString();
        ASSERT_TRUE(agent.terminateAndWait()) << "run " << run;
        ASSERT_EQ(agent.howItEnded(), "exit 0")
            << "run " << run << ": " << agent.log().toStdString();
    }
}

TEST_F(AgentQuit, QuitDaemonAfterTheWindowsWereShownEndsWithZero)
{
    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    ASSERT_TRUE(callAccessWindow("Open"));
    ASSERT_TRUE(waitFor(&windowsShown)) << agent.log().toStdString();
    const std::unique_ptr<NotificationCenter> manager(NotificationCenter::createSessionBusCenter());
    ASSERT_TRUE(manager->post(NotificationChannel::Daemon, "QuitDaemon"));
    ASSERT_TRUE(agent.waitForFinished()) << "the agent did not quit";
    EXPECT_EQ(agent.howItEnded(), "exit 0") << agent.log().toStdString();
}
