// The desktop's search in the access window, with stand-ins of a GNOME Shell provider and a
// KRunner runner on the private bus and their files in a private XDG_DATA_DIRS: their rows come
// below the agent's, Return hands the row back to them, and a provider that answers late is left
// out without holding the window up.
#include "DesktopSearchStandIns.h"
#include "DesktopSearchSwitches.h"
#include "E2eSupport.h"
#include "SharedPreferences.h"

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <chrono>

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QStringList titles()
{
    return accessWindowState().value("titles").toStringList();
}

// Down to the row with this title, once the window has been open longer than the opener's
// guard, within which Return belongs to the gesture that opened it.
void selectRow(const QString &title)
{
    ASSERT_TRUE(waitFor([] {
        const qint64 now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count();
        return now - accessWindowState().value("openedAt").toLongLong() > 700'000'000;
    }));
    const qsizetype row = titles().indexOf(title);
    ASSERT_GE(row, 0) << titles().join(", ").toStdString();
    for (qsizetype i = 0; i < row; ++i)
        xdotool({"key", "Down"});
}

void returnOn(const QString &title)
{
    selectRow(title);
    xdotool({"key", "Return"});
}

} // namespace

TEST(DesktopSourcesEndToEnd, ProviderAndRunnerRowsComeBelowAndReturnHandsThemBack)
{
    REQUIRE_SESSION();
    RunnerTypes::registerTypes();
    qDBusRegisterMetaType<QList<QVariantMap>>();
    TemporaryHome home;
    const QString system = home.path() + "/system-share";
    writeFile(system + "/gnome-shell/search-providers/org.example.StandIn.search-provider.ini",
              "[Shell Search Provider]\nDesktopId=org.example.StandIn.desktop\n"
              "BusName=org.example.StandIn\nObjectPath=/org/example/StandIn\nVersion=2\n"
              "AutoStart=false\n");
    writeFile(system + "/applications/org.example.StandIn.desktop",
              "[Desktop Entry]\nType=Application\nName=Stand-in Search\nExec=false\n"
              "Icon=system-search\n");
    writeFile(system + "/gnome-shell/search-providers/org.example.Late.search-provider.ini",
              "[Shell Search Provider]\nBusName=org.example.Late\nObjectPath=/org/example/Late\n"
              "Version=2\nAutoStart=false\n");
    // A runner of several instances: the service's "*" covers them.
    writeFile(system + "/krunner/dbusplugins/standin-runner.desktop",
              "[Desktop Entry]\nName=Stand-in Runner\nIcon=system-run\nX-Plasma-API=DBus2\n"
              "X-Plasma-DBusRunner-Service=org.example.StandInRunner*\n"
              "X-Plasma-DBusRunner-Path=/runner\nX-Plasma-Runner-Min-Letter-Count=3\n");
    // One off by its file, one switched off in the manager: neither is asked.
    writeFile(system + "/gnome-shell/search-providers/org.example.Off.search-provider.ini",
              "[Shell Search Provider]\nBusName=org.example.Off\nObjectPath=/org/example/Off\n"
              "Version=2\nAutoStart=false\nDefaultDisabled=true\n");
    writeFile(system + "/gnome-shell/search-providers/org.example.Switched.search-provider.ini",
              "[Shell Search Provider]\nBusName=org.example.Switched\n"
              "ObjectPath=/org/example/Off\nVersion=2\nAutoStart=false\n");
    SharedPreferences preferences;
    preferences.setValue(DesktopSearchSwitches::PreferenceKey,
                         QVariantMap{{"gnome/org.example.Switched.search-provider.ini", false}});
    ASSERT_TRUE(preferences.synchronize());
    // Ours is never asked by the agent itself.
    QFile::copy(QStringLiteral(KORVALE_SOURCE_DIR "/packaging/korvale-search-provider.ini"),
                system + "/gnome-shell/search-providers/korvale-search-provider.ini");

    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "standins");
    auto disconnect = qScopeGuard([] { QDBusConnection::disconnectFromBus("standins"); });
    StandInProvider provider("fast", 0);
    StandInProvider late("late", 2000);
    StandInProvider off("off", 0);
    StandInRunner runner;
    ASSERT_TRUE(
        bus.registerObject("/org/example/StandIn", &provider, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerObject("/org/example/Late", &late, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerObject("/runner", &runner, QDBusConnection::ExportAllSlots));
    for (const char *name :
         {"org.example.StandIn", "org.example.Late", "org.example.StandInRunner.instance7"})
        ASSERT_TRUE(bus.registerService(name)) << name;

    AgentProcess agent;
    agent.start({"XDG_DATA_DIRS=" + system + ":/usr/share"});
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();

    QElapsedTimer typed;
    ASSERT_TRUE(searchInAccessWindow(agent, "zqxj"));
    typed.start();
    const QStringList expected = {"Zqxj fast alpha", "Zqxj fast beta", "Search in Stand-in Search",
                                  "Zqxj runner row"};
    ASSERT_TRUE(waitFor([&] {
        const QStringList shown = titles();
        return std::all_of(expected.cbegin(), expected.cend(),
                           [&](const QString &title) { return shown.contains(title); });
    })) << titles().join(", ").toStdString()
        << agent.log().toStdString();
    // Not held up by the provider that takes two seconds, whose rows never come.
    EXPECT_LT(typed.elapsed(), 1500);
    EXPECT_GT(late.questions, 0);
    QTest::qWait(2500);
    EXPECT_FALSE(titles().join(' ').contains("late")) << titles().join(", ").toStdString();
    // The provider's rows in its order, its "more" row last.
    const QStringList shown = titles();
    EXPECT_LT(shown.indexOf("Zqxj fast alpha"), shown.indexOf("Zqxj fast beta"));
    EXPECT_EQ(shown.indexOf("Zqxj fast beta") + 1, shown.indexOf("Search in Stand-in Search"));

    returnOn("Zqxj fast beta");
    ASSERT_TRUE(waitFor([&] { return !provider.activated.isEmpty(); }))
        << agent.log().toStdString();
    EXPECT_EQ(provider.activated, QStringList{"beta zqxj"});
    // The X server's time of the Return key, for the window manager's focus rules.
    EXPECT_NE(provider.lastTimestamp, 0u);

    ASSERT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }));
    // A DBus2 runner is told when the user is done searching.
    EXPECT_TRUE(waitFor([&] { return runner.teardowns > 0; }));
    ASSERT_TRUE(searchInAccessWindow(agent, "zqxj"));
    ASSERT_TRUE(waitFor([] { return titles().contains("Zqxj runner row"); }));
    returnOn("Zqxj runner row");
    ASSERT_TRUE(waitFor([&] { return !runner.ran.isEmpty(); })) << agent.log().toStdString();
    EXPECT_EQ(runner.ran, QStringList{"r1 "});

    // The runner's action the match offers, in the row's menu (the right arrow opens it).
    ASSERT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }));
    ASSERT_TRUE(searchInAccessWindow(agent, "zqxj"));
    ASSERT_TRUE(waitFor([] { return titles().contains("Zqxj runner row"); }));
    selectRow("Zqxj runner row");
    xdotool({"key", "Right"});
    const auto menu = [] { return accessWindowState().value("menu").toStringList(); };
    ASSERT_TRUE(waitFor([&] { return menu().contains(StandInRunner::OfferedAction); }))
        << menu().join(", ").toStdString();
    EXPECT_FALSE(menu().contains(StandInRunner::OtherAction));
    for (int i = 0;
         i < 3 && accessWindowState().value("menuActive") != StandInRunner::OfferedAction; ++i) {
        xdotool({"key", "Down"});
        (void)waitFor(
            [] { return accessWindowState().value("menuActive") == StandInRunner::OfferedAction; },
            1000);
    }
    xdotool({"key", "Return"});
    ASSERT_TRUE(waitFor([&] { return runner.ran.size() == 2; })) << agent.log().toStdString();
    EXPECT_EQ(runner.ran.last(), "r1 copy");
    EXPECT_EQ(off.questions, 0);
}

