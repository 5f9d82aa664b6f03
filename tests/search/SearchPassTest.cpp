#include "SearchPass.h"
#include "ReferenceSearch.h"
#include "SearchCorpus.h"
#include "SearchFilter.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QVariantList asMaps(const FoundItems &items)
{
    QVariantList maps;
    for (const FoundItem &item : items)
        maps.append(item.toMap());
    return maps;
}

SearchPass::Result runPass(const SearchSources &s, int type, const QString &query, int threads = 2)
{
    PreparedListCache cache;
    const std::atomic<bool> stop{false};
    return SearchPass(cache, threads).run(s, type, query, {}, stop);
}

QStringList titles(const FoundItems &items)
{
    QStringList result;
    for (const FoundItem &item : items)
        result << item.record().value("T").toString();
    return result;
}

QVariantMap rec(int kind, const QString &title, const QVariantMap &more = {})
{
    QVariantMap r = more;
    r.insert("x", kind);
    r.insert("T", title);
    return r;
}

} // namespace

TEST(SearchPass, EqualsTheReferenceOnGeneratedCorpora)
{
    const QList<int> types = {0, 1, 2, 3, 4, 5, 6, 9, 7};
    for (quint32 seed = 1; seed <= 60; ++seed) {
        SearchCorpus corpus(seed);
        const SearchSources sources = corpus.sources(int(seed % 4 == 0 ? 0 : seed % 40));
        // Kept across queries, as the controller keeps them: each pass writes over what the
        // one before left in its room.
        PreparedListCache cache;
        SearchPass pass(cache, 2);
        for (int q = 0; q < 12; ++q) {
            const QString query = corpus.query(sources);
            for (const int type : types) {
                const std::atomic<bool> stop{false};
                const SearchPass::Result result = pass.run(sources, type, query, {}, stop);
                const QVariantList expected = ReferenceSearch::run(sources, type, query);
                ASSERT_EQ(asMaps(result.items), expected)
                    << "seed " << seed << " type " << type << " query '" << query.toStdString()
                    << "'";
                ASSERT_TRUE(result.completed);
            }
        }
    }
}

// Hundreds of found items are ranked byte by byte rather than compared: the corpus's few words
// give long shared beginnings, equal titles of several lengths and ties of every mark.
TEST(SearchPass, HundredsOfFoundItemsRankAsTheReference)
{
    qsizetype most = 0;
    for (quint32 seed = 1; seed <= 8; ++seed) {
        SearchCorpus corpus(seed * 7919);
        const SearchSources sources = corpus.sources(150);
        PreparedListCache cache;
        for (int q = 0; q < 6; ++q) {
            const QString query = corpus.query(sources);
            const std::atomic<bool> stop{false};
            const SearchPass::Result result = SearchPass(cache, 1).run(sources, 0, query, {}, stop);
            if (query.trimmed().isEmpty())
                continue; // the empty query's order is the lists' own, tested above
            most = std::max(most, result.items.size());
            ASSERT_EQ(asMaps(result.items), ReferenceSearch::run(sources, 0, query))
                << "seed " << seed << " query '" << query.toStdString() << "'";
        }
    }
    EXPECT_GT(most, 200);
}

// Thousands of titles alike in their first 24 bytes and beyond: they are ranked by their
// following bytes, their ends and their finding order, on one core as on two (whose halves are
// merged by their first bytes).
TEST(SearchPass, ThousandsOfTitlesSharingLongBeginningsRankByTheirBytes)
{
    QRandomGenerator random(5);
    // 24 bytes, then 24 more: the deciding bytes fall on and after each word's end; titles
    // differing early are ranked on their first bytes beside them.
    const QStringList beginnings = {QStringLiteral("the shared beginning of "),
                                    QStringLiteral("the shared beginning of and 24 bytes more: "),
                                    QStringLiteral("the ")};
    SearchSources s;
    QList<QPair<QByteArray, int>> expected; // title bytes, then finding order
    for (int i = 0; i < int(SearchPass::kParallelThreshold) + 1000; ++i) {
        QString title = beginnings.at(random.bounded(3));
        for (int letters = random.bounded(40); letters > 0; --letters)
            title += QChar(u'a' + random.bounded(3));
        s.notes.append(rec(5, title, {{"t", QString::number(i)}}));
        expected.append({title.toUtf8(), i});
    }
    std::sort(expected.begin(), expected.end());
    for (const int threads : {1, 2}) {
        const FoundItems found = runPass(s, 0, QStringLiteral("the"), threads).items;
        ASSERT_EQ(found.size(), expected.size());
        for (qsizetype i = 0; i < found.size(); ++i)
            ASSERT_EQ(found.at(i).record().value("t").toInt(), expected.at(i).second)
                << threads << " threads, row " << i;
    }
}

