#include "FoundItem.h"

#include "ItemRecord.h"

#include <functional>

QVariantMap FoundItem::toMap() const
{
    QVariantMap map = record();
    map.insert(ItemRecord::KeyAbbreviationMatched, abbreviationHit ? 1 : 0);
    map.insert(ItemRecord::KeyBeginsWith, beginsWith ? 1 : 0);
    map.insert(ItemRecord::KeyPriority, priority);
    map.insert(ItemRecord::KeyRecentRank, recentRank);
    return map;
}

void FoundItems::dropUnusedLists()
{
    const std::less<const QVariant *> before;
    mKept.removeIf([this, &before](const QVariantList &list) {
        const QVariant *begin = list.constData();
        const QVariant *end = begin + list.size();
        for (const FoundItem &item : std::as_const(mItems))
            if (item.mSource && !before(item.mSource, begin) && before(item.mSource, end))
                return false;
        return true;
    });
}
