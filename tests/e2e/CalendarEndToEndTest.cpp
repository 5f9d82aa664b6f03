// The real agent reading a calendar whose one rule never matches (30 February, every second):
// libical alone would look for a matching second for hours on the agent's main thread, at every
// start. The agent reads it away from its main thread and refuses the rule; it answers a search
// on the bus all along.
#include "E2eSupport.h"

#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(CalendarEndToEnd, ARuleThatNeverMatchesLeavesTheAgentAnswering)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + "/korganizer";
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile calendar(folder + "/std.ics");
    ASSERT_TRUE(calendar.open(QIODevice::WriteOnly));
    // Tomorrow, so that the daily check finds no event today and opens no window.
    const QByteArray tomorrow = QDate::currentDate().addDays(1).toString("yyyyMMdd").toLatin1();
    calendar.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:never-30-feb\r\n"
                   "SUMMARY:Zorbl standup\r\nDTSTART:"
                   + tomorrow
                   + "T090000\r\nRRULE:FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30\r\n"
                     "END:VEVENT\r\nEND:VCALENDAR\r\n");
    calendar.close();
    CommonKorvaleClass::saveListInFile({QVariantMap{{"x", 5}, {"T", "zorbl minutes"}}},
                                       DataFileName::Notes);
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("OtherDataCalendarEvents", 1);
    ASSERT_TRUE(preferences.synchronize());

    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    // The daily check reads the calendar some 35 timer ticks after the start.
    ASSERT_TRUE(waitFor([&agent] { return agent.log().contains("never-30-feb"); }, 60000))
        << agent.log().toStdString();
    EXPECT_TRUE(agent.log().contains("never match")) << agent.log().toStdString();

    // A generous bound: an agent stuck in a rule never answers at all.
    ScopedEnvironment timeout{{"KORVALE_SEARCH_TIMEOUT_MS", "20000"}};
    const ProgramRun found = runProgram(builtProgram("bin/korvale-search"), {"zorbl"});
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(found.err), QString());
    EXPECT_EQ(QString::fromUtf8(found.out), "5\tzorbl minutes\t\n");
    EXPECT_FALSE(accessWindowState().isEmpty());

    // The event's start is kept, in the agent's own cache file.
    ASSERT_TRUE(waitFor(
        [] {
            const QVariantList events =
                CommonKorvaleClass::readListInFile(DataFileName::CalendarItems);
            return events.size() == 1
                && events.first().toMap().value("T").toString() == "Zorbl standup";
        },
        10000));
}
