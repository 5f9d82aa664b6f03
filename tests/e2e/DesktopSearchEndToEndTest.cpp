// The agent in the desktop's own search, asked over the bus as GNOME Shell and KRunner ask it: a
// note is found, described and opened, the access window opens on the desktop's text, and a
// protected note stays out of every answer even while it is unlocked in the window.
#include "E2eSupport.h"

#include "RunnerTypes.h"
#include "SharedPreferences.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>

#include <gtest/gtest.h>

namespace {

const QString Agent = QStringLiteral("org.korvale.Daemon");
const QString ProviderPath = QStringLiteral("/org/korvale/SearchProvider");
const QString Provider = QStringLiteral("org.gnome.Shell.SearchProvider2");

QDBusMessage call(const QString &path, const QString &interface, const QString &method,
                  const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Agent, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, 10000);
}

QStringList initialResults(const QStringList &terms)
{
    const QDBusMessage reply =
        call(ProviderPath, Provider, QStringLiteral("GetInitialResultSet"), {terms});
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toStringList()
                                                      : QStringList();
}

// id to name, as the shell shows the rows.
QMap<QString, QString> metas(const QStringList &ids)
{
    const QDBusMessage reply =
        call(ProviderPath, Provider, QStringLiteral("GetResultMetas"), {ids});
    QMap<QString, QString> names;
    if (reply.type() != QDBusMessage::ReplyMessage)
        return names;
    QList<QVariantMap> entries;
    reply.arguments().value(0).value<QDBusArgument>() >> entries;
    for (const QVariantMap &entry : entries)
        names.insert(entry.value("id").toString(), entry.value("name").toString());
    return names;
}

RunnerMatches runnerMatches(const QString &query, QString *signature = nullptr)
{
    const QDBusMessage reply =
        call(QStringLiteral("/org/korvale/Runner"), QStringLiteral("org.kde.krunner1"),
             QStringLiteral("Match"), {query});
    if (signature)
        *signature = reply.signature();
    RunnerMatches matches;
    if (reply.type() == QDBusMessage::ReplyMessage)
        reply.arguments().value(0).value<QDBusArgument>() >> matches;
    return matches;
}

bool recentlyOpened(const QString &title)
{
    SharedPreferences preferences(SharedPreferences::defaultPath());
    const QVariantList recent = preferences.value("LastItemsLaunched").toList();
    return std::any_of(recent.cbegin(), recent.cend(), [&](const QVariant &item) {
        return item.toMap().value("T").toString() == title;
    });
}

ProgramRun notesTool(const QStringList &arguments, const QByteArray &input)
{
    return runProgram(builtProgram(QStringLiteral("bin/korvale-notes")), arguments, input);
}

} // namespace

TEST(DesktopSearchEndToEnd, ANoteIsFoundAndOpenedAndAProtectedOneNeverLeaves)
{
    REQUIRE_SESSION();
    RunnerTypes::registerTypes();
    qDBusRegisterMetaType<QList<QVariantMap>>();
    TemporaryHome home;
    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    ASSERT_EQ(notesTool({"add", "Quokka plain"}, "garden beds").exitCode, 0);
    ASSERT_EQ(notesTool({"--protected", "add", "Quokka vault"}, "pass word\npass word\nsafe code")
                  .exitCode,
              0);

    // The note reaches the agent through the tool's notification.
    QStringList ids;
    ASSERT_TRUE(waitFor([&] { return !(ids = initialResults({"quokka"})).isEmpty(); }, 20000))
        << agent.log().toStdString();
    QMap<QString, QString> names = metas(ids);
    ASSERT_EQ(names.values(), QStringList{"Quokka plain"});
    const QString plainId = names.firstKey();
    // Narrowing the search gives the same item under the same id.
    const QDBusMessage narrowed =
        call(ProviderPath, Provider, QStringLiteral("GetSubsearchResultSet"),
             {ids, QStringList{"quokka", "pla"}});
    EXPECT_EQ(narrowed.arguments().value(0).toStringList(), QStringList{plainId});

    // The desktop's "more results": the window opens with the terms typed in.
    call(ProviderPath, Provider, QStringLiteral("LaunchSearch"),
         {QStringList{"quokka", "plain"}, 0u});
    ASSERT_TRUE(waitFor([] {
        const QVariantMap state = accessWindowState();
        return state.value("visible").toBool() && state.value("query") == "quokka plain"
            && !state.value("searchRunning").toBool()
            && state.value("titles").toStringList() == QStringList{"Quokka plain"};
    })) << accessWindowState().value("query").toString().toStdString();

    // The protected notes unlocked in the window: still absent from the desktop's answers.
    xdotool({"key", "ctrl+6"});
    ASSERT_TRUE(waitFor([] { return activeWindowName() == "Protected notes"; }))
        << activeWindowName().toStdString();
    xdotool({"type", "--delay", "30", "pass word"});
    xdotool({"key", "Return"});
    ASSERT_TRUE(waitFor([] { return accessWindowState().value("typeForSearch").toInt() == 6; }))
        << agent.log().toStdString();
    xdotool({"key", "ctrl+a"});
    xdotool({"type", "--delay", "30", "quokka"});
    ASSERT_TRUE(waitFor([] {
        const QVariantMap state = accessWindowState();
        return state.value("typeForSearch").toInt() == 6 && !state.value("searchRunning").toBool()
            && state.value("rows").toInt() == 1;
    })) << agent.log().toStdString();
    for (const QStringList &terms :
         {QStringList{"quokka"}, QStringList{"vault"}, QStringList{"safe", "code"}}) {
        const QStringList found = initialResults(terms);
        EXPECT_FALSE(metas(found).values().contains("Quokka vault"))
            << terms.join(' ').toStdString();
        for (const RunnerMatch &match : runnerMatches(terms.join(' ')))
            EXPECT_NE(match.text, "Quokka vault");
    }

    // KRunner's form of the same answer.
    QString signature;
    const RunnerMatches matches = runnerMatches("quokka", &signature);
    EXPECT_EQ(signature, "a(sssida{sv})");
    ASSERT_EQ(matches.size(), 1);
    EXPECT_EQ(matches.first().id, plainId);
    EXPECT_EQ(matches.first().text, "Quokka plain");
    EXPECT_EQ(matches.first().properties.value("subtext").toString(), "garden beds");

    // Activated from the shell: opened as Return opens it, so it is among the recent items.
    EXPECT_FALSE(recentlyOpened("Quokka plain"));
    const QDBusMessage activated = call(ProviderPath, Provider, QStringLiteral("ActivateResult"),
                                        {plainId, QStringList{"quokka"}, 0u});
    EXPECT_EQ(activated.type(), QDBusMessage::ReplyMessage)
        << activated.errorMessage().toStdString();
    EXPECT_TRUE(waitFor([] { return recentlyOpened("Quokka plain"); }))
        << agent.log().toStdString();
    EXPECT_FALSE(agent.log().contains("safe code"));
}
