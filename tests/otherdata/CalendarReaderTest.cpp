#include "CalendarReader.h"
#include "QOR_DateUtils.h"
#include "RuleExpansion.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <algorithm>
#include <ctime>

namespace {

// The user's clock is in Paris: occurrences are checked against its wall clock.
class CalendarReaderTest : public ::testing::Test
{
protected:
    void SetUp() override { tzset(); }
    void TearDown() override { tzset(); }
    ScopedEnvironment mZone{{"TZ", "Europe/Paris"}};
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes).replace("\n", "\r\n"));
}

QDateTime local(int month, int day, int hour = 0, int minute = 0, int year = 2027)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

QStringList listed(const QVariantList &events)
{
    QStringList lines;
    for (const QVariant &event : events) {
        const QVariantMap record = event.toMap();
        EXPECT_EQ(record.value("x").toInt(), 12);
        lines.append(record.value("Date").toDateTime().toLocalTime().toString("MM-dd HH:mm ")
                     + record.value("T").toString());
    }
    return lines;
}

// As Evolution writes its local calendar: the zone defined in the file under libical's TZID.
const char *const EvolutionCalendar =
    "BEGIN:VCALENDAR\n"
    "CALSCALE:GREGORIAN\n"
    "PRODID:-//Ximian//NONSGML Evolution Calendar//EN\n"
    "VERSION:2.0\n"
    "BEGIN:VTIMEZONE\n"
    "TZID:/freeassociation.sourceforge.net/Europe/Paris\n"
    "X-LIC-LOCATION:Europe/Paris\n"
    "BEGIN:STANDARD\n"
    "TZNAME:CET\n"
    "DTSTART:19701025T030000\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\n"
    "TZOFFSETFROM:+0200\n"
    "TZOFFSETTO:+0100\n"
    "END:STANDARD\n"
    "BEGIN:DAYLIGHT\n"
    "TZNAME:CEST\n"
    "DTSTART:19700329T020000\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\n"
    "TZOFFSETFROM:+0100\n"
    "TZOFFSETTO:+0200\n"
    "END:DAYLIGHT\n"
    "END:VTIMEZONE\n"
    "BEGIN:VEVENT\n"
    "UID:yoga@example.org\n"
    "DTSTAMP:20270101T090000Z\n"
    "DTSTART;TZID=/freeassociation.sourceforge.net/Europe/Paris:20270105T183000\n"
    "DTEND;TZID=/freeassociation.sourceforge.net/Europe/Paris:20270105T193000\n"
    "SUMMARY:Yoga\n"
    "RRULE:FREQ=WEEKLY;BYDAY=TU\n"
    "EXDATE;TZID=/freeassociation.sourceforge.net/Europe/Paris:20270323T183000\n"
    "END:VEVENT\n"
    "BEGIN:VEVENT\n"
    "UID:yoga@example.org\n"
    "RECURRENCE-ID;TZID=/freeassociation.sourceforge.net/Europe/Paris:20270406T183000\n"
    "DTSTART;TZID=/freeassociation.sourceforge.net/Europe/Paris:20270407T190000\n"
    "SUMMARY:Yoga (moved)\n"
    "END:VEVENT\n"
    "BEGIN:VEVENT\n"
    "UID:team@example.org\n"
    "DTSTART;TZID=/freeassociation.sourceforge.net/Europe/Paris:20260113T180000\n"
    "SUMMARY:Team\n"
    "RRULE:FREQ=MONTHLY;BYDAY=2TU;UNTIL=20270413T160000Z\n"
    "END:VEVENT\n"
    "BEGIN:VEVENT\n"
    "UID:anniversaire@example.org\n"
    "DTSTART;VALUE=DATE:20270401\n"
    "DTEND;VALUE=DATE:20270402\n"
    "SUMMARY:Anniversaire\n"
    "END:VEVENT\n"
    "BEGIN:VEVENT\n"
    "UID:ann@example.org\n"
    "DTSTART;VALUE=DATE:19900402\n"
    "SUMMARY:Birthday Ann\n"
    "RRULE:FREQ=YEARLY\n"
    "END:VEVENT\n"
    "BEGIN:VEVENT\n"
    "UID:untitled@example.org\n"
    "DTSTART:20270320T100000Z\n"
    "END:VEVENT\n"
    "BEGIN:VEVENT\n"
    "UID:late@example.org\n"
    "DTSTART;TZID=/freeassociation.sourceforge.net/Europe/Paris:20270415T090000\n"
    "SUMMARY:Too late\n"
    "END:VEVENT\n"
    "BEGIN:VEVENT\n"
    "UID:early@example.org\n"
    "DTSTART;TZID=/freeassociation.sourceforge.net/Europe/Paris:20270314T230000\n"
    "SUMMARY:Too early\n"
    "END:VEVENT\n"
    "END:VCALENDAR\n";

} // namespace

