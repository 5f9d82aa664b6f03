#pragma once

#include <QList>

#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <algorithm>

// One entry of a search result: where its source record is, and the ranking marks. A found item
// of a pass points at its record in the source list (which the result keeps), so a pass copies
// no record: the map is taken only when someone reads it.
class FoundItem
{
public:
    FoundItem() = default;
    explicit FoundItem(QVariantMap record, bool abbreviationHit = false, bool beginsWith = false,
                       int priority = 0, int recentRank = 10000)
        : abbreviationHit(abbreviationHit)
        , beginsWith(beginsWith)
        , priority(priority)
        , recentRank(recentRank)
        , mOwn(std::move(record))
    {
    }
    // source is an element of a list that whoever holds this item keeps alive (FoundItems::keep).
    FoundItem(const QVariant *source, bool abbreviationHit, bool beginsWith, int priority,
              int recentRank)
        : abbreviationHit(abbreviationHit)
        , beginsWith(beginsWith)
        , priority(priority)
        , recentRank(recentRank)
        , mSource(source)
    {
    }

    // The source record, every key (implicitly shared with its list).
    QVariantMap record() const { return mSource ? mSource->toMap() : mOwn; }
    void setRecord(QVariantMap record)
    {
        mOwn = std::move(record);
        mSource = nullptr;
    }
    // The record with "a", "B", "p" and "L" added as integers, as other parts of the agent expect.
    QVariantMap toMap() const;

    bool abbreviationHit = false; // "a"
    bool beginsWith = false; // "B"
    int priority = 0; // "p"
    int recentRank = 10000; // "L"

private:
    friend class FoundItems;
    const QVariant *mSource = nullptr;
    QVariantMap mOwn;
};

// A result list: the found items and the source lists their records are in, kept alive (and, being
// shared copies, unchanged) for as long as the items are.
class FoundItems
{
public:
    using const_iterator = QList<FoundItem>::const_iterator;

    qsizetype size() const { return mItems.size(); }
    bool isEmpty() const { return mItems.isEmpty(); }
    const FoundItem &at(qsizetype i) const { return mItems.at(i); }
    const FoundItem &operator[](qsizetype i) const { return mItems.at(i); }
    const FoundItem &first() const { return mItems.first(); }
    const FoundItem &last() const { return mItems.last(); }
    FoundItem &operator[](qsizetype i) { return mItems[i]; }
    const_iterator begin() const { return mItems.cbegin(); }
    const_iterator end() const { return mItems.cend(); }

    void reserve(qsizetype size) { mItems.reserve(size); }
    void append(FoundItem item) { mItems.append(std::move(item)); }
    // Room for size items, to be filled in place (from several threads, each its own rows).
    FoundItem *resize(qsizetype size)
    {
        mItems.resize(size);
        return mItems.data();
    }
    // Also lets go of the lists no item points into any more: the protected notes' rows are
    // removed when the notes are locked, and their records must not stay behind in memory.
    template <typename Predicate> qsizetype removeIf(Predicate predicate)
    {
        const qsizetype removed = mItems.removeIf(predicate);
        if (removed > 0)
            dropUnusedLists();
        return removed;
    }
    // Appends other's items from index from on, with the lists they point into; other is left
    // empty.
    void takeFrom(FoundItems &other, qsizetype from)
    {
        for (qsizetype i = from; i < other.mItems.size(); ++i)
            mItems.append(std::move(other.mItems[i]));
        mKept.append(std::move(other.mKept));
        other.mItems.clear();
        other.mKept.clear();
    }
    // Drops the last count items (rows of their own, which point into no list).
    void removeLast(qsizetype count)
    {
        mItems.resize(std::max<qsizetype>(0, mItems.size() - count));
    }
    // Items may point into list's elements from now on.
    void keep(const QVariantList &list) { mKept.append(list); }

private:
    void dropUnusedLists();

    QList<FoundItem> mItems;
    QList<QVariantList> mKept;
};
