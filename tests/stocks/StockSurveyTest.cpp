// The survey's rules driven through whole passes, with quotes from a loopback server.
#include "StockSurvey.h"
#include "AgentStocks.h"
#include "DaemonTestSupport.h"
#include "LoopbackQuotes.h"
#include "QuoteReader.h"
#include "StockSurveyPass.h"
#include "StockSurveyWindow.h"
#include "TestEnvironment.h"

#include "ArchiveFile.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

QVariantMap entry(const QString &title, const QString &address, const QString &upper = "1000",
                  const QString &lower = "0", const QString &lastShown = "100")
{
    return {{"x", 7},          {"T", title},       {"StockURL", address},      {"ValMin", upper},
            {"ValMax", lower}, {"ValLast", "???"}, {"ValLastShown", lastShown}};
}

struct Shown {
    QString title, reason, value;
};

// One pass on this thread, through the real reader, against the window as a list of what it
// was asked to show; the window counts as closed at once unless it stays open through a watch of
// `openChecks` checks.
struct PassRun {
    QList<Shown> shown;
    int cleared = 0;
    QVariantList list;
};

PassRun runPass(const QVariantList &list, const QString &title = {},
                QuoteReader::Limits limits = {}, int openChecks = 0)
{
    std::atomic<bool> stop = false;
    QuoteReader reader(limits, stop);
    PassRun run;
    int checks = 0;
    StockSurveyPass::Display display;
    display.show = [&](const QString &t, const QString &r, const QString &v) {
        run.shown.append({t, r, v});
        checks = 0;
    };
    display.clearValue = [&] { ++run.cleared; };
    // Open for the whole watch and the check after it, then closed.
    display.isVisible = [&] { return openChecks > 0 && ++checks <= openChecks + 1; };
    StockSurveyPass pass(
        list, title, [&](const QString &address) { return reader.read(address); }, display,
        StockSurveyPass::Watch{1, openChecks}, stop);
    run.list = pass.run();
    return run;
}

QVariantMap titled(const QVariantList &list, const QString &title)
{
    for (const QVariant &item : list) {
        if (item.toMap().value("T") == title)
            return item.toMap();
    }
    return {};
}

} // namespace

// Last shown at 100: due above 101 and below 100 / 1.01, quiet in between; the periodic pass
// stores every text read, the value shown only for the entry it shows.
TEST(StockSurvey, AMoveOfMoreThanOnePercentFromTheValueLastShownIsDue)
{
    LoopbackQuotes web;
    const QList<std::pair<QByteArray, QString>> cases{{"101.0001", "> 100 + 1%"},
                                                      {"101", ""},
                                                      {"99.00991", ""},
                                                      {"99.0098", "< 100 - 1%"},
                                                      {"100", ""}};
    for (const auto &[value, reason] : cases) {
        web.quote("/q", "ACME," + value + ",x\r\n");
        const PassRun run = runPass({entry("ACME", web.url("/q"))});
        const QVariantMap stored = run.list.value(0).toMap();
        EXPECT_EQ(stored.value("ValLast"), QString("ACME," + value + ",x\r\n"));
        if (reason.isEmpty()) {
            EXPECT_TRUE(run.shown.isEmpty()) << value.constData();
            EXPECT_EQ(stored.value("ValLastShown"), "100");
            continue;
        }
        ASSERT_EQ(run.shown.size(), 1) << value.constData();
        EXPECT_EQ(run.shown[0].title, "ACME");
        EXPECT_EQ(run.shown[0].reason, reason);
        EXPECT_EQ(run.shown[0].value, QString(value));
        EXPECT_EQ(stored.value("ValLastShown"), QString(value));
    }
}

// Below zero the band is the same 1 %: a value last shown at -100 is quiet at -100.5.
TEST(StockSurvey, TheOnePercentBandHoldsBelowZero)
{
    LoopbackQuotes web;
    for (const auto &[value, reason] : {std::pair<QByteArray, QString>{"-100.5", ""},
                                        {"-99.5", ""},
                                        {"-98.9", "> -100 + 1%"},
                                        {"-101.1", "< -100 - 1%"}}) {
        web.quote("/q", "OIL," + value);
        const PassRun run = runPass({entry("OIL", web.url("/q"), "1000", "-1000", "-100")});
        EXPECT_EQ(run.shown.isEmpty() ? QString() : run.shown[0].reason, reason)
            << value.constData();
    }
}

