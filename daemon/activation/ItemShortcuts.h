#pragma once

#include "KeyMap.h"

#include <QList>
#include <QVariantList>
#include <QVariantMap>

// The records that carry a key combination (">"), and which of them a key map opens.
class ItemShortcuts
{
public:
    // Files and folders of the user's list first, then applications, each in list order
    // (updateListOfItemsWithShortcuts).
    void updateListOfItemsWithShortcuts(const QVariantList &files,
                                        const QVariantList &applications);
    const QVariantList &listOfItemsWithShortcuts() const { return mListOfItemsWithShortcuts; }

    // Every record whose combination equals the map exactly, in list order: one combination may
    // open several items.
    QList<QVariantMap> matching(const KeyMap &map) const;

    // The recent items made from a floating-menu entry (updateLatestItemsFromPopupContents).
    static QVariantList latestItemsFromPopupContents(const QVariantList &latestItems);

private:
    QVariantList mListOfItemsWithShortcuts;
    // Parsed once per rebuild so that the timer compares plain values.
    QList<KeyMap> mKeyMaps;
};
