#include "ReaderLibrariesInterface.h"
#include "ReaderLibrariesModule.h"
#include "RuleExpansion.h"

#include <QHash>
#include <QSet>
#include <QThread>
#include <QTimeZone>

#include <libical/ical.h>

#include <mutex>
#include <optional>

// The calendar reader's use of libical: one iCalendar text's events expanded over a range in
// their own time zones. Only reads.
namespace {

// Where the wall-clock fields of a time written in a calendar are.
struct Zone {
    enum Kind { Floating, Utc, Ical, Qt };
    Kind kind = Floating;
    icaltimezone *ical = nullptr; // owned by the calendar or libical's built-in table
    QTimeZone qt;
};

// The IANA name in a TZID that prefixes it with a vendor path
// ("/mozilla.org/20050126_1/America/New_York", "/softwarestudio.org/Olson_20011030_5/...").
QTimeZone qtZoneFor(const QByteArray &tzid)
{
    if (QTimeZone::isTimeZoneIdAvailable(tzid))
        return QTimeZone(tzid);
    const QList<QByteArray> parts = tzid.split('/');
    for (qsizetype take = 3; take >= 2; --take) {
        if (parts.size() <= take)
            continue;
        const QByteArray tail = parts.mid(parts.size() - take).join('/');
        if (QTimeZone::isTimeZoneIdAvailable(tail))
            return QTimeZone(tail);
    }
    const QByteArray windows = QTimeZone::windowsIdToDefaultIanaId(tzid);
    if (!windows.isEmpty() && QTimeZone::isTimeZoneIdAvailable(windows))
        return QTimeZone(windows);
    return {};
}

// Whether every observance of a calendar's own zone starts at a valid time. libical expands an
// observance from its start, and from a start its parser could not read it took minutes inside
// one call, beyond the reading's deadline (a fuzzed calendar).
bool observancesStartValid(icaltimezone *zone)
{
    icalcomponent *definition = icaltimezone_get_component(zone);
    if (!definition)
        return false;
    for (const icalcomponent_kind kind : {ICAL_XSTANDARD_COMPONENT, ICAL_XDAYLIGHT_COMPONENT}) {
        for (icalcomponent *observance = icalcomponent_get_first_component(definition, kind);
             observance; observance = icalcomponent_get_next_component(definition, kind)) {
            const icaltimetype start = icalcomponent_get_dtstart(observance);
            if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start))
                return false;
        }
    }
    return true;
}

// The time zones one calendar's times refer to, resolved once per TZID.
class ZoneTable
{
public:
    explicit ZoneTable(icalcomponent *calendar)
        : mCalendar(calendar)
    {
    }

    Zone zoneOf(icalproperty *property, const icaltimetype &value)
    {
        if (icaltime_is_utc(value))
            return {Zone::Utc, nullptr, {}};
        icalparameter *parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
        const char *tzid = parameter ? icalparameter_get_tzid(parameter) : nullptr;
        if (!tzid || !*tzid)
            return {};
        const QByteArray key(tzid);
        const auto found = mZones.constFind(key);
        if (found != mZones.cend())
            return *found;
        Zone zone = resolve(tzid);
        mZones.insert(key, zone);
        return zone;
    }

private:
    Zone resolve(const char *tzid) const
    {
        // The calendar's own definition first: it is what its writer meant.
        if (mCalendar && icalcomponent_isa(mCalendar) == ICAL_VCALENDAR_COMPONENT) {
            icaltimezone *own = icalcomponent_get_timezone(mCalendar, tzid);
            if (own && observancesStartValid(own))
                return {Zone::Ical, own, {}};
        }
        if (icaltimezone *builtin = icaltimezone_get_builtin_timezone_from_tzid(tzid))
            return {Zone::Ical, builtin, {}};
        if (icaltimezone *builtin = icaltimezone_get_builtin_timezone(tzid))
            return {Zone::Ical, builtin, {}};
        const QTimeZone qt = qtZoneFor(QByteArray(tzid));
        if (qt.isValid())
            return {Zone::Qt, nullptr, qt};
        return {};
    }

