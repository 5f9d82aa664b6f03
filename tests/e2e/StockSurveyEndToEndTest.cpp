// The real agent surveys a stock entry imported from "StocksSurvey.txt": found in the access
// window, selecting it reads its quote from a loopback server, shows it in the survey window and
// stores the text read in "StocksSurvey.krvdata" once the window is closed.
#include "E2eSupport.h"
#include "LoopbackQuotes.h"

#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QVariantMap stockSurveyStatus()
{
    return agentStatus().value("stockSurvey").toMap();
}

bool mapsQtNetwork(const QStringList &libraries)
{
    return !libraries.filter("libQt6Network").isEmpty();
}

} // namespace

TEST(StockSurveyEndToEnd, AnImportedEntryIsFoundAndSurveyedWhenSelected)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("PriorityForBookmarks", 1);
    ASSERT_TRUE(preferences.synchronize());
    LoopbackQuotes web;
    const QByteArray quote = "QKKA,123.45,20261209\r\n";
    web.quote("/quokka", quote);
    QDir().mkpath(home.dataFolder());
    QFile import(home.dataFolder() + "/" + DataFileName::StocksSurveyImport);
    ASSERT_TRUE(import.open(QIODevice::WriteOnly));
    import.write(("Quokkacorp\t" + web.url("/quokka") + "\r").toUtf8());
    import.close();

    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    // Every letter reached the search field: the survey window shown meanwhile took no key.
    ASSERT_TRUE(searchInAccessWindow(agent, "quokkacorp"));
    ASSERT_EQ(accessWindowState().value("titles").toStringList().value(0), "Quokkacorp");

    // The first row is the selected one: its pass shows it, due because it was asked for.
    ASSERT_TRUE(waitFor([] {
        const QVariantMap survey = stockSurveyStatus();
        return survey.value("windowVisible").toBool() && survey.value("value") == "123.45";
    })) << agent.log().toStdString();
    EXPECT_EQ(stockSurveyStatus().value("title"), "Quokkacorp");
    EXPECT_EQ(web.requests("/quokka"), 1);

    // Closed: the pass ends and its values are saved.
    const QString window =
        QString::fromUtf8(runProgram("xdotool", {"search", "--name", "^Stock survey$"}).out)
            .section('\n', 0, 0)
            .trimmed();
    ASSERT_FALSE(window.isEmpty());
    if (const QByteArray folder = qgetenv("KORVALE_SCREENSHOT_DIR"); !folder.isEmpty()) {
        QTest::qWait(500);
        runProgram("import",
                   {"-frame", "-window", window,
                    QString::fromLocal8Bit(folder) + "/stock-survey-window.png"});
        runProgram("import", {"-window", "root", QString::fromLocal8Bit(folder) + "/screen.png"});
    }
    xdotool({"windowactivate", "--sync", window});
    xdotool({"key", "Escape"});
    ASSERT_TRUE(waitFor([] { return stockSurveyStatus().value("passes").toInt() >= 1; }))
        << agent.log().toStdString();
    EXPECT_FALSE(stockSurveyStatus().value("windowVisible").toBool());
    const QVariantList stored =
        ArchiveFile::readList(home.dataFolder() + "/" + DataFileName::StocksSurvey);
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].toMap().value("ValLast"), QString::fromLatin1(quote));
    EXPECT_EQ(stored[0].toMap().value("ValLastShown"), "123.45");
}

// Qt Network is mapped into the agent only once something is fetched: not with stock entries
// before a pass reads one, nor with bookmarks whose icons are all known; the first quote read
// brings it.
TEST(StockSurveyEndToEnd, QtNetworkIsMappedOnlyOnceAQuoteIsRead)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    LoopbackQuotes web;
    web.quote("/wombat", "WMBT,42.5");
    QDir().mkpath(home.dataFolder());
    QFile import(home.dataFolder() + "/" + DataFileName::StocksSurveyImport);
    ASSERT_TRUE(import.open(QIODevice::WriteOnly));
    import.write(("Wombat Mining\t" + web.url("/wombat") + "\n").toUtf8());
    import.close();
    // A browser's bookmark whose icon was tried before: the favicon run has nothing to fetch.
    const QString site = web.url("/wiki");
    const QString chromium = QDir::homePath() + "/.config/chromium/Default";
    ASSERT_TRUE(QDir().mkpath(chromium));
    QFile bookmarks(chromium + "/Bookmarks");
    ASSERT_TRUE(bookmarks.open(QIODevice::WriteOnly));
    bookmarks.write(R"({"roots":{"bookmark_bar":{"type":"folder","children":[)"
                    R"({"type":"url","name":"Wombat wiki","url":")"
                    + site.toUtf8() + R"("}]}}})");
    bookmarks.close();
    CommonKorvaleClass::saveListInFile({QVariantMap{{"U", site}}}, DataFileName::URLFavicons);
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("PriorityForBookmarks", 1);
    preferences.setValue("OtherDataBookmarks", 1);
    preferences.setValue("OtherDataBookmarksFavicons", 1);
    ASSERT_TRUE(preferences.synchronize());

    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    // The bookmarks were read and their favicon run is over.
    ASSERT_TRUE(waitFor([] { return agentStatus().value("faviconRuns").toInt() >= 1; }))
        << agent.log().toStdString();
    const QStringList idle = mappedFiles(agent.pid());
    ASSERT_FALSE(idle.isEmpty());
    EXPECT_FALSE(mapsQtNetwork(idle)) << idle.join(' ').toStdString();
    EXPECT_FALSE(idle.contains("libkorvale-web.so"));
    EXPECT_TRUE(web.allRequests().isEmpty()) << web.allRequests().join(' ').toStdString();

    // Selecting the entry has its pass read the quote, through the web module.
    ASSERT_TRUE(searchInAccessWindow(agent, "wombat mining"));
    ASSERT_TRUE(waitFor([] { return stockSurveyStatus().value("value") == "42.5"; }))
        << agent.log().toStdString();
    const QStringList surveyed = mappedFiles(agent.pid());
    EXPECT_TRUE(mapsQtNetwork(surveyed)) << surveyed.join(' ').toStdString();
    EXPECT_TRUE(surveyed.contains("libkorvale-web.so"));
}
