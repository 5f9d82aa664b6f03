#include "ActivityData.h"

#include "ApplicationUse.h"
#include "BoundedFile.h"
#include "KorvaleArchive.h"
#include "KorvaleLog.h"

#include <QHash>

#include <algorithm>

namespace {

std::optional<qint64> wholeSeconds(const QVariant &value)
{
    bool ok = false;
    const double seconds = value.toDouble(&ok);
    // Beyond a few thousand years a value is damage, not a date.
    if (!ok || !(seconds > -1e12 && seconds < 1e12))
        return std::nullopt;
    return qint64(seconds);
}

// Integer division rounding toward minus infinity, for hours before a day's start.
qint64 floorDivide(qint64 value, qint64 by)
{
    const qint64 quotient = value / by;
    return (value % by != 0 && (value < 0) != (by < 0)) ? quotient - 1 : quotient;
}

} // namespace

std::optional<QVariantList> ActivityData::readFile(const QString &path)
{
    // A file the user picked may be anything: read it as any file from elsewhere.
    const BoundedFile::Result read = BoundedFile::read(path, BoundedFile::Limit::ApplicationsUse);
    if (!read.isRead()) {
        BoundedFile::logFailure(path, read);
        return std::nullopt;
    }
    if (read.bytes.isEmpty())
        return std::nullopt;
    const std::optional<QVariantList> list = KorvaleArchive::decodeList(read.bytes);
    if (!list) {
        KorvaleLog::line(
            QStringLiteral("Exception reading file %1: ArchiveDecodeError: not a list").arg(path));
        return std::nullopt;
    }
    if (list->isEmpty())
        return std::nullopt;
    return list;
}

ActivityData ActivityData::fromRecords(const QVariantList &records, qint64 todayAt0h00)
{
    ActivityData data;
    const qint64 today = todayAt0h00 / DaySeconds;
    // The agent's reading of the file: legacy day lists count as the day summaries they become.
    const ApplicationUse::Records split = ApplicationUse::load(records);
    for (const QVariant &value : split.days) {
        const QVariantMap summary = value.toMap();
        const std::optional<qint64> date = wholeSeconds(summary.value(ApplicationUse::KeyStart));
        if (!date)
            continue;
        const int age = int(std::clamp<qint64>(today - *date / DaySeconds, -1000000, 1000000));
        ++data.mDayCount;
        data.mOldestDayAge = std::max(data.mOldestDayAge, age);
        for (const QString &name : ApplicationUse::namesOfDay(summary))
            data.mAppsActivity.insert(name, age);
    }
    // A few dozen names over years of records: one string each, so that letting go of the
    // records later frees a few dozen strings, not a hundred thousand.
    QHash<QString, QString> names;
    for (const QVariant &value : split.uses) {
        const QVariantMap record = value.toMap();
        QString name = record.value(ApplicationUse::KeyName).toString();
        if (const auto known = names.constFind(name); known != names.constEnd())
            name = *known;
        else
            names.insert(name, name);
        const std::optional<qint64> start = wholeSeconds(record.value(ApplicationUse::KeyStart));
        if (name.isEmpty() || !start)
            continue;
        const std::optional<qint64> end = wholeSeconds(record.value(ApplicationUse::KeyEnd));
        Use use{name, *start, *start + MissingEndSeconds};
        if (end && *end != 0 && *end >= *start)
            use.end = *end;
        data.mUses.append(use);
    }
    return data;
}

QList<ActivityData::ReportRow> ActivityData::report(qint64 rangeStart, qint64 rangeEnd) const
{
    if (rangeStart > rangeEnd)
        std::swap(rangeStart, rangeEnd);
    QHash<QString, qint64> minutes;
    QStringList order;
    qint64 total = 0;
    for (const Use &use : mUses) {
        if (use.end < rangeStart || use.start >= rangeEnd)
            continue;
        const qint64 counted =
            std::max<qint64>(0, std::min(use.end, rangeEnd) - std::max(use.start, rangeStart)) / 60;
        auto found = minutes.find(use.name);
        if (found == minutes.end()) {
            found = minutes.insert(use.name, 0);
            order << use.name;
        }
        *found += counted;
        total += counted;
    }
    const double divisor = total == 0 ? 1.0 : double(total);
    QList<ReportRow> rows;
    rows.append({QString(), total, 100.0, true});
    for (const QString &name : order) {
        const qint64 spent = minutes.value(name);
        rows.append({name, spent, double(spent) * 100.0 / divisor, false});
    }
    // The total row holds the largest value, so it stays first; equal applications by name, so
    // the table does not shuffle between two computations.
    std::stable_sort(rows.begin() + 1, rows.end(), [](const ReportRow &a, const ReportRow &b) {
        if (a.minutes != b.minutes)
            return a.minutes > b.minutes;
        return a.name < b.name;
    });
    return rows;
}

ActivityData::Chart ActivityData::chart(qint64 dayStart, qint64 dayEnd) const
{
    Chart chart;
    chart.windowStart = dayStart;
    chart.windowEnd = dayEnd;
    chart.lanes.append(Lane{});
    QHash<QString, int> laneOf;
    qint64 earliest = 0;
    qint64 latest = 0;
    bool counted = false;
    // From the last record: the most recently used application gets the first lane.
    for (auto use = mUses.crbegin(); use != mUses.crend(); ++use) {
        // Both edges count: a use starting at the next midnight, or ending at this one, is shown.
        if (use->start > dayEnd || use->end < dayStart)
            continue;
        earliest = counted ? std::min(earliest, use->start) : use->start;
        latest = counted ? std::max(latest, use->end) : use->end;
        counted = true;
        auto lane = laneOf.constFind(use->name);
        if (lane == laneOf.constEnd()) {
            lane = laneOf.insert(use->name, int(chart.lanes.size()));
            chart.lanes.append(Lane{use->name, {}, 0});
        }
        // Only the start is held at the day's: a use past midnight is drawn, and counted, whole.
        const Bar bar{std::max(use->start, dayStart), use->end};
        const qint64 seconds = std::max<qint64>(0, bar.end - bar.start);
        for (const int index : {*lane, 0}) {
            Lane &target = chart.lanes[index];
            target.bars.prepend(bar);
            target.totalSeconds += seconds;
        }
    }
    if (counted) {
        // A use past midnight is drawn whole, but a file's use running for years would stretch
        // the window to millions of hours: the window ends within the next day.
        latest = std::min(latest, dayEnd + DaySeconds);
        const qint64 firstHour = std::max<qint64>(0, floorDivide(earliest - dayStart, HourSeconds));
        chart.windowStart = dayStart + firstHour * HourSeconds;
        const qint64 hours = std::max<qint64>(
            1, floorDivide(latest - chart.windowStart + HourSeconds - 1, HourSeconds));
        chart.windowEnd = chart.windowStart + hours * HourSeconds;
    }
    return chart;
}

QString ActivityData::durationText(qint64 seconds)
{
    const qint64 minutes = std::max<qint64>(0, seconds) / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}
