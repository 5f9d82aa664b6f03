#include "QOR_DateUtils.h"
#include "ScopedTimeZone.h"

#include <QDate>
#include <QStringList>
#include <QTimeZone>
#include <QVariant>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace {

QDateTime local(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::LocalTime);
}

QDateTime midnight(int year, int month, int day)
{
    return local(year, month, day);
}

// The mismatches found by a check that depends on today's date, from a run during which the
// date did not change: a run that straddles midnight is done again rather than reported.
QStringList mismatchesOnStableToday(const std::function<void(QStringList &)> &check)
{
    QStringList mismatches;
    for (int attempt = 0; attempt < 3; ++attempt) {
        mismatches.clear();
        const QDate before = QDate::currentDate();
        check(mismatches);
        if (QDate::currentDate() == before)
            break;
    }
    return mismatches;
}

template <typename Value>
void compare(QStringList &mismatches, const QString &what, const Value &actual,
             const Value &expected)
{
    if (actual != expected)
        mismatches.append(QStringLiteral("%1: got %2, expected %3")
                              .arg(what, QVariant::fromValue(actual).toString(),
                                   QVariant::fromValue(expected).toString()));
}

} // namespace

TEST(DateUtils, LocalTimeFollowsTheZoneSetInTheTest)
{
    const QDateTime utcNoon(QDate(2027, 7, 1), QTime(12, 0), Qt::UTC);
    {
        ScopedTimeZone zone("Europe/Paris");
        EXPECT_EQ(utcNoon.toLocalTime().time(), QTime(14, 0));
    }
    {
        ScopedTimeZone zone("America/New_York");
        EXPECT_EQ(utcNoon.toLocalTime().time(), QTime(8, 0));
    }
}

TEST(DateUtils, ReferenceSecondsCountFromTheFirstOf2001InUtc)
{
    ScopedTimeZone zone("Europe/Paris");
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(QOR_DateUtils::referenceSeconds(reference), 0.0);
    EXPECT_EQ(QOR_DateUtils::fromReferenceSeconds(0.0), reference);
    EXPECT_EQ(QOR_DateUtils::fromReferenceSeconds(0.0).time(), QTime(1, 0)); // Paris in winter

    const QDateTime sample = local(2027, 3, 28, 3, 30, 15).addMSecs(250);
    const double seconds = QOR_DateUtils::referenceSeconds(sample);
    EXPECT_DOUBLE_EQ(seconds, double(sample.toMSecsSinceEpoch() - 978307200000LL) / 1000.0);
    EXPECT_EQ(QOR_DateUtils::fromReferenceSeconds(seconds), sample);
    EXPECT_EQ(QOR_DateUtils::referenceSeconds(QOR_DateUtils::fromReferenceSeconds(-86400.5)),
              -86400.5);

    EXPECT_FALSE(QOR_DateUtils::fromReferenceSeconds(std::nan("")).isValid());
    EXPECT_FALSE(QOR_DateUtils::fromReferenceSeconds(HUGE_VAL).isValid());
    EXPECT_FALSE(QOR_DateUtils::fromReferenceSeconds(1e300).isValid());
}

