#pragma once

#include <QDate>
#include <QDeadlineTimer>

#include <libical/ical.h>

#include <functional>

// The parts of recurrence that libical cannot be trusted with on a reader's time: a rule whose
// day-level BY parts never match, and hourly, minutely and secondly rules, inside one of whose
// icalrecur_iterator_next() calls libical walks period by period until a day matches (hours for
// one rule). Sub-daily rules are expanded here day by day, only on days whose BY parts match and
// only within the days asked for; daily and longer rules stay with libical once they are known
// to match some day.
namespace RuleExpansion {

// True for HOURLY, MINUTELY and SECONDLY rules.
bool isSubDaily(const icalrecurrencetype &rule);

// Whether the day passes the rule's day-level BY parts (BYMONTH, BYMONTHDAY, BYYEARDAY, BYWEEKNO,
// BYDAY). Generous where libical's reading may differ: a BYDAY with a position matches the nth
// weekday of the month or of the year, BYWEEKNO counts ISO weeks and is only applied when weeks
// start on Monday.
bool dayMatches(const icalrecurrencetype &rule, QDate day);

// False when no day of a whole Gregorian cycle (400 years, every arrangement of dates and
// weekdays) passes the day-level BY parts: such a rule can never give an occurrence, and libical
// would look for one until its last year.
bool canEverMatch(const icalrecurrencetype &rule);

enum class Outcome { Finished, OutOfTime };

// The occurrences of a sub-daily rule from `start` (a wall-clock time), from the wall-clock time
// `from` up to the day `lastDay`, in order, each given to `found` as a wall-clock time; `found`
// answers false to stop. Those a few hours before `from` are given too (a daylight-saving fold
// repeats wall clocks); earlier ones are not, though a rule with COUNT counts them from its
// start. Stops with OutOfTime at the deadline.
Outcome expandSubDaily(const icalrecurrencetype &rule, const icaltimetype &start,
                       const icaltimetype &from, QDate lastDay, const QDeadlineTimer &deadline,
                       const std::function<bool(const icaltimetype &)> &found);

} // namespace RuleExpansion