// A weekly event keeps its wall-clock time across the change to summer time (28 March 2027);
// an excluded date, a moved occurrence, a rule ending at its UNTIL written in UTC, all-day and
// yearly dates, a zone only named (New York, libical's own table), UTC, and events outside
// [from, to) or without a title left out. From Evolution's calendar, KDE's folder and a file the
// preference names.
TEST_F(CalendarReaderTest, RecurringEventsKeepTheirWallClockAcrossDaylightSaving)
{
    TemporaryHome home;
    const QString data = home.path() + "/.local/share";
    writeFile(data + "/evolution/calendar/system/calendar.ics", EvolutionCalendar);
    writeFile(
        data + "/korganizer/std.ics",
        "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//K Desktop Environment//NONSGML libkcal 4.3//EN\n"
        "BEGIN:VEVENT\nUID:ny\nDTSTART;TZID=America/New_York:20270325T090000\n"
        "SUMMARY:New York meeting\nEND:VEVENT\nEND:VCALENDAR\n");
    writeFile(home.path() + "/Calendars/work",
              "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:call\nDTSTART:20270320T080000Z\n"
              "SUMMARY:Call\nEND:VEVENT\nEND:VCALENDAR\n");
    SharedPreferences preferences;
    preferences.setValue(CalendarReader::CalendarPathsPreference, QVariantList{"~/Calendars"});
    ASSERT_TRUE(preferences.synchronize());

    const QDateTime from = local(3, 15);
    const QDateTime to = QOR_DateUtils::sameDayNextMonth(from);
    ASSERT_EQ(to, local(4, 15));
    const QVariantList events = CalendarReader::readEvents(from, to);

    EXPECT_EQ(
        listed(events),
        QStringList({"03-16 18:30 Yoga", "03-20 09:00 Call", "03-25 14:00 New York meeting",
                     "03-30 18:30 Yoga", "04-01 00:00 Anniversaire", "04-02 00:00 Birthday Ann",
                     "04-07 19:00 Yoga (moved)", "04-13 18:00 Team", "04-13 18:30 Yoga"}));
    // The same wall clock is an hour closer to UTC in summer.
    EXPECT_EQ(events.at(0).toMap().value("Date").toDateTime().toUTC().time(), QTime(17, 30));
    EXPECT_EQ(events.at(3).toMap().value("Date").toDateTime().toUTC().time(), QTime(16, 30));
}

// A zone defined in the file whose observances start at times libical cannot read is not used
// (libical spent minutes inside one call expanding it): the zone its TZID names is, and the
// events keep their wall clock and their offsets from UTC.
TEST_F(CalendarReaderTest, AZoneWhoseObservancesCannotBeReadGivesWayToTheNamedOne)
{
    QByteArray calendar(EvolutionCalendar);
    calendar.replace("DTSTART:19701025T030000", "DTSTART:19701025T03M-PM-H00")
        .replace("DTSTART:19700329T020000", "DTSTART:1970p329T020000");
    const QVariantList events =
        CalendarReader::eventsInCalendar(calendar, local(3, 15), local(4, 15));

    EXPECT_EQ(listed(events),
              QStringList({"03-16 18:30 Yoga", "03-30 18:30 Yoga", "04-01 00:00 Anniversaire",
                           "04-02 00:00 Birthday Ann", "04-07 19:00 Yoga (moved)",
                           "04-13 18:00 Team", "04-13 18:30 Yoga"}));
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ(events.at(0).toMap().value("Date").toDateTime().toUTC().time(), QTime(17, 30));
    EXPECT_EQ(events.at(1).toMap().value("Date").toDateTime().toUTC().time(), QTime(16, 30));
}

