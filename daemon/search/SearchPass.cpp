#include "SearchPass.h"

#include "ItemRecord.h"
#include "PassHelper.h"
#include "SearchFilter.h"
#include "TextMatching.h"

#include <QMultiHash>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <optional>
#include <span>
#include <unordered_map>

namespace {

struct Hit {
    quint32 index;
    bool abbreviation;
    bool beginsWith;
};

// A found item before the hand-over: the ranking marks packed into one integer so that sorting
// compares plain numbers and, only on a tie, the title bytes in the list's arena. The title's
// first bytes are read when the record is found, while they are in the cache.
struct Candidate {
    quint64 key;
    quint64 titleWords[3]; // title bytes 0-7, 8-15, 16-23, big-endian
    const char *title;
    quint32 titleSize;
    quint32 position; // order of finding, the last tie-break
    quint32 index; // in its prepared list
    quint16 list; // which of the pass's prepared lists
    bool hasTitle;
    bool abbreviation;
    bool beginsWith;
    int kind;
    int priority;
    int recentRank;
};

constexpr int kPriorityBits = 20;
constexpr int kRankBits = 14;
constexpr int kKindBits = 26;

bool packable(int priority, int recentRank, int kind)
{
    return priority >= -(1 << (kPriorityBits - 1)) && priority < (1 << (kPriorityBits - 1))
        && recentRank >= 0 && recentRank < (1 << kRankBits) && kind >= 0 && kind < (1 << kKindBits);
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
        key |= quint64(c.kind) << 1;
    }
    return key | quint64(c.hasTitle);
}

// Title bytes [offset, offset + 8), big-endian, zero beyond the title; the arena is padded, so
// reading 8 bytes anywhere in it is allowed.
quint64 titleWord(const char *title, std::size_t size, std::size_t offset = 0)
{
    if (size <= offset)
        return 0;
    quint64 bytes;
    std::memcpy(&bytes, title + offset, 8);
    bytes = qFromBigEndian(bytes);
    const std::size_t left = size - offset;
    return left >= 8 ? bytes : bytes & (~quint64(0) << (8 * (8 - left)));
}

std::string_view titleOf(const Candidate &c)
{
    return {c.title, c.titleSize};
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
        if (a.kind != b.kind)
            return a.kind < b.kind;
    }
    if (a.hasTitle != b.hasTitle)
        return !a.hasTitle;
    const int c = titleOf(a).compare(titleOf(b));
    if (c != 0)
        return c < 0;
    return a.position < b.position;
}

// Equal in every ranking field, only the finding order between them: equal found items are
// always tied, so after ranking they sit next to each other.
bool tied(const Candidate &a, const Candidate &b)
{
    // The key is worked out from the same fields (even when they do not fit it).
    if (a.key != b.key || a.titleWords[0] != b.titleWords[0] || a.titleSize != b.titleSize)
        return false;
    return a.priority == b.priority && a.abbreviation == b.abbreviation
        && a.beginsWith == b.beginsWith && a.recentRank == b.recentRank && a.hasTitle == b.hasTitle
        && titleOf(a) == titleOf(b);
}

using Lists = std::vector<std::shared_ptr<const PreparedList>>;

// Two tied found items are equal when their records are (their marks already are).
bool sameRecord(const Lists &lists, const Candidate &a, const Candidate &b)
{
    if (a.list == b.list && a.index == b.index)
        return true;
    const PreparedList &la = *lists[a.list];
    const PreparedList &lb = *lists[b.list];
    // Equal records have equal identity texts: the hash turns away most same-named ones (the
    // folders of one name in many places) without comparing their records.
    return a.kind == b.kind && la.identityHashAt(a.index) == lb.identityHashAt(b.index)
        && la.text(a.index) == lb.text(b.index) && la.record(a.index) == lb.record(b.index);
}

// What ranking moves about: the packed marks, the title's first 24 bytes and its length (which
// settle nearly every comparison without reaching for the title), and where the found item is.
// Titles often share their first words, and file names a long common beginning.
struct Order {
    quint64 key;
    quint64 title0, title1, title2; // title bytes 0-7, 8-15, 16-23, big-endian
    quint32 titleSize;
    quint32 slot;
};
constexpr quint32 kOrderTitleBytes = 24;

// Byte `digit` of an order's key and title words, most significant first: their byte order is
// the numeric order the comparison starts with.
inline unsigned orderByte(const Order &o, unsigned digit)
{
    const quint64 word = digit < 8 ? o.key : (&o.title0)[digit / 8 - 1];
    return unsigned(word >> (8 * (7 - digit % 8))) & 0xffu;
}

