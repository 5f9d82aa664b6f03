#include "RecentItems.h"

#include "ItemRecord.h"

#include <QFileInfo>

using namespace ItemRecord;

bool RecentItems::isSameEntry(const QVariantMap &entry, const QVariantMap &opened)
{
    return isSameItem(entry, opened);
}

QVariantMap RecentItems::entryFor(const QVariantMap &record)
{
    QVariantMap entry = record;
    for (const QString &key : {KeyAbbreviationMatched, KeyBeginsWith, KeyPriority, KeyRecentRank})
        entry.remove(key);
    if (kind(entry) == KindProtectedNote)
        entry.remove(KeyText);
    return entry;
}

void RecentItems::insert(QVariantList &list, const QVariantMap &record)
{
    const QVariantMap entry = entryFor(record);
    // The identity is judged on the full record: a protected note's entry has lost its text.
    list.removeIf(
        [&record](const QVariant &existing) { return isSameEntry(existing.toMap(), record); });
    list.prepend(entry);
}

void RecentItems::trim(QVariantList &list)
{
    if (list.size() > MaximumCount)
        list.resize(MaximumCount);
}

QVariantList RecentItems::menuOpenedSubset(const QVariantList &list)
{
    QVariantList subset;
    for (const QVariant &entry : list) {
        if (entry.toMap().contains(KeyMadeFromMenu))
            subset.append(entry);
    }
    return subset;
}

QVariantMap RecentItems::menuOpenedRecord(const QString &path)
{
    const QFileInfo info(path);
    const QString extension = info.suffix();
    const bool bundle = info.isDir()
        && (extension.compare(QLatin1String("app"), Qt::CaseInsensitive) == 0
            || extension.compare(QLatin1String("prefPane"), Qt::CaseInsensitive) == 0
            || extension.compare(QLatin1String("plugin"), Qt::CaseInsensitive) == 0);
    return {{KeyKind, bundle ? int(KindApplication) : int(KindFile)},
            {KeyPath, path},
            {KeyMadeFromMenu, 1}};
}