// Rules that began long before the range are followed into it (by jumping, for rules without a
// count) to the same days a walk from the start reaches; a count still ends a rule; a rule
// repeating every second stops at the cap.
TEST_F(CalendarReaderTest, OldRulesReachTheRangeAndRunawayRulesStop)
{
    const QByteArray calendar =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
        "BEGIN:VEVENT\r\nUID:a\r\nDTSTART:20150102T070000\r\nSUMMARY:Every third day\r\n"
        "RRULE:FREQ=DAILY;INTERVAL=3\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:b\r\nDTSTART:20100129T120000\r\nSUMMARY:Last Friday\r\n"
        "RRULE:FREQ=MONTHLY;BYDAY=-1FR\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:c\r\nDTSTART:20270313T080000\r\nSUMMARY:Five days\r\n"
        "RRULE:FREQ=DAILY;COUNT=5\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:d\r\nDTSTART:20000101T000000Z\r\nSUMMARY:Runaway\r\n"
        "RRULE:FREQ=SECONDLY\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n";
    const QDateTime from = local(3, 15);
    const QDateTime to = local(4, 15);
    const QVariantList events = CalendarReader::eventsInCalendar(calendar, from, to);

    QList<QDate> third;
    QList<QDate> lastFriday;
    QStringList fiveDays;
    int runaway = 0;
    for (const QVariant &event : events) {
        const QVariantMap record = event.toMap();
        const QDateTime start = record.value("Date").toDateTime();
        EXPECT_GE(start, from);
        EXPECT_LT(start, to);
        const QString title = record.value("T").toString();
        if (title == "Every third day")
            third.append(start.date());
        else if (title == "Last Friday")
            lastFriday.append(start.date());
        else if (title == "Five days")
            fiveDays.append(start.toString("MM-dd HH:mm"));
        else if (title == "Runaway")
            ++runaway;
    }
    QList<QDate> expectedThird;
    for (QDate day = QDate(2015, 1, 2); day < to.date(); day = day.addDays(3)) {
        if (day >= from.date())
            expectedThird.append(day);
    }
    EXPECT_EQ(third, expectedThird);
    EXPECT_EQ(lastFriday, QList<QDate>({QDate(2027, 3, 26)}));
    EXPECT_EQ(fiveDays, QStringList({"03-15 08:00", "03-16 08:00", "03-17 08:00"}));
    // The cap stops it, or on a slow build (sanitizers, a loaded machine) the time budget first.
    EXPECT_LE(runaway, CalendarReader::OccurrenceLimit);
}