TEST(DateUtils, DayDatesAndSeconds)
{
    ScopedTimeZone zone("Europe/Paris");
    EXPECT_EQ(QOR_DateUtils::dayAt0h00(local(2026, 12, 8, 23, 59, 59)), midnight(2026, 12, 8));
    EXPECT_EQ(QOR_DateUtils::dayAt0h00(midnight(2026, 12, 8)), midnight(2026, 12, 8));
    EXPECT_EQ(QOR_DateUtils::dayAt0h00(local(2026, 12, 8, 23, 59, 59)).timeSpec(), Qt::LocalTime);
    // A UTC date belongs to the local day it falls in.
    EXPECT_EQ(QOR_DateUtils::dayAt0h00(QDateTime(QDate(2026, 12, 8), QTime(23, 30), Qt::UTC)),
              midnight(2026, 12, 9));

    EXPECT_TRUE(QOR_DateUtils::sameDayDate2(midnight(2026, 12, 8), local(2026, 12, 8, 23, 59, 59)));
    EXPECT_FALSE(
        QOR_DateUtils::sameDayDate2(local(2026, 12, 8, 23, 59, 59), midnight(2026, 12, 9)));

    EXPECT_EQ(QOR_DateUtils::dayAt0Seconds(local(2026, 12, 8, 10, 11, 12).addMSecs(345)),
              local(2026, 12, 8, 10, 11, 0));
    // 02:30 happens twice on 31 October 2027; the second one keeps its own offset.
    const QDateTime secondHalfPast =
        QDateTime(QDate(2027, 10, 31), QTime(1, 30, 42), Qt::UTC).toLocalTime();
    ASSERT_EQ(secondHalfPast.time(), QTime(2, 30, 42));
    EXPECT_EQ(QOR_DateUtils::dayAt0Seconds(secondHalfPast), secondHalfPast.addSecs(-42));

    EXPECT_EQ(QOR_DateUtils::secondsInDay(local(2026, 12, 8, 1, 0, 30)), 3630.0);
    // Only 11 hours have passed by noon on the spring change.
    EXPECT_EQ(QOR_DateUtils::secondsInDay(local(2027, 3, 28, 12, 0, 0)), 11 * 3600.0);
}

TEST(DateUtils, NextDayAcrossDaylightSavingChanges)
{
    struct Change {
        const char *zone;
        QDate day;
        qint64 hours;
    };
    const Change changes[] = {{"Europe/Paris", QDate(2027, 3, 28), 23},
                              {"Europe/Paris", QDate(2027, 10, 31), 25},
                              {"America/New_York", QDate(2027, 3, 14), 23},
                              {"America/New_York", QDate(2027, 11, 7), 25}};
    for (const Change &change : changes) {
        SCOPED_TRACE(std::string(change.zone) + " " + change.day.toString().toStdString());
        ScopedTimeZone zone(change.zone);
        const QDateTime start = midnight(change.day.year(), change.day.month(), change.day.day());
        const QDateTime following = start.addDays(1);
        EXPECT_EQ(QOR_DateUtils::nextDay(start), following);
        EXPECT_EQ(start.secsTo(QOR_DateUtils::nextDay(start)), change.hours * 3600);
        EXPECT_EQ(QOR_DateUtils::nextDay(start.addSecs(change.hours * 3600 - 1)), following);
        EXPECT_EQ(QOR_DateUtils::previousDay(following), start);
        EXPECT_EQ(QOR_DateUtils::previousDay(following.addSecs(-1)),
                  QOR_DateUtils::previousDay(start));
    }
}

TEST(DateUtils, DayStepsLandOnTheCalendarDayInEveryZone)
{
    for (const char *name :
         {"Europe/Paris", "America/New_York", "America/Santiago", "Australia/Lord_Howe"}) {
        SCOPED_TRACE(name);
        ScopedTimeZone zone(name);
        const QDate first(2026, 1, 1);
        for (int offset = 0; offset < 3 * 366; ++offset) {
            const QDate day = first.addDays(offset);
            const QDateTime evening(day, QTime(22, 45), Qt::LocalTime);
            ASSERT_EQ(QOR_DateUtils::nextDay(evening), day.addDays(1).startOfDay(Qt::LocalTime));
            ASSERT_EQ(QOR_DateUtils::previousDay(evening),
                      day.addDays(-1).startOfDay(Qt::LocalTime));
            ASSERT_EQ(QOR_DateUtils::dayAtDistanceFromDateDays(evening, 45),
                      day.addDays(45).startOfDay(Qt::LocalTime));
            ASSERT_EQ(QOR_DateUtils::dayAtDistanceFromDateDays(evening, -400),
                      day.addDays(-400).startOfDay(Qt::LocalTime));
        }
    }
}

TEST(DateUtils, ADayWhoseMidnightIsSkippedStartsAtItsFirstHour)
{
    // Chile moves its clocks from 24:00 to 01:00 on 6 September 2026.
    ScopedTimeZone zone("America/Santiago");
    const QDateTime start = QOR_DateUtils::dayAt0h00(local(2026, 9, 6, 12));
    ASSERT_TRUE(start.isValid());
    EXPECT_EQ(start.date(), QDate(2026, 9, 6));
    EXPECT_EQ(start.time(), QTime(1, 0));
    EXPECT_EQ(QOR_DateUtils::nextDay(local(2026, 9, 5, 8)), start);
    EXPECT_EQ(QOR_DateUtils::secondsInDay(local(2026, 9, 6, 12)), 11 * 3600.0);
}

