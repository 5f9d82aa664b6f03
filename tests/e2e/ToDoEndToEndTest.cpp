// The real agent with a task that falls due while it runs: the to-do window comes up by itself,
// and ticking the task off from the window's menu stores it and puts the window away.
#include "E2eSupport.h"

#include "CommonKorvaleClass.h"
#include "QOR_StringUtils.h"
#include "ToDoItems.h"

#include <QDateTime>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The visible window with this exact title, or nothing.
QString visibleWindow(const QString &title)
{
    const ProgramRun run = runProgram(
        QStringLiteral("xdotool"),
        {"search", "--onlyvisible", "--name", "^" + QRegularExpression::escape(title) + "$"});
    return run.exitCode == 0 ? QString::fromUtf8(run.out).split('\n').first().trimmed() : QString();
}

} // namespace

TEST(ToDoEndToEnd, ATaskFallingDueBringsTheWindowAndTickingItOffStoresItAndClosesTheWindow)
{
    REQUIRE_SESSION();
    QOR_StringUtils::installTranslations();
    const QString title = QOR_StringUtils::getLocalizedStringForKey("ToDo");
    const QDateTime due = QDateTime::currentDateTime().addSecs(6);
    CommonKorvaleClass::saveListInFile(
        {ToDoItems::newRecord("water the plants", due, false),
         ToDoItems::newRecord("book flights", due.addDays(9), false)},
        DataFileName::ToDo);
    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    EXPECT_TRUE(visibleWindow(title).isEmpty()) << "nothing is due yet";

    QString window;
    ASSERT_TRUE(waitFor([&] { return !(window = visibleWindow(title)).isEmpty(); }, 30000))
        << agent.log().toStdString();

    // From the keyboard: the first row, its menu, the menu's first entry.
    xdotool({"windowactivate", "--sync", window});
    QTest::qWait(300);
    xdotool({"key", "Return"});
    QTest::qWait(500);
    xdotool({"key", "Down", "Return"});

    ASSERT_TRUE(waitFor([] {
        const QVariantList stored = CommonKorvaleClass::readListInFile(DataFileName::ToDo);
        return !stored.isEmpty() && stored.first().toMap().value("Done").toInt() == 1;
    })) << agent.log().toStdString();
    const QVariantList stored = CommonKorvaleClass::readListInFile(DataFileName::ToDo);
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored.first().toMap().value("T").toString(), "water the plants");
    EXPECT_EQ(stored.at(1).toMap().value("Done").toInt(), 0);
    EXPECT_TRUE(waitFor([&] { return visibleWindow(title).isEmpty(); }))
        << "the window stays while nothing is due";
}
