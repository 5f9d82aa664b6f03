// The real agent in a private Wayland session (scripts/with-wayland-session.sh: weston's headless
// back end with XWayland, its own D-Bus bus), brought up the way a Wayland desktop does it: by the
// bus command a desktop key runs. The keys are typed through XWayland's XTest, since the agent's
// windows are X11 windows of XWayland; the compositor has no seat to type through.
#include "E2eSupport.h"

#include "CommonKorvaleClass.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class WaylandSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !haveDesktopSession())
            GTEST_SKIP() << "needs a Wayland session with XWayland: run under "
                            "scripts/with-wayland-session.sh";
        const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
        ASSERT_TRUE(QDir().mkpath(applications));
        for (const QString &name :
             {QStringLiteral("Qorvex Sketchpad"), QStringLiteral("Qorvane Ledger")}) {
            QFile entry(applications + "/korvale-wayland-" + name.section(' ', 0, 0).toLower()
                        + ".desktop");
            ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
            entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=true\n")
                            .arg(name)
                            .toUtf8());
        }
        agent.start();
        ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
        ASSERT_TRUE(waitFor([] { return applicationsFound() == 2; }, 30000))
            << agent.log().toStdString();
    }

    static int applicationsFound()
    {
        int found = 0;
        for (const QVariant &app : CommonKorvaleClass::readListInFile(DataFileName::Applications))
            found += app.toMap().value("P").toString().contains("/korvale-wayland-");
        return found;
    }

    static bool shows(const QString &query, int rows)
    {
        const QVariantMap state = accessWindowState();
        return state.value("query").toString() == query && !state.value("searchRunning").toBool()
            && state.value("rows").toInt() == rows;
    }

    static std::string described()
    {
        const QVariantMap state = accessWindowState();
        return "query '" + state.value("query").toString().toStdString() + "', "
            + std::to_string(state.value("rows").toInt())
            + " rows: " + state.value("titles").toStringList().join(", ").toStdString()
            + ", active " + (state.value("active").toBool() ? "yes" : "no");
    }

    TemporaryHome home;
    AgentProcess agent;
};

} // namespace

TEST_F(WaylandSession, TheBusToggleBringsTheWindowWithTheKeyboardEachTime)
{
    ASSERT_TRUE(callAccessWindow("Toggle"));
    ASSERT_TRUE(waitFor([] {
        const QVariantMap state = accessWindowState();
        return state.value("visible").toBool() && state.value("active").toBool();
    })) << described();

    xdotool({"type", "--delay", "30", "qorv"});
    ASSERT_TRUE(waitFor([] { return shows("qorv", 2); })) << described();
    xdotool({"type", "e"});
    ASSERT_TRUE(waitFor([] { return shows("qorve", 1); })) << described();
    EXPECT_EQ(accessWindowState().value("titles").toStringList(), QStringList{"Qorvex Sketchpad"});

    xdotool({"key", "Escape"});
    ASSERT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }))
        << described();

    // A second opening takes the keyboard again; the search text is selected, so typing
    // replaces it.
    ASSERT_TRUE(callAccessWindow("Toggle"));
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("active").toBool(); }))
        << described();
    xdotool({"type", "--delay", "30", "qorva"});
    ASSERT_TRUE(waitFor([] { return shows("qorva", 1); })) << described();
    EXPECT_EQ(accessWindowState().value("titles").toStringList(), QStringList{"Qorvane Ledger"});
    ASSERT_TRUE(callAccessWindow("Toggle"));
    EXPECT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }));
}

// A pop-up menu takes the keyboard while it is open, and gives it back to the window under it.
TEST_F(WaylandSession, TheMenuTakesTheKeysAndGivesThemBack)
{
    ASSERT_TRUE(callAccessWindow("Toggle"));
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("active").toBool(); }))
        << described();
    ASSERT_TRUE(callAccessWindow("ShowMenu"));
    ASSERT_TRUE(
        waitFor([] { return !accessWindowState().value("menu").toStringList().isEmpty(); }));
    xdotool({"key", "Down"});
    EXPECT_TRUE(waitFor([] {
        return !accessWindowState().value("menuActive").toString().isEmpty();
    })) << accessWindowState().value("menu").toStringList().join(", ").toStdString();
    xdotool({"key", "Escape"});
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("menu").toStringList().isEmpty(); }));

    xdotool({"type", "--delay", "30", "qorve"});
    EXPECT_TRUE(waitFor([] { return shows("qorve", 1); })) << described();
}
