#include "RecentItems.h"

#include "ItemRecord.h"

#include <QFileInfo>

const QString RecentItems::PreferenceKey = QStringLiteral("LastItemsLaunched");

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
    return entry;
}

void RecentItems::insert(QVariantList &list, const QVariantMap &record)
{
    // A protected note is not recorded at all, and the entries earlier versions made of them
    // go: its title would sit in clear in the preferences that every program reads.
    list.removeIf(
        [](const QVariant &existing) { return kind(existing.toMap()) == KindProtectedNote; });
    if (kind(record) == KindProtectedNote)
        return;
    list.removeIf(
        [&record](const QVariant &existing) { return isSameEntry(existing.toMap(), record); });
    list.prepend(entryFor(record));
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