    icalcomponent *mCalendar;
    QHash<QByteArray, Zone> mZones;
};

QDate dateOf(const icaltimetype &time)
{
    return QDate(time.year, time.month, time.day);
}

// The instant a written time stands for, in milliseconds since the epoch; none when the fields
// are not a real date. Dates without a time are local midnight, whatever zone they name.
std::optional<qint64> instantOf(const icaltimetype &wall, const Zone &zone)
{
    const QDate date = dateOf(wall);
    if (!date.isValid())
        return std::nullopt;
    QDateTime instant;
    if (wall.is_date) {
        instant = QDateTime(date, QTime(0, 0));
    } else {
        const QTime time(wall.hour, wall.minute, qMin(wall.second, 59));
        if (!time.isValid())
            return std::nullopt;
        switch (zone.kind) {
        case Zone::Floating:
            instant = QDateTime(date, time);
            break;
        case Zone::Utc:
            instant = QDateTime(date, time, QTimeZone::utc());
            break;
        case Zone::Qt:
            instant = QDateTime(date, time, zone.qt);
            break;
        case Zone::Ical: {
            icaltimetype plain = wall;
            plain.zone = nullptr;
            plain.is_date = 0;
            return qint64(icaltime_as_timet_with_zone(plain, zone.ical)) * 1000;
        }
        }
    }
    if (!instant.isValid())
        return std::nullopt;
    return instant.toMSecsSinceEpoch();
}

// The wall-clock fields of an instant in the zone.
icaltimetype wallClock(const QDateTime &instant, const Zone &zone, bool isDate)
{
    QDateTime there;
    switch (zone.kind) {
    case Zone::Floating:
        there = instant.toLocalTime();
        break;
    case Zone::Utc:
        there = instant.toUTC();
        break;
    case Zone::Qt:
        there = instant.toTimeZone(zone.qt);
        break;
    case Zone::Ical: {
        icaltimetype time = icaltime_from_timet_with_zone(time_t(instant.toSecsSinceEpoch()),
                                                          isDate ? 1 : 0, zone.ical);
        time.zone = nullptr;
        return time;
    }
    }
    icaltimetype time = icaltime_null_time();
    time.year = there.date().year();
    time.month = there.date().month();
    time.day = there.date().day();
    if (isDate) {
        time.is_date = 1;
    } else {
        time.hour = there.time().hour();
        time.minute = there.time().minute();
        time.second = there.time().second();
    }
    return time;
}

bool stopRequested(const CalendarRange &range)
{
    return range.deadline.hasExpired() || QThread::currentThread()->isInterruptionRequested();
}

// The occurrences of one event that fall in the range, each once.
class Occurrences
{
public:
    Occurrences(const QString &title, const QByteArray &uid, const CalendarRange &range,
                QList<CalendarOccurrence> &out)
        : mTitle(title)
        , mUid(uid)
        , mRange(range)
        , mOut(out)
    {
    }

    void exclude(const icaltimetype &wall, const Zone &zone)
    {
        if (wall.is_date) {
            mExcludedDays.insert(dateOf(wall));
            return;
        }
        if (const std::optional<qint64> instant = instantOf(wall, zone))
            mExcludedInstants.insert(*instant);
    }

    // False once the wall clock is past the range, so that a rule can stop there.
    bool add(const icaltimetype &wall, const Zone &zone)
    {
        const QDate day = dateOf(wall);
        if (!day.isValid() || day < mRange.firstDay)
            return true;
        if (day > mRange.lastDay)
            return false;
        if (mExcludedDays.contains(day))
            return true;
        const std::optional<qint64> start = instantOf(wall, zone);
        if (!start || *start < mRange.fromMs)
            return true;
        if (*start >= mRange.toMs || *start > mRange.horizonMs)
            return false;
        if (mExcludedInstants.contains(*start) || mSeen.contains(*start))
            return true;
        mSeen.insert(*start);
        mOut.append({*start, mTitle});
        return true;
    }