TEST(DateUtils, DaysFromTodayCountsCalendarDays)
{
    ScopedTimeZone zone("Europe/Paris");
    EXPECT_EQ(QOR_DateUtils::daysFromTodayForDate(QDateTime()), 0);
    const QStringList mismatches = mismatchesOnStableToday([](QStringList &out) {
        const QDate today = QDate::currentDate();
        for (const QTime time : {QTime(0, 0), QTime(0, 0, 1), QTime(12, 0), QTime(23, 59, 59)}) {
            const QString at = time.toString();
            compare(out, QStringLiteral("today ") + at,
                    QOR_DateUtils::daysFromTodayForDate(QDateTime(today, time)), 0);
            compare(out, QStringLiteral("tomorrow ") + at,
                    QOR_DateUtils::daysFromTodayForDate(QDateTime(today.addDays(1), time)), 1);
            compare(out, QStringLiteral("yesterday ") + at,
                    QOR_DateUtils::daysFromTodayForDate(QDateTime(today.addDays(-1), time)), -1);
        }
        // Every day of more than a year each way, across the 23- and 25-hour days.
        for (int days = -400; days <= 400; ++days) {
            const QDateTime late(today.addDays(days), QTime(23, 30), Qt::LocalTime);
            compare(out, QStringLiteral("day %1").arg(days),
                    QOR_DateUtils::daysFromTodayForDate(late), days);
        }
    });
    EXPECT_TRUE(mismatches.isEmpty()) << mismatches.join(QLatin1Char('\n')).toStdString();
}

TEST(DateUtils, TodayAndDatesBuiltFromToday)
{
    ScopedTimeZone zone("America/New_York");
    const QStringList mismatches = mismatchesOnStableToday([](QStringList &out) {
        const QDate today = QDate::currentDate();
        const QDateTime todayStart = today.startOfDay(Qt::LocalTime);
        compare(out, QStringLiteral("todayAt0h00"), QOR_DateUtils::todayAt0h00(), todayStart);
        compare(out, QStringLiteral("dayAt0h00 of no date"), QOR_DateUtils::dayAt0h00(QDateTime()),
                todayStart);
        compare(out, QStringLiteral("dateForDayMonthYear(0, 0, 0)"),
                QOR_DateUtils::dateForDayMonthYear(0, 0, 0), todayStart);
        compare(out, QStringLiteral("dateForDayMonthYear(0, 0, 2031)"),
                QOR_DateUtils::dateForDayMonthYear(0, 0, 2031).date(),
                QDate(2031, today.month(), 1).addDays(today.day() - 1));
        compare(out, QStringLiteral("sameDayDate2 of no date and now"),
                QOR_DateUtils::sameDayDate2(QDateTime(), QDateTime::currentDateTime()), true);
    });
    EXPECT_TRUE(mismatches.isEmpty()) << mismatches.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(QOR_DateUtils::dateForDayMonthYear(31, 4, 2027), midnight(2027, 5, 1));
    EXPECT_EQ(QOR_DateUtils::dateForDayMonthYear(29, 2, 2027), midnight(2027, 3, 1));
    EXPECT_EQ(QOR_DateUtils::dateForDayMonthYear(29, 2, 2028), midnight(2028, 2, 29));
    EXPECT_EQ(QOR_DateUtils::dateForDayMonthYear(5, 13, 2027), midnight(2028, 1, 5));
    EXPECT_EQ(QOR_DateUtils::dateForDayMonthYear(5, -1, 2027), midnight(2026, 11, 5));
}

