#include "SearchPass.h"

#include "ItemRecord.h"
#include "SearchFilter.h"
#include "TextMatching.h"

#include <QHash>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

struct Hit {
    quint32 index;
    bool abbreviation;
    bool beginsWith;
};

// A found item before the hand-over: the ranking marks packed into one integer so that sorting
// compares plain numbers and, only on a tie, the prepared titles.
struct Candidate {
    quint64 key;
    quint64 titlePrefix;
    const PreparedRecord *prepared;
    quint32 position; // order of finding, the last tie-break (the sort is stable)
    int priority;
    int recentRank;
    bool abbreviation;
    bool beginsWith;
};

constexpr int kPriorityBits = 20;
constexpr int kRankBits = 14;
constexpr int kKindBits = 26;

bool packable(int priority, int recentRank, int kind)
{
    return priority >= -(1 << (kPriorityBits - 1)) && priority < (1 << (kPriorityBits - 1)) &&
           recentRank >= 0 && recentRank < (1 << kRankBits) && kind >= 0 &&
           kind < (1 << kKindBits);
}

// Ascending key order is the ranking order: abbreviation hits, higher priority, begins-with,
// lower recent rank, lower kind, then a present title after a missing one.
quint64 rankKey(const Candidate &c, bool withWords)
{
    const quint64 priority = quint64((1 << (kPriorityBits - 1)) - 1 - c.priority);
    quint64 key = priority << 43;
    if (withWords) {
        key |= quint64(!c.abbreviation) << 63;
        key |= quint64(!c.beginsWith) << 42;
        key |= quint64(c.recentRank) << 28;
        key |= quint64(c.prepared->kind) << 1;
    }
    return key | quint64(c.prepared->hasSortTitle);
}

int compareTitleTails(const PreparedRecord &a, const PreparedRecord &b)
{
    return a.sortTitle.compare(b.sortTitle);
}

// The plain comparison, for priorities or kinds too large to pack.
bool rankedBefore(const Candidate &a, const Candidate &b, bool withWords)
{
    if (withWords) {
        if (a.abbreviation != b.abbreviation)
            return a.abbreviation;
    }
    if (a.priority != b.priority)
        return a.priority > b.priority;
    if (withWords) {
        if (a.beginsWith != b.beginsWith)
            return a.beginsWith;
        if (a.recentRank != b.recentRank)
            return a.recentRank < b.recentRank;
        if (a.prepared->kind != b.prepared->kind)
            return a.prepared->kind < b.prepared->kind;
    }
    if (a.prepared->hasSortTitle != b.prepared->hasSortTitle)
        return !a.prepared->hasSortTitle;
    if (a.prepared->hasSortTitle) {
        const int c = compareTitleTails(*a.prepared, *b.prepared);
        if (c != 0)
            return c < 0;
    }
    return a.position < b.position;
}

bool sameFoundItem(const Candidate &a, const Candidate &b)
{
    return a.abbreviation == b.abbreviation && a.beginsWith == b.beginsWith &&
           a.priority == b.priority && a.recentRank == b.recentRank &&
           a.prepared->textHash == b.prepared->textHash &&
           (a.prepared == b.prepared || a.prepared->record == b.prepared->record);
}

// Open addressing over the found items, by the text hash: deep-equal records have equal texts.
class FoundSet
{
public:
    explicit FoundSet(const std::vector<Candidate> &found) : mFound(found) {}
    // Adds the last found item unless an equal one is there; false when it was a duplicate.
    bool addLast()
    {
        if ((mCount + 1) * 2 > mSlots.size())
            grow();
        const std::size_t position = mFound.size() - 1;
        std::size_t slot = mFound[position].prepared->textHash & (mSlots.size() - 1);
        while (mSlots[slot] != 0) {
            if (sameFoundItem(mFound[mSlots[slot] - 1], mFound[position]))
                return false;
            slot = (slot + 1) & (mSlots.size() - 1);
        }
        mSlots[slot] = quint32(position + 1);
        ++mCount;
        return true;
    }

private:
    void grow()
    {
        std::vector<quint32> old = std::move(mSlots);
        mSlots.assign(std::max<std::size_t>(64, old.size() * 2), 0);
        for (const quint32 entry : old) {
            if (entry == 0)
                continue;
            std::size_t slot = mFound[entry - 1].prepared->textHash & (mSlots.size() - 1);
            while (mSlots[slot] != 0)
                slot = (slot + 1) & (mSlots.size() - 1);
            mSlots[slot] = entry;
        }
    }