    bool full() const { return mSeen.size() >= CalendarReader::OccurrenceLimit; }
    QDateTime from() const { return mRange.from; }
    const CalendarRange &range() const { return mRange; }
    // Logged once: the event's rule was cut, or left out, for `why`.
    void reportCut(const QString &why) const
    {
        mRange.reportOnce(QStringLiteral("Calendar event \"%1\" (UID %2) %3")
                              .arg(mTitle, QString::fromUtf8(mUid), why));
    }

private:
    QString mTitle;
    QByteArray mUid;
    const CalendarRange &mRange;
    QList<CalendarOccurrence> &mOut;
    QSet<QDate> mExcludedDays;
    QSet<qint64> mExcludedInstants;
    QSet<qint64> mSeen;
};

// False when the rule was cut at the deadline.
bool expandRule(icalrecurrencetype rule, const icaltimetype &start, const Zone &zone,
                Occurrences &occurrences, const QDeadlineTimer &deadline)
{
    if (rule.freq == ICAL_NO_RECURRENCE)
        return true;
    if (!RuleExpansion::canEverMatch(rule)) {
        occurrences.reportCut(
            QStringLiteral("repeats on no day (its BY parts never match); only its start is kept"));
        return true;
    }
    // UNTIL is written in UTC for an event in a zone; the rule runs on the event's wall clock.
    if (!icaltime_is_null_time(rule.until)) {
        if (icaltime_is_utc(rule.until) && zone.kind != Zone::Utc) {
            const std::optional<qint64> until = instantOf(rule.until, {Zone::Utc, nullptr, {}});
            if (until)
                rule.until = wallClock(QDateTime::fromMSecsSinceEpoch(*until, QTimeZone::utc()),
                                       zone, false);
        }
        rule.until.zone = nullptr;
        if (start.is_date)
            rule.until.is_date = 1;
    }
    const icaltimetype near = start.is_date ? wallClock(occurrences.from(), {}, true)
                                            : wallClock(occurrences.from(), zone, false);
    if (RuleExpansion::isSubDaily(rule)) {
        return RuleExpansion::expandSubDaily(
                   rule, start, near, occurrences.range().lastDay, deadline,
                   [&occurrences, &zone](const icaltimetype &time) {
                       return !occurrences.full() && occurrences.add(time, zone);
                   })
            == RuleExpansion::Outcome::Finished;
    }
    // Straight to the range for a rule without a count (a count must be run from the start).
    const bool behind = rule.count == 0 && icaltime_compare(near, start) > 0;
    icalrecur_iterator *iterator = icalrecur_iterator_new(rule, start);
    if (!iterator)
        return true;
    if (behind)
        icalrecur_iterator_set_start(iterator, near);
    bool finished = true;
    for (int step = 0; step < CalendarReader::RuleStepLimit && !occurrences.full(); ++step) {
        // A rule known to match some day finds it within a few leap-year and weekday cycles, so
        // one call of libical stays short; the deadline is looked at between calls.
        if (deadline.hasExpired()) {
            finished = false;
            break;
        }
        icaltimetype next = icalrecur_iterator_next(iterator);
        if (icaltime_is_null_time(next))
            break;
        next.zone = nullptr;
        if (!occurrences.add(next, zone))
            break;
    }
    icalrecur_iterator_free(iterator);
    return finished;
}

QString titleOf(icalcomponent *event)
{
    icalproperty *summary = icalcomponent_get_first_property(event, ICAL_SUMMARY_PROPERTY);
    const char *text = summary ? icalproperty_get_summary(summary) : nullptr;
    return text ? QString::fromUtf8(text).trimmed() : QString();
}

bool isCancelled(icalcomponent *event)
{
    icalproperty *status = icalcomponent_get_first_property(event, ICAL_STATUS_PROPERTY);
    return status && icalproperty_get_status(status) == ICAL_STATUS_CANCELLED;
}

QByteArray uidOf(icalcomponent *event)
{
    icalproperty *uid = icalcomponent_get_first_property(event, ICAL_UID_PROPERTY);
    const char *text = uid ? icalproperty_get_uid(uid) : nullptr;
    return text ? QByteArray(text) : QByteArray();
}

struct Override {
    icaltimetype recurrenceId;
    Zone zone;
};