// The jump to the range lands where a walk from the start does: libical's own jump for daily and
// longer rules, a shift by whole periods for hourly and finer ones (libical's loses their phase).
TEST_F(CalendarReaderTest, JumpingToTheRangeFindsWhatAWalkFromTheStartFinds)
{
    const char *const rules[] = {"FREQ=WEEKLY;BYDAY=MO,WE",
                                 "FREQ=DAILY;INTERVAL=2",
                                 "FREQ=MONTHLY;BYDAY=2TU",
                                 "FREQ=MONTHLY;BYMONTHDAY=-1",
                                 "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1",
                                 "FREQ=WEEKLY;INTERVAL=3;WKST=SU;BYDAY=SU,SA",
                                 "FREQ=YEARLY;BYWEEKNO=20;BYDAY=MO",
                                 "FREQ=MONTHLY;INTERVAL=5;BYDAY=1FR",
                                 "FREQ=YEARLY;INTERVAL=4;BYMONTH=2;BYMONTHDAY=29",
                                 "FREQ=HOURLY;INTERVAL=7",
                                 "FREQ=HOURLY;INTERVAL=7;BYDAY=MO,WE",
                                 "FREQ=MINUTELY;INTERVAL=90",
                                 "FREQ=HOURLY;BYMONTHDAY=1,15;BYHOUR=8,20"};
    const char *const starts[] = {"20240229T090000", "20260315T100000", "20250131T000000"};
    // A month without a daylight-saving change: floating times are local times.
    const QDateTime from = local(4, 15);
    const QDateTime to = local(5, 15);
    int compared = 0;
    for (const char *rule : rules) {
        for (const char *start : starts) {
            const QByteArray calendar = QByteArray("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:x\r\n"
                                                   "SUMMARY:x\r\nDTSTART:")
                + start + "\r\nRRULE:" + rule + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
            QList<QDateTime> read;
            for (const QVariant &event : CalendarReader::eventsInCalendar(calendar, from, to))
                read.append(event.toMap().value("Date").toDateTime());
            std::sort(read.begin(), read.end());

            QList<QDateTime> walked;
            icalrecur_iterator *walk = icalrecur_iterator_new(icalrecurrencetype_from_string(rule),
                                                              icaltime_from_string(start));
            for (int step = 0; step < 2000000; ++step) {
                const icaltimetype next = icalrecur_iterator_next(walk);
                if (icaltime_is_null_time(next))
                    break;
                const QDateTime at(QDate(next.year, next.month, next.day),
                                   QTime(next.hour, next.minute, next.second));
                if (at >= to)
                    break;
                if (at >= from)
                    walked.append(at);
            }
            icalrecur_iterator_free(walk);
            EXPECT_EQ(read, walked) << rule << " from " << start;
            compared += read.isEmpty() ? 0 : 1;
        }
    }
    // Week 20, a fifth month or a 29 February need not fall in this month; the others do.
    EXPECT_EQ(compared, 30);
}

namespace {

QByteArray calendarOf(const QList<std::pair<QByteArray, QByteArray>> &events)
{
    QByteArray calendar = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    int uid = 0;
    for (const auto &[start, rule] : events) {
        const QByteArray number = QByteArray::number(++uid);
        calendar += "BEGIN:VEVENT\r\nUID:u" + number + "\r\nSUMMARY:r" + number
            + "\r\nDTSTART:" + start + "\r\nRRULE:" + rule + "\r\nEND:VEVENT\r\n";
    }
    return calendar + "END:VCALENDAR\r\n";
}

} // namespace

// Rules whose days never come (30 February, 31 April) give their start alone and are named in
// the log, whatever their frequency: libical would look for a matching second, minute, hour or
// day for hours, inside one call. Rare but real days are still found.
TEST_F(CalendarReaderTest, RulesThatNeverMatchAreReportedNotFollowed)
{
    CapturedLog log;
    const QList<std::pair<QByteArray, QByteArray>> never = {
        {"20270310T090000", "FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30"},
        {"20270310T090000", "FREQ=MINUTELY;BYMONTH=2;BYMONTHDAY=30"},
        {"20270310T090000", "FREQ=HOURLY;BYMONTH=4;BYMONTHDAY=31"},
        {"20270310T090000", "FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30"},
        {"20270310T090000", "FREQ=MONTHLY;BYMONTH=2;BYMONTHDAY=-30"},
    };
    const QVariantList events =
        CalendarReader::eventsInCalendar(calendarOf(never), local(3, 1), local(4, 1));
    EXPECT_EQ(events.size(), never.size()) << "each start, and nothing else";
    const QStringList lines = log.lines();
    for (int event = 1; event <= int(never.size()); ++event) {
        const QString name = QString("\"r%1\" (UID u%1)").arg(event);
        EXPECT_EQ(std::count_if(lines.cbegin(), lines.cend(),
                                [&name](const QString &line) {
                                    return line.contains(name) && line.contains("never match");
                                }),
                  1)
            << never.at(event - 1).second.constData() << "\n"
            << lines.join('\n').toStdString();
    }

    // A leap day that is a Monday, the fifth Friday of a February, ISO week 53.
    for (const char *rare : {"FREQ=DAILY;BYMONTH=2;BYMONTHDAY=29;BYDAY=MO",
                             "FREQ=MONTHLY;BYMONTH=2;BYDAY=5FR", "FREQ=YEARLY;BYWEEKNO=53"}) {
        icalrecurrencetype rule = icalrecurrencetype_from_string(rare);
        EXPECT_TRUE(RuleExpansion::canEverMatch(rule)) << rare;
    }
}

