#include "DaemonTestSupport.h"

#include "CommonKorvaleClass.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void writeListDated(const QString &name, double referenceSeconds)
{
    CommonKorvaleClass::saveListInFile({QVariantMap{{"T", "x"}}}, name);
    setModified(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(name),
                DaemonClock::dateTime(referenceSeconds));
}

// The agent's timer: the controller's tick every 1/7 s of the clock, and the work it schedules
// done in between.
void tickFor(DaemonFixture &f, double seconds)
{
    const double end = f.clock.now() + seconds;
    while (f.clock.now() < end) {
        f.clock.advance(1.0 / 7.0);
        f.controller->timerMethod();
        QCoreApplication::processEvents();
    }
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
    QCoreApplication::processEvents();
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart);

    f.clock.advance(3);
    f.controller->timerMethod();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart + 1);

    f.clock.advance(59);
    f.controller->timerMethod();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart + 1);

    f.controller->flags().mWindowVisible = true;
    f.clock.advance(2);
    f.controller->timerMethod();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart + 1);

    f.controller->flags().mWindowVisible = false;
    f.controller->timerMethod();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.controller->settingsReadCount(), settingsAtStart + 2);
}

TEST(ActivationTimer, ARecentChangeOfTheApplicationsFolderBringsTheCheckForward)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    f.clock.advance(3);
    f.controller->timerMethod(); // the first check, next one in 60 s
    QCoreApplication::processEvents();
    const int settingsBefore = f.controller->settingsReadCount();

    setModified(f.applicationsFolder.path(), DaemonClock::dateTime(f.clock.now() - 30));
    for (int i = 0; i < 10; ++i)
        f.controller->timerMethod();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.controller->settingsReadCount(), settingsBefore);

    setModified(f.applicationsFolder.path(), DaemonClock::dateTime(f.clock.now() - 2));
    for (int i = 0; i < 10; ++i)
        f.controller->timerMethod();
    f.clock.advance(0.2);
    f.controller->timerMethod();
    QCoreApplication::processEvents();
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
    EXPECT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 2; }, 5000));
    for (int i = 0; i < 70; ++i)
        f.controller->timerMethod();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.hooks->count("readCalendarEvents"), 1);
    f.clock.advance(86400);
    for (int i = 0; i < 35; ++i)
        f.controller->timerMethod();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.hooks->count("readCalendarEvents"), 2);
}

TEST(ActivationTimer, AnApplicationsFolderDatedInTheFutureStartsNoScanUntilTheDatePasses)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    const double now = f.clock.now();
    writeListDated(DataFileName::Applications, now - 100);
    writeListDated(DataFileName::Documents, now - 100);
    // Unpacked with the dates of an archive, or left by a clock that was set back.
    setModified(f.applicationsFolder.path(), DaemonClock::dateTime(now + 120));
    const int checksBefore = f.controller->settingsReadCount();

    tickFor(f, 100);
    EXPECT_EQ(f.controller->settingsReadCount() - checksBefore, 2) << "once a minute, not more";
    EXPECT_EQ(f.hooks->count("startApplicationScan"), 0);

    // Once the clock passes it, the date is a change like any other: checked soon, one scan,
    // and the unchanged list file does not make every later check scan again.
    tickFor(f, 170);
    EXPECT_EQ(f.hooks->count("startApplicationScan"), 1);
    EXPECT_EQ(f.controller->settingsReadCount() - checksBefore, 5);
    EXPECT_EQ(f.hooks->count("startDocumentScan"), 0);
}

TEST(ActivationTimer, ApplicationUseAndStocksFollowActivityAndTheirIntervals)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    tickFor(f, 70);
    EXPECT_EQ(f.hooks->count("updateListOfAppsUsed"), 0) << "no key or button changed";
    f.controller->schedule().mKeyMouseChanges = 1;
    tickFor(f, 1);
    EXPECT_EQ(f.hooks->count("updateListOfAppsUsed"), 1);
    tickFor(f, 30);
    EXPECT_EQ(f.hooks->count("updateListOfAppsUsed"), 1) << "at most once a minute";

    // Every 6300 ticks (15 minutes), when there are stocks to survey.
    tickFor(f, 900);
    EXPECT_EQ(f.hooks->count("startStocksSurvey"), 0);
    f.controller->lists().mListOfStocksSurvey = {QVariantMap{{"T", "ACME"}}};
    tickFor(f, 900);
    EXPECT_EQ(f.hooks->count("startStocksSurvey"), 1);
}

TEST(ActivationTimer, TheFirstTickComesAtStartAndTheListsAreReadAfterIt)
{
    DaemonFixture f;
    CommonKorvaleClass::saveListInFile({QVariantMap{{"U", "https://example.org"}}},
                                       DataFileName::URLFavicons);
    int ticks = 0;
    qsizetype faviconsAtFirstTick = -1;
    QObject::connect(f.controller.get(), &DaemonController::timerTicked, [&] {
        if (++ticks == 1)
            faviconsAtFirstTick = f.controller->lists().mListOfFavicons.size();
    });
    f.controller->awakeFromNib();
    f.controller->applicationDidFinishLaunching();
    EXPECT_EQ(ticks, 1) << "without waiting a timer period";
    EXPECT_EQ(faviconsAtFirstTick, 0);
    EXPECT_EQ(f.controller->lists().mListOfFavicons.size(), 1);
}

// A quiet wake stands for 35 ticks (5 s): what is counted in ticks falls due on its way as it
// would tick by tick.
TEST(ActivationTimer, AQuietWakeStandingForManyTicksMeetsEveryCountedDue)
{
    DaemonFixture f;
    managerWrites({{"OtherDataCalendarEvents", 1}});
    f.controller->awakeFromNib();
    f.controller->lists().mListOfStocksSurvey = {QVariantMap{{"T", "ACME"}}};
    f.clock.advance(3);
    f.controller->timerMethod(1); // the first periodic check, next one in 60 s
    QCoreApplication::processEvents();
    const int settingsBefore = f.controller->settingsReadCount();

    // The folder look (every 10 ticks) within one wake, and the daily calendar check (every 35).
    setModified(f.applicationsFolder.path(), DaemonClock::dateTime(f.clock.now() - 2));
    f.clock.advance(5);
    f.controller->timerMethod(35);
    f.clock.advance(0.2);
    f.controller->timerMethod(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.controller->settingsReadCount(), settingsBefore + 1);
    EXPECT_EQ(f.hooks->count("readCalendarEvents"), 1);
    EXPECT_EQ(f.controller->schedule().mTimerCounter, 37u);

    // 6300 ticks, 15 minutes, in wakes of 35: one stock survey.
    for (int wake = 0; wake < 6300 / 35; ++wake)
        f.controller->timerMethod(35);
    EXPECT_EQ(f.hooks->count("startStocksSurvey"), 1);
}