// The real GNOME Calculator's provider, started by D-Bus activation when the agent first asks
// it: its row for "7*6" (named by the expression, " = 42" beside it) comes below the agent's own.
TEST(DesktopSourcesEndToEnd, GnomeCalculatorAnswersInTheAccessWindow)
{
    REQUIRE_SESSION();
    if (!QFile::exists("/usr/share/gnome-shell/search-providers/"
                       "org.gnome.Calculator-search-provider.ini"))
        GTEST_SKIP() << "needs gnome-calculator (scripts/install-deps.sh)";
    TemporaryHome home;
    // As a desktop session does: programs the bus starts reach the display.
    qDBusRegisterMetaType<QMap<QString, QString>>();
    QDBusMessage environment =
        QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "UpdateActivationEnvironment");
    environment << QVariant::fromValue(
        QMap<QString, QString>{{"DISPLAY", qEnvironmentVariable("DISPLAY")}});
    ASSERT_EQ(QDBusConnection::sessionBus().call(environment).type(), QDBusMessage::ReplyMessage);

    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    ASSERT_TRUE(searchInAccessWindow(agent, "7*6"));
    // The calculator may take longer than the budget to start: the text is typed again until
    // its answer comes in time, as it does once it runs.
    const auto calculatorRow = [] {
        const QVariantMap state = accessWindowState();
        return state.value("query") == "7*6"
            && state.value("titles").toStringList().contains("7*6");
    };
    for (int attempt = 0; attempt < 5 && !waitFor(calculatorRow, 2000); ++attempt) {
        xdotool({"key", "BackSpace"});
        xdotool({"type", "6"});
    }
    EXPECT_TRUE(calculatorRow()) << titles().join(", ").toStdString() << agent.log().toStdString();
}
