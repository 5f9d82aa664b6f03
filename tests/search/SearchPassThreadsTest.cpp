#include "SearchCorpus.h"
#include "SearchFilter.h"
#include "SearchPass.h"

#include <gtest/gtest.h>

namespace {

FoundItems runPass(PreparedListCache &cache, const SearchSources &s, const QString &query,
                   int threads)
{
    const std::atomic<bool> stop{false};
    const SearchPass::Result result = SearchPass(cache, threads).run(s, 0, query, {}, stop);
    EXPECT_TRUE(result.completed);
    return result.items;
}

QVariantMap rec(int kind, const QVariantMap &fields)
{
    QVariantMap r = fields;
    r.insert("x", kind);
    return r;
}

QStringList titles(const FoundItems &items)
{
    QStringList result;
    for (const FoundItem &item : items)
        result << item.record().value("T").toString();
    return result;
}

} // namespace

// The corpus's few words make long runs of equal titles, ranks and priorities, and it repeats
// records within and across lists: the ties and duplicates two cores must settle as one does.
TEST(SearchPassThreads, TwoCoresRankAHundredThousandTiedRecordsAsOneCore)
{
    SearchCorpus corpus(2024);
    SearchSources sources;
    qsizetype total = 0;
    while (total < 100000) {
        const SearchSources more = corpus.sources(600);
        sources.applications += more.applications;
        sources.files += more.files + more.documents;
        sources.notes += more.notes;
        sources.clipboard += more.clipboard;
        total = sources.applications.size() + sources.files.size() + sources.notes.size()
            + sources.clipboard.size();
        if (!more.recentItems.isEmpty())
            sources.recentItems = more.recentItems;
    }
    sources.priorityForApplications = 1; // files, notes and the clipboard tie at 0
    PreparedListCache oneCore, twoCores; // prepared (and title-ordered) each way too
    for (const QString &query :
         {QString(), QStringLiteral("ph"), QStringLiteral("new ph"), QStringLiteral("a")}) {
        const FoundItems two = runPass(twoCores, sources, query, 2);
        const FoundItems one = runPass(oneCore, sources, query, 1);
        ASSERT_EQ(two.size(), one.size()) << query.toStdString();
        ASSERT_GT(one.size(), qsizetype(SearchPass::kParallelThreshold)) << query.toStdString();
        for (qsizetype i = 0; i < one.size(); ++i) {
            const FoundItem &a = two.at(i), &b = one.at(i);
            ASSERT_TRUE(a.record() == b.record() && a.abbreviationHit == b.abbreviationHit
                        && a.beginsWith == b.beginsWith && a.priority == b.priority
                        && a.recentRank == b.recentRank)
                << "'" << query.toStdString() << "' row " << i;
        }
    }
}

// The texts of a list are searched as one run of bytes: a word spanning two records, or a
// title kept beside its record's text, is no match.
TEST(SearchPassThreads, AWordCountsOnlyInsideOneRecordsText)
{
    SearchSources s;
    s.files = {rec(2, {{"T", "alpha pro"}}), rec(2, {{"T", "ject beta"}}),
               rec(2, {{"K", "kw"}, {"P", "/d/Report.pdf"}}), rec(2, {{"T", "Zürich"}})};
    PreparedListCache cache;
    for (const int threads : {1, 2}) {
        EXPECT_TRUE(runPass(cache, s, "project", threads).isEmpty());
        EXPECT_TRUE(runPass(cache, s, "reportkw", threads).isEmpty());
        EXPECT_EQ(runPass(cache, s, "kw", threads).size(), 1);
        EXPECT_EQ(titles(runPass(cache, s, "pro", threads)), QStringList({"alpha pro"}));
        EXPECT_EQ(titles(runPass(cache, s, "zurich", threads)), QStringList({"Zürich"}));
    }
}

// Kinds are kept in one byte where they fit; the others must still rank by their value.
TEST(SearchPassThreads, KindsOfAnySizeRankByTheirValue)
{
    SearchSources s;
    s.files = {rec(300, {{"T", "k300"}}), rec(5, {{"T", "k5"}}), rec(200, {{"T", "k200"}}),
               rec(127, {{"T", "k127"}})};
    PreparedListCache cache;
    EXPECT_EQ(titles(runPass(cache, s, "k", 1)), QStringList({"k5", "k127", "k200", "k300"}));
    s.files.append(rec(-3, {{"T", "kminus"}}));
    s.files.append(rec(1 << 27, {{"T", "kbig"}}));
    EXPECT_EQ(titles(runPass(cache, s, "k", 1)),
              QStringList({"kminus", "k5", "k127", "k200", "k300", "kbig"}));
}

// The empty query's last result is kept: it must follow every change of what it shows.
TEST(SearchPassEmptyQuery, FollowsReplacedListsPrioritiesMenuRecordsAndTheFilter)
{
    SearchSources s;
    s.applications = {rec(1, {{"T", "beta"}})};
    s.files = {rec(2, {{"T", "alpha"}})};
    PreparedListCache cache;
    EXPECT_EQ(titles(runPass(cache, s, "", 1)), QStringList({"alpha", "beta"}));
    EXPECT_EQ(titles(runPass(cache, s, "", 1)), QStringList({"alpha", "beta"}));
    s.priorityForApplications = 1;
    EXPECT_EQ(titles(runPass(cache, s, "", 1)), QStringList({"beta", "alpha"}));
    s.files.append(rec(2, {{"T", "gamma"}}));
    EXPECT_EQ(titles(runPass(cache, s, "", 1)), QStringList({"beta", "alpha", "gamma"}));
    s.recentItems = {rec(2, {{"T", "delta"}, {"P", "/d/delta"}, {"-", 1}})};
    EXPECT_EQ(titles(runPass(cache, s, "", 1)), QStringList({"beta", "alpha", "delta", "gamma"}));
    const std::atomic<bool> stop{false};
    EXPECT_EQ(titles(SearchPass(cache, 1).run(s, 1, "", {}, stop).items), QStringList({"beta"}));
    cache.clear(SearchFilter::Files); // as when the protected notes are locked
    EXPECT_EQ(runPass(cache, s, "", 1).size(), 4);
}

// A title's length is kept in 13 bits, longer ones aside (a clipboard entry's title can be a
// whole page): such a record must still be found by its text and ranked by its whole title.
TEST(SearchPassThreads, TitlesOfAnyLengthAreSearchedAndRankedWhole)
{
    const QString page = QString("lorem ipsum ").repeated(800); // 9,600 bytes
    SearchSources s;
    s.files = {rec(2, {{"T", page + "b"}, {"K", "needle"}}),
               rec(2, {{"T", "short"}, {"K", "needle"}}),
               rec(2, {{"T", page + "a"}, {"K", "needle"}}), rec(2, {{"T", QString(8191, 'z')}}),
               rec(2, {{"T", QString(8190, 'z')}, {"K", "needle"}})};
    PreparedListCache cache;
    for (const int threads : {1, 2}) {
        EXPECT_EQ(titles(runPass(cache, s, "needle", threads)),
                  QStringList({page + "a", page + "b", "short", QString(8190, 'z')}));
        EXPECT_EQ(titles(runPass(cache, s, "ipsum needle", threads)),
                  QStringList({page + "a", page + "b"}));
        EXPECT_EQ(runPass(cache, s, "zzz", threads).size(), 2);
    }
}
