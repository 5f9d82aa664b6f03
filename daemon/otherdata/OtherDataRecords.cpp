#include "OtherDataRecords.h"

#include "TextMatching.h"

#include <algorithm>
#include <vector>

namespace {

std::optional<QString> titleOf(const QVariant &record)
{
    const QVariantMap map = record.toMap();
    const auto found = map.constFind(QStringLiteral("T"));
    if (found == map.cend())
        return std::nullopt;
    return found->toString();
}

} // namespace

bool OtherDataRecords::BookmarkList::add(const QString &title, const QString &address)
{
    if (title.isEmpty() || address.isEmpty() || mTitles.contains(title))
        return false;
    mTitles.insert(title);
    mRecords.append(QVariantMap{{QStringLiteral("x"), BookmarkKind},
                                {QStringLiteral("T"), title},
                                {QStringLiteral("U"), address}});
    return true;
}

QVariantMap OtherDataRecords::eventRecord(const QString &title, const QDateTime &start)
{
    return {{QStringLiteral("x"), CalendarEventKind},
            {QStringLiteral("T"), title},
            {QStringLiteral("Date"), start}};
}

void OtherDataRecords::sortByTitle(QVariantList &records)
{
    TextMatching::sortByTitle(records, titleOf);
}

void OtherDataRecords::sortByDate(QVariantList &records)
{
    // Each local date is turned into an instant once: a comparison of two local QDateTimes asks
    // the C library for the zone every time, which made sorting a month of events cost more than
    // reading them.
    struct Keyed {
        qint64 instant;
        bool valid;
        std::optional<QString> title;
        QVariant record;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(std::size_t(records.size()));
    for (const QVariant &record : records) {
        const QDateTime date = record.toMap().value(QStringLiteral("Date")).toDateTime();
        keyed.push_back({date.isValid() ? date.toMSecsSinceEpoch() : 0, date.isValid(),
                         titleOf(record), record});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        // An invalid date sorts first, as QDateTime orders it.
        if (a.valid != b.valid)
            return !a.valid;
        if (a.instant != b.instant)
            return a.instant < b.instant;
        return TextMatching::compareTitles(a.title, b.title) < 0;
    });
    for (qsizetype i = 0; i < records.size(); ++i)
        records[i] = std::move(keyed[std::size_t(i)].record);
}