// The first byte (`orderByte` digit) on which the entries differ; none when they are alike in
// all of them. `longest` gets the longest title's size.
std::optional<unsigned> firstDifferingByte(const Order *entries, std::size_t size, quint32 &longest)
{
    quint64 differ[4] = {};
    longest = 0;
    for (std::size_t i = 0; i < size; ++i) {
        differ[0] |= entries[i].key ^ entries[0].key;
        differ[1] |= entries[i].title0 ^ entries[0].title0;
        differ[2] |= entries[i].title1 ^ entries[0].title1;
        differ[3] |= entries[i].title2 ^ entries[0].title2;
        longest = std::max(longest, entries[i].titleSize);
    }
    for (unsigned word = 0; word < 4; ++word)
        if (differ[word] != 0)
            return word * 8 + unsigned(std::countl_zero(differ[word])) / 8;
    return std::nullopt;
}

// Moves the entries into `to` grouped by their byte `digit`, the groups in byte order and each
// in the entries' order; returns the groups' sizes.
std::array<std::size_t, 256> moveByByte(const Order *from, Order *to, std::size_t size,
                                        unsigned digit)
{
    std::array<std::size_t, 256> counts{};
    for (std::size_t i = 0; i < size; ++i)
        ++counts[orderByte(from[i], digit)];
    std::array<std::size_t, 256> next;
    std::size_t start = 0;
    for (unsigned b = 0; b < 256; ++b) {
        next[b] = start;
        start += counts[b];
    }
    for (std::size_t i = 0; i < size; ++i)
        to[next[orderByte(from[i], digit)]++] = from[i];
    return counts;
}

// Sorts by key and title bytes one byte at a time, from the most significant (a radix sort
// from the top): a comparison sort of tens of thousands of found items mostly paid for
// mispredicted branches between entries that differ in one byte. The bytes all the entries
// share (the marks most have, a common beginning of file names) are skipped in one pass.
// `before` is the whole order; it settles small groups and entries equal in every byte.
// The entries at `from` end sorted in `from`, or in `other` when `intoOther`: each level moves
// them once, from one buffer to the other, never back. Entries alike in all their bytes whose
// titles go on (bookmarks or contacts sharing a long beginning) take the next 24 bytes of their
// titles (`refill(entry, offset)`) and are sorted on by those rather than compared two titles
// at a time; their first bytes are put back afterwards, for the merge.
template <typename Before, typename Refill>
void sortByBytes(Order *from, Order *other, std::size_t size, bool intoOther, std::size_t offset,
                 const Before &before, const Refill &refill)
{
    constexpr std::size_t kSmall = 48;
    const auto sortHere = [&] {
        std::sort(from, from + size, before);
        if (intoOther)
            std::memcpy(static_cast<void *>(other), from, size * sizeof(Order));
    };
    if (size < kSmall)
        return sortHere();
    quint32 longest = 0;
    const std::optional<unsigned> digit = firstDifferingByte(from, size, longest);
    if (!digit) {
        const std::size_t next = offset + kOrderTitleBytes;
        if (longest <= next)
            return sortHere(); // the same title bytes to their ends
        for (std::size_t i = 0; i < size; ++i)
            refill(from[i], next);
        sortByBytes(from, other, size, intoOther, next, before, refill);
        if (offset == 0) {
            Order *sorted = intoOther ? other : from;
            for (std::size_t i = 0; i < size; ++i)
                refill(sorted[i], 0);
        }
        return;
    }
    const std::array<std::size_t, 256> counts = moveByByte(from, other, size, *digit);
    // The groups are in `other` now: sorted there when that is where they belong, else back.
    std::size_t start = 0;
    for (unsigned b = 0; b < 256; ++b) {
        if (counts[b] > 1)
            sortByBytes(other + start, from + start, counts[b], !intoOther, offset, before, refill);
        else if (counts[b] == 1 && !intoOther)
            from[start] = other[start];
        start += counts[b];
    }
}

