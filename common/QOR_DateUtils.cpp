#include "QOR_DateUtils.h"

#include <QDate>

#include <cmath>

namespace {

constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 HalfDay = 43200;
// Each weekday search looks at one week at most.
constexpr int SearchSteps = 7;

QDateTime localOrNow(const QDateTime &date)
{
    return date.isValid() ? date.toLocalTime() : QDateTime::currentDateTime();
}

QDate localDay(const QDateTime &date)
{
    return localOrNow(date).date();
}

// startOfDay() gives the first existing instant when a daylight-saving change skips midnight.
QDateTime startOf(const QDate &day)
{
    return day.startOfDay(Qt::LocalTime);
}

// Day 0 or beyond the month's end, and months outside 1..12, carry over into the neighbours.
QDateTime lenientDay(int year, int month, int day)
{
    const int monthIndex = month - 1;
    const int yearCarry = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    const int normalisedMonth = monthIndex - yearCarry * 12 + 1;
    const QDate first(year + yearCarry, normalisedMonth, 1);
    return startOf(first.addDays(qint64(day) - 1));
}

struct MonthStep {
    int year;
    int month;
};

MonthStep nextMonth(const QDate &day)
{
    return day.month() == 12 ? MonthStep{day.year() + 1, 1}
                             : MonthStep{day.year(), day.month() + 1};
}

MonthStep previousMonth(const QDate &day)
{
    return day.month() == 1 ? MonthStep{day.year() - 1, 12}
                            : MonthStep{day.year(), day.month() - 1};
}

template <typename Accept, typename Step>
QDateTime searchSevenDays(QDateTime day, Accept accept, Step step)
{
    for (int i = 0; i < SearchSteps; ++i) {
        if (accept(day))
            break;
        day = step(day);
    }
    return day;
}

} // namespace

double QOR_DateUtils::referenceSeconds(const QDateTime &date)
{
    const qint64 msecs = localOrNow(date).toMSecsSinceEpoch() - ReferenceDateMSecsSinceEpoch;
    return double(msecs) / 1000.0;
}

QDateTime QOR_DateUtils::fromReferenceSeconds(double seconds)
{
    const double msecs = std::round(seconds * 1000.0);
    // QDateTime covers far more than this; the bound keeps the conversion to integer defined.
    constexpr double Limit = 1e17;
    if (!std::isfinite(msecs) || std::fabs(msecs) > Limit)
        return {};
    return QDateTime::fromMSecsSinceEpoch(qint64(msecs) + ReferenceDateMSecsSinceEpoch,
                                          Qt::LocalTime);
}

QDateTime QOR_DateUtils::todayAt0h00()
{
    return startOf(QDate::currentDate());
}

QDateTime QOR_DateUtils::dayAt0h00(const QDateTime &date)
{
    return startOf(localDay(date));
}

QDateTime QOR_DateUtils::dayAt0Seconds(const QDateTime &date)
{
    // Stepping back keeps the right one of two equal wall-clock times in the autumn hour.
    const QDateTime local = localOrNow(date);
    const QTime time = local.time();
    return local.addMSecs(-(qint64(time.second()) * 1000 + time.msec()));
}

bool QOR_DateUtils::sameDayDate2(const QDateTime &date1, const QDateTime &date2)
{
    return localDay(date1) == localDay(date2);
}

int QOR_DateUtils::daysFromTodayForDate(const QDateTime &date)
{
    if (!date.isValid())
        return 0;
    const qint64 today = todayAt0h00().toMSecsSinceEpoch();
    const qint64 day = dayAt0h00(date).toMSecsSinceEpoch();
    if (day == today)
        return 0;
    const qint64 seconds = (day - today) / 1000;
    const qint64 days =
        day > today ? (seconds + HalfDay) / SecondsPerDay : (seconds - HalfDay) / SecondsPerDay;
    return int(days);
}

QDateTime QOR_DateUtils::dateForDayMonthYear(int day, int month, int year)
{
    const QDate today = QDate::currentDate();
    return lenientDay(year != 0 ? year : today.year(), month != 0 ? month : today.month(),
                      day != 0 ? day : today.day());
}

QDateTime QOR_DateUtils::sameDayLastMonth(const QDateTime &date)
{
    const QDate day = localDay(date);
    const MonthStep step = previousMonth(day);
    return lenientDay(step.year, step.month, day.day());
}

QDateTime QOR_DateUtils::sameDayNextMonth(const QDateTime &date)
{
    const QDate day = localDay(date);
    const MonthStep step = nextMonth(day);
    return lenientDay(step.year, step.month, day.day());
}

QDateTime QOR_DateUtils::sameDayLastYear(const QDateTime &date)
{
    const QDate day = localDay(date);
    return lenientDay(day.year() - 1, day.month(), day.day());
}

QDateTime QOR_DateUtils::sameDayNextYear(const QDateTime &date)
{
    const QDate day = localDay(date);
    return lenientDay(day.year() + 1, day.month(), day.day());
}

QDateTime QOR_DateUtils::firstDayOfMonth(const QDateTime &date)
{
    const QDate day = localDay(date);
    return lenientDay(day.year(), day.month(), 1);
}

QDateTime QOR_DateUtils::firstDayOfLastMonth(const QDateTime &date)
{
    const MonthStep step = previousMonth(localDay(date));
    return lenientDay(step.year, step.month, 1);
}