// A limit crossed is the reason even when the value also moved; the upper limit before the
// lower; each reason quotes the stored text of its figure.
TEST(StockSurvey, ALimitCrossedIsReportedBeforeAMove)
{
    LoopbackQuotes web;
    web.quote("/high", "ACME,60");
    web.quote("/low", "ACME,2");
    PassRun run = runPass({entry("High", web.url("/high"), "50.00", "0", "10")});
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0].reason, "> 50.00");
    run = runPass({entry("Low", web.url("/low"), "100", "3.5", "10")});
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0].reason, "< 3.5");
    // A new entry's limits are both 0: every value above 0 crosses the upper one.
    run = runPass({entry("New", web.url("/low"), "0.000", "0.000", "0")});
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0].reason, "> 0.000");
}

// A limit left empty in the editor is no limit on that side: the entry is due only by the other
// limit or a move, so the entries after a quiet one are still reached.
TEST(StockSurvey, AnEmptyLimitIsNoLimitOnThatSide)
{
    LoopbackQuotes web;
    web.quote("/steady", "S,60\r\n");
    web.quote("/sliding", "L,5");
    web.quote("/rising", "R,70");
    const QVariantList list{entry("Steady", web.url("/steady"), "", "", "60"),
                            entry("Sliding", web.url("/sliding"), "", " ", "5"),
                            entry("Floor", web.url("/sliding"), "", "10", "5")};
    PassRun run = runPass(list);
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0].title, "Floor");
    EXPECT_EQ(run.shown[0].reason, "< 10");

    // Without limits a move is still due, and said as a move.
    run = runPass({entry("Rising", web.url("/rising"), "", "", "60")});
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0].reason, "> 60 + 1%");
}

// The scan stops at the first due entry: a later due one is neither shown nor read; entries
// without title or address are never read. Asked for by title, an entry is due whatever its
// value, with no reason, and the entries before it store nothing.
TEST(StockSurvey, OnlyTheFirstDueEntryIsShownAndTheAskedOneIsDue)
{
    LoopbackQuotes web;
    web.quote("/quiet", "Q,100");
    web.quote("/a", "A,200");
    web.quote("/b", "B,300");
    QVariantMap untitled = entry("", web.url("/b"));
    const QVariantList list{entry("Quiet", web.url("/quiet")), untitled, entry("NoAddress", ""),
                            entry("A", web.url("/a")), entry("B", web.url("/b"))};
    PassRun run = runPass(list);
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0].title, "A");
    EXPECT_EQ(web.requests("/b"), 0);
    EXPECT_EQ(titled(run.list, "Quiet").value("ValLast"), "Q,100");

    run = runPass(list, "Quiet");
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0].title, "Quiet");
    EXPECT_EQ(run.shown[0].reason, "");
    EXPECT_EQ(run.shown[0].value, "100");

    run = runPass(list, "B");
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0].title, "A") << "the first due entry, even in a pass asked for another";
    EXPECT_EQ(titled(run.list, "Quiet").value("ValLast"), "???") << "stored nothing";
}

// An address that never answers is given up after the time limit, the next entry is read, and
// the failure is logged once in the pass although the open window has the list read again.
TEST(StockSurvey, AnAddressThatTimesOutIsSkippedAndLoggedOncePerPass)
{
    LoopbackQuotes web;
    web.silent("/slow");
    web.quote("/next", "N,150");
    CapturedLog log;
    const PassRun run = runPass({entry("Slow", web.url("/slow")), entry("Next", web.url("/next"))},
                                {}, QuoteReader::Limits{64 * 1024, 200, 5}, 3);
    ASSERT_EQ(run.shown.size(), 1);
    EXPECT_EQ(run.shown[0].title, "Next");
    EXPECT_EQ(run.cleared, 1) << "the window stayed open through the watch: read again";
    EXPECT_EQ(web.requests("/slow"), 2);
    const QStringList failures = log.lines().filter("Slow");
    ASSERT_EQ(failures.size(), 1) << log.lines().join('\n').toStdString();
    EXPECT_TRUE(failures[0].contains("no answer within 0.2 s")) << failures[0].toStdString();
}

