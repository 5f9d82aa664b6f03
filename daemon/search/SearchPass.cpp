#include "SearchPass.h"

#include "ItemRecord.h"
#include "SearchFilter.h"
#include "TextMatching.h"

#include <QHash>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

struct Hit {
    quint32 index;
    bool abbreviation;
    bool beginsWith;
};

// A found item before the hand-over: plain fields only, so ranking never reads a record map.
struct Candidate {
    const PreparedRecord *prepared;
    int priority;
    int recentRank;
    bool abbreviation;
    bool beginsWith;
};

bool sameFoundItem(const Candidate &a, const Candidate &b)
{
    return a.abbreviation == b.abbreviation && a.beginsWith == b.beginsWith &&
           a.priority == b.priority && a.recentRank == b.recentRank &&
           a.prepared->textHash == b.prepared->textHash &&
           (a.prepared == b.prepared || a.prepared->record == b.prepared->record);
}

std::size_t candidateHash(const Candidate &c)
{
    std::size_t h = c.prepared->textHash;
    h ^= std::size_t(c.priority) * 0x9e3779b97f4a7c15ULL;
    h ^= std::size_t(c.recentRank) * 0xc2b2ae3d27d4eb4fULL;
    h ^= (std::size_t(c.abbreviation) << 1 | std::size_t(c.beginsWith)) * 0x165667b19e3779f9ULL;
    return h;
}

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

int compareTitles(const PreparedRecord &a, const PreparedRecord &b)
{
    if (!a.hasSortTitle || !b.hasSortTitle)
        return int(a.hasSortTitle) - int(b.hasSortTitle);
    const int c = a.sortTitle.compare(b.sortTitle);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Grows with the result list; finds deep-equal found items through their text hash.
class FoundSet
{
public:
    explicit FoundSet(const std::vector<Candidate> &found) : mFound(found) {}
    bool containsEqual(const Candidate &c) const
    {
        const auto range = mIndex.equal_range(candidateHash(c));
        for (auto it = range.first; it != range.second; ++it)
            if (sameFoundItem(mFound[*it], c))
                return true;
        return false;
    }
    void add(std::size_t position) { mIndex.insert(candidateHash(mFound[position]), position); }

private:
    const std::vector<Candidate> &mFound;
    QMultiHash<std::size_t, std::size_t> mIndex;
};

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

    // The recent items' identity texts: the first position of each is its "L".
    QHash<QString, int> recentRanks;
    if (words) {
        for (qsizetype i = sources.recentItems.size() - 1; i >= 0; --i)
            recentRanks.insert(PreparedList::identityText(sources.recentItems.at(i).toMap()),
                               int(i));
    }

    std::vector<Candidate> found;
    FoundSet foundSet(found);
    std::vector<Hit> hits;
    std::vector<Hit> secondHits;
    std::vector<std::shared_ptr<const PreparedList>> keep; // the candidates point into these
    QSet<QString> foundIdentities; // filled only when menu-opened records are searched

    for (const SearchFilter::Source source : SearchFilter::sources(typeForSearch)) {
        const int priority = SearchFilter::priority(source, sources);
        std::shared_ptr<const PreparedList> list;
        if (source == SearchFilter::MenuOpened) {
            QVariantList records;
            for (const QVariant &item : sources.recentItems)
                if (item.toMap().contains(ItemRecord::KeyMadeFromMenu))
                    records.append(item);
            list = PreparedList::prepare(records, 1);
            for (const Candidate &c : found)
                foundIdentities.insert(c.prepared->identity);
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

        for (const Hit &hit : hits) {
            const PreparedRecord &record = list->records[hit.index];
            if (source == SearchFilter::MenuOpened) {
                const QString identity = PreparedList::identityText(record.record, true);
                if (foundIdentities.contains(identity))
                    continue;
            }
            Candidate candidate{&record, priority, 10000, hit.abbreviation, hit.beginsWith};
            if (words && !recentRanks.isEmpty())
                candidate.recentRank = recentRanks.value(record.identity, 10000);
            if (foundSet.containsEqual(candidate))
                continue;
            found.push_back(candidate);
            foundSet.add(found.size() - 1);
            if (source == SearchFilter::MenuOpened)
                foundIdentities.insert(record.identity);
        }
        if (!completed || stop.load(std::memory_order_relaxed)) {
            result.completed = false;
            break;
        }
    }

    if (words) {
        std::stable_sort(found.begin(), found.end(), [](const Candidate &a, const Candidate &b) {
            if (a.abbreviation != b.abbreviation)
                return a.abbreviation;
            if (a.priority != b.priority)
                return a.priority > b.priority;
            if (a.beginsWith != b.beginsWith)
                return a.beginsWith;
            if (a.recentRank != b.recentRank)
                return a.recentRank < b.recentRank;
            if (a.prepared->kind != b.prepared->kind)
                return a.prepared->kind < b.prepared->kind;
            return compareTitles(*a.prepared, *b.prepared) < 0;
        });
    } else {
        std::stable_sort(found.begin(), found.end(), [](const Candidate &a, const Candidate &b) {
            if (a.priority != b.priority)
                return a.priority > b.priority;
            return compareTitles(*a.prepared, *b.prepared) < 0;
        });
    }

    result.items.reserve(qsizetype(found.size()));
    for (const Candidate &c : found)
        result.items.append(FoundItem{c.prepared->record, c.abbreviation, c.beginsWith,
                                      c.priority, c.recentRank});
    return result;
}
