#include "ActivationHarness.h"
#include "ItemRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using Work = ActivationMonitor::PeriodicWork;

namespace {

constexpr int KeyK = 40;
const KeyMap ControlOptionK = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, KeyK});

QVariantMap itemWithShortcut(const QString &title, int kind, const KeyMap &shortcut)
{
    return {{ItemRecord::KeyTitle, title},
            {ItemRecord::KeyKind, kind},
            {ItemRecord::KeyShortcut, shortcut.toData()}};
}

} // namespace

class PersonalCombinationTest : public ActivationHarness
{
protected:
    void SetUp() override
    {
        ActivationSettings settings;
        settings.shortCutsActivated = 1;
        settings.shortCutsKeyPersonalValues = 1;
        settings.shortCutsKeyPersonalValuesData = ControlOptionK;
        monitor.setSettings(settings);
    }
};

TEST_F(PersonalCombinationTest, OpensOnceOnTheExactCombinationAndNotOnASuperset)
{
    keys.setMap(ControlOptionK);
    run(3.0);
    EXPECT_EQ(opened.count(), 1) << "held three seconds, opened once";
    keys.releaseAll();
    run(0.5);

    keys.setMap(KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, KeyK, VirtualKey::Shift}));
    run(0.5);
    EXPECT_EQ(opened.count(), 1) << "a superset";
    keys.releaseAll();
    run(0.5);

    pointer.setButtonPressed(true);
    keys.setMap(ControlOptionK);
    run(0.5);
    EXPECT_EQ(opened.count(), 1) << "with a mouse button down";
    pointer.setButtonPressed(false);
    keys.releaseAll();
    run(0.5);

    // Built up key by key, the combination counts when it becomes exact.
    press(VirtualKey::Control, 0.2);
    press(VirtualKey::Option, 0.2);
    press(KeyK, 0.2);
    EXPECT_EQ(opened.count(), 2);

    windowVisible = true;
    keys.releaseAll();
    run(0.3);
    keys.setMap(ControlOptionK);
    run(0.3);
    EXPECT_EQ(opened.count(), 2) << "only opens, never closes or reopens";
    EXPECT_EQ(closed.count(), 0);
}

class CornerTest : public ActivationHarness
{
protected:
    void SetUp() override
    {
        ActivationSettings settings;
        settings.shortCutsMouseActivated = 1;
        settings.shortCutsMouseMenu = 1; // top right
        settings.shortCutsMouseCommandKey = 1;
        monitor.setSettings(settings);
        run(5.0); // the first corner test comes 5 s after start
        pointer.setLocation({1920 - 10, 1080 - 10});
    }
};

TEST_F(CornerTest, OpensWithinHalfASecondWhenTheRequiredModifierIsHeld)
{
    press(VirtualKey::Shift, 1.0);
    EXPECT_EQ(opened.count(), 0) << "another key than Command";
    keys.releaseAll();
    run(1.0);
    EXPECT_EQ(opened.count(), 0) << "no key at all";

    press(VirtualKey::Command, 0.5 + ActivationMonitor::TimerInterval);
    EXPECT_EQ(opened.count(), 1);
}

TEST_F(CornerTest, NeedsTheChosenCornerAndAHiddenWindow)
{
    pointer.setLocation({10, 1080 - 10}); // top left
    press(VirtualKey::Command, 1.0);
    EXPECT_EQ(opened.count(), 0);

    windowVisible = true;
    pointer.setLocation({1920 - 10, 1080 - 10});
    run(1.0);
    EXPECT_EQ(opened.count(), 0);
}

TEST(ScreenZoneTest, ClassifiesEdgesCornersAndTheMenuBarZone)
{
    const QRectF frame(0, 0, 1000, 800);
    EXPECT_EQ(ActivationMonitor::screenZone({500, 400}, frame), 0);
    EXPECT_EQ(ActivationMonitor::screenZone({10, 790}, frame), 5);
    EXPECT_EQ(ActivationMonitor::screenZone({990, 790}, frame), 6);
    EXPECT_EQ(ActivationMonitor::screenZone({10, 10}, frame), 9);
    EXPECT_EQ(ActivationMonitor::screenZone({990, 10}, frame), 10);
    EXPECT_EQ(ActivationMonitor::screenZone({500, 790}, frame), 4 + 16);
    EXPECT_EQ(ActivationMonitor::screenZone({390, 790}, frame), 4) << "left of w / 2.5";
    EXPECT_EQ(ActivationMonitor::screenZone({850, 790}, frame), 4) << "within 200 of the right";
    EXPECT_EQ(ActivationMonitor::screenZone({500, 770}, frame), 4) << "below the menu bar";
    EXPECT_EQ(ActivationMonitor::screenZone({5, 5}, QRectF()), 1 + 2 + 4 + 8) << "no screen";
}