// Puts the `first` entries that rank first at the front, sorted, and the rest after them in any
// order: only the byte groups reaching into the front are sorted.
template <typename Before, typename Refill>
void selectFirstByBytes(Order *data, Order *spare, std::size_t size, std::size_t first,
                        const Before &before, const Refill &refill)
{
    quint32 longest = 0;
    const std::optional<unsigned> digit =
        size < 2 * first ? std::nullopt : firstDifferingByte(data, size, longest);
    if (!digit)
        return sortByBytes(data, spare, size, false, 0, before, refill);
    const std::array<std::size_t, 256> counts = moveByByte(data, spare, size, *digit);
    std::memcpy(static_cast<void *>(data), spare, size * sizeof(Order));
    std::size_t start = 0;
    for (unsigned b = 0; b < 256 && start < first; ++b) {
        if (start + counts[b] <= first)
            sortByBytes(data + start, spare + start, counts[b], false, 0, before, refill);
        else
            selectFirstByBytes(data + start, spare + start, counts[b], first - start, before,
                               refill);
        start += counts[b];
    }
}

// Drops every found item equal to an earlier one (in finding order), keeping the rest in
// order; returns the new count. Equal items are tied, so only runs of tied items are compared.
std::size_t dropDuplicates(const Lists &lists, const std::vector<Candidate> &found, Order *ranked,
                           std::size_t count)
{
    const auto isTied = [&found](const Order &a, const Order &b) {
        return a.key == b.key && a.title0 == b.title0 && a.title1 == b.title1
            && a.title2 == b.title2 && a.titleSize == b.titleSize
            && tied(found[a.slot], found[b.slot]);
    };
    const auto same = [&lists, &found](const Order &a, const Order &b) {
        return sameRecord(lists, found[a.slot], found[b.slot]);
    };
    std::size_t kept = 0;
    std::unordered_multimap<std::string_view, std::size_t> byText;
    for (std::size_t begin = 0; begin < count;) {
        std::size_t end = begin + 1;
        while (end < count && isTied(ranked[begin], ranked[end]))
            ++end;
        // Within a run the finding order is kept, so the first of equal items stays.
        const std::size_t runStart = kept;
        const bool large = end - begin > 32;
        // Only when used: clearing costs the table's whole size, kept from its largest run.
        if (large)
            byText.clear();
        for (std::size_t i = begin; i < end; ++i) {
            const Order o = ranked[i];
            bool duplicate = false;
            if (large) {
                const Candidate &c = found[o.slot];
                const std::string_view text = lists[c.list]->text(c.index);
                const auto [first, last] = byText.equal_range(text);
                for (auto it = first; it != last && !duplicate; ++it)
                    duplicate = same(ranked[it->second], o);
                if (!duplicate)
                    byText.emplace(text, kept);
            } else {
                for (std::size_t k = runStart; k < kept && !duplicate; ++k)
                    duplicate = same(ranked[k], o);
            }
            if (!duplicate) {
                if (kept != i) // nearly always equal: no copy until the first duplicate
                    ranked[kept] = o;
                ++kept;
            }
        }
        begin = end;
    }
    return kept;
}

// "L": the first position in the recent items whose identity text is the record's (a record
// equal to it has the same identity text).
class RecentRanks
{
public:
    explicit RecentRanks(const QVariantList &recentItems)
    {
        for (qsizetype i = 0; i < recentItems.size(); ++i) {
            const QString identity = PreparedList::identityText(recentItems.at(i).toMap());
            const quint16 hash = PreparedList::identityHash(identity);
            mEntries.push_back({hash, int(i), identity});
            mHashes[hash / 64] |= quint64(1) << (hash % 64);
        }
        std::stable_sort(mEntries.begin(), mEntries.end(),
                         [](const Entry &a, const Entry &b) { return a.hash < b.hash; });
    }
    bool isEmpty() const { return mEntries.empty(); }
    int rank(const PreparedList &list, std::size_t index) const
    {
        const quint16 hash = list.identityHashAt(index);
        // Nearly every found record is not recent: one bit says so without a search.
        if (!(mHashes[hash / 64] & (quint64(1) << (hash % 64))))
            return 10000;
        auto it = std::lower_bound(mEntries.begin(), mEntries.end(), hash,
                                   [](const Entry &e, quint32 h) { return e.hash < h; });
        if (it == mEntries.end() || it->hash != hash)
            return 10000;
        const QString identity = PreparedList::identityText(list.record(index));
        for (; it != mEntries.end() && it->hash == hash; ++it)
            if (it->identity == identity)
                return it->rank;
        return 10000;
    }

private:
    struct Entry {
        quint32 hash;
        int rank;
        QString identity;
    };
    std::vector<Entry> mEntries;
    std::array<quint64, 65536 / 64> mHashes{}; // which identity hashes the recent items have
};

