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

// The windows the window manager manages (the taskbar's and Alt+Tab's list), as decimal ids.
QStringList managedWindows()
{
    const ProgramRun run = runProgram(QStringLiteral("xprop"), {"-root", "_NET_CLIENT_LIST"});
    QStringList ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = hex.globalMatch(QString::fromUtf8(run.out)); it.hasNext();)
        ids << QString::number(it.next().captured().toULongLong(nullptr, 16));
    return ids;
}

QString windowProperty(const QString &window, const QString &name)
{
    return QString::fromUtf8(runProgram(QStringLiteral("xprop"), {"-id", window, name}).out);
}

QString activeWindow()
{
    return QString::fromUtf8(runProgram(QStringLiteral("xdotool"), {"getactivewindow"}).out)
        .trimmed();
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

    // A normal window the window manager lists, and in front: the user finds it again.
    const QString type = windowProperty(window, "_NET_WM_WINDOW_TYPE");
    EXPECT_TRUE(type.contains("= _NET_WM_WINDOW_TYPE_NORMAL")) << type.toStdString();
    // A window transient for another one has no taskbar or Alt+Tab entry of its own.
    const QString transient = windowProperty(window, "WM_TRANSIENT_FOR");
    EXPECT_FALSE(transient.contains("window id")) << transient.toStdString();
    EXPECT_TRUE(managedWindows().contains(window));
    EXPECT_TRUE(waitFor([&] { return activeWindow() == window; }))
        << activeWindow().toStdString() << " is active, not " << window.toStdString();

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
