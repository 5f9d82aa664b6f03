#include "ApplicationLauncher.h"
#include "platform/FakeWorkspace.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString Entry = QStringLiteral("/usr/share/applications/org.example.Editor.desktop");

class ApplicationLauncherTest : public ::testing::Test
{
protected:
    ApplicationLauncherTest() { mLauncher.setWatchTries(30, 10); }
    FakeWorkspace mWorkspace;
    ApplicationLauncher mLauncher{mWorkspace};
    QSignalSpy mFinished{&mLauncher, &ApplicationLauncher::launchWatchFinished};
};

} // namespace

TEST_F(ApplicationLauncherTest, BringsTheProcessToTheFrontOnceItsWindowIsUp)
{
    mWorkspace.addProcess(100, "/usr/bin/other");
    ASSERT_TRUE(mLauncher.launchApplication(Entry));
    EXPECT_EQ(mWorkspace.launched(), QStringList{Entry});
    // Appears after a few tries, first without a window, then with one.
    QTimer::singleShot(40, [this] { mWorkspace.addProcess(200, Entry, false); });
    QTimer::singleShot(80, [this] { mWorkspace.addProcess(201, Entry, true); });

    ASSERT_TRUE(mFinished.wait(5000));
    EXPECT_EQ(mFinished.first(), (QVariantList{Entry, true}));
    EXPECT_EQ(mWorkspace.frontPid(), 201);
    EXPECT_GT(mWorkspace.processQueries(), 2);
}

TEST_F(ApplicationLauncherTest, GivesUpAfterItsTries)
{
    mLauncher.setWatchTries(4, 5);
    mWorkspace.addProcess(300, Entry, false);
    ASSERT_TRUE(mLauncher.launchApplication(Entry));
    ASSERT_TRUE(mFinished.wait(5000));
    EXPECT_EQ(mFinished.first(), (QVariantList{Entry, false}));
    EXPECT_EQ(mWorkspace.processQueries(), 4);
    EXPECT_EQ(mWorkspace.frontPid(), 0);
}

TEST_F(ApplicationLauncherTest, NoWatchingWithoutWindowsOrAfterAFailedLaunch)
{
    mWorkspace.setCanBringToFront(false);
    mWorkspace.addProcess(400, Entry);
    ASSERT_TRUE(mLauncher.launchApplication(Entry));
    ASSERT_TRUE(mFinished.wait(5000));
    EXPECT_EQ(mFinished.first(), (QVariantList{Entry, false}));
    EXPECT_EQ(mWorkspace.processQueries(), 0);

    mWorkspace.setLaunchSucceeds(false);
    EXPECT_FALSE(mLauncher.launchApplication(Entry));
    EXPECT_FALSE(mFinished.wait(200));
    EXPECT_EQ(mFinished.count(), 1);
}

TEST_F(ApplicationLauncherTest, OverlappingWatchersEachReport)
{
    const QString other = QStringLiteral("/opt/Tool.app");
    ASSERT_TRUE(mLauncher.launchApplication(Entry));
    ASSERT_TRUE(mLauncher.launchApplication(other));
    QTimer::singleShot(30, [&] {
        mWorkspace.addProcess(500, other);
        mWorkspace.addProcess(501, Entry);
    });
    ASSERT_TRUE(QTest::qWaitFor([this] { return mFinished.count() == 2; }, 5000));
    QStringList paths;
    for (const QList<QVariant> &result : mFinished) {
        paths << result.at(0).toString();
        EXPECT_TRUE(result.at(1).toBool());
    }
    paths.sort();
    EXPECT_EQ(paths, (QStringList{other, Entry}));
}

TEST(ApplicationLauncherLifetime, DestroyingTheLauncherStopsItsWatchers)
{
    FakeWorkspace workspace;
    QElapsedTimer timer;
    timer.start();
    {
        ApplicationLauncher launcher(workspace);
        ASSERT_TRUE(launcher.launchApplication(Entry));
    }
    // 30 tries of 0.2 s would take 6 s.
    EXPECT_LT(timer.elapsed(), 2000);
}