// Many found: the first rows come first, as the whole result then ranks them, duplicates left
// out; the whole result is the one a pass without first rows gives.
TEST(SearchPass, TheFirstRowsHandedOverBeginTheWholeResult)
{
    SearchCorpus corpus(31);
    SearchSources sources;
    while (sources.notes.size() < qsizetype(SearchPass::kFirstRows) * 6) {
        const SearchSources more = corpus.sources(300);
        sources.notes += more.notes + more.files + more.notes; // every note twice: duplicates
        sources.contacts += more.contacts;
        sources.recentItems = more.recentItems;
    }
    for (const int threads : {1, 2}) {
        PreparedListCache cache;
        const std::atomic<bool> stop{false};
        SearchPass pass(cache, threads);
        const SearchPass::Result whole = pass.run(sources, 0, QStringLiteral("e"), {}, stop);
        ASSERT_GE(whole.items.size(), qsizetype(SearchPass::kFirstRows) * 4);
        QList<FoundItems> handed;
        const SearchPass::Result result =
            pass.run(sources, 0, QStringLiteral("e"), {}, stop,
                     [&handed](FoundItems items, int) { handed.append(std::move(items)); });
        ASSERT_EQ(handed.size(), 1);
        EXPECT_GT(handed.at(0).size(), qsizetype(SearchPass::kFirstRows) / 2);
        EXPECT_EQ(asMaps(handed.at(0)), asMaps(whole.items).first(handed.at(0).size()));
        EXPECT_EQ(asMaps(result.items), asMaps(whole.items)) << threads << " threads";
    }
}

TEST(SearchPass, LargeListsSplitOverThreadsKeepTheSequentialResult)
{
    SearchCorpus corpus(99);
    SearchSources sources;
    while (sources.files.size() < qsizetype(SearchPass::kParallelThreshold) * 2 + 7) {
        const SearchSources more = corpus.sources(400);
        sources.files += more.files + more.applications;
        sources.recentItems = more.recentItems;
    }
    // The reference is quadratic in the number of results: only selective queries for it.
    for (const QString &query : {QStringLiteral("zürich élan ph"), QStringLiteral("ore STR")}) {
        const QVariantList expected = ReferenceSearch::run(sources, 0, query);
        EXPECT_EQ(asMaps(runPass(sources, 0, query, 2).items), expected);
    }
    for (const QString &query : {QStringLiteral("ph"), QStringLiteral("café new"), QString()})
        EXPECT_EQ(asMaps(runPass(sources, 2, query, 2).items),
                  asMaps(runPass(sources, 2, query, 1).items));
}

TEST(SearchPass, TotalCountsEverySearchedListIncludingMenuOpenedRecords)
{
    SearchSources s;
    s.applications = {rec(1, "Mail"), rec(1, "Notes")};
    s.files = {rec(2, "mail.txt")};
    s.notes = {rec(5, "shopping")};
    s.recentItems = {rec(2, "opened", {{"-", 1}, {"P", "/a/opened"}}), rec(1, "Mail")};
    EXPECT_EQ(runPass(s, 0, "mail").totalItems, 5);
    EXPECT_EQ(runPass(s, 2, "mail").totalItems, 2);
    EXPECT_EQ(runPass(s, 1, "").totalItems, 2);
    EXPECT_EQ(runPass(s, 7, "").totalItems, 0);
}

TEST(SearchPass, AbbreviationFirstUntilOneMoreCharacter)
{
    SearchSources s;
    s.applications = {rec(1, "Terminal", {{"A", "te"}})};
    s.notes = {rec(5, "tea time"), rec(5, "notes about tests")};
    s.priorityForNotes = 3;
    EXPECT_EQ(titles(runPass(s, 0, "te").items),
              QStringList({"Terminal", "tea time", "notes about tests"}));
    EXPECT_TRUE(runPass(s, 0, "te").items.first().abbreviationHit);
    // Case-sensitive: "Te" is no abbreviation hit, so priority wins.
    EXPECT_EQ(titles(runPass(s, 0, "Te").items),
              QStringList({"tea time", "notes about tests", "Terminal"}));
    EXPECT_EQ(titles(runPass(s, 0, "tea").items), QStringList({"tea time"}));
}