QDateTime QOR_DateUtils::firstDayOfNextMonth(const QDateTime &date)
{
    const MonthStep step = nextMonth(localDay(date));
    return lenientDay(step.year, step.month, 1);
}

QDateTime QOR_DateUtils::lastDayOfMonth(const QDateTime &date)
{
    return previousDay(firstDayOfNextMonth(date));
}

QDateTime QOR_DateUtils::firstWorkingDayOfMonth(const QDateTime &date)
{
    return searchSevenDays(firstDayOfMonth(date), isWorkingDay, nextDay);
}

QDateTime QOR_DateUtils::lastWorkingDayOfMonth(const QDateTime &date)
{
    return searchSevenDays(lastDayOfMonth(date), isWorkingDay, previousDay);
}

QDateTime QOR_DateUtils::firstWeekDayOfMonth(int weekday, const QDateTime &date)
{
    const auto matches = [weekday](const QDateTime &day) { return weekdayForDate(day) == weekday; };
    return searchSevenDays(firstDayOfMonth(date), matches, nextDay);
}

QDateTime QOR_DateUtils::secondWeekDayOfMonth(int weekday, const QDateTime &date)
{
    const auto matches = [weekday](const QDateTime &day) { return weekdayForDate(day) == weekday; };
    QDateTime start = firstDayOfMonth(date);
    for (int i = 0; i < SearchSteps; ++i)
        start = nextDay(start);
    return searchSevenDays(start, matches, nextDay);
}

QDateTime QOR_DateUtils::lastWeekDayOfMonth(int weekday, const QDateTime &date)
{
    const auto matches = [weekday](const QDateTime &day) { return weekdayForDate(day) == weekday; };
    return searchSevenDays(lastDayOfMonth(date), matches, previousDay);
}

QDateTime QOR_DateUtils::firstDayOfYear(const QDateTime &date)
{
    return lenientDay(localDay(date).year(), 1, 1);
}

QDateTime QOR_DateUtils::lastDayOfYear(const QDateTime &date)
{
    return previousDay(firstDayOfNextYear(date));
}

QDateTime QOR_DateUtils::firstDayOfLastYear(const QDateTime &date)
{
    return lenientDay(localDay(date).year() - 1, 1, 1);
}

QDateTime QOR_DateUtils::firstDayOfNextYear(const QDateTime &date)
{
    return lenientDay(localDay(date).year() + 1, 1, 1);
}

bool QOR_DateUtils::isFirstDayOfMonth(const QDateTime &date)
{
    return dayAt0h00(date) == firstDayOfMonth(date);
}

bool QOR_DateUtils::isFirstWorkingDayOfMonth(const QDateTime &date)
{
    return dayAt0h00(date) == firstWorkingDayOfMonth(date);
}

bool QOR_DateUtils::isLastDayOfMonth(const QDateTime &date)
{
    return dayAt0h00(date) == lastDayOfMonth(date);
}

bool QOR_DateUtils::isLastWorkingDayOfMonth(const QDateTime &date)
{
    return dayAt0h00(date) == lastWorkingDayOfMonth(date);
}

bool QOR_DateUtils::isFirstWeekDayOfMonth(int weekday, const QDateTime &date)
{
    return dayAt0h00(date) == firstWeekDayOfMonth(weekday, date);
}

bool QOR_DateUtils::isSecondWeekDayOfMonth(int weekday, const QDateTime &date)
{
    return dayAt0h00(date) == secondWeekDayOfMonth(weekday, date);
}

bool QOR_DateUtils::isLastWeekDayOfMonth(int weekday, const QDateTime &date)
{
    return dayAt0h00(date) == lastWeekDayOfMonth(weekday, date);
}

int QOR_DateUtils::dayForDate(const QDateTime &date)
{
    return localDay(date).day();
}

int QOR_DateUtils::weekForDate(const QDateTime &date)
{
    return localDay(date).weekNumber();
}

int QOR_DateUtils::monthForDate(const QDateTime &date)
{
    return localDay(date).month();
}

int QOR_DateUtils::yearForDate(const QDateTime &date)
{
    return localDay(date).year();
}

int QOR_DateUtils::weekdayForDate(const QDateTime &date)
{
    // Qt counts Monday 1 to Sunday 7.
    return localDay(date).dayOfWeek() % 7 + 1;
}

bool QOR_DateUtils::isWorkingDay(const QDateTime &date)
{
    const int weekday = weekdayForDate(date);
    return weekday >= 2 && weekday <= 6;
}

QDateTime QOR_DateUtils::nextDay(const QDateTime &date)
{
    return dayAtDistanceFromDateDays(date, 1);
}

QDateTime QOR_DateUtils::previousDay(const QDateTime &date)
{
    return dayAtDistanceFromDateDays(date, -1);
}

QDateTime QOR_DateUtils::dayAtDistanceFromDateDays(const QDateTime &date, int days)
{
    // Half a day more lands inside the wanted day even when a day lasts 23 or 25 hours.
    const QDateTime start = dayAt0h00(date);
    return dayAt0h00(start.addSecs(qint64(days) * SecondsPerDay + HalfDay));
}

double QOR_DateUtils::secondsInDay(const QDateTime &date)
{
    const QDateTime local = localOrNow(date);
    return double(dayAt0h00(local).msecsTo(local)) / 1000.0;
}
