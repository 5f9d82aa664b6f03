#pragma once

#include <QDateTime>

// Calendar arithmetic on the Gregorian calendar in the user's local time zone.
//
// A "day date" is the first instant of a local calendar day (00:00, or the first minute that
// exists when a daylight-saving change skips midnight). Results are local-time QDateTimes.
// An invalid (default-constructed) QDateTime stands for an absent date, which means "now"
// unless an operation says otherwise. Weekdays are numbered 1 (Sunday) to 7 (Saturday).
class QOR_DateUtils
{
public:
    QOR_DateUtils() = delete;

    // The suite stores times as seconds since 2001-01-01 00:00 UTC.
    static constexpr qint64 ReferenceDateMSecsSinceEpoch = 978307200000LL;
    static double referenceSeconds(const QDateTime &date);
    // A value that is not a finite number gives an invalid date.
    static QDateTime fromReferenceSeconds(double seconds);

    static QDateTime todayAt0h00();
    static QDateTime dayAt0h00(const QDateTime &date);
    static QDateTime dayAt0Seconds(const QDateTime &date);
    static bool sameDayDate2(const QDateTime &date1, const QDateTime &date2);
    // Calendar days from today to the date's day, rounded so that 23- and 25-hour days count as
    // one; 0 for an absent date.
    static int daysFromTodayForDate(const QDateTime &date);
    // Today's day, month and year, each replaced by its argument when that is not 0; built
    // leniently (day 31 of a 30-day month is the 1st of the next one).
    static QDateTime dateForDayMonthYear(int day, int month, int year);

    static QDateTime sameDayLastMonth(const QDateTime &date);
    static QDateTime sameDayNextMonth(const QDateTime &date);
    static QDateTime sameDayLastYear(const QDateTime &date);
    static QDateTime sameDayNextYear(const QDateTime &date);

    static QDateTime firstDayOfMonth(const QDateTime &date);
    static QDateTime firstDayOfLastMonth(const QDateTime &date);
    static QDateTime firstDayOfNextMonth(const QDateTime &date);
    static QDateTime lastDayOfMonth(const QDateTime &date);
    static QDateTime firstWorkingDayOfMonth(const QDateTime &date);
    static QDateTime lastWorkingDayOfMonth(const QDateTime &date);

    // The weekday searches look at seven days at most: with a weekday outside 1..7 they end on
    // the day seven steps away from where they started (the 8th, the 15th, last day - 7).
    static QDateTime firstWeekDayOfMonth(int weekday, const QDateTime &date);
    static QDateTime secondWeekDayOfMonth(int weekday, const QDateTime &date);
    static QDateTime lastWeekDayOfMonth(int weekday, const QDateTime &date);

    static QDateTime firstDayOfYear(const QDateTime &date);
    static QDateTime lastDayOfYear(const QDateTime &date);
    static QDateTime firstDayOfLastYear(const QDateTime &date);
    static QDateTime firstDayOfNextYear(const QDateTime &date);

    static bool isFirstDayOfMonth(const QDateTime &date);
    static bool isFirstWorkingDayOfMonth(const QDateTime &date);
    static bool isLastDayOfMonth(const QDateTime &date);
    static bool isLastWorkingDayOfMonth(const QDateTime &date);
    static bool isFirstWeekDayOfMonth(int weekday, const QDateTime &date);
    static bool isSecondWeekDayOfMonth(int weekday, const QDateTime &date);
    static bool isLastWeekDayOfMonth(int weekday, const QDateTime &date);

    static int dayForDate(const QDateTime &date);
    // ISO 8601 week number (weeks start on Monday; week 1 holds the year's first Thursday).
    static int weekForDate(const QDateTime &date);
    static int monthForDate(const QDateTime &date);
    static int yearForDate(const QDateTime &date);
    static int weekdayForDate(const QDateTime &date);
    static bool isWorkingDay(const QDateTime &date);

    static QDateTime nextDay(const QDateTime &date);
    static QDateTime previousDay(const QDateTime &date);
    static QDateTime dayAtDistanceFromDateDays(const QDateTime &date, int days);
    static double secondsInDay(const QDateTime &date);
};
