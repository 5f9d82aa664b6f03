#include "RuleExpansion.h"

#include <QList>

#include <algorithm>
#include <limits>

namespace {

QList<int> valuesOf(const short *array, int size)
{
    QList<int> values;
    for (int i = 0; i < size && array[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        values.append(array[i]);
    return values;
}

// The sorted values of a time BY part within [0, limit), or every value when the part is absent
// (`fallback` instead when the rule's frequency takes it from the start).
QList<int> timeValues(const short *array, int size, int limit, int fallback)
{
    QList<int> values;
    for (int value : valuesOf(array, size)) {
        if (value >= 0 && value < limit)
            values.append(value);
    }
    if (array[0] == ICAL_RECURRENCE_ARRAY_MAX) {
        if (fallback >= 0)
            return {fallback};
        for (int value = 0; value < limit; ++value)
            values.append(value);
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

bool hasDayParts(const icalrecurrencetype &rule)
{
    return rule.by_month[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_month_day[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_year_day[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_week_no[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_day[0] != ICAL_RECURRENCE_ARRAY_MAX;
}

// Counted from the start (1, 2, ...) or from the end (-1, -2, ...) of a span of `length`.
bool positionMatches(int wanted, int position, int length)
{
    if (wanted > 0)
        return position == wanted;
    if (wanted < 0)
        return position == length + wanted + 1;
    return false;
}

// libical numbers weekdays from Sunday (1) to Saturday (7); Qt from Monday (1) to Sunday (7).
int qtWeekday(icalrecurrencetype_weekday weekday)
{
    return (int(weekday) + 5) % 7 + 1;
}

bool weekdayMatches(const icalrecurrencetype &rule, QDate day)
{
    const int weekday = day.dayOfWeek();
    for (int encoded : valuesOf(rule.by_day, ICAL_BY_DAY_SIZE)) {
        const icalrecurrencetype_weekday ical = icalrecurrencetype_day_day_of_week(short(encoded));
        if (ical == ICAL_NO_WEEKDAY || qtWeekday(ical) != weekday)
            continue;
        const int position = icalrecurrencetype_day_position(short(encoded));
        if (position == 0)
            return true;
        const int inMonth = (day.day() - 1) / 7 + 1;
        const int inYear = (day.dayOfYear() - 1) / 7 + 1;
        const int fromMonthEnd = (day.daysInMonth() - day.day()) / 7 + 1;
        const int fromYearEnd = (day.daysInYear() - day.dayOfYear()) / 7 + 1;
        if (position > 0 && (position == inMonth || position == inYear))
            return true;
        if (position < 0 && (-position == fromMonthEnd || -position == fromYearEnd))
            return true;
    }
    return false;
}

qint64 wallSeconds(QDate day, int hour, int minute, int second)
{
    return day.toJulianDay() * 86400 + hour * 3600 + minute * 60 + second;
}

// An UNTIL that is no real date limits nothing.
qint64 untilSeconds(const icaltimetype &time)
{
    const QDate day(time.year, time.month, time.day);
    if (!day.isValid())
        return std::numeric_limits<qint64>::max();
    if (time.is_date)
        return wallSeconds(day, 23, 59, 59);
    return wallSeconds(day, time.hour, time.minute, time.second);
}

// The members of one period's set that BYSETPOS keeps, in order.
QList<int> selectPositions(const QList<int> &setPositions, int size)
{
    QList<int> kept;
    for (int index = 0; index < size; ++index) {
        for (int wanted : setPositions) {
            if (positionMatches(wanted, index + 1, size)) {
                kept.append(index);
                break;
            }
        }
    }
    return kept;
}

} // namespace

bool RuleExpansion::isSubDaily(const icalrecurrencetype &rule)
{
    return rule.freq == ICAL_SECONDLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE
        || rule.freq == ICAL_HOURLY_RECURRENCE;
}

bool RuleExpansion::dayMatches(const icalrecurrencetype &rule, QDate day)
{
    if (rule.by_month[0] != ICAL_RECURRENCE_ARRAY_MAX) {
        const QList<int> months = valuesOf(rule.by_month, ICAL_BY_MONTH_SIZE);
        if (std::none_of(months.cbegin(), months.cend(), [&day](int encoded) {
                return icalrecurrencetype_month_month(short(encoded)) == day.month();
            }))
            return false;
    }
    if (rule.by_month_day[0] != ICAL_RECURRENCE_ARRAY_MAX) {
        const QList<int> days = valuesOf(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
        if (std::none_of(days.cbegin(), days.cend(), [&day](int wanted) {
                return positionMatches(wanted, day.day(), day.daysInMonth());
            }))
            return false;
    }
    if (rule.by_year_day[0] != ICAL_RECURRENCE_ARRAY_MAX) {
        const QList<int> days = valuesOf(rule.by_year_day, ICAL_BY_YEARDAY_SIZE);
        if (std::none_of(days.cbegin(), days.cend(), [&day](int wanted) {
                return positionMatches(wanted, day.dayOfYear(), day.daysInYear());
            }))
            return false;
    }
    const bool isoWeeks =
        rule.week_start == ICAL_MONDAY_WEEKDAY || rule.week_start == ICAL_NO_WEEKDAY;
    if (isoWeeks && rule.by_week_no[0] != ICAL_RECURRENCE_ARRAY_MAX) {
        int weekYear = 0;
        const int week = day.weekNumber(&weekYear);
        const int weeks = QDate(weekYear, 12, 28).weekNumber();
        const QList<int> wanted = valuesOf(rule.by_week_no, ICAL_BY_WEEKNO_SIZE);
        if (std::none_of(wanted.cbegin(), wanted.cend(),
                         [&](int number) { return positionMatches(number, week, weeks); }))
            return false;
    }
    if (rule.by_day[0] != ICAL_RECURRENCE_ARRAY_MAX && !weekdayMatches(rule, day))
        return false;
    return true;
}

bool RuleExpansion::canEverMatch(const icalrecurrencetype &rule)
{
    if (!hasDayParts(rule))
        return true;
    // Another calendar scale, or its leap months, is not ours to judge.
    if (rule.rscale && qstricmp(rule.rscale, "GREGORIAN") != 0)
        return true;
    for (int encoded : valuesOf(rule.by_month, ICAL_BY_MONTH_SIZE)) {
        if (icalrecurrencetype_month_is_leap(short(encoded)))
            return true;
    }
    const qint64 first = QDate(2000, 1, 1).toJulianDay();
    const qint64 last = QDate(2400, 1, 1).toJulianDay();
    for (qint64 day = first; day < last; ++day) {
        if (dayMatches(rule, QDate::fromJulianDay(day)))
            return true;
    }
    return false;
}

RuleExpansion::Outcome
RuleExpansion::expandSubDaily(const icalrecurrencetype &rule, const icaltimetype &start,
                              const icaltimetype &from, QDate lastDay,
                              const QDeadlineTimer &deadline,
                              const std::function<bool(const icaltimetype &)> &found)
{
    // No zone moves its clocks back by more than this.
    constexpr qint64 FoldMargin = 3 * 3600;
    const QDate fromDay(from.year, from.month, from.day);
    if (!fromDay.isValid())
        return Outcome::Finished;
    const qint64 shownFrom = wallSeconds(fromDay, from.hour, from.minute, from.second) - FoldMargin;
    QDate firstDay = QDate::fromJulianDay(shownFrom / 86400);
    const QDate startDay(start.year, start.month, start.day);
    if (!startDay.isValid())
        return Outcome::Finished;
    const int startHour = start.is_date ? 0 : start.hour;
    const int startMinute = start.is_date ? 0 : start.minute;
    const int startSecond = start.is_date ? 0 : qMin(start.second, 59);
    const qint64 startWall = wallSeconds(startDay, startHour, startMinute, startSecond);
    const bool hourly = rule.freq == ICAL_HOURLY_RECURRENCE;
    const bool minutely = rule.freq == ICAL_MINUTELY_RECURRENCE;
    // What the rule does not list comes from the start, finer than the frequency; the rest runs
    // through every value.
    const QList<int> hours = timeValues(rule.by_hour, ICAL_BY_HOUR_SIZE, 24, -1);
    const QList<int> minutes =
        timeValues(rule.by_minute, ICAL_BY_MINUTE_SIZE, 60, hourly ? startMinute : -1);
    const QList<int> seconds =
        timeValues(rule.by_second, ICAL_BY_SECOND_SIZE, 60, hourly || minutely ? startSecond : -1);
    const QList<int> setPositions = valuesOf(rule.by_set_pos, ICAL_BY_SETPOS_SIZE);
    const qint64 unit = hourly ? 3600 : minutely ? 60 : 1;
    const qint64 interval = qMax(1, int(rule.interval));
    const qint64 startPeriod = startWall / unit;
    const bool counted = rule.count > 0;
    const qint64 untilWall = icaltime_is_null_time(rule.until) ? std::numeric_limits<qint64>::max()
                                                               : untilSeconds(rule.until);
    if (!counted && firstDay < startDay)
        firstDay = startDay;
    if (counted)
        firstDay = startDay;

    int left = rule.count;
    bool stopped = false;
    // One period's set (an hour's minutes and seconds, a minute's seconds, or one second) as
    // seconds into the day, BYSETPOS applied.
    QList<qint64> set;
    const auto emitSet = [&](QDate day) {
        QList<int> kept;
        if (setPositions.isEmpty()) {
            for (int i = 0; i < set.size(); ++i)
                kept.append(i);
        } else {
            kept = selectPositions(setPositions, int(set.size()));
        }
        for (int index : kept) {
            const qint64 wall = day.toJulianDay() * 86400 + set.at(index);
            if (wall < startWall)
                continue;
            if (wall > untilWall || (counted && left <= 0)) {
                stopped = true;
                return;
            }
            --left;
            if (wall < shownFrom)
                continue;
            icaltimetype time = icaltime_null_time();
            time.year = day.year();
            time.month = day.month();
            time.day = day.day();
            const qint64 inDay = set.at(index);
            time.hour = int(inDay / 3600);
            time.minute = int(inDay / 60 % 60);
            time.second = int(inDay % 60);
            if (!found(time)) {
                stopped = true;
                return;
            }
        }
    };
    const auto inPhase = [&](qint64 wall) {
        return (wall / unit - startPeriod) % interval == 0 && wall / unit >= startPeriod;
    };

    for (QDate day = firstDay; day <= lastDay && !stopped; day = day.addDays(1)) {
        if (wallSeconds(day, 0, 0, 0) > untilWall)
            break;
        if (!dayMatches(rule, day))
            continue;
        for (int hour : hours) {
            if (stopped)
                break;
            if (hourly) {
                if (!inPhase(wallSeconds(day, hour, 0, 0)))
                    continue;
                set.clear();
                for (int minute : minutes) {
                    for (int second : seconds)
                        set.append(hour * 3600 + minute * 60 + second);
                }
                emitSet(day);
                if (deadline.hasExpired())
                    return Outcome::OutOfTime;
            } else {
                for (int minute : minutes) {
                    if (stopped)
                        break;
                    if (minutely) {
                        if (!inPhase(wallSeconds(day, hour, minute, 0)))
                            continue;
                        set.clear();
                        for (int second : seconds)
                            set.append(hour * 3600 + minute * 60 + second);
                        emitSet(day);
                    } else {
                        for (int second : seconds) {
                            if (stopped)
                                break;
                            if (!inPhase(wallSeconds(day, hour, minute, second)))
                                continue;
                            set = {hour * 3600 + minute * 60 + second};
                            emitSet(day);
                        }
                    }
                    if (deadline.hasExpired())
                        return Outcome::OutOfTime;
                }
            }
        }
        if (deadline.hasExpired())
            return Outcome::OutOfTime;
    }
    return Outcome::Finished;
}
