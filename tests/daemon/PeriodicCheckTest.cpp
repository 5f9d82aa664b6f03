#include "DaemonTestSupport.h"

#include "CommonKorvaleClass.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

void writeListDated(const QString &name, double referenceSeconds)
{
    CommonKorvaleClass::saveListInFile({QVariantMap{{"T", "x"}}}, name);
    setModified(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(name),
                DaemonClock::dateTime(referenceSeconds));
}

} // namespace

TEST(PeriodicCheck, AlternatesAndRescansMissingLists)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    f.controller->checkPrefsApplications(); // flag clear: applications, missing
    EXPECT_EQ(f.hooks->count("startApplicationScan"), 1);
    EXPECT_EQ(f.hooks->count("startDocumentScan"), 0);
    EXPECT_TRUE(f.controller->flags().mNeedToScanFoldersContents);
    f.controller->checkPrefsApplications(); // flag set: documents, missing
    EXPECT_EQ(f.hooks->count("startApplicationScan"), 1);
    EXPECT_EQ(f.hooks->count("startDocumentScan"), 1);
    EXPECT_FALSE(f.controller->flags().mNeedToScanFoldersContents);

    EXPECT_EQ(f.hooks->count("buildMenuBarMenu"), 1);
    EXPECT_EQ(f.controller->settingsReadCount(), 3);
    EXPECT_EQ(f.controller->dataReadCount(), 2);
}

TEST(PeriodicCheck, TwelveHourRule)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    const double now = f.clock.now();
    writeListDated(DataFileName::Applications, now - 43199);
    writeListDated(DataFileName::Documents, now - 43199);
    setModified(f.applicationsFolder.path(), DaemonClock::dateTime(now - 50000));
    f.controller->checkPrefsApplications();
    f.controller->checkPrefsApplications();
    EXPECT_EQ(f.hooks->count("startApplicationScan") + f.hooks->count("startDocumentScan"), 0);

    f.clock.advance(2);
    f.controller->checkPrefsApplications();
    EXPECT_EQ(f.hooks->count("startApplicationScan"), 1);
    f.controller->checkPrefsApplications();
    EXPECT_EQ(f.hooks->count("startDocumentScan"), 1);
}

TEST(PeriodicCheck, ApplicationsFolderNewerThanTheListTriggersAScan)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    const double now = f.clock.now();
    writeListDated(DataFileName::Applications, now - 100);
    setModified(f.applicationsFolder.path(), DaemonClock::dateTime(now - 91));
    f.controller->checkPrefsApplications();
    EXPECT_EQ(f.hooks->count("startApplicationScan"), 0);

    f.controller->checkPrefsApplications(); // documents' turn
    setModified(f.applicationsFolder.path(), DaemonClock::dateTime(now - 89));
    f.controller->checkPrefsApplications();
    EXPECT_EQ(f.hooks->count("startApplicationScan"), 1);
}

TEST(PeriodicCheck, NothingStartsWhileAScanRuns)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    f.controller->flags().mScanningForApplications = true;
    f.controller->checkPrefsApplications();
    EXPECT_EQ(f.hooks->count("startApplicationScan"), 0);
    EXPECT_FALSE(f.controller->flags().mNeedToScanFoldersContents);
    EXPECT_EQ(f.controller->dataReadCount(), 1);
}

TEST(ActivationTimer, SchedulesThePeriodicCheckEverySixtySecondsWhileTheWindowIsHidden)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    const int settingsAtStart = f.controller->settingsReadCount();

    f.controller->timerMethod(); // start + 2 s not reached yet
    QTest::qWait(20);
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart);

    f.clock.advance(3);
    f.controller->timerMethod();
    QTest::qWait(20);
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart + 1);

    f.clock.advance(59);
    f.controller->timerMethod();
    QTest::qWait(20);
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart + 1);

    f.controller->flags().mWindowVisible = true;
    f.clock.advance(2);
    f.controller->timerMethod();
    QTest::qWait(20);
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart + 1);

    f.controller->flags().mWindowVisible = false;
    f.controller->timerMethod();
    QTest::qWait(20);
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart + 2);
}

TEST(ActivationTimer, ARecentChangeOfTheApplicationsFolderBringsTheCheckForward)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    f.clock.advance(3);
    f.controller->timerMethod(); // the first check, next one in 60 s
    QTest::qWait(20);
    const int settingsBefore = f.controller->settingsReadCount();

    setModified(f.applicationsFolder.path(), DaemonClock::dateTime(f.clock.now() - 30));
    for (int i = 0; i < 10; ++i)
        f.controller->timerMethod();
    QTest::qWait(20);
    EXPECT_EQ(f.controller->settingsReadCount(), settingsBefore);

    setModified(f.applicationsFolder.path(), DaemonClock::dateTime(f.clock.now() - 2));
    for (int i = 0; i < 10; ++i)
        f.controller->timerMethod();
    f.clock.advance(0.2);
    f.controller->timerMethod();
    QTest::qWait(20);
    EXPECT_EQ(f.controller->settingsReadCount(), settingsBefore + 1);
}

TEST(ActivationTimer, TicksOnItsOwnAndAsksForCalendarEventsOncePerDay)
{
    DaemonFixture f;
    managerWrites({{"OtherDataCalendarEvents", 1}});
    f.controller->awakeFromNib();
    f.controller->applicationDidFinishLaunching();
    EXPECT_TRUE(f.controller->isTimerRunning());
    int ticks = 0;
    QObject::connect(f.controller.get(), &DaemonController::timerTicked, [&ticks] { ++ticks; });
    QTest::qWait(600);
    EXPECT_GE(ticks, 2);
    for (int i = 0; i < 70; ++i)
        f.controller->timerMethod();
    QTest::qWait(20);
    EXPECT_EQ(f.hooks->count("readCalendarEvents"), 1);
    f.clock.advance(86400);
    for (int i = 0; i < 35; ++i)
        f.controller->timerMethod();
    QTest::qWait(20);
    EXPECT_EQ(f.hooks->count("readCalendarEvents"), 2);
}
