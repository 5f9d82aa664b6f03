// The real agent in a private session (scripts/with-session.sh: its own D-Bus bus, Xvfb,
// openbox), driven as a new user would drive it: keys through XTest, what the window shows read
// over the bus, what was stored read from the preferences file.
#include "E2eSupport.h"

#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString TargetEntry = QStringLiteral("korvale-e2e-zephyr.desktop");
const QString TargetName = QStringLiteral("Zephyr Sketchpad");
const QString TargetWindowTitle = QStringLiteral("Zephyr window");

class AgentEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_SESSION();
        // A desktop entry of the user's own, as an installed program would leave one.
        const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
        ASSERT_TRUE(QDir().mkpath(applications));
        QFile entry(applications + "/" + TargetEntry);
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\n"
                                   "Exec=%2 \"%3\"\nTerminal=false\n")
                        .arg(TargetName, builtProgram("bin/korvale-test-window"), TargetWindowTitle)
                        .toUtf8());
        entry.close();
        agent.start();
        ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
        // The first scan of the application folders finds the entry.
        ASSERT_TRUE(waitFor([] { return applicationsListHolds(TargetEntry); }, 30000))
            << agent.log().toStdString();
    }

    static bool applicationsListHolds(const QString &fileName)
    {
        const QVariantList apps = CommonKorvaleClass::readListInFile(DataFileName::Applications);
        return std::any_of(apps.cbegin(), apps.cend(), [&](const QVariant &app) {
            return app.toMap().value("P").toString().endsWith("/" + fileName);
        });
    }

    // The agent hears every key edge, with the server's time: one double tap is enough, on a
    // loaded machine too.
    bool openByDoubleTap(const QStringList &thenTyped = {})
    {
        xdotool(doubleTapOfSuper() + thenTyped);
        if (!waitFor([] { return accessWindowState().value("visible").toBool(); }))
            return false;
        seenOpen.start();
        return true;
    }

    // The window ignores Return for 0.5 s after it opened, so that the gesture's own keys open
    // nothing; it opened before it was seen open.
    void waitUntilReturnIsHeard()
    {
        ASSERT_TRUE(seenOpen.isValid());
        EXPECT_TRUE(waitFor([this] { return seenOpen.elapsed() > ReturnGuardMs; }));
    }

    static constexpr qint64 ReturnGuardMs = 500;

    TemporaryHome home;
    AgentProcess agent;
    QElapsedTimer seenOpen;
};

} // namespace

TEST_F(AgentEndToEnd, DoubleTapTypeReturnLaunchesTheEntryAndRecordsItFirst)
{
    ASSERT_TRUE(openByDoubleTap()) << agent.log().toStdString();
    EXPECT_TRUE(waitFor([] { return accessWindowState().value("active").toBool(); }));
    const int everything = accessWindowState().value("rows").toInt();

    xdotool({"type", "--delay", "40", "zephyr sk"});
    // The field shows the last key a moment before its search starts: wait for the narrowed list
    // itself, which a wrong search never gives.
    ASSERT_TRUE(waitFor([] {
        const QVariantMap state = accessWindowState();
        return state.value("query").toString() == "zephyr sk"
            && !state.value("searchRunning").toBool() && state.value("rows").toInt() == 1;
    })) << accessWindowState().value("query").toString().toStdString()
        << " " << accessWindowState().value("titles").toStringList().join(", ").toStdString();
    const QVariantMap narrowed = accessWindowState();
    EXPECT_EQ(narrowed.value("rows").toInt(), 1);
    EXPECT_LT(narrowed.value("rows").toInt(), std::max(everything, 2));
    ASSERT_FALSE(narrowed.value("titles").toStringList().isEmpty());
    EXPECT_EQ(narrowed.value("titles").toStringList().first(), TargetName);

    waitUntilReturnIsHeard();
    xdotool({"key", "Return"});
    EXPECT_TRUE(waitFor([] { return activeWindowName() == TargetWindowTitle; }, 30000))
        << "active window: " << activeWindowName().toStdString();
    EXPECT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }));

    SharedPreferences preferences;
    const QVariantList recent = preferences.value("LastItemsLaunched").toList();
    ASSERT_FALSE(recent.isEmpty());
    EXPECT_TRUE(recent.first().toMap().value("P").toString().endsWith("/" + TargetEntry));
    EXPECT_EQ(recent.first().toMap().value("x").toInt(), 1);
}

TEST_F(AgentEndToEnd, EscapeClosesAndKeysTypedRightAfterTheGestureAreKept)
{
    ASSERT_TRUE(openByDoubleTap()) << agent.log().toStdString();
    // Escape is a key for the window the user sees, once it has the focus.
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("active").toBool(); }));
    xdotool({"key", "Escape"});
    EXPECT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }));

    // Typing at once after the second tap, as a fast typist does (a first letter some 0.1 s
    // later), before the window can have appeared and taken the focus.
    ASSERT_TRUE(openByDoubleTap({"sleep", "0.1", "type", "--delay", "30", "zep"}))
        << agent.log().toStdString();
    EXPECT_TRUE(waitFor([] { return accessWindowState().value("query").toString() == "zep"; }))
        << accessWindowState().value("query").toString().toStdString();

    // The window is a toggle: the gesture sends it away again.
    xdotool(doubleTapOfSuper());
    EXPECT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }));
}

TEST_F(AgentEndToEnd, TheBusToggleOpensAndClosesTheWindow)
{
    ASSERT_TRUE(callAccessWindow("Toggle"));
    EXPECT_TRUE(waitFor([] { return accessWindowState().value("visible").toBool(); }));
    ASSERT_TRUE(callAccessWindow("Toggle"));
    EXPECT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }));
}