// Redirects are followed to http and https only; too large an answer, an error status, text that
// is not ASCII or whose second field is no number are not used.
TEST(StockSurvey, QuotesAreReadWithinTheirSchemesAndSize)
{
    LoopbackQuotes web;
    web.quote("/value", "ACME,42.5");
    web.redirect("/to-http", web.url("/value"));
    web.redirect("/to-ftp", "ftp://127.0.0.1/value");
    web.redirect("/to-file", "file:///etc/passwd");
    web.quote("/large", "ACME,1," + QByteArray(64 * 1024, 'x'));
    web.quote("/latin", "Soci\xe9t\xe9,12");
    web.quote("/words", "ACME,N/A");
    std::atomic<bool> stop = false;
    QuoteReader reader({}, stop);

    const QuoteReader::Result followed = reader.read(web.url("/to-http"));
    ASSERT_TRUE(followed.bytes) << followed.problem.toStdString();
    EXPECT_EQ(*followed.bytes, "ACME,42.5");
    for (const char *path : {"/to-ftp", "/to-file"}) {
        const QuoteReader::Result refused = reader.read(web.url(path));
        EXPECT_FALSE(refused.bytes) << path;
        EXPECT_FALSE(refused.problem.isEmpty());
    }
    EXPECT_EQ(web.requests("/value"), 1);
    // Five redirects are followed, a sixth is not.
    for (int hop = 0; hop < 6; ++hop)
        web.redirect(QStringLiteral("/hop%1").arg(hop),
                     web.url(QStringLiteral("/hop%1").arg(hop + 1)));
    web.quote("/hop6", "ACME,7");
    EXPECT_TRUE(reader.read(web.url("/hop1")).bytes);
    EXPECT_FALSE(reader.read(web.url("/hop0")).bytes);
    EXPECT_FALSE(reader.read(web.url("/large")).bytes);
    EXPECT_FALSE(reader.read(web.url("/missing")).bytes);
    EXPECT_FALSE(reader.read("file:///etc/hostname").bytes);
    EXPECT_FALSE(reader.read("ftp://127.0.0.1/value").bytes);

    CapturedLog log;
    const PassRun run =
        runPass({entry("Latin", web.url("/latin"), "1"), entry("Words", web.url("/words"), "1")});
    EXPECT_TRUE(run.shown.isEmpty());
    EXPECT_EQ(run.list,
              (QVariantList{entry("Latin", web.url("/latin"), "1"),
                            entry("Words", web.url("/words"), "1")}));
    EXPECT_EQ(log.lines().filter("not ASCII").size(), 1);
    EXPECT_EQ(log.lines().filter("not a number").size(), 1);
}

namespace {

// The agent's controller with a stock list, and the survey over it with a short watch.
struct SurveyFixture {
    DaemonFixture daemon;
    LoopbackQuotes web;
    std::unique_ptr<AgentStocks> stocks;

    explicit SurveyFixture(int watchChecks = 100000)
    {
        AgentStocks::Environment environment;
        environment.watch = {5, watchChecks};
        stocks = std::make_unique<AgentStocks>(*daemon.controller, environment);
    }
    QVariantList &list() { return daemon.controller->lists().mListOfStocksSurvey; }
    StockSurveyWindow &window() { return stocks->survey().window(); }
    bool waitForPasses(int passes)
    {
        return QTest::qWaitFor([&] { return stocks->survey().finishedPasses() >= passes; }, 10000);
    }
};

} // namespace

// Closing the window ends the pass, which saves its values and hands them to the agent's list;
// a limit the stock editor saved while the pass ran stays in both.
TEST(StockSurvey, ClosingTheWindowEndsThePass)
{
    SurveyFixture f;
    f.web.quote("/a", "A,120");
    f.list() = {entry("A", f.web.url("/a"))};
    ASSERT_TRUE(f.daemon.controller->lists().mFiles.mStocksSurvey.save(f.list()));
    EXPECT_FALSE(f.stocks->status().value("windowVisible").toBool());
    EXPECT_EQ(f.stocks->survey().builtWindow(), nullptr) << "built by the pass that shows it";
    f.stocks->surveyStocks();
    const StockSurvey &survey = f.stocks->survey();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return survey.builtWindow() && survey.builtWindow()->isVisible(); }, 10000));
    f.list() = {entry("A", f.web.url("/a"), "500")};
    ASSERT_TRUE(f.daemon.controller->lists().mFiles.mStocksSurvey.save(f.list()));
    EXPECT_EQ(f.window().title(), "A");
    EXPECT_EQ(f.window().reason(), "> 100 + 1%");
    EXPECT_EQ(f.window().value(), "120");
    QTest::qWait(50);
    EXPECT_TRUE(f.stocks->survey().isRunning()) << "watched while open";
    f.window().close();
    ASSERT_TRUE(f.waitForPasses(1));
    EXPECT_EQ(f.web.requests("/a"), 1);
    EXPECT_EQ(titled(f.list(), "A").value("ValLastShown"), "120");
    EXPECT_EQ(titled(f.list(), "A").value("ValMin"), "500");
    const QVariantMap stored =
        titled(ArchiveFile::readList(f.daemon.dataPath(DataFileName::StocksSurvey)), "A");
    EXPECT_EQ(stored.value("ValLast"), "A,120");
    EXPECT_EQ(stored.value("ValMin"), "500");
}