// Hourly and finer rules with day-level parts are expanded on the matching days of the range
// only, to the occurrences a walk through libical finds.
TEST_F(CalendarReaderTest, SubDailyRulesOnRareDays)
{
    const QDateTime from = local(4, 15);
    const QDateTime to = local(5, 15);
    const auto read = [&](const char *start, const char *rule) {
        QStringList lines;
        for (const QVariant &event :
             CalendarReader::eventsInCalendar(calendarOf({{start, rule}}), from, to)) {
            const QVariantMap record = event.toMap();
            lines.append(record.value("Date").toDateTime().toString("MM-dd HH:mm:ss ")
                         + record.value("T").toString());
        }
        return lines;
    };
    EXPECT_EQ(read("20260101T000000",
                   "FREQ=SECONDLY;BYMONTHDAY=1;BYHOUR=9;BYMINUTE=0;"
                   "BYSECOND=0,30"),
              QStringList({"05-01 09:00:00 r1", "05-01 09:00:30 r1"}));
    EXPECT_EQ(read("20260101T000000", "FREQ=MINUTELY;INTERVAL=20;BYDAY=TU;BYHOUR=7"),
              QStringList({"04-20 07:00:00 r1", "04-20 07:20:00 r1", "04-20 07:40:00 r1",
                           "04-27 07:00:00 r1", "04-27 07:20:00 r1", "04-27 07:40:00 r1",
                           "05-04 07:00:00 r1", "05-04 07:20:00 r1", "05-04 07:40:00 r1",
                           "05-11 07:00:00 r1", "05-11 07:20:00 r1", "05-11 07:40:00 r1"}));
    // BYSETPOS picks within each hour: its first and last.
    EXPECT_EQ(read("20270430T221000", "FREQ=HOURLY;BYMINUTE=10,20,30;BYSETPOS=1,-1;COUNT=4"),
              QStringList({"04-30 22:10:00 r1", "04-30 22:30:00 r1", "04-30 23:10:00 r1",
                           "04-30 23:30:00 r1"}));
    // A count is counted from the start, before the range.
    EXPECT_EQ(read("20270415T000000", "FREQ=HOURLY;INTERVAL=12;COUNT=3"),
              QStringList({"04-15 00:00:00 r1", "04-15 12:00:00 r1", "04-16 00:00:00 r1"}));
    EXPECT_EQ(read("20270414T000000", "FREQ=HOURLY;INTERVAL=12;COUNT=3"),
              QStringList({"04-15 00:00:00 r1"}));
}

// However many events a calendar repeats, a reading keeps the earliest EventLimit of them and
// says so once.
TEST_F(CalendarReaderTest, AReadingKeepsTheEarliestEventsUpToTheLimit)
{
    CapturedLog log;
    QList<std::pair<QByteArray, QByteArray>> hourly;
    for (int minute = 0; minute < 10; ++minute)
        hourly.append({"20270101T00" + QByteArray::number(10 + minute) + "00", "FREQ=HOURLY"});
    const QDateTime from = local(3, 1);
    const QVariantList events =
        CalendarReader::eventsInCalendar(calendarOf(hourly), from, local(4, 1));
    ASSERT_EQ(events.size(), CalendarReader::EventLimit);
    // Ten an hour from the range's start: the kept ones are the first 500 hours.
    EXPECT_EQ(events.first().toMap().value("Date").toDateTime(), local(3, 1, 0, 10));
    EXPECT_EQ(events.last().toMap().value("Date").toDateTime(),
              from.addSecs(3600 * (CalendarReader::EventLimit / 10 - 1) + 19 * 60));
    const QStringList lines = log.lines();
    EXPECT_EQ(std::count_if(lines.cbegin(), lines.cend(),
                            [](const QString &line) {
                                return line.contains(
                                    QString("only the first %1").arg(CalendarReader::EventLimit));
                            }),
              1)
        << lines.join('\n').toStdString();
}
