#include "DaemonTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct StartedDaemon : DaemonFixture {
    StartedDaemon()
    {
        controller->awakeFromNib();
        controller->applicationDidFinishLaunching();
    }
    void post(const QString &object, const QString &channel = NotificationChannel::Daemon)
    {
        notifications->post(channel, object);
        QTest::qWait(5); // delivery
    }
};

} // namespace

TEST(DaemonNotifications, SettingChangedRereadsSettingsThenDataAndBringsTheCheckForward)
{
    StartedDaemon f;
    const int settings = f.controller->settingsReadCount();
    const int data = f.controller->dataReadCount();
    managerWrites({{"PriorityForNotes", 5}});
    f.post("SettingChanged");
    EXPECT_DOUBLE_EQ(f.controller->schedule().mNextOtherSettingsUpdate, f.clock.now() + 3.0);
    EXPECT_EQ(f.controller->settingsReadCount(), settings);
    QTest::qWait(550);
    EXPECT_EQ(f.controller->settingsReadCount(), settings + 1);
    EXPECT_EQ(f.controller->settings().mPriorityForNotes, 5);
    QTest::qWait(100);
    EXPECT_EQ(f.controller->dataReadCount(), data + 1);
}

TEST(DaemonNotifications, SettingChangedDuringASearchRereadsSettingsOnly)
{
    StartedDaemon f;
    const int data = f.controller->dataReadCount();
    f.controller->flags().mSearchThreadIsRunning = true;
    managerWrites({{"ResetFilter", 0}});
    f.post("SettingChanged");
    QTest::qWait(700);
    EXPECT_EQ(f.controller->settings().mResetFilter, 0);
    EXPECT_EQ(f.controller->dataReadCount(), data);
}

TEST(DaemonNotifications, EveryDaemonCommandDiscardsTheMenuBarMenu)
{
    StartedDaemon f;
    f.controller->checkPrefsApplications();
    ASSERT_TRUE(f.controller->flags().mMenuBarMenuBuilt);
    const int settingsReads = f.controller->settingsReadCount();
    f.post("SomethingNew");
    EXPECT_FALSE(f.controller->flags().mMenuBarMenuBuilt);
    EXPECT_EQ(f.hooks->count("discardMenuBarMenu"), 1);
    f.post("ShowKeysDetection");
    f.post("CloseKeysDetection");
    EXPECT_EQ(f.hooks->count("showKeysDetectionWindow"), 1);
    EXPECT_EQ(f.hooks->count("closeKeysDetectionWindow"), 1);
    EXPECT_EQ(f.hooks->count("discardMenuBarMenu"), 3);

    // No object, or another channel's command: nothing at all.
    f.post("");
    f.post("PathToBrowser", NotificationChannel::Browser);
    f.post("SettingChanged", NotificationChannel::Main);
    EXPECT_EQ(f.hooks->count("discardMenuBarMenu"), 3);
    QTest::qWait(600);
    EXPECT_EQ(f.controller->settingsReadCount(), settingsReads);
}

TEST(DaemonNotifications, DeferredCommandsReachTheirHooks)
{
    StartedDaemon f;
    f.post("MainAppLaunched");
    EXPECT_EQ(f.hooks->count("saveApplicationsUse"), 1);

    f.post("RescanFolders");
    f.post("RescanApplications");
    QTest::qWait(1500);
    EXPECT_EQ(f.hooks->count("rescanFolders"), 0);
    QTest::qWait(700);
    EXPECT_EQ(f.hooks->count("rescanFolders"), 1);
    EXPECT_EQ(f.hooks->count("rescanApplications"), 1);

    const int data = f.controller->dataReadCount();
    f.post("ScanApplicationsCompleted");
    QTest::qWait(300);
    EXPECT_EQ(f.controller->dataReadCount(), data + 1);
    EXPECT_EQ(f.hooks->count("rerunSearch"), 0);

    f.controller->flags().mWindowVisible = true;
    f.post("ScanApplicationsCompleted");
    QTest::qWait(300);
    EXPECT_EQ(f.hooks->count("rerunSearch"), 1);
    EXPECT_EQ(f.hooks->count("hideScanningPanel"), 1);
}

TEST(DaemonNotifications, QuickLookClosedAnswersOnlyWhileTheAccessWindowIsUp)
{
    StartedDaemon f;
    QStringList answers;
    f.notifications->observe(NotificationChannel::QuickLook);
    QObject::connect(f.notifications.get(), &NotificationCenter::notificationReceived,
                     [&answers](const QString &channel, const QString &object) {
                         if (channel == NotificationChannel::QuickLook)
                             answers << object;
                     });
    f.post("QuickLookWindowClosedNotification", NotificationChannel::Browser);
    QTest::qWait(10);
    EXPECT_TRUE(answers.isEmpty());
    f.controller->flags().mWindowVisible = true;
    f.post("QuickLookWindowClosedNotification", NotificationChannel::Browser);
    QTest::qWait(10);
    EXPECT_EQ(answers, QStringList{"QuickLookQuitNotification"});
    EXPECT_EQ(f.hooks->count("bringAgentToFront"), 1);
    EXPECT_EQ(f.hooks->count("discardMenuBarMenu"), 0);
}

TEST(DaemonNotifications, QuitDaemonTerminatesOnceAfterSavingApplicationUse)
{
    StartedDaemon f;
    f.post("QuitDaemon");
    EXPECT_EQ(f.quitCount, 0);
    QTest::qWait(200);
    EXPECT_EQ(f.quitCount, 1);
    EXPECT_EQ(f.hooks->count("saveApplicationsUse"), 1);
    EXPECT_FALSE(f.controller->isTimerRunning());
    EXPECT_FALSE(f.notifications->isObserving(NotificationChannel::Daemon));
    f.controller->terminateDelayed();
    EXPECT_EQ(f.quitCount, 1);
}

TEST(DaemonNotifications, QuitFromTheMenuAsksFirst)
{
    StartedDaemon f;
    f.controller->quitDaemon();
    QTest::qWait(350);
    EXPECT_EQ(f.hooks->count("confirmQuit"), 1);
    EXPECT_EQ(f.quitCount, 0);
    f.hooks->quitAnswer = true;
    f.controller->quitDaemon();
    QTest::qWait(100);
    EXPECT_EQ(f.quitCount, 0);
    QTest::qWait(250);
    EXPECT_EQ(f.quitCount, 1);
}

TEST(DaemonNotifications, PathToBrowserCarriesThePathAndTheFrame)
{
    StartedDaemon f;
    QVariantMap received;
    QObject::connect(f.notifications.get(), &NotificationCenter::notificationReceived,
                     [&received](const QString &, const QString &object, const QVariantMap &info) {
                         if (object == QLatin1String("PathToBrowser"))
                             received = info;
                     });
    f.controller->sendNotificationToBrowser(QString());
    QTest::qWait(10);
    EXPECT_TRUE(received.contains("Path"));
    EXPECT_TRUE(received.contains("WindowFrame"));
    EXPECT_EQ(received.value("Path").toString(), QString());
}