TEST(DateUtils, MonthAndYearStepsAreLenient)
{
    ScopedTimeZone zone("Europe/Paris");
    using D = QOR_DateUtils;
    EXPECT_EQ(D::sameDayNextMonth(local(2026, 12, 15, 18, 30)), midnight(2027, 1, 15));
    EXPECT_EQ(D::sameDayNextMonth(local(2027, 1, 31, 9)), midnight(2027, 3, 3));
    EXPECT_EQ(D::sameDayNextMonth(local(2028, 1, 31, 9)), midnight(2028, 3, 2));
    EXPECT_EQ(D::sameDayLastMonth(local(2027, 1, 15, 9)), midnight(2026, 12, 15));
    EXPECT_EQ(D::sameDayLastMonth(local(2027, 3, 31, 9)), midnight(2027, 3, 3));
    EXPECT_EQ(D::sameDayLastMonth(local(2027, 5, 31, 9)), midnight(2027, 5, 1));

    EXPECT_EQ(D::sameDayNextYear(local(2028, 2, 29, 9)), midnight(2029, 3, 1));
    EXPECT_EQ(D::sameDayLastYear(local(2028, 2, 29, 9)), midnight(2027, 3, 1));
    EXPECT_EQ(D::sameDayNextYear(local(2026, 12, 31, 23, 59)), midnight(2027, 12, 31));

    EXPECT_EQ(D::firstDayOfMonth(local(2027, 3, 28, 12)), midnight(2027, 3, 1));
    EXPECT_EQ(D::firstDayOfNextMonth(local(2026, 12, 31, 12)), midnight(2027, 1, 1));
    EXPECT_EQ(D::firstDayOfLastMonth(local(2027, 1, 1, 0)), midnight(2026, 12, 1));
    EXPECT_EQ(D::lastDayOfMonth(local(2028, 2, 3)), midnight(2028, 2, 29));
    EXPECT_EQ(D::lastDayOfMonth(local(2027, 2, 3)), midnight(2027, 2, 28));
    EXPECT_EQ(D::lastDayOfMonth(local(2027, 12, 3)), midnight(2027, 12, 31));

    EXPECT_EQ(D::firstDayOfYear(local(2027, 6, 3)), midnight(2027, 1, 1));
    EXPECT_EQ(D::lastDayOfYear(local(2027, 6, 3)), midnight(2027, 12, 31));
    EXPECT_EQ(D::firstDayOfLastYear(local(2027, 1, 1)), midnight(2026, 1, 1));
    EXPECT_EQ(D::firstDayOfNextYear(local(2027, 12, 31, 23, 59, 59)), midnight(2028, 1, 1));

    EXPECT_TRUE(D::isFirstDayOfMonth(local(2027, 3, 1, 17)));
    EXPECT_FALSE(D::isFirstDayOfMonth(local(2027, 3, 2)));
    EXPECT_TRUE(D::isLastDayOfMonth(local(2028, 2, 29, 23, 59, 59)));
    EXPECT_FALSE(D::isLastDayOfMonth(local(2027, 2, 27)));
}

TEST(DateUtils, WorkingDaysOfAMonth)
{
    ScopedTimeZone zone("America/New_York");
    using D = QOR_DateUtils;
    ASSERT_EQ(QDate(2027, 5, 1).dayOfWeek(), Qt::Saturday);
    EXPECT_EQ(D::firstWorkingDayOfMonth(local(2027, 5, 20)), midnight(2027, 5, 3));
    ASSERT_EQ(QDate(2027, 1, 31).dayOfWeek(), Qt::Sunday);
    EXPECT_EQ(D::lastWorkingDayOfMonth(local(2027, 1, 2)), midnight(2027, 1, 29));
    // March 2027 begins on a Monday and ends on a Wednesday.
    EXPECT_EQ(D::firstWorkingDayOfMonth(local(2027, 3, 20)), midnight(2027, 3, 1));
    EXPECT_EQ(D::lastWorkingDayOfMonth(local(2027, 3, 20)), midnight(2027, 3, 31));

    EXPECT_TRUE(D::isFirstWorkingDayOfMonth(local(2027, 5, 3, 23, 59)));
    EXPECT_FALSE(D::isFirstWorkingDayOfMonth(local(2027, 5, 1)));
    EXPECT_TRUE(D::isLastWorkingDayOfMonth(local(2027, 1, 29, 8)));
    EXPECT_FALSE(D::isLastWorkingDayOfMonth(local(2027, 1, 31)));

    EXPECT_FALSE(D::isWorkingDay(local(2027, 5, 1)));
    EXPECT_FALSE(D::isWorkingDay(local(2027, 5, 2)));
    EXPECT_TRUE(D::isWorkingDay(local(2027, 5, 3)));
    EXPECT_TRUE(D::isWorkingDay(local(2027, 5, 7)));
}

