#include "FoundItem.h"

#include "ItemRecord.h"

QVariantMap FoundItem::toMap() const
{
    QVariantMap map = record();
    map.insert(ItemRecord::KeyAbbreviationMatched, abbreviationHit ? 1 : 0);
    map.insert(ItemRecord::KeyBeginsWith, beginsWith ? 1 : 0);
    map.insert(ItemRecord::KeyPriority, priority);
    map.insert(ItemRecord::KeyRecentRank, recentRank);
    return map;
}
