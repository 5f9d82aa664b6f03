#include "OtherDataRecords.h"

#include "TextMatching.h"

#include <algorithm>

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
    std::stable_sort(records.begin(), records.end(), [](const QVariant &a, const QVariant &b) {
        const QDateTime da = a.toMap().value(QStringLiteral("Date")).toDateTime();
        const QDateTime db = b.toMap().value(QStringLiteral("Date")).toDateTime();
        if (da != db)
            return da < db;
        return TextMatching::compareTitles(titleOf(a), titleOf(b)) < 0;
    });
}