TEST(DateUtils, WeekdaySearches)
{
    ScopedTimeZone zone("Europe/Paris");
    using D = QOR_DateUtils;
    const QDateTime june = local(2027, 6, 17, 15); // 1 June 2027 is a Tuesday
    ASSERT_EQ(D::weekdayForDate(local(2027, 6, 1)), 3);
    EXPECT_EQ(D::firstWeekDayOfMonth(3, june), midnight(2027, 6, 1));
    EXPECT_EQ(D::secondWeekDayOfMonth(3, june), midnight(2027, 6, 8));
    EXPECT_EQ(D::firstWeekDayOfMonth(2, june), midnight(2027, 6, 7));
    EXPECT_EQ(D::secondWeekDayOfMonth(2, june), midnight(2027, 6, 14));
    EXPECT_EQ(D::firstWeekDayOfMonth(1, june), midnight(2027, 6, 6));
    EXPECT_EQ(D::lastWeekDayOfMonth(6, june), midnight(2027, 6, 25));
    EXPECT_EQ(D::lastWeekDayOfMonth(4, june), midnight(2027, 6, 30));

    // A weekday that never matches leaves each search seven steps from where it began.
    for (const int weekday : {0, 8, -1, 100}) {
        SCOPED_TRACE(weekday);
        EXPECT_EQ(D::firstWeekDayOfMonth(weekday, june), midnight(2027, 6, 8));
        EXPECT_EQ(D::secondWeekDayOfMonth(weekday, june), midnight(2027, 6, 15));
        EXPECT_EQ(D::lastWeekDayOfMonth(weekday, june), midnight(2027, 6, 23));
        EXPECT_TRUE(D::isFirstWeekDayOfMonth(weekday, local(2027, 6, 8, 12)));
    }

    EXPECT_TRUE(D::isFirstWeekDayOfMonth(3, local(2027, 6, 1, 23)));
    EXPECT_FALSE(D::isFirstWeekDayOfMonth(3, local(2027, 6, 8)));
    EXPECT_TRUE(D::isSecondWeekDayOfMonth(3, local(2027, 6, 8, 9)));
    EXPECT_FALSE(D::isSecondWeekDayOfMonth(3, local(2027, 6, 15)));
    EXPECT_TRUE(D::isLastWeekDayOfMonth(6, local(2027, 6, 25)));
    EXPECT_FALSE(D::isLastWeekDayOfMonth(6, local(2027, 6, 18)));

    // The searches cross the autumn change in October 2027 (the 31st is a Sunday).
    EXPECT_EQ(D::lastWeekDayOfMonth(1, local(2027, 10, 2)), midnight(2027, 10, 31));
    EXPECT_EQ(D::lastWeekDayOfMonth(6, local(2027, 10, 2)), midnight(2027, 10, 29));
}

TEST(DateUtils, CalendarFields)
{
    ScopedTimeZone zone("America/New_York");
    using D = QOR_DateUtils;
    // 1 January 2027 05:00 UTC is still 31 December 2026 in New York.
    const QDateTime utc(QDate(2027, 1, 1), QTime(4, 59), Qt::UTC);
    EXPECT_EQ(D::dayForDate(utc), 31);
    EXPECT_EQ(D::monthForDate(utc), 12);
    EXPECT_EQ(D::yearForDate(utc), 2026);
    EXPECT_EQ(D::weekdayForDate(utc), 5); // Thursday
    EXPECT_EQ(D::weekdayForDate(local(2027, 1, 3)), 1); // Sunday
    EXPECT_EQ(D::weekdayForDate(local(2027, 1, 2)), 7); // Saturday
    EXPECT_EQ(D::weekForDate(local(2027, 1, 1)), 53);
    EXPECT_EQ(D::weekForDate(local(2027, 1, 4)), 1);
}