// The required word most likely to be rare in this list, judged by its rarest byte: the pass
// looks for it across the whole arena and matches in full only the records that contain it.
const SearchTextFind::Needle *rarestWord(const QueryWords &words, const PreparedList &list)
{
    const SearchTextFind::Needle *rarest = nullptr;
    quint32 rarestCount = 0;
    for (const SearchTextFind::Needle &word : words.requiredWords()) {
        quint32 count = ~quint32(0);
        for (const char c : word.word())
            count = std::min(count, list.byteCounts()[static_cast<unsigned char>(c)]);
        if (!rarest || count < rarestCount) {
            rarest = &word;
            rarestCount = count;
        }
    }
    return rarest;
}

// Matches records [begin, end) in order, calling onHit(index, abbreviation, beginsWith) for each
// found record while its bytes are still in the cache; abbreviationHits are the list's records
// whose "A" is the query, sorted. Returns false when stopped.
template <typename OnHit>
bool matchRange(const PreparedList &list, const QueryWords &words,
                const std::vector<quint32> &abbreviationHits, std::size_t begin, std::size_t end,
                const std::atomic<bool> &stop, const OnHit &onHit)
{
    auto abbreviation =
        std::lower_bound(abbreviationHits.begin(), abbreviationHits.end(), quint32(begin));
    // Adds the abbreviation hits before record `before`, and tells whether `before` is one.
    const auto abbreviationsUpTo = [&](std::size_t before) {
        for (; abbreviation != abbreviationHits.end() && *abbreviation < before; ++abbreviation)
            onHit(*abbreviation, true, false);
        if (abbreviation != abbreviationHits.end() && *abbreviation == before) {
            ++abbreviation;
            return true;
        }
        return false;
    };
    const SearchTextFind::Needle *rare = rarestWord(words, list);
    // known: the rare word was found in the record's text.
    const auto matchOne = [&](std::size_t i, bool known) {
        if (abbreviationsUpTo(i)) {
            onHit(i, true, false);
            return;
        }
        const std::string_view text = list.text(i);
        const MatchResult match = words.match(text.data(), text.size(), known ? rare : nullptr);
        if (match.matched)
            onHit(i, false, match.beginsWith);
    };

    if (!rare) { // words that fold to nothing: every record matches
        for (std::size_t i = begin; i < end; ++i) {
            if (stop.load(std::memory_order_relaxed))
                return false;
            matchOne(i, false);
        }
        return true;
    }

    // Arena offsets: a found word counts only inside one record's search text.
    constexpr std::size_t kChunk = 1 << 16; // bytes scanned between looks at the stop flag
    const char *arena = list.arena();
    const quint32 *starts = list.segmentStarts();
    const std::size_t length = rare->size();
    const std::size_t arenaEnd = starts[end];
    std::size_t record = begin;
    std::size_t from = record < end ? list.textBegin(record) : arenaEnd;
    while (from < arenaEnd) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        const std::size_t limit = std::min(arenaEnd, from + kChunk);
        const std::size_t haystackEnd = std::min(arenaEnd, limit + length - 1);
        const std::size_t found = from + rare->find(arena + from, haystackEnd - from);
        if (found >= haystackEnd || found >= limit) {
            from = limit;
            continue;
        }
        // Hits come in order and close together: gallop forward from the last one rather than
        // search the whole range (whose far half is out of the cache) for every hit.
        std::size_t low = record, high = record + 1;
        for (std::size_t step = 1; high < end && starts[high] <= found; step *= 2) {
            low = high;
            high = std::min(end, low + step);
        }
        const std::size_t r =
            std::size_t(std::upper_bound(starts + low + 1, starts + high + 1, quint32(found))
                        - starts)
            - 1;
        if (found < list.textBegin(r) || found + length > starts[r + 1]) {
            from = found + 1; // in a title, or across two records
            continue;
        }
        matchOne(r, true);
        record = r + 1;
        from = record < end ? list.textBegin(record) : arenaEnd;
    }
    abbreviationsUpTo(end);
    return true;
}

// Runs f(begin, end) over [0, size), in two halves on two threads when that pays.
template <typename F> void inHalves(PassHelper *helper, std::size_t size, const F &f)
{
    if (helper && size >= SearchPass::kParallelThreshold)
        helper->both([&f, size] { f(0, size / 2); }, [&f, size] { f(size / 2, size); });
    else
        f(0, size);
}

