#pragma once

#include "ManagerListFilter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// What the manager reads from the agent's application-use file ("ApplicationsUse.krvdata"): how
// long ago each application was last used, the day chart and the report over a range of dates.
// No widgets and no clock: every moment is given in whole seconds since 2001-01-01 00:00 UTC.
class ActivityData
{
public:
    // One period in front. A period whose end was not recorded (absent, 0 or before its start)
    // lasts one minute.
    struct Use {
        QString name;
        qint64 start = 0;
        qint64 end = 0;
    };
    static constexpr qint64 MissingEndSeconds = 60;
    static constexpr qint64 DaySeconds = 86400;
    static constexpr qint64 HourSeconds = 3600;

    // The file's records, or nothing when it is missing, empty or cannot be decoded (logged).
    // Never moves or changes the file: it may be one the user opened from anywhere.
    static std::optional<QVariantList> readFile(const QString &path);

    // The file's records sorted out: use records in file order, and from the day summaries each
    // application's age in days (its last day, a later summary winning) and the oldest age.
    static ActivityData fromRecords(const QVariantList &records, qint64 todayAt0h00);

    const QList<Use> &uses() const { return mUses; }
    const ManagerListFilter::ActivityMap &appsActivity() const { return mAppsActivity; }
    // The age in days of the oldest day summary; 0 without any.
    int oldestDayAge() const { return mOldestDayAge; }
    qsizetype dayCount() const { return mDayCount; }

    // A row of the report: the total row first, then one per application, by minutes.
    struct ReportRow {
        QString name; // empty on the total row
        qint64 minutes = 0;
        double share = 0;
        bool isTotal = false;
    };
    // The minutes spent in each application between the two moments (in either order): each
    // use counts its whole minutes inside the range.
    QList<ReportRow> report(qint64 rangeStart, qint64 rangeEnd) const;

    // The day chart: lane 0 is every application together, then one lane per application, the
    // most recently used first. Bars and totals count only what lies inside the day.
    struct Bar {
        qint64 start = 0;
        qint64 end = 0;
    };
    struct Lane {
        QString name; // empty for lane 0
        QList<Bar> bars;
        qint64 totalSeconds = 0;
    };
    struct Chart {
        qint64 windowStart = 0;
        qint64 windowEnd = 0;
        QList<Lane> lanes;
    };
    // The day runs from dayStart to dayEnd (23 or 25 hours on a daylight-saving change). The
    // window is fitted to the whole hours, counted from the day's start, around its uses; the
    // whole day when there is none.
    Chart chart(qint64 dayStart, qint64 dayEnd) const;

    // "1:30" for 90 minutes: hours and two-digit minutes, however many hours.
    static QString durationText(qint64 seconds);

private:
    QList<Use> mUses;
    ManagerListFilter::ActivityMap mAppsActivity;
    int mOldestDayAge = 0;
    qsizetype mDayCount = 0;
};