TEST(SearchPass, BeginsWithThenRecencyThenKindThenTitle)
{
    SearchSources s;
    s.applications = {rec(1, "My Word"), rec(1, "Word Processor"), rec(1, "wordle")};
    s.files = {rec(2, "word list", {{"P", "/d/word list"}}), rec(2, "Words", {{"P", "/d/w"}})};
    s.bookmarks = {rec(3, "Word of the day")};
    s.recentItems = {rec(2, "Words", {{"P", "/d/w"}, {"-", 1}}), rec(1, "wordle")};
    const FoundItems items = runPass(s, 0, "word").items;
    EXPECT_EQ(titles(items),
              QStringList({"Words", "wordle", "Word Processor", "word list", "Word of the day",
                           "My Word"}));
    EXPECT_EQ(items.at(0).recentRank, 0);
    EXPECT_EQ(items.at(1).recentRank, 1);
    EXPECT_EQ(items.at(2).recentRank, 10000);
    EXPECT_FALSE(items.last().beginsWith);
    // No query: priority then title only, never a recent rank.
    for (const FoundItem &item : runPass(s, 0, "").items)
        EXPECT_EQ(item.recentRank, 10000);
    EXPECT_EQ(titles(runPass(s, 1, "").items),
              QStringList({"My Word", "Word Processor", "wordle"}));
}

TEST(SearchPass, TitleOrderFallsBackToTheFileNameAndPutsMissingTitlesFirst)
{
    SearchSources s;
    QVariantMap noTitle{{"x", 2}, {"P", "/d/Alpha.txt"}};
    QVariantMap nothing{{"x", 2}, {"K", "zeta"}};
    s.files = {rec(2, "beta"), noTitle, nothing, rec(2, "ALPHA")};
    const FoundItems items = runPass(s, 2, "").items;
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items.at(0).record(), nothing);
    EXPECT_EQ(asMaps(items), ReferenceSearch::run(s, 2, ""));
}

TEST(SearchPass, MenuOpenedFileAppearsOnceWhenTheListHasIt)
{
    SearchSources s;
    s.files = {QVariantMap{{"x", 2}, {"T", "report.pdf"}, {"P", "/home/u/report.pdf"}}};
    const QVariantMap opened{{"x", 2}, {"P", "/home/u/report.pdf"}, {"-", 1}};
    const QVariantMap other{{"x", 2}, {"T", "plan.pdf"}, {"P", "/home/u/plan.pdf"}, {"-", 1}};
    s.recentItems = {opened, other, opened};
    for (const int type : {0, 2}) {
        const FoundItems items = runPass(s, type, "pdf").items;
        ASSERT_EQ(items.size(), 2) << type;
        EXPECT_EQ(items.at(0).record(), other); // opened most recently
        EXPECT_EQ(items.at(0).recentRank, 1);
        EXPECT_EQ(items.at(1).record().value("T").toString(), "report.pdf");
    }
    EXPECT_TRUE(runPass(s, 1, "pdf").items.isEmpty());
}

TEST(SearchPass, OneSpaceOffersTheClipboardUnsorted)
{
    SearchSources s;
    s.applications = {rec(1, "Zed"), rec(1, "Ant")};
    const QVariantList offer = {rec(9, "Clipboard"), rec(9, "Plain text"), rec(9, "A")};
    PreparedListCache cache;
    const std::atomic<bool> stop{false};
    const SearchPass::Result result = SearchPass(cache).run(s, 0, " ", offer, stop);
    EXPECT_EQ(titles(result.items), QStringList({"Clipboard", "Plain text", "A"}));
    EXPECT_EQ(result.totalItems, 0);
    // Two spaces are three empty words: everything.
    EXPECT_EQ(runPass(s, 0, "  ").items.size(), 2);
}

TEST(SearchPass, StopFlagLeavesThePassIncomplete)
{
    SearchSources s;
    for (int i = 0; i < 100; ++i)
        s.files.append(rec(2, QString("file %1").arg(i)));
    PreparedListCache cache;
    const std::atomic<bool> stop{true};
    const SearchPass::Result result = SearchPass(cache).run(s, 0, "file", {}, stop);
    EXPECT_FALSE(result.completed);
    EXPECT_TRUE(result.items.isEmpty());
}

TEST(PreparedListCache, ReusesTheSameListAndPreparesAReplacedOne)
{
    PreparedListCache cache;
    QVariantList list = {rec(1, "one")};
    const auto first = cache.get(0, list);
    EXPECT_EQ(cache.get(0, QVariantList(list)), first); // a shared copy is the same list
    list.append(rec(1, "two"));
    const auto second = cache.get(0, list);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->records.size(), 2u);
    list[0] = rec(1, "changed"); // same size, detached buffer
    EXPECT_EQ(cache.get(0, list)->records.at(0).record.value("T").toString(), "changed");
    EXPECT_GT(cache.memoryBytes(), 0u);
}

