#include "DaemonTestSupport.h"

#include "ManagerHandOver.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A manager that comes up on the third look after it was asked to start.
class StartingManagerHooks : public RecordingHooks
{
public:
    int looks = 0;
    bool launched = false;
    bool isMainAppLaunched() override { return launched && ++looks >= 3; }
    void launchMainApp() override { launched = true; }
};

} // namespace

TEST(ManagerHandOver, StartsTheManagerThenSendsTheRecordButNothingOfAProtectedNote)
{
    // One agent controller per process: this test's, with its own hooks.
    TemporaryHome home;
    FakeDaemonClock clock;
    SharedPreferences preferences{SharedPreferences::defaultPath()};
    std::shared_ptr<NotificationCenter> notifications{NotificationCenter::createLocalCenter()};
    auto hooks = std::make_shared<StartingManagerHooks>();
    DaemonController::Environment environment;
    environment.preferences = &preferences;
    environment.clock = &clock;
    environment.hooks = hooks;
    environment.notifications = notifications;
    DaemonController daemon(std::move(environment));
    notifications->observe(NotificationChannel::Main);
    QSignalSpy posts(notifications.get(), &NotificationCenter::notificationReceived);

    ManagerHandOver handOver(daemon);
    QSignalSpy handed(&handOver, &ManagerHandOver::handedOver);
    handOver.editInManager({{"x", 6}, {"T", "bank"}, {"t", "PIN 1234"}});
    ASSERT_TRUE(handed.wait(5000));
    EXPECT_TRUE(hooks->launched);
    EXPECT_TRUE(daemon.flags().mMainAppLaunched);
    ASSERT_TRUE(posts.wait(1000) || posts.count() == 1);
    EXPECT_EQ(posts.at(0).at(1).toString(), "EditItem");
    // Neither its text nor its title is on the bus, which any program of the session can watch.
    EXPECT_EQ(posts.at(0).at(2).toMap(), (QVariantMap{{"x", 6}}));

    // A manager already running is sent the record at once, a note's text with it.
    handOver.editInManager({{"x", 5}, {"T", "list"}, {"t", "eggs"}});
    EXPECT_EQ(handed.count(), 2);
    EXPECT_EQ(handed.at(1).at(1).toMap().value("t").toString(), "eggs");
}
