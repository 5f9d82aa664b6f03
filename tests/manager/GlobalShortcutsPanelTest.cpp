#include "ManagerFixture.h"

#include "GlobalShortcutsPanel.h"
#include "ShortcutSectionView.h"

#include <QTest>

// Where the desktop's portal watches the keys, the section lists the keys it reports instead of
// the command; without the portal, or without an agent to ask, the command stays.
TEST_F(ManagerTest, AWaylandSessionShowsTheDesktopsKeysWhereItsPortalWatchesThem)
{
    mWayland = true;
    auto manager = makeManager();
    ASSERT_TRUE(manager->shortcutView()->globalShortcutsPanel());
    ASSERT_TRUE(manager->shortcutView()->findChild<QWidget *>("waylandNote"));

    // Asking a bus name no agent holds: the real agents of other tests share this bus.
    QWidget section;
    auto *note = new QWidget(&section);
    auto *panel = new GlobalShortcutsPanel(note, &section, QStringLiteral("org.korvale.Nobody"));

    // No agent on the bus answers.
    panel->refresh();
    QTest::qWait(100);
    EXPECT_FALSE(panel->showsTriggers());
    EXPECT_FALSE(note->isHidden());

    const QVariantList shortcuts{
        QVariantMap{{"id", "toggle-access-window"},
                    {"description", "Show or hide the access window"},
                    {"trigger", "Super+Space"}},
        QVariantMap{{"id", "menu-bar-menu"}, {"description", "Show the menu-bar menu"}}};
    panel->showAnswer({{"status", "bound"}, {"shortcuts", shortcuts}});
    ASSERT_TRUE(panel->showsTriggers());
    EXPECT_TRUE(note->isHidden());
    const auto rows = panel->rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(0).second, "Super+Space");
    EXPECT_EQ(rows.at(1).second, "none yet");

    panel->showAnswer({{"status", "unavailable"}, {"reason", "no portal"}});
    EXPECT_FALSE(panel->showsTriggers());
    EXPECT_FALSE(note->isHidden());
    EXPECT_TRUE(panel->refusalText().isEmpty());

    // A refusal is told in the user's words, with the command to bind by hand below it.
    panel->showAnswer({{"status", "refused"},
                       {"refusal", "unknown-application"},
                       {"reason", "An app ID is required"}});
    EXPECT_TRUE(panel->refusalText().contains("could not tell which application"))
        << panel->refusalText().toStdString();
    EXPECT_TRUE(panel->refusalText().contains("org.korvale.Daemon.desktop"));
    EXPECT_FALSE(note->isHidden());
    panel->showAnswer({{"status", "refused"}, {"refusal", "other"}, {"reason", "No seat"}});
    EXPECT_EQ(panel->refusalText(), "The desktop portal refused the agent's shortcuts: No seat");
    panel->showAnswer({{"status", "bound"}, {"shortcuts", shortcuts}});
    EXPECT_TRUE(panel->refusalText().isEmpty());
}
