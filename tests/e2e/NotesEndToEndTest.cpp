// korvale-notes beside the real agent: a note it adds reaches the access window through the
// notification, and a protected note stays out of sight until its password is typed there, and
// out of the bus and the preferences even then.
#include "E2eSupport.h"

#include "NotesFile.h"
#include "SharedPreferences.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

ProgramRun notesTool(const QStringList &arguments, const QByteArray &input)
{
    return runProgram(builtProgram(QStringLiteral("bin/korvale-notes")), arguments, input);
}

bool shows(const QString &title)
{
    const QVariantMap state = accessWindowState();
    return !state.value("searchRunning").toBool()
        && state.value("titles").toStringList().contains(title);
}

// Whether the process maps OpenSSL's libcrypto (the crypto module is named otherwise).
bool mapsLibcrypto(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libcrypto.so");
}

// The protected filter from the keyboard, its password typed into its sheet: the one protected
// note "quokka" finds is then listed.
void showProtectedNotes(AgentProcess &agent)
{
    xdotool({"key", "ctrl+6"});
    ASSERT_TRUE(waitFor([] { return activeWindowName() == "Protected notes"; }))
        << activeWindowName().toStdString() << agent.log().toStdString();
    xdotool({"type", "--delay", "30", "pass word"});
    xdotool({"key", "Return"});
    ASSERT_TRUE(waitFor(
        [] {
            const QVariantMap state = accessWindowState();
            return state.value("typeForSearch").toInt() == 6
                && !state.value("searchRunning").toBool() && state.value("rows").toInt() == 1;
        },
        20000))
        << agent.log().toStdString();
}

} // namespace

TEST(NotesEndToEnd, AddedNotesAreFoundAndAProtectedOneOnlyAfterItsPassword)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("PriorityForNotes", 1);
    ASSERT_TRUE(preferences.synchronize());

    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();

    ProgramRun run = notesTool({"add", "Quokka plain"}, "garden beds");
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    // A new file: the password is given twice.
    run =
        notesTool({"--protected", "add", "Quokka vault"}, "pass word\npass word\nthe safe's code");
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();

    ASSERT_TRUE(searchInAccessWindow(agent, "quokka"));
    // The notes the tool added may reach the agent after the first search.
    ASSERT_TRUE(waitFor([] { return shows("Quokka plain"); }))
        << accessWindowState().value("titles").toStringList().join(", ").toStdString();
    EXPECT_FALSE(shows("Quokka vault"));

    // The protected filter asks for the password in a sheet of its own.
    xdotool({"key", "ctrl+6"});
    ASSERT_TRUE(waitFor([] { return activeWindowName() == "Protected notes"; }))
        << activeWindowName().toStdString() << agent.log().toStdString();
    EXPECT_NE(accessWindowState().value("typeForSearch").toInt(), 6);
    // A wrong password: the alert says so, and the filter stays as it was.
    xdotool({"type", "--delay", "30", "pass wort"});
    xdotool({"key", "Return"});
    // The alert's title bar names the suite, as the access window's does; its text says what
    // went wrong.
    const auto alertInFront = [] {
        return activeWindowName() == "Korvale" && !accessWindowState().value("active").toBool();
    };
    ASSERT_TRUE(waitFor(alertInFront)) << activeWindowName().toStdString();
    QTest::qWait(300);
    xdotool({"key", "Return"});
    ASSERT_TRUE(waitFor([&] { return !alertInFront(); }));
    EXPECT_NE(accessWindowState().value("typeForSearch").toInt(), 6);
    EXPECT_FALSE(shows("Quokka vault"));

    // Shown in the window; any client of the bus sees how many rows, but neither the title nor
    // what was typed to find it.
    ASSERT_NO_FATAL_FAILURE(showProtectedNotes(agent));
    const QVariantMap state = accessWindowState();
    EXPECT_FALSE(state.value("titles").toStringList().contains("Quokka vault"));
    EXPECT_EQ(state.value("query").toString(), QString());
    // Nor does korvale-search's question to the agent find it.
    const ProgramRun found =
        runProgram(builtProgram(QStringLiteral("bin/korvale-search")), {"quokka"});
    EXPECT_TRUE(found.out.contains("Quokka plain"))
        << found.out.constData() << found.err.constData();
    EXPECT_FALSE(found.out.contains("vault"));

    // Opened: copied, but neither its title nor the query goes into the preferences.
    xdotool({"key", "Return"});
    ASSERT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }))
        << agent.log().toStdString();
    QFile stored(SharedPreferences::defaultPath());
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QByteArray bytes = stored.readAll();
    EXPECT_FALSE(bytes.contains("Quokka vault"));
    EXPECT_FALSE(bytes.contains("quokka"));
    EXPECT_FALSE(agent.log().contains("the safe's code"));
}

// The agent loads libcrypto only when its protected notes are unlocked: idle beside a protected
// notes file, with its window open and a search run, it does not map it.
TEST(NotesEndToEnd, TheAgentMapsLibcryptoOnlyOnceItsProtectedNotesAreUnlocked)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    {
        NotesFile file(NotesFile::Kind::ProtectedNotes);
        QVariantList notes;
        ASSERT_EQ(file.unlock("pass word", notes), NotesFile::Status::Ok);
        ASSERT_TRUE(file.confirmPassword("pass word"));
        notes.append(QVariantMap{{"x", 6}, {"T", "Quokka vault"}, {"t", "the safe's code"}});
        ASSERT_EQ(file.save(notes), NotesFile::Status::Ok);
    }
    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    ASSERT_TRUE(searchInAccessWindow(agent, "quokka"));
    EXPECT_FALSE(mapsLibcrypto(agent.pid()));

    ASSERT_NO_FATAL_FAILURE(showProtectedNotes(agent));
    EXPECT_TRUE(mapsLibcrypto(agent.pid()));
}
