#pragma once

#include "FoundItem.h"

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The records of a prepared list, shared with the list they came from (never copied).
class SharedRecords
{
public:
    struct Entry {
        QVariantMap record;
    };
    SharedRecords() = default;
    explicit SharedRecords(const QVariantList &list)
        : mList(list)
    {
    }
    std::size_t size() const { return std::size_t(mList.size()); }
    QVariantMap map(std::size_t i) const { return mList.at(qsizetype(i)).toMap(); }
    Entry at(std::size_t i) const { return {map(i)}; }
    // Stays where it is while the list is held, whatever its owner changes in its own copy.
    const QVariant *element(std::size_t i) const { return mList.constData() + i; }
    const QVariantList &list() const { return mList; }

private:
    QVariantList mList;
};

// What a pass needs of one list, worked out once when the list is loaded or replaced so that a
// keystroke only runs byte searches and compares plain fields. The folded texts live in one
// arena: per record the folded title (left out when the search text starts with it) then the
// folded search text, addressed by 32-bit offsets.
class PreparedList
{
public:
    static std::shared_ptr<const PreparedList> prepare(const QVariantList &list, int threads = 2);
    // The identity text; withPathElement gives a record without title, keywords and text the
    // last element of its path instead (how a menu-opened record names itself).
    static QString identityText(const QVariantMap &record, bool withPathElement = false);
    // The title the result list is ordered by: "T", else the path's file name without extension.
    static std::optional<QString> sortTitle(const QVariantMap &record);
    static std::string foldedTitle(const QString &title);
    // 16 bits: it only narrows which records' identity texts are compared.
    static quint16 identityHash(const QString &identity);

    std::size_t size() const { return records.size(); }
    QVariantMap record(std::size_t i) const { return records.map(i); }
    // The folded search text; at least kPadding readable bytes follow it.
    std::string_view text(std::size_t i) const
    {
        return {mArena.data() + textBegin(i), mStart[i + 1] - textBegin(i)};
    }
    // The case-folded title in UTF-8, whose byte order is the code-point order titles sort by.
    std::string_view title(std::size_t i) const
    {
        return {mArena.data() + mStart[i], titleLength(i)};
    }
    bool hasTitle(std::size_t i) const { return mTitle[i] & kHasTitle; }
    int kind(std::size_t i) const
    {
        if (mKind.empty())
            return mUniformKind;
        return mKind[i] != kKindAside ? mKind[i] : kindAside(i);
    }
    quint16 identityHashAt(std::size_t i) const { return mIdentityHash[i]; }
    // "A", or null when the record has none.
    const QString *abbreviation(std::size_t i) const;
    // The records whose "A" is text, in list order.
    std::vector<quint32> abbreviationsEqualTo(const QString &text) const;

    // The whole arena (padded) and where record i's search text starts in it: a pass scans
    // many records' texts in one run.
    const char *arena() const { return mArena.data(); }
    quint32 textBegin(std::size_t i) const
    {
        return mStart[i] + ((mTitle[i] & kTitleInText) ? 0 : titleLength(i));
    }
    // Where each record's part of the arena starts, size() + 1 entries (the last is the end).
    const quint32 *segmentStarts() const { return mStart.data(); }
    // How often each byte occurs in the search texts, to pick the rarest query word.
    const std::array<quint32, 256> &byteCounts() const { return mByteCounts; }

    // The record indexes by title (a missing title first, then the title bytes, then list
    // order), worked out the first time the empty query needs it, on two threads when asked.
    const std::vector<quint32> &titleOrder(int threads = 1) const;

    SharedRecords records;
    // The heap the prepared fields take (the records themselves are shared).
    std::size_t memoryBytes() const;

    static constexpr std::size_t kPadding = 16;

private:
    struct Part;
    static void prepareRange(const QVariantList &list, qsizetype begin, qsizetype end, Part &part);

    int kindAside(std::size_t i) const;
    quint32 titleLength(std::size_t i) const
    {
        const quint32 length = mTitle[i] & kLengthMask;
        return length != kLengthMask ? length : longTitleLength(i);
    }
    quint32 longTitleLength(std::size_t i) const;

    // Kinds are small numbers: one byte each, any other value in a side table.
    static constexpr qint8 kKindAside = -128;
    // A title's length and flags take 16 bits; a length of kLengthMask or more is kept aside.
    static constexpr quint16 kLengthMask = (1u << 13) - 1;
    static constexpr quint16 kTitleInText = 1u << 13;
    static constexpr quint16 kHasTitle = 1u << 14;
    static constexpr quint16 kHasAbbreviation = 1u << 15;
    static constexpr std::size_t kMaxTitleLength = (std::size_t(1) << 29) - 1;

    std::string mArena;
    std::vector<quint32> mStart; // size() + 1 entries: each record's segment start, then the end
    std::vector<quint16> mTitle; // title length and the flags above
    std::vector<std::pair<quint32, quint32>> mLongTitles; // by record index
    std::vector<quint16> mIdentityHash;
    std::vector<qint8> mKind; // empty when every record has mUniformKind (most lists)
    int mUniformKind = 0;
    std::vector<std::pair<quint32, int>> mKindsAside; // by record index
    std::vector<std::pair<quint32, QString>> mAbbreviations; // by record index
    std::array<quint32, 256> mByteCounts{};
    mutable std::once_flag mTitleOrderOnce;
    mutable std::vector<quint32> mTitleOrder;
    mutable std::atomic<std::size_t> mTitleOrderBytes{0}; // read by memoryBytes on any thread
};

// What an empty query's result depends on: the filter, its lists (as prepared), their
// priorities and the menu-opened records.
struct EmptyQueryKey {
    int typeForSearch = 0;
    std::vector<std::weak_ptr<const PreparedList>> lists;
    std::vector<int> priorities;
    QVariantList menuOpened;
    bool sameAs(const EmptyQueryKey &other) const;
};

// The prepared form of each source list, kept while the list is the same object. A copy of the
// list is held so its buffer cannot be freed and reused by a different list at the same address.
// Also the last empty query's result, kept until one of its lists is prepared anew.
class PreparedListCache
{
public:
    struct EmptyQueryResult {
        FoundItems items;
        int totalItems = 0;
    };
    std::optional<EmptyQueryResult> emptyQueryResult(const EmptyQueryKey &key) const;
    void keepEmptyQueryResult(EmptyQueryKey key, EmptyQueryResult result);

    std::shared_ptr<const PreparedList> get(int slot, const QVariantList &list, int threads = 2);
    std::size_t memoryBytes() const;
    void clear();
    // Forgets one slot's list and its prepared form.
    void clear(int slot);

private:
    struct Entry {
        QVariantList list;
        std::shared_ptr<const PreparedList> prepared;
    };
    static constexpr int kSlots = 16;
    mutable std::mutex mMutex;
    std::array<Entry, kSlots> mEntries;
    std::optional<std::pair<EmptyQueryKey, EmptyQueryResult>> mEmptyQuery;
};