    const std::vector<Candidate> &mFound;
    std::vector<quint32> mSlots;
    std::size_t mCount = 0;
};

// "L": the first position in the recent items whose identity text is the record's (a record
// equal to it has the same identity text).
class RecentRanks
{
public:
    explicit RecentRanks(const QVariantList &recentItems)
    {
        for (qsizetype i = 0; i < recentItems.size(); ++i) {
            const QString identity = PreparedList::identityText(recentItems.at(i).toMap());
            mEntries.push_back({PreparedList::identityHash(identity), int(i), identity});
        }
        std::stable_sort(mEntries.begin(), mEntries.end(),
                         [](const Entry &a, const Entry &b) { return a.hash < b.hash; });
    }
    bool isEmpty() const { return mEntries.empty(); }
    int rank(const PreparedRecord &record) const
    {
        auto it = std::lower_bound(
            mEntries.begin(), mEntries.end(), record.identityHash,
            [](const Entry &e, std::size_t hash) { return e.hash < hash; });
        if (it == mEntries.end() || it->hash != record.identityHash)
            return 10000;
        const QString identity = PreparedList::identityText(record.record);
        for (; it != mEntries.end() && it->hash == record.identityHash; ++it)
            if (it->identity == identity)
                return it->rank;
        return 10000;
    }

private:
    struct Entry {
        std::size_t hash;
        int rank;
        QString identity;
    };
    std::vector<Entry> mEntries;
};

// Matches records [begin, end) in order; returns false when stopped.
bool matchRange(const PreparedList &list, const std::optional<QueryWords> &words,
                const QString &query, std::size_t begin, std::size_t end,
                const std::atomic<bool> &stop, std::vector<Hit> &hits)
{
    for (std::size_t i = begin; i < end; ++i) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        const PreparedRecord &record = list.records[i];
        if (!words) {
            hits.push_back({quint32(i), false, false});
            continue;
        }
        if (record.hasAbbreviation && record.abbreviation == query) {
            hits.push_back({quint32(i), true, false});
            continue;
        }
        const MatchResult match = words->match(record.text);
        if (match.matched)
            hits.push_back({quint32(i), false, match.beginsWith});
    }
    return true;
}

// The order is total (the finding position breaks ties), so sorting two halves on two threads
// and merging them gives the same list as one sort.
template<typename Before>
void sortFound(std::vector<Candidate> &found, bool parallel, Before before)
{
    if (!parallel || found.size() < SearchPass::kParallelThreshold) {
        std::sort(found.begin(), found.end(), before);
        return;
    }
    const auto middle = found.begin() + std::ptrdiff_t(found.size() / 2);
    QFuture<void> second = QtConcurrent::run([&] { std::sort(middle, found.end(), before); });
    std::sort(found.begin(), middle, before);
    second.waitForFinished();
    std::vector<Candidate> merged(found.size());
    std::merge(found.begin(), middle, middle, found.end(), merged.begin(), before);
    found = std::move(merged);
}

} // namespace

SearchPass::SearchPass(PreparedListCache &cache, int threads) : mCache(cache), mThreads(threads)
{
}