// Merges the sorted runs between bounds into one sorted run; returns where it ends up (data or
// the spare buffer). Large merges are split at a pivot into two independent merges, one per
// thread: the order is total, so the result is the one merge's.
template <typename T, typename Before>
T *mergeRuns(T *data, T *spare, std::vector<std::size_t> bounds, PassHelper *helper, Before before)
{
    while (bounds.size() > 2) {
        std::vector<std::size_t> merged = {0};
        for (std::size_t r = 0; r + 1 < bounds.size(); r += 2) {
            const std::size_t a = bounds[r], m = bounds[r + 1];
            const std::size_t b = r + 2 < bounds.size() ? bounds[r + 2] : m;
            if (helper && b - a >= SearchPass::kParallelThreshold && m > a && b > m) {
                // A's middle element splits both runs: what precedes it goes to the first part.
                const bool aLonger = m - a >= b - m;
                const std::size_t pivot = aLonger ? a + (m - a) / 2 : m + (b - m) / 2;
                std::size_t splitA, splitB;
                if (aLonger) {
                    splitA = pivot;
                    splitB = std::size_t(std::lower_bound(data + m, data + b, data[pivot], before)
                                         - data);
                } else {
                    splitB = pivot;
                    splitA = std::size_t(std::lower_bound(data + a, data + m, data[pivot], before)
                                         - data);
                }
                const std::size_t middle = a + (splitA - a) + (splitB - m);
                helper->both(
                    [&] {
                        std::merge(data + a, data + splitA, data + m, data + splitB, spare + a,
                                   before);
                    },
                    [&] {
                        std::merge(data + splitA, data + m, data + splitB, data + b, spare + middle,
                                   before);
                    });
            } else {
                std::merge(data + a, data + m, data + m, data + b, spare + a, before);
            }
            merged.push_back(b);
        }
        std::swap(data, spare);
        bounds = std::move(merged);
    }
    return data;
}

// The menu-opened records: one is left out when a found item has its identity text (only the
// few menu-opened identities are hashed, the found items are checked against them), or when it
// equals a found item; duplicates are otherwise dropped after ranking, but which menu-opened
// record names an identity first depends on them.
template <typename Make>
void addMenuOpened(const Lists &lists, const PreparedList &list, const std::vector<Hit> &hits,
                   const Make &make, std::vector<Candidate> &found)
{
    QSet<QString> menuIdentities;
    QSet<quint32> hashes;
    for (const Hit &hit : hits) {
        const QVariantMap record = list.record(hit.index);
        const QString withElement = PreparedList::identityText(record, true);
        menuIdentities.insert(withElement);
        hashes.insert(PreparedList::identityHash(withElement));
        hashes.insert(list.identityHashAt(hit.index));
    }
    QSet<QString> alreadyFound;
    QMultiHash<quint32, std::size_t> sameIdentityHash;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Candidate &c = found[i];
        const quint32 hash = lists[c.list]->identityHashAt(c.index);
        if (!hashes.contains(hash))
            continue;
        sameIdentityHash.insert(hash, i);
        const QString identity = PreparedList::identityText(lists[c.list]->record(c.index));
        if (menuIdentities.contains(identity))
            alreadyFound.insert(identity);
    }
    for (const Hit &hit : hits) {
        const QVariantMap record = list.record(hit.index);
        if (alreadyFound.contains(PreparedList::identityText(record, true)))
            continue;
        const Candidate c = make(hit.index, hit.abbreviation, hit.beginsWith);
        const quint32 hash = list.identityHashAt(hit.index);
        bool duplicate = false;
        for (auto it = sameIdentityHash.constFind(hash);
             it != sameIdentityHash.cend() && it.key() == hash && !duplicate; ++it) {
            const Candidate &other = found[it.value()];
            duplicate = other.abbreviation == c.abbreviation && other.beginsWith == c.beginsWith
                && other.priority == c.priority && other.recentRank == c.recentRank
                && sameRecord(lists, other, c);
        }
        if (duplicate)
            continue;
        sameIdentityHash.insert(hash, found.size());
        found.push_back(c);
        alreadyFound.insert(PreparedList::identityText(record));
    }
}

} // namespace

struct SearchPass::Room {
    // Each filled by its own thread, so never in one cache line: every item found writes the
    // vector's end.
    alignas(64) std::vector<Candidate> found;
    alignas(64) std::vector<Candidate> secondFound;
    PassHelper helper;
    std::unique_ptr<Order[]> orders;
    std::unique_ptr<Order[]> spare;
    std::size_t orderCapacity = 0;

    // Room for count entries in each order buffer, not zeroed: every entry used is written.
    void reserveOrders(std::size_t count)
    {
        if (count <= orderCapacity)
            return;
        orderCapacity = count + count / 4; // a little more: the next keystroke may find more
        orders.reset(new Order[orderCapacity]);
        spare.reset(new Order[orderCapacity]);
    }
};