class MenuBarTest : public ActivationHarness
{
protected:
    void SetUp() override { pointer.setLocation({1000, 1075}); }
};

TEST_F(MenuBarTest, AControlClickOrALongPressOpensTheMenuOncePerPress)
{
    QSignalSpy menu(&monitor, &ActivationMonitor::menuBarMenuRequested);
    press(VirtualKey::Control, 0.2);
    pointer.setButtonPressed(true);
    run(1.0);
    EXPECT_EQ(menu.count(), 1);
    pointer.setButtonPressed(false);
    keys.releaseAll();
    run(0.5);

    pointer.setButtonPressed(true);
    run(1.2);
    EXPECT_EQ(menu.count(), 1) << "not before 1.5 s";
    run(1.0);
    EXPECT_EQ(menu.count(), 2);
    run(3.0);
    EXPECT_EQ(menu.count(), 2);
    pointer.setButtonPressed(false);
    run(0.5);

    ActivationSettings settings;
    settings.controlClickInMenuBar = false;
    monitor.setSettings(settings);
    pointer.setButtonPressed(true);
    run(2.0);
    EXPECT_EQ(menu.count(), 2);
}

// A pointer source that hears the buttons (the X server's raw events) is asked for the location
// only on the ticks where a gesture needs it: idle ticks cost the server nothing.
TEST_F(MenuBarTest, WithHeardButtonsIdleTicksAskNoLocationAndTheGesturesStillWork)
{
    pointer.setHearsButtons(true);
    ActivationSettings settings;
    settings.shortCutsMouseActivated = 1;
    settings.shortCutsMouseMenu = 1; // top right
    settings.shortCutsMouseCommandKey = 1;
    monitor.setSettings(settings);
    QSignalSpy menu(&monitor, &ActivationMonitor::menuBarMenuRequested);
    run(10.0);
    EXPECT_EQ(pointer.locationQueries(), 0);

    pointer.setButtonPressed(true);
    press(VirtualKey::Control, 0.5);
    EXPECT_EQ(menu.count(), 1);
    pointer.setButtonPressed(false);
    keys.releaseAll();
    run(1.0);

    pointer.setLocation({1920 - 10, 1080 - 10});
    press(VirtualKey::Command, 0.5 + ActivationMonitor::TimerInterval);
    EXPECT_EQ(opened.count(), 1);
    keys.releaseAll();
    run(1.0);
    const int asked = pointer.locationQueries();
    EXPECT_GT(asked, 0);
    run(10.0);
    EXPECT_EQ(pointer.locationQueries(), asked) << "idle again";
}

class PeriodicWorkTest : public ActivationHarness
{
};

TEST_F(PeriodicWorkTest, ShortcutSettingsAreReadOnAReleaseAtTheirInterval)
{
    tap(VirtualKey::Shift, 0.5);
    EXPECT_EQ(workCount(Work::ReadShortcutsSettings), 0) << "not in the first 2 s";
    run(1.5);
    tap(VirtualKey::Shift, 0.5);
    EXPECT_EQ(workCount(Work::ReadShortcutsSettings), 1);
    run(10);
    tap(VirtualKey::Shift, 0.5);
    EXPECT_EQ(workCount(Work::ReadShortcutsSettings), 1) << "30 s while the manager is not running";
    run(20);
    mainAppLaunched = true;
    tap(VirtualKey::Shift, 0.5);
    EXPECT_EQ(workCount(Work::ReadShortcutsSettings), 2);
    run(2.0);
    tap(VirtualKey::Shift, 0.5);
    EXPECT_EQ(workCount(Work::ReadShortcutsSettings), 3) << "2 s while it runs";
}

TEST_F(PeriodicWorkTest, QuietSecondsInTheKeyWindowSelectTheSearchText)
{
    QSignalSpy select(&monitor, &ActivationMonitor::selectSearchTextRequested);
    windowVisible = true;
    windowIsKey = true;
    run(4.5);
    EXPECT_EQ(select.count(), 0);
    run(1.0);
    EXPECT_EQ(select.count(), 1);
    tap(VirtualKey::Shift, 2.0);
    EXPECT_EQ(select.count(), 1) << "typing restarts the count";
    run(4.0);
    EXPECT_EQ(select.count(), 2);
}