void addEventsOf(icalcomponent *calendar, CalendarRange &range, QList<CalendarOccurrence> &out)
{
    ZoneTable zones(calendar);
    // Occurrences moved or cancelled on their own: their master leaves them out.
    QHash<QByteArray, QList<Override>> overrides;
    QList<icalcomponent *> events;
    if (icalcomponent_isa(calendar) == ICAL_VEVENT_COMPONENT)
        events.append(calendar);
    for (icalcomponent *event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         event; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
        events.append(event);
    for (icalcomponent *event : events) {
        icalproperty *id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        if (!id)
            continue;
        const icaltimetype time = icalproperty_get_recurrenceid(id);
        if (!icaltime_is_null_time(time))
            overrides[uidOf(event)].append({time, zones.zoneOf(id, time)});
    }

    for (icalcomponent *event : events) {
        CalendarOccurrences::keepEarliest(out, range);
        const QString title = titleOf(event);
        if (!range.stoppedAt.isEmpty())
            return;
        if (stopRequested(range)) {
            range.stoppedAt = title.isEmpty() ? QString::fromUtf8(uidOf(event)) : title;
            return;
        }
        icalproperty *startProperty =
            icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        if (title.isEmpty() || !startProperty)
            continue;
        icaltimetype start = icalproperty_get_dtstart(startProperty);
        if (icaltime_is_null_time(start))
            continue;
        const Zone zone = zones.zoneOf(startProperty, start);
        start.zone = nullptr;
        const QByteArray uid = uidOf(event);
        Occurrences occurrences(title, uid, range, out);
        const bool isOverride = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        if (isOverride) {
            if (!isCancelled(event))
                occurrences.add(start, zone);
            continue;
        }
        for (icalproperty *exdate = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY);
             exdate; exdate = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
            const icaltimetype time = icalproperty_get_exdate(exdate);
            if (!icaltime_is_null_time(time))
                occurrences.exclude(time, zones.zoneOf(exdate, time));
        }
        if (!uid.isEmpty()) {
            for (const Override &moved : overrides.value(uid))
                occurrences.exclude(moved.recurrenceId, moved.zone);
        }
        occurrences.add(start, zone);
        const QDeadlineTimer deadline =
            qMin(QDeadlineTimer(CalendarReader::EventBudgetMs), range.deadline);
        bool cut = false;
        for (icalproperty *rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
             rrule && !cut; rrule = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY))
            cut = !expandRule(icalproperty_get_rrule(rrule), start, zone, occurrences, deadline);
        if (cut && !range.deadline.hasExpired())
            occurrences.reportCut(QStringLiteral("cut: its repetition took more than %1 ms to work "
                                                 "out; the occurrences found until then are kept")
                                      .arg(CalendarReader::EventBudgetMs));
        for (icalproperty *rdate = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
             rdate && !occurrences.full();
             rdate = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(rdate);
            icaltimetype time = icaltime_is_null_time(value.time) ? value.period.start : value.time;
            if (icaltime_is_null_time(time))
                continue;
            const Zone rdateZone = zones.zoneOf(rdate, time);
            time.zone = nullptr;
            occurrences.add(time, rdateZone);
        }
    }
}

} // namespace

void ReaderLibrariesCalendar::addOccurrences(const QByteArray &bytes, CalendarRange &range,
                                             QList<CalendarOccurrence> &found)
{
    static std::once_flag quiet;
    // A malformed calendar is an answer of no events, never a reason to abort.
    std::call_once(quiet, [] { icalerror_set_errors_are_fatal(0); });
    if (bytes.isEmpty() || !range.from.isValid() || range.fromMs >= range.toMs)
        return;
    icalcomponent *root = icalparser_parse_string(bytes.constData());
    if (!root)
        return;
    const auto add = [&range, &found](icalcomponent *calendar) {
        addEventsOf(calendar, range, found);
        CalendarOccurrences::keepEarliest(found, range);
    };
    if (icalcomponent_isa(root) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent *calendar = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT);
             calendar; calendar = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT))
            add(calendar);
    } else {
        add(root);
    }
    icalcomponent_free(root);
}
