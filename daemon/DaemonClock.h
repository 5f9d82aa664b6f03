#pragma once

#include <QDate>
#include <QDateTime>
#include <QVariant>

#include <optional>

// Wall-clock time as the agent counts it: real seconds since the reference date, 2001-01-01
// 00:00 UTC. Tests replace the clock to step through hours in an instant.
class DaemonClock
{
public:
    virtual ~DaemonClock() = default;
    virtual double now() const;

    // The user's local calendar day at now().
    QDate today() const { return dateTime(now()).toLocalTime().date(); }

    static double referenceSeconds(const QDateTime &dateTime);
    static QDateTime dateTime(double referenceSeconds);
    // Whole days since the reference day, counted on the local calendar so that a day date
    // stored at local midnight and one with a time of day fall on the same number.
    static qint64 dayNumber(const QDate &date);
    // A record's date: a date value, or a number of reference seconds; nullopt otherwise.
    static std::optional<QDate> localDay(const QVariant &value);
};
