#pragma once

#include "FoundItem.h"
#include "PreparedList.h"
#include "SearchSources.h"

#include <QString>
#include <QVariantList>

#include <atomic>
#include <functional>
#include <memory>

// One search: every list of the filter matched against the query, the found items ranked.
// Pure apart from the prepared-list cache and the room it keeps; runs on any thread, one pass
// at a time per object.
class SearchPass
{
public:
    struct Result {
        FoundItems items;
        int totalItems = 0;
        bool completed = true; // false when the stop flag cut it short
    };

    explicit SearchPass(PreparedListCache &cache, int threads = 2);
    ~SearchPass();
    SearchPass(const SearchPass &) = delete;
    SearchPass &operator=(const SearchPass &) = delete;

    // Called at most once, on the pass's thread, with the first kFirstRows found items as the
    // result will have them (duplicates left out) and the total, when many more were found:
    // the window shows them while the rest is ranked.
    using FirstRows = std::function<void(FoundItems items, int totalItems)>;

    // A query of one space returns clipboardOffer as it stands (not sorted, total 0).
    Result run(const SearchSources &sources, int typeForSearch, const QString &query,
               const QVariantList &clipboardOffer, const std::atomic<bool> &stop,
               const FirstRows &firstRows = {});

    // Lists at least this long are matched on two threads.
    static constexpr std::size_t kParallelThreshold = 8192;
    // The rows handed over first when at least four times as many were found: a screen and
    // far more, so that the rest comes long before anyone scrolls to it.
    static constexpr std::size_t kFirstRows = 1000;

    // Lets go of the room kept from the last pass; not while one runs.
    void releaseRoom();
    // The bytes that room takes (what was written of it is resident).
    std::size_t roomBytes() const;

private:
    struct Room;
    PreparedListCache &mCache;
    int mThreads;
    // What a pass writes for every found item, kept for the next one: fresh pages cost a fault
    // and their zeroing each, a fifth of a pass that finds 150,000 items.
    std::unique_ptr<Room> mRoom;
};