SearchPass::Result SearchPass::run(const SearchSources &sources, int typeForSearch,
                                   const QString &query, const QVariantList &clipboardOffer,
                                   const std::atomic<bool> &stop) const
{
    Result result;
    if (query == QLatin1String(" ")) {
        result.items.reserve(clipboardOffer.size());
        for (const QVariant &record : clipboardOffer)
            result.items.append(FoundItem{record.toMap()});
        return result;
    }

    const std::optional<QueryWords> words = QueryWords::fromQuery(query);
    const RecentRanks recentRanks(words ? sources.recentItems : QVariantList());

    std::vector<Candidate> found;
    FoundSet foundSet(found);
    std::vector<Hit> hits;
    std::vector<Hit> secondHits;
    std::vector<std::shared_ptr<const PreparedList>> keep; // the candidates point into these
    bool allPackable = true;

    for (const SearchFilter::Source source : SearchFilter::sources(typeForSearch)) {
        const int priority = SearchFilter::priority(source, sources);
        const bool menuOpened = source == SearchFilter::MenuOpened;
        std::shared_ptr<const PreparedList> list;
        if (menuOpened) {
            QVariantList records;
            for (const QVariant &item : sources.recentItems)
                if (item.toMap().contains(ItemRecord::KeyMadeFromMenu))
                    records.append(item);
            list = PreparedList::prepare(records, 1);
        } else {
            list = mCache.get(int(source), SearchFilter::list(source, sources), mThreads);
        }
        keep.push_back(list);
        result.totalItems += int(list->records.size());

        const std::size_t size = list->records.size();
        hits.clear();
        bool completed;
        if (mThreads > 1 && size >= kParallelThreshold) {
            secondHits.clear();
            const std::size_t half = size / 2;
            QFuture<bool> second = QtConcurrent::run([&] {
                return matchRange(*list, words, query, half, size, stop, secondHits);
            });
            completed = matchRange(*list, words, query, 0, half, stop, hits);
            const bool secondCompleted = second.result();
            if (completed)
                hits.insert(hits.end(), secondHits.begin(), secondHits.end());
            completed = completed && secondCompleted;
        } else {
            completed = matchRange(*list, words, query, 0, size, stop, hits);
        }

        // A menu-opened record is left out when a found item has its identity text; only the
        // few menu-opened identities are hashed, the found items are checked against them.
        QSet<QString> menuIdentities;
        QSet<QString> alreadyFound;
        if (menuOpened && !hits.empty()) {
            QSet<qsizetype> lengths;
            for (const Hit &hit : hits) {
                const QString identity =
                    PreparedList::identityText(list->records[hit.index].record, true);
                menuIdentities.insert(identity);
                lengths.insert(identity.size());
            }
            QSet<std::size_t> hashes;
            for (const QString &identity : std::as_const(menuIdentities))
                hashes.insert(PreparedList::identityHash(identity));
            for (const Candidate &c : found) {
                if (!hashes.contains(c.prepared->identityHash))
                    continue;
                const QString identity = PreparedList::identityText(c.prepared->record);
                if (menuIdentities.contains(identity))
                    alreadyFound.insert(identity);
            }
        }

        for (const Hit &hit : hits) {
            const PreparedRecord &record = list->records[hit.index];
            if (menuOpened &&
                alreadyFound.contains(PreparedList::identityText(record.record, true)))
                continue;
            Candidate c{0, record.sortTitlePrefix, &record, quint32(found.size()), priority,
                        10000, hit.abbreviation, hit.beginsWith};
            if (!recentRanks.isEmpty())
                c.recentRank = recentRanks.rank(record);
            allPackable = allPackable && packable(c.priority, c.recentRank, record.kind);
            found.push_back(c);
            if (!foundSet.addLast()) {
                found.pop_back();
                continue;
            }
            if (menuOpened)
                alreadyFound.insert(PreparedList::identityText(record.record));
        }
        if (!completed || stop.load(std::memory_order_relaxed)) {
            result.completed = false;
            break;
        }
    }

    const bool withWords = words.has_value();
    if (allPackable) {
        for (Candidate &c : found)
            c.key = rankKey(c, withWords);
        sortFound(found, mThreads > 1, [](const Candidate &a, const Candidate &b) {
            if (a.key != b.key)
                return a.key < b.key;
            if (a.titlePrefix != b.titlePrefix)
                return a.titlePrefix < b.titlePrefix;
            // Equal prefixes of two short titles of one length are equal titles.
            if (a.prepared->sortTitle.size() != b.prepared->sortTitle.size() ||
                a.prepared->sortTitle.size() > 8) {
                const int c = compareTitleTails(*a.prepared, *b.prepared);
                if (c != 0)
                    return c < 0;
            }
            return a.position < b.position;
        });
    } else {
        sortFound(found, mThreads > 1, [withWords](const Candidate &a, const Candidate &b) {
            return rankedBefore(a, b, withWords);
        });
    }

    result.items.resize(qsizetype(found.size()));
    FoundItem *items = result.items.data();
    const auto fill = [&found, items](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            const Candidate &c = found[i];
            items[i] = FoundItem{c.prepared->record, c.abbreviation, c.beginsWith, c.priority,
                                 c.recentRank};
        }
    };
    if (mThreads > 1 && found.size() >= kParallelThreshold) {
        QFuture<void> second = QtConcurrent::run(fill, found.size() / 2, found.size());
        fill(0, found.size() / 2);
        second.waitForFinished();
    } else {
        fill(0, found.size());
    }
    return result;
}
