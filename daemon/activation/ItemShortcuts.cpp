#include "ItemShortcuts.h"

#include "ItemRecord.h"

void ItemShortcuts::updateListOfItemsWithShortcuts(const QVariantList &files,
                                                   const QVariantList &applications)
{
    mListOfItemsWithShortcuts.clear();
    mKeyMaps.clear();
    for (const QVariantList *list : {&files, &applications}) {
        for (const QVariant &item : *list) {
            const QVariantMap record = item.toMap();
            const QVariant shortcut = record.value(ItemRecord::KeyShortcut);
            if (!shortcut.isValid())
                continue;
            mListOfItemsWithShortcuts.append(record);
            // A value that is not a 16-byte map can never match; it is kept in the list but
            // compared as an impossible map rather than read past its end.
            mKeyMaps.append(KeyMap::fromData(shortcut.toByteArray()).value_or(KeyMap()));
        }
    }
}

QList<QVariantMap> ItemShortcuts::matching(const KeyMap &map) const
{
    QList<QVariantMap> found;
    if (map.isEmpty())
        return found;
    for (qsizetype i = 0; i < mKeyMaps.size(); ++i) {
        if (mKeyMaps[i] == map)
            found.append(mListOfItemsWithShortcuts[i].toMap());
    }
    return found;
}

QVariantList ItemShortcuts::latestItemsFromPopupContents(const QVariantList &latestItems)
{
    QVariantList fromMenus;
    for (const QVariant &item : latestItems) {
        if (item.toMap().contains(ItemRecord::KeyMadeFromMenu))
            fromMenus.append(item);
    }
    return fromMenus;
}