// Left open for the whole watch, the window's value is cleared and every quote read again.
TEST(StockSurvey, AWindowLeftOpenHasTheQuotesReadAgain)
{
    SurveyFixture f(10);
    f.web.quote("/a", "A,120");
    f.list() = {entry("A", f.web.url("/a"))};
    f.stocks->surveyStocks();
    ASSERT_TRUE(f.waitForPasses(1));
    EXPECT_EQ(f.web.requests("/a"), 2);
    EXPECT_TRUE(f.window().isVisible());
    EXPECT_EQ(f.window().value(), "") << "cleared before the second reading, which was quiet";
}

// A pass asked for while one runs ends the running one and starts after it, from the values it
// stored: the first pass's "ValLastShown" of A survives the second pass, which shows B.
TEST(StockSurvey, OnePassAtATimeKeepsBothPassesValues)
{
    SurveyFixture f;
    f.web.quote("/a", "A,20");
    f.web.quote("/b", "B,50");
    f.list() = {entry("A", f.web.url("/a"), "1000", "0", "10"),
                entry("B", f.web.url("/b"), "1000", "0", "50")};
    f.stocks->surveyStocks();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.window().isVisible(); }, 10000));
    EXPECT_EQ(f.window().title(), "A");

    f.stocks->surveySelected("B");
    ASSERT_TRUE(f.waitForPasses(1));
    EXPECT_EQ(titled(f.list(), "A").value("ValLastShown"), "20");
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.window().isVisible(); }, 10000));
    EXPECT_EQ(f.window().title(), "B") << "A moved no more since the first pass showed it";
    EXPECT_EQ(f.window().reason(), "");
    f.window().close();
    ASSERT_TRUE(f.waitForPasses(2));
    EXPECT_FALSE(f.stocks->survey().isRunning());
    EXPECT_EQ(titled(f.list(), "A").value("ValLastShown"), "20");
    EXPECT_EQ(titled(f.list(), "B").value("ValLast"), "B,50");
    const QVariantList stored =
        ArchiveFile::readList(f.daemon.dataPath(DataFileName::StocksSurvey));
    EXPECT_EQ(titled(stored, "A").value("ValLastShown"), "20");
    EXPECT_EQ(titled(stored, "B").value("ValLast"), "B,50");
    EXPECT_EQ(f.web.requests("/a"), 2);
}

// Values handed back go into the entries as they are then: limits edited during the pass stay,
// an entry removed meanwhile does not come back. Nothing is read while the list is empty.
TEST(StockSurvey, HandedBackValuesKeepEditsMadeDuringThePass)
{
    SurveyFixture f;
    f.stocks->surveyStocks();
    EXPECT_FALSE(f.stocks->survey().isRunning());
    EXPECT_TRUE(f.web.allRequests().isEmpty());

    const QVariantList started{entry("A", "http://a"), entry("Gone", "http://g")};
    QVariantList ended = started;
    QVariantMap a = entry("A", "http://a", "9");
    a.insert("ValLast", "A,7");
    ended[0] = a;
    f.list() = {entry("A", "http://a", "5"), entry("New", "http://n")};
    f.stocks->replaceStockSurvey(started, ended);
    ASSERT_EQ(f.list().size(), 2);
    EXPECT_EQ(titled(f.list(), "A").value("ValMin"), "5");
    EXPECT_EQ(titled(f.list(), "A").value("ValLast"), "A,7");
    EXPECT_TRUE(titled(f.list(), "Gone").isEmpty());
}

// Without the web module a pass reads nothing, stores and shows nothing, and says so in one line,
// every pass, rather than a failure per address.
TEST(StockSurvey, APassWithoutTheWebModuleSaysSoOnceAndReadsNothing)
{
    LoopbackQuotes web;
    web.quote("/a", "A,500");
    web.quote("/b", "B,500");
    const QVariantList list{entry("A", web.url("/a")), entry("B", web.url("/b"))};
    StockSurvey::Environment environment;
    environment.list = [&] { return list; };
    environment.webModule = "libkorvale-web-absent.so";
    StockSurvey survey(environment);
    QList<QVariantList> ended;
    QObject::connect(&survey, &StockSurvey::passFinished,
                     [&](const QVariantList &, const QVariantList &values) { ended << values; });
    CapturedLog log;
    survey.surveyStocks();
    ASSERT_TRUE(QTest::qWaitFor([&] { return survey.finishedPasses() == 1; }, 10000));
    survey.surveyStocks("A");
    ASSERT_TRUE(QTest::qWaitFor([&] { return survey.finishedPasses() == 2; }, 10000));
    EXPECT_EQ(ended, (QList<QVariantList>{list, list}));
    EXPECT_TRUE(web.allRequests().isEmpty());
    EXPECT_FALSE(survey.window().isVisible());
    EXPECT_EQ(log.lines().filter("Stock quotes not read in this pass").size(), 2)
        << log.lines().join('\n').toStdString();
    EXPECT_TRUE(log.lines().filter("Stock quote of").isEmpty());
}
