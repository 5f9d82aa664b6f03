#pragma once

#include <QList>
#include <QVariantMap>

// One entry of a search result: the source record, shared with its list, and the ranking marks.
struct FoundItem {
    QVariantMap record;           // the source record, every key (shared, not copied)
    bool abbreviationHit = false; // "a"
    bool beginsWith = false;      // "B"
    int priority = 0;             // "p"
    int recentRank = 10000;       // "L"
    // The record with "a", "B", "p" and "L" added as integers, as other parts of the agent expect.
    QVariantMap toMap() const;
};
using FoundItems = QList<FoundItem>;