SearchPass::SearchPass(PreparedListCache &cache, int threads)
    : mCache(cache)
    , mThreads(threads)
{
}

SearchPass::~SearchPass() = default;

void SearchPass::releaseRoom()
{
    mRoom.reset();
}

std::size_t SearchPass::roomBytes() const
{
    if (!mRoom)
        return 0;
    return (mRoom->found.capacity() + mRoom->secondFound.capacity()) * sizeof(Candidate)
        + 2 * mRoom->orderCapacity * sizeof(Order);
}

SearchPass::Result SearchPass::run(const SearchSources &sources, int typeForSearch,
                                   const QString &query, const QVariantList &clipboardOffer,
                                   const std::atomic<bool> &stop, const FirstRows &firstRows)
{
    Result result;
    if (query == QLatin1String(" ")) {
        result.items.reserve(clipboardOffer.size());
        for (const QVariant &record : clipboardOffer)
            result.items.append(FoundItem{record.toMap()});
        return result;
    }

    const std::optional<QueryWords> words = QueryWords::fromQuery(query);
    const bool withWords = words.has_value();
    const RecentRanks recentRanks(withWords ? sources.recentItems : QVariantList());

    if (!mRoom)
        mRoom = std::make_unique<Room>();
    PassHelper *const helper = mThreads > 1 ? &mRoom->helper : nullptr;
    // However the pass ends, its helper stops looking for work.
    const std::unique_ptr<PassHelper, void (*)(PassHelper *)> resting(
        helper, [](PassHelper *h) { h->rest(); });
    std::vector<Candidate> &found = mRoom->found;
    found.clear();
    // Without words each list's items are added already ranked (its title order): the lists'
    // runs then only need merging.
    std::vector<std::size_t> runs = {0};
    std::vector<Hit> hits;
    std::vector<Candidate> &secondFound = mRoom->secondFound;
    Lists lists; // the candidates point into these
    std::size_t positionBase = 0;

    // The empty query's result only changes with its lists: the last one is kept.
    EmptyQueryKey emptyQuery;
    if (!withWords) {
        emptyQuery.typeForSearch = typeForSearch;
        for (const SearchFilter::Source source : SearchFilter::sources(typeForSearch)) {
            emptyQuery.priorities.push_back(SearchFilter::priority(source, sources));
            if (source != SearchFilter::MenuOpened) {
                emptyQuery.lists.push_back(
                    mCache.get(int(source), SearchFilter::list(source, sources), mThreads));
                continue;
            }
            for (const QVariant &item : sources.recentItems)
                if (item.toMap().contains(ItemRecord::KeyMadeFromMenu))
                    emptyQuery.menuOpened.append(item);
        }
        if (std::optional<PreparedListCache::EmptyQueryResult> kept =
                mCache.emptyQueryResult(emptyQuery)) {
            result.items = std::move(kept->items);
            result.totalItems = kept->totalItems;
            return result;
        }
    }
    // Room for every record at once: growing the list of found items copied it over and over,
    // and the pages of the room no record is found for are never touched.
    {
        std::size_t records = 0;
        for (const SearchFilter::Source source : SearchFilter::sources(typeForSearch))
            records += std::size_t(source == SearchFilter::MenuOpened
                                       ? sources.recentItems.size()
                                       : SearchFilter::list(source, sources).size());
        found.reserve(records);
    }
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
        const quint16 listNumber = quint16(lists.size());
        lists.push_back(list);
        const std::size_t size = list->size();
        result.totalItems += int(size);

        const auto make = [&](std::size_t index, bool abbreviation, bool beginsWith) {
            const std::string_view title = list->title(index);
            Candidate c{0,
                        {titleWord(title.data(), title.size()),
                         titleWord(title.data(), title.size(), 8),
                         titleWord(title.data(), title.size(), 16)},
                        title.data(),
                        quint32(title.size()),
                        quint32(positionBase + index),
                        quint32(index),
                        listNumber,
                        list->hasTitle(index),
                        abbreviation,
                        beginsWith,
                        list->kind(index),
                        priority,
                        10000};
            if (!recentRanks.isEmpty())
                c.recentRank = recentRanks.rank(*list, index);
            c.key = rankKey(c, withWords);
            return c;
        };

        hits.clear();
        bool completed = true;
        // Without words a listed record's hit is its own: they are taken in title order below.
        const bool inTitleOrder = !withWords && !menuOpened;
        // A listed record's found item is made as soon as it matches, on the thread matching it;
        // the few menu-opened ones are settled below, against everything found before them.
        const auto intoFound = [&make](std::vector<Candidate> &into) {
            return [&make, &into](std::size_t index, bool abbreviation, bool beginsWith) {
                into.push_back(make(index, abbreviation, beginsWith));
            };
        };
        const auto intoHits = [&hits](std::size_t index, bool abbreviation, bool beginsWith) {
            hits.push_back({quint32(index), abbreviation, beginsWith});
        };
        if (withWords && menuOpened) {
            completed = matchRange(*list, *words, list->abbreviationsEqualTo(query), 0, size, stop,
                                   intoHits);
        } else if (withWords) {
            const std::vector<quint32> abbreviationHits = list->abbreviationsEqualTo(query);
            if (helper && size >= kParallelThreshold) {
                secondFound.clear();
                secondFound.reserve(size - size / 2);
                const std::size_t half = size / 2;
                bool secondCompleted = true;
                helper->both(
                    [&] {
                        completed = matchRange(*list, *words, abbreviationHits, 0, half, stop,
                                               intoFound(found));
                    },
                    [&] {
                        secondCompleted = matchRange(*list, *words, abbreviationHits, half, size,
                                                     stop, intoFound(secondFound));
                    });
                if (completed)
                    found.insert(found.end(), secondFound.begin(), secondFound.end());
                completed = completed && secondCompleted;
            } else {
                completed =
                    matchRange(*list, *words, abbreviationHits, 0, size, stop, intoFound(found));
            }
        } else if (menuOpened) {
            for (std::size_t i = 0; i < size; ++i)
                hits.push_back({quint32(i), false, false});
        }

        if (inTitleOrder) {
            for (const quint32 index : list->titleOrder(mThreads)) {
                if (stop.load(std::memory_order_relaxed)) {
                    completed = false;
                    break;
                }
                found.push_back(make(index, false, false));
            }
        } else if (menuOpened && !hits.empty()) {
            addMenuOpened(lists, *list, hits, make, found);
        }
        positionBase += size;
        if (!withWords && found.size() > runs.back()) {
            if (menuOpened) // a few records, in list order
                std::sort(found.begin() + std::ptrdiff_t(runs.back()), found.end(),
                          [](const Candidate &a, const Candidate &b) {
                              return rankedBefore(a, b, false);
                          });
            runs.push_back(found.size());
        }
        if (!completed || stop.load(std::memory_order_relaxed)) {
            result.completed = false;
            break;
        }
    }

    mRoom->reserveOrders(std::max<std::size_t>(1, found.size()));
    const std::span<Order> orders(mRoom->orders.get(), found.size());
    Order *const spareOrders = mRoom->spare.get();
    bool packableHalves[2] = {true, true};
    inHalves(helper, found.size(), [&](std::size_t begin, std::size_t end) {
        bool fits = true;
        for (std::size_t i = begin; i < end; ++i) {
            const Candidate &c = found[i];
            fits = fits && packable(c.priority, c.recentRank, c.kind);
            orders[i] = {c.key,           c.titleWords[0], c.titleWords[1],
                         c.titleWords[2], c.titleSize,     quint32(i)};
        }
        packableHalves[begin == 0 ? 0 : 1] = fits;
    });
    const bool allPackable = packableHalves[0] && packableHalves[1];
    // With words the found items are sorted in two halves (one per thread), which are then
    // merged like the lists' runs of the empty query. First rows are picked by their bytes and
    // sorted first, as a run of their own (ranked field by field, there are none).
    const bool withFirstRows =
        withWords && allPackable && firstRows && found.size() >= 4 * kFirstRows && result.completed;
    if (withWords) {
        runs = {0};
        if (withFirstRows)
            runs.push_back(kFirstRows);
        const std::size_t from = runs.back();
        if (helper && found.size() - from >= kParallelThreshold)
            runs.push_back(from + (found.size() - from) / 2);
        if (found.size() > runs.back())
            runs.push_back(found.size());
    }
    const std::size_t sortedRuns = withFirstRows ? 1 : 0; // runs already sorted, from the first
    const auto refill = [&found](Order &o, std::size_t offset) {
        const Candidate &c = found[o.slot];
        o.title0 = titleWord(c.title, c.titleSize, offset);
        o.title1 = titleWord(c.title, c.titleSize, offset + 8);
        o.title2 = titleWord(c.title, c.titleSize, offset + 16);
    };
    // Once the first rows are handed over, one core ranks the rest: the other is the window's.
    PassHelper *restHelper = helper;
    // The items point at their records: a result keeps the lists, copying no record.
    const auto resultItems = [&](const Order *ranked, std::size_t count) {
        FoundItems made;
        for (const std::shared_ptr<const PreparedList> &list : lists)
            made.keep(list->records.list());
        FoundItem *items = made.resize(qsizetype(count));
        inHalves(
            restHelper, count, [&lists, &found, ranked, items](std::size_t begin, std::size_t end) {
                for (std::size_t i = begin; i < end; ++i) {
                    // The found items are read in ranked order, scattered: ask for one ahead.
                    if (i + 8 < end)
                        __builtin_prefetch(&found[ranked[i + 8].slot]);
                    const Candidate &c = found[ranked[i].slot];
                    items[i] = FoundItem(lists[c.list]->records.element(c.index), c.abbreviation,
                                         c.beginsWith, c.priority, c.recentRank);
                }
            });
        return made;
    };
    const auto rank = [&](auto before) {
        if (withFirstRows) {
            selectFirstByBytes(orders.data(), spareOrders, orders.size(), kFirstRows, before,
                               refill);
            if (!stop.load(std::memory_order_relaxed)) {
                // Their duplicates are dropped from a copy: the whole list's come later.
                std::vector<Order> first(orders.begin(), orders.begin() + kFirstRows);
                firstRows(resultItems(first.data(),
                                      dropDuplicates(lists, found, first.data(), first.size())),
                          result.totalItems);
                restHelper = nullptr;
                if (helper)
                    helper->rest(); // the other core is the window's now
            }
        }
        if (withWords) {
            const auto sortRun = [&](std::size_t r) {
                if (allPackable)
                    sortByBytes(orders.data() + runs[r], spareOrders + runs[r],
                                runs[r + 1] - runs[r], false, 0, before, refill);
                else
                    std::sort(orders.data() + runs[r], orders.data() + runs[r + 1], before);
            };
            if (runs.size() == sortedRuns + 3 && restHelper) {
                restHelper->both([&] { sortRun(sortedRuns); }, [&] { sortRun(sortedRuns + 1); });
            } else {
                for (std::size_t r = sortedRuns; r + 1 < runs.size(); ++r)
                    sortRun(r);
            }
        }
        if (withFirstRows) { // the first rows rank before the rest: merged after it
            std::vector<std::size_t> rest;
            for (std::size_t r = 1; r < runs.size(); ++r)
                rest.push_back(runs[r] - kFirstRows);
            Order *merged = mergeRuns(orders.data() + kFirstRows, spareOrders + kFirstRows,
                                      std::move(rest), restHelper, before);
            if (merged == orders.data() + kFirstRows)
                return orders.data();
            std::memcpy(static_cast<void *>(spareOrders), orders.data(),
                        kFirstRows * sizeof(Order));
            return spareOrders;
        }
        return mergeRuns(orders.data(), spareOrders, runs, helper, before);
    };
    Order *ranked = allPackable ? rank([&found](const Order &a, const Order &b) {
        if (a.key != b.key)
            return a.key < b.key;
        if (a.title0 != b.title0)
            return a.title0 < b.title0;
        if (a.title1 != b.title1)
            return a.title1 < b.title1;
        if (a.title2 != b.title2)
            return a.title2 < b.title2;
        // Equal first 24 bytes of two short titles of one length are equal titles.
        const Candidate &ca = found[a.slot], &cb = found[b.slot];
        if (a.titleSize != b.titleSize || a.titleSize > kOrderTitleBytes) {
            const std::size_t same = std::min({a.titleSize, b.titleSize, kOrderTitleBytes});
            const int c = titleOf(ca).substr(same).compare(titleOf(cb).substr(same));
            if (c != 0)
                return c < 0;
        }
        return ca.position < cb.position;
    })
                                : rank([&found, withWords](const Order &a, const Order &b) {
                                      return rankedBefore(found[a.slot], found[b.slot], withWords);
                                  });
    if (withFirstRows && stop.load(std::memory_order_relaxed)) {
        result.completed = false; // overtaken while ranking the rest: the first rows stay
        return result;
    }
    result.items = resultItems(ranked, dropDuplicates(lists, found, ranked, orders.size()));
    if (!withWords && result.completed)
        mCache.keepEmptyQueryResult(std::move(emptyQuery), {result.items, result.totalItems});
    return result;
}
