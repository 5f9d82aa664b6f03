// The agent's own note editor, reached from the keyboard in the real agent while the manager is
// not running.
#include "E2eSupport.h"

#include "NotesFile.h"
#include "SharedPreferences.h"

#include <gtest/gtest.h>

namespace {

QVariantMap noteOnDisk(const QString &title)
{
    QVariantList notes;
    NotesFile(NotesFile::Kind::Notes).read(notes);
    for (const QVariant &note : std::as_const(notes)) {
        if (note.toMap().value("T") == title)
            return note.toMap();
    }
    return {};
}

} // namespace

TEST(AgentEditorsEndToEnd, ANoteEditedInTheAgentChangesOnDiskAndKeepsItsKeywords)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("PriorityForNotes", 1);
    ASSERT_TRUE(preferences.synchronize());
    {
        QVariantList notes{QVariantMap{
            {"x", 5}, {"T", "Quokka list"}, {"t", "eggs"}, {"K", "shopping"}, {"A", "ql"}}};
        ASSERT_EQ(NotesFile(NotesFile::Kind::Notes).save(notes), NotesFile::Status::Ok);
    }

    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    ASSERT_TRUE(searchInAccessWindow(agent, "quokka"));
    ASSERT_EQ(accessWindowState().value("titles").toStringList().value(0), "Quokka list");

    // Edit… from the keyboard: the title has the focus, Tab goes to the text, Ctrl+Return saves.
    xdotool({"key", "ctrl+e"});
    ASSERT_TRUE(waitFor([] { return activeWindowName() == "Edit note"; }))
        << activeWindowName().toStdString() << agent.log().toStdString();
    // The picture for the documentation, when KORVALE_SCREENSHOTS names a folder.
    if (const QString folder = qEnvironmentVariable("KORVALE_SCREENSHOTS"); !folder.isEmpty()) {
        QTest::qWait(300);
        runProgram("import", {"-window", "root", folder + "/agent-note-editor-screen.png"}, {});
    }
    xdotool({"key", "Tab", "ctrl+a"});
    xdotool({"type", "--delay", "30", "eggs and flour"});
    xdotool({"key", "ctrl+Return"});

    ASSERT_TRUE(waitFor([] { return noteOnDisk("Quokka list").value("t") == "eggs and flour"; }))
        << agent.log().toStdString();
    const QVariantMap saved = noteOnDisk("Quokka list");
    EXPECT_EQ(saved.value("K"), "shopping");
    EXPECT_EQ(saved.value("A"), "ql");
    EXPECT_EQ(saved.value("x"), 5);
    EXPECT_FALSE(agent.log().contains("eggs")) << "nothing of a note goes to the log";
}
