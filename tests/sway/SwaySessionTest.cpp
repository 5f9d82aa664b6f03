// The real agent in a private wlroots session (scripts/with-sway-session.sh: sway's headless back
// end with XWayland, its own D-Bus bus): what a wlroots desktop offers a background program
// through the agent's own Wayland connection. The agent is driven the way a Wayland desktop
// drives it, through the desktop portal's shortcuts (the tests' stand-in), so that no step
// depends on where the compositor puts the keyboard.
#include "E2eSupport.h"

#include "KeyMap.h"
#include "PortalStandIn.h"
#include "SharedPreferences.h"
#include "platform/Workspace.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QString combinationId(const KeyMap &map)
{
    return QStringLiteral("keys-") + QString::fromLatin1(map.toData().toHex());
}

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

class SwaySession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("SWAYSOCK") || !haveDesktopSession())
            GTEST_SKIP() << "needs a sway session with XWayland: run under "
                            "scripts/with-sway-session.sh";
        ASSERT_TRUE(portal.start());
    }

    // Starts the agent with an item shortcut on `item`, bound through the portal.
    void startAgent(const QString &item, const KeyMap &keys, const QStringList &environment)
    {
        SharedPreferences preferences;
        preferences.setValue("ShortCutsActivated", 1);
        preferences.setValue(
            "FilesList",
            QVariantList{QVariantMap{
                {"x", 2}, {"P", item}, {"T", QFileInfo(item).fileName()}, {">", keys.toData()}}});
        ASSERT_TRUE(preferences.synchronize());
        agent.start(environment);
        ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
        ASSERT_TRUE(waitFor([&] {
            return !portal.bindings().isEmpty()
                && portal.bindings().last().has(combinationId(keys));
        })) << agent.log().toStdString()
            << portal.errors().join('\n').toStdString();
    }

    TemporaryHome home;
    PortalStandIn portal;
    AgentProcess agent;
};

QMap<QString, QString> environmentIn(const QString &path)
{
    QFile file(path);
    QMap<QString, QString> variables;
    if (!file.open(QIODevice::ReadOnly))
        return variables;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            variables.insert(QString::fromUtf8(line.left(equals)),
                             QString::fromUtf8(line.mid(equals + 1)));
    }
    return variables;
}

// Makes a program the default handler of `mimeType`: started, it writes the argument it got
// ("ARGUMENT") and its environment to `printed`, whole once it is there.
bool installEnvironmentPrinter(const QString &name, const QByteArray &mimeType,
                               const QString &printed)
{
    const QString printer = QDir::homePath() + "/print-" + name;
    const QByteArray out = printed.toUtf8();
    if (!writeFile(printer,
                   "#!/bin/sh\n{ echo \"ARGUMENT=$1\"; env; } > \"" + out + ".part\" && mv \"" + out
                       + ".part\" \"" + out + "\"\n"))
        return false;
    QFile(printer).setPermissions(QFile(printer).permissions() | QFileDevice::ExeOwner);
    const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
    const QByteArray entry = "org.example." + name.toUtf8() + ".desktop";
    return QDir().mkpath(applications)
        && writeFile(applications + "/" + QString::fromUtf8(entry),
                     "[Desktop Entry]\nType=Application\nName=" + name.toUtf8()
                         + "\nMimeType=" + mimeType + ";\nExec=" + printer.toUtf8() + " %u\n")
        && QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"))
        && writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + "/mimeapps.list",
                     "[Default Applications]\n" + mimeType + "=" + entry + "\n");
}

} // namespace

// What the user opens comes to the front: the compositor's activation token reaches the program
// (in both variables, for a native and for an XWayland program), and nothing of the agent's
// own: neither its platform (it runs on XWayland by its own choice) nor its tests' variables.
TEST_F(SwaySession, AnOpenedItemsProgramGetsAnActivationTokenAndNothingOfTheAgents)
{
    // A program that writes down the environment it was started with, the default application
    // of plain text here.
    const QString printed = QDir::homePath() + "/launched.env";
    ASSERT_TRUE(installEnvironmentPrinter("Printer", "text/plain", printed));
    const QString note = QDir::homePath() + "/note.txt";
    ASSERT_TRUE(writeFile(note, "a note\n"));

    const KeyMap keys = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, 45}); // N
    startAgent(note, keys, {QStringLiteral("KORVALE_TEST_MARKER=agent-only")});
    portal.press(combinationId(keys));
    ASSERT_TRUE(waitFor([&] { return QFile::exists(printed); })) << agent.log().toStdString();

    const QMap<QString, QString> launched = environmentIn(printed);
    const QString token = launched.value("XDG_ACTIVATION_TOKEN");
    EXPECT_FALSE(token.isEmpty()) << agent.log().toStdString();
    EXPECT_EQ(launched.value("DESKTOP_STARTUP_ID"), token);
    EXPECT_FALSE(launched.contains("QT_QPA_PLATFORM"))
        << launched.value("QT_QPA_PLATFORM").toStdString();
    EXPECT_FALSE(launched.contains("KORVALE_TEST_MARKER"));
    // The session's own variables are passed on.
    EXPECT_EQ(launched.value("WAYLAND_DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY"));
}

// An address the suite opens (a bookmark, a link, a web search) brings its handler to the front
// too: the compositor's token reaches the default handler of its scheme.
TEST_F(SwaySession, AnOpenedAddressesHandlerGetsAnActivationToken)
{
    const QString printed = QDir::homePath() + "/address.env";
    ASSERT_TRUE(installEnvironmentPrinter("Handler", "x-scheme-handler/x-korvale-test", printed));

    ASSERT_TRUE(Workspace::createLinux()->openUrl(QUrl("x-korvale-test:page")));
    ASSERT_TRUE(waitFor([&] { return QFile::exists(printed); }));
    const QMap<QString, QString> launched = environmentIn(printed);
    EXPECT_EQ(launched.value("ARGUMENT"), "x-korvale-test:page");
    const QString token = launched.value("XDG_ACTIVATION_TOKEN");
    EXPECT_FALSE(token.isEmpty());
    EXPECT_EQ(launched.value("DESKTOP_STARTUP_ID"), token);
}
