#pragma once

#include "../daemon/DaemonTestSupport.h"

#include "QOR_DateUtils.h"
#include "ScopedTimeZone.h"

#include <QDateTime>

inline QDateTime localTime(int year, int month, int day, int hour = 0, int minute = 0,
                           int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::LocalTime);
}

inline double referenceOf(const QDateTime &date)
{
    return DaemonClock::referenceSeconds(date);
}
