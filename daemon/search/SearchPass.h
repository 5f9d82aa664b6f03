#pragma once

#include "FoundItem.h"
#include "PreparedList.h"
#include "SearchSources.h"

#include <QString>
#include <QVariantList>

#include <atomic>

// One search: every list of the filter matched against the query, the found items ranked.
// Pure apart from the prepared-list cache; runs on any thread.
class SearchPass
{
public:
    struct Result {
        FoundItems items;
        int totalItems = 0;
        bool completed = true; // false when the stop flag cut it short
    };

    explicit SearchPass(PreparedListCache &cache, int threads = 2);

    // A query of one space returns clipboardOffer as it stands (not sorted, total 0).
    Result run(const SearchSources &sources, int typeForSearch, const QString &query,
               const QVariantList &clipboardOffer, const std::atomic<bool> &stop) const;

    // Lists at least this long are matched on two threads.
    static constexpr std::size_t kParallelThreshold = 8192;

private:
    PreparedListCache &mCache;
    int mThreads;
};
