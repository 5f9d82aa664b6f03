// A use file the user opened or dropped on the manager ("ApplicationsUse.krvdata" from anywhere):
// decoded, sorted out, the report over any range and the chart of any day computed.
#include "ActivityData.h"
#include "KorvaleArchive.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first 16 bytes choose the moments; the rest is the file.
    if (size < 16)
        return 0;
    qint32 moments[4];
    std::memcpy(moments, data, sizeof moments);
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data + 16), qsizetype(size - 16));
    const std::optional<QVariantList> records = KorvaleArchive::decodeList(bytes);
    if (!records)
        return 0;
    const ActivityData activity = ActivityData::fromRecords(*records, moments[0]);
    for (const ActivityData::Use &use : activity.uses()) {
        if (use.end < use.start || use.name.isEmpty())
            __builtin_trap();
    }
    const QList<ActivityData::ReportRow> rows = activity.report(moments[1], moments[2]);
    if (rows.isEmpty() || !rows.first().isTotal)
        __builtin_trap();
    qint64 minutes = 0;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        if (rows.at(i).minutes < 0 || (i > 1 && rows.at(i).minutes > rows.at(i - 1).minutes))
            __builtin_trap();
        minutes += rows.at(i).minutes;
    }
    if (minutes != rows.first().minutes)
        __builtin_trap();
    const qint64 day = moments[3];
    const ActivityData::Chart chart = activity.chart(day, day + ActivityData::DaySeconds);
    // Uses past midnight are drawn whole, up to the end of the next day.
    if (chart.lanes.isEmpty() || chart.windowStart < day
        || chart.windowEnd > day + 2 * ActivityData::DaySeconds
        || chart.windowEnd <= chart.windowStart)
        __builtin_trap();
    return 0;
}
