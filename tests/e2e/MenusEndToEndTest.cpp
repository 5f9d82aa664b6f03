// The agent's pop-up menus in a private session, driven by keys as a user drives them.
#include "E2eSupport.h"

#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString EntryName = QStringLiteral("Zephyr Menu Pad");
const QString WindowTitle = QStringLiteral("Zephyr menu window");

class MenusEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_SESSION();
        // A folder of the user's files list, holding a folder with a program in it.
        projects = home.path() + "/Projects";
        ASSERT_TRUE(QDir().mkpath(projects + "/Tools"));
        QFile entry(projects + "/Tools/zephyr.desktop");
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\n"
                                   "Exec=%2 \"%3\"\nTerminal=false\n")
                        .arg(EntryName, builtProgram("bin/korvale-test-window"), WindowTitle)
                        .toUtf8());
        entry.close();
        SharedPreferences preferences;
        preferences.setValue("FilesList", QVariantList{QVariantMap{{"x", 2}, {"P", projects}}});
        ASSERT_TRUE(preferences.synchronize());
        agent.start();
        ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    }

    static QStringList menu() { return accessWindowState().value("menu").toStringList(); }
    static QString active() { return accessWindowState().value("menuActive").toString(); }

    TemporaryHome home;
    AgentProcess agent;
    QString projects;
};

} // namespace

TEST_F(MenusEndToEnd, TheRightArrowOnAFolderListsItAndReturnOpensWhatIsChosen)
{
    ASSERT_TRUE(callAccessWindow("Open"));
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("active").toBool(); }));
    xdotool({"type", "--delay", "40", "projects"});
    ASSERT_TRUE(waitFor([] {
        const QVariantMap state = accessWindowState();
        return !state.value("searchRunning").toBool()
            && state.value("titles").toStringList().value(0) == "Projects";
    })) << accessWindowState().value("titles").toStringList().join(", ").toStdString();

    xdotool({"key", "Right"});
    ASSERT_TRUE(waitFor([] { return menu().value(0) == "Tools"; }))
        << menu().join(", ").toStdString();
    EXPECT_EQ(menu().last(), "/") << "then the folders up to the root";

    xdotool({"key", "Down"});
    ASSERT_TRUE(waitFor([] { return active() == "Tools"; })) << active().toStdString();
    xdotool({"key", "Right"});
    ASSERT_TRUE(waitFor([] { return menu().value(0) == EntryName; }))
        << menu().join(", ").toStdString();
    if (active() != EntryName)
        xdotool({"key", "Down"});
    ASSERT_TRUE(waitFor([] { return active() == EntryName; })) << active().toStdString();
    xdotool({"key", "Return"});
    EXPECT_TRUE(waitFor([] { return activeWindowName() == WindowTitle; }, 30000))
        << "active window: " << activeWindowName().toStdString();

    SharedPreferences preferences;
    const QVariantMap recent = preferences.value("LastItemsLaunched").toList().value(0).toMap();
    EXPECT_EQ(recent.value("P").toString(), projects + "/Tools/zephyr.desktop");
}

TEST_F(MenusEndToEnd, TheBusPopsUpTheMenuBarMenuWithTheUsersFiles)
{
    ASSERT_TRUE(callAccessWindow("ShowMenu"));
    ASSERT_TRUE(waitFor([] { return menu().contains("Projects"); }))
        << menu().join(", ").toStdString();
    EXPECT_TRUE(menu().contains("Volumes"));
    xdotool({"key", "Escape"});
    EXPECT_TRUE(waitFor([] { return menu().isEmpty(); }));
}

// Asked for right after the access window closed, the menu stays: the hiding of the agent's
// windows that follows a closing leaves a menu opened meanwhile alone.
TEST_F(MenusEndToEnd, TheMenuBarMenuAskedForJustAfterAClosingStaysOpen)
{
    ASSERT_TRUE(callAccessWindow("Open"));
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("active").toBool(); }));
    ASSERT_TRUE(callAccessWindow("Close"));
    QTest::qWait(300);
    ASSERT_TRUE(callAccessWindow("ShowMenu"));
    ASSERT_TRUE(waitFor([] { return menu().contains("Projects"); }))
        << menu().join(", ").toStdString();
    // Past the moment the closing hides the agent's windows (0.7 s after it).
    QTest::qWait(1000);
    EXPECT_TRUE(menu().contains("Projects")) << "the menu was closed under the user";
    xdotool({"key", "Escape"});
    EXPECT_TRUE(waitFor([] { return menu().isEmpty(); }));
}

// The manager saved a change while the user is in the menu: the menu stays as it is, and shows
// the change the next time it opens.
TEST_F(MenusEndToEnd, AMenuOpenWhenTheListsChangeStaysOpenAndShowsTheChangeNextTime)
{
    ASSERT_TRUE(callAccessWindow("ShowMenu"));
    ASSERT_TRUE(waitFor([] { return menu().contains("Projects"); }))
        << menu().join(", ").toStdString();
    const QString archive = home.path() + "/Archive";
    ASSERT_TRUE(QDir().mkpath(archive));
    SharedPreferences preferences;
    preferences.setValue("FilesList",
                         QVariantList{QVariantMap{{"x", 2}, {"P", projects}},
                                      QVariantMap{{"x", 2}, {"P", archive}}});
    ASSERT_TRUE(preferences.synchronize());
    const int settingsRead = agentStatus().value("settingsReadCount").toInt();
    NotificationCenter::createSessionBusCenter()->post(QStringLiteral("KRV1_DaemonNotification"),
                                                       QStringLiteral("SettingChanged"), {});
    // The agent handled the notice (and reread its settings half a second later).
    ASSERT_TRUE(waitFor([&] {
        return agentStatus().value("settingsReadCount").toInt() > settingsRead;
    })) << agent.log().toStdString();
    EXPECT_TRUE(menu().contains("Projects")) << "the menu was closed under the user";
    EXPECT_FALSE(menu().contains("Archive"));
    xdotool({"key", "Escape"});
    ASSERT_TRUE(waitFor([] { return menu().isEmpty(); }));
    ASSERT_TRUE(callAccessWindow("ShowMenu"));
    EXPECT_TRUE(waitFor([] { return menu().contains("Archive"); }))
        << menu().join(", ").toStdString();
    xdotool({"key", "Escape"});
}