class ItemShortcutTest : public ActivationHarness
{
protected:
    void SetUp() override
    {
        monitor.itemShortcuts().updateListOfItemsWithShortcuts(
            {itemWithShortcut("Report.pdf", ItemRecord::KindFile, ControlOptionK),
             QVariantMap{{ItemRecord::KeyTitle, "No shortcut"}, {ItemRecord::KeyKind, 2}}},
            {itemWithShortcut("Editor", ItemRecord::KindApplication, ControlOptionK),
             itemWithShortcut("Terminal", ItemRecord::KindApplication,
                              KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, 17}))});
    }
    QStringList triggeredTitles() const
    {
        QStringList titles;
        for (const QList<QVariant> &arguments : items)
            titles.append(arguments.at(0).toMap().value(ItemRecord::KeyTitle).toString());
        return titles;
    }
};

TEST_F(ItemShortcutTest, EveryMatchingItemOpensOnceFilesFirstHoweverLongItIsHeld)
{
    EXPECT_EQ(monitor.itemShortcuts().listOfItemsWithShortcuts().size(), 3);
    keys.setMap(ControlOptionK);
    run(4.0);
    EXPECT_EQ(triggeredTitles(), (QStringList{"Report.pdf", "Editor"}));

    release(KeyK, 0.3);
    press(KeyK, 0.3);
    EXPECT_EQ(triggeredTitles().size(), 4) << "released and pressed again: opened again";

    keys.releaseAll();
    run(0.3);
    keys.setMap(KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, 17}));
    run(0.3);
    EXPECT_EQ(triggeredTitles().last(), QStringLiteral("Terminal"));
}

TEST_F(ItemShortcutTest, NothingOpensWithAMouseButtonDownOrForASuperset)
{
    pointer.setButtonPressed(true);
    keys.setMap(ControlOptionK);
    run(1.0);
    pointer.setButtonPressed(false);
    keys.releaseAll();
    run(0.3);
    keys.setMap(KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, KeyK, VirtualKey::Shift}));
    run(1.0);
    EXPECT_TRUE(items.isEmpty());
}

TEST_F(ItemShortcutTest, AShortcutRecordedWithCapsLockNeverMatches)
{
    KeyMap withCapsLock = ControlOptionK;
    withCapsLock.setKeyDown(VirtualKey::CapsLock);
    monitor.itemShortcuts().updateListOfItemsWithShortcuts(
        {itemWithShortcut("Locked", ItemRecord::KindFile, withCapsLock)}, {});
    keys.setMap(withCapsLock);
    run(1.0);
    EXPECT_TRUE(items.isEmpty());
}

TEST_F(ItemShortcutTest, ThePersonalCombinationAndAnItemOnTheSameKeysBothOpen)
{
    ActivationSettings settings;
    settings.shortCutsActivated = 1;
    settings.shortCutsKeyPersonalValues = 1;
    settings.shortCutsKeyPersonalValuesData = ControlOptionK;
    monitor.setSettings(settings);
    keys.setMap(ControlOptionK);
    run(0.5);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(triggeredTitles(), (QStringList{"Report.pdf", "Editor"}));
}

TEST(ItemShortcutsTest, MalformedShortcutsNeverMatchAndMenuItemsAreFiltered)
{
    ItemShortcuts shortcuts;
    const QVariantMap shortValue{{ItemRecord::KeyTitle, "Short"},
                                 {ItemRecord::KeyShortcut, QByteArray("\x01\x02", 2)}};
    shortcuts.updateListOfItemsWithShortcuts({shortValue}, {});
    EXPECT_EQ(shortcuts.listOfItemsWithShortcuts().size(), 1);
    EXPECT_TRUE(shortcuts.matching(KeyMap::ofKeys({8, 9})).isEmpty());
    EXPECT_TRUE(shortcuts.matching(KeyMap()).isEmpty());

    const QVariantMap fromMenu{{ItemRecord::KeyTitle, "a"}, {ItemRecord::KeyMadeFromMenu, 1}};
    const QVariantMap plain{{ItemRecord::KeyTitle, "b"}};
    EXPECT_EQ(ItemShortcuts::latestItemsFromPopupContents({plain, fromMenu, plain}),
              (QVariantList{fromMenu}));
}
