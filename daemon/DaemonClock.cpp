#include "DaemonClock.h"

#include <QVariant>

namespace {
constexpr qint64 ReferenceMSecsSinceEpoch = 978307200000LL;
}

double DaemonClock::now() const
{
    return referenceSeconds(QDateTime::currentDateTimeUtc());
}

double DaemonClock::referenceSeconds(const QDateTime &dateTime)
{
    return double(dateTime.toMSecsSinceEpoch() - ReferenceMSecsSinceEpoch) / 1000.0;
}

QDateTime DaemonClock::dateTime(double referenceSeconds)
{
    return QDateTime::fromMSecsSinceEpoch(
        qint64(referenceSeconds * 1000.0) + ReferenceMSecsSinceEpoch, Qt::UTC);
}

qint64 DaemonClock::dayNumber(const QDate &date)
{
    return date.toJulianDay() - QDate(2001, 1, 1).toJulianDay();
}

std::optional<QDate> DaemonClock::localDay(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        if (!when.isValid())
            return std::nullopt;
        return when.toLocalTime().date();
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return dateTime(value.toDouble()).toLocalTime().date();
    default:
        return std::nullopt;
    }
}