// File names often share long beginnings (dates, camera counters): ranking decides on the first
// bytes and the length where it can, and must still give the plain title order beyond them.
TEST(SearchPass, TitlesSharingLongBeginningsRankByTheWholeTitle)
{
    SearchSources s;
    const QString stem = QStringLiteral("Screenshot from 2024-05-01"); // 26 bytes
    QStringList names = {stem,
                         stem.left(24),
                         stem.left(23),
                         stem.left(24) + QChar(0),
                         stem + " 12-00-01.png",
                         stem + " 12-00-01.png",
                         stem + " 12-00-1.png",
                         stem + " 9.png",
                         stem.left(16) + "Z",
                         stem.left(16) + "Ü 2",
                         stem.left(16) + "ü 1",
                         stem.left(8) + "é"};
    for (int i = 0; i < 3; ++i) { // every name many times, in two lists of one kind
        for (int n = 0; n < 900; ++n) {
            const QString &name = names.at((n * 7 + i) % names.size());
            QVariantList &list = n % 3 == 0 ? s.documents : s.files;
            list.append(rec(2, name, {{"P", QString("/d%1/%2").arg(n % 5).arg(name)}}));
        }
    }
    s.recentItems = {s.files.at(4), s.documents.at(10)};
    for (const QString &query : {QStringLiteral("scr"), QStringLiteral("2024 png"), QString()}) {
        const QVariantList expected = ReferenceSearch::run(s, 2, query);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(asMaps(runPass(s, 2, query, 2).items), expected) << query.toStdString();
        EXPECT_EQ(asMaps(runPass(s, 2, query, 1).items), expected) << query.toStdString();
    }
}

// A result points at the records in the lists it came from: it must go on showing what it found
// after the agent changes or drops those lists and prepares new ones.
TEST(SearchPass, AResultKeepsShowingItsRecordsAfterTheListsChange)
{
    SearchSources s;
    for (int i = 0; i < 20000; ++i)
        s.files.append(rec(2, QString("report %1").arg(i), {{"P", QString("/r/%1.pdf").arg(i)}}));
    s.notes = {rec(5, "report of the week", {{"t", "first draft"}})};
    s.priorityForNotes = 1;
    PreparedListCache cache;
    const std::atomic<bool> stop{false};
    SearchPass::Result result = SearchPass(cache, 2).run(s, 0, "report 19", {}, stop);
    const QVariantList found = asMaps(result.items);
    ASSERT_GT(found.size(), 1000);
    EXPECT_EQ(ReferenceSearch::run(s, 0, "report 19"), found);

    for (QVariant &record : s.files) // the owner changes its own copy in place
        record = rec(2, "renamed");
    s.notes.clear();
    cache.clear();
    SearchPass(cache, 2).run(s, 0, "renamed", {}, stop); // prepared anew, the old lists let go
    EXPECT_EQ(asMaps(result.items), found);
    const FoundItems copy = result.items; // what the controller and the kept empty query hold
    result = {};
    EXPECT_EQ(asMaps(copy), found);

    // The window can replace the record a row shows, say after the item was edited.
    FoundItems shown = copy;
    shown[0].setRecord(rec(5, "edited"));
    EXPECT_EQ(shown.at(0).record(), rec(5, "edited"));
    EXPECT_EQ(copy.at(0).toMap(), found.at(0));
}

// Locking the protected notes removes their rows: the result must then let go of their list too,
// or their decrypted text would stay in memory for as long as the rest of the result is shown.
TEST(SearchPass, RemovingAListsRowsLetsGoOfThatList)
{
    SearchSources s;
    s.files = {rec(2, "vault plan.txt")};
    s.protectedNotes = {rec(6, "vault code", {{"t", "1234"}})};
    PreparedListCache cache;
    const std::atomic<bool> stop{false};
    SearchPass::Result result = SearchPass(cache, 1).run(s, 6, "vault", {}, stop);
    ASSERT_EQ(titles(result.items), QStringList({"vault code"}));
    cache.clear(SearchFilter::ProtectedNotes);
    EXPECT_FALSE(s.protectedNotes.isDetached()); // the result holds it

    result.items.removeIf([](const FoundItem &item) { return item.record().value("x") == 6; });
    EXPECT_TRUE(result.items.isEmpty());
    EXPECT_TRUE(s.protectedNotes.isDetached());

    // Rows of other lists keep theirs.
    SearchPass::Result files = SearchPass(cache, 1).run(s, 2, "vault", {}, stop);
    cache.clear();
    files.items.removeIf([](const FoundItem &item) { return item.record().value("x") == 6; });
    EXPECT_FALSE(s.files.isDetached());
    EXPECT_EQ(titles(files.items), QStringList({"vault plan.txt"}));
}
