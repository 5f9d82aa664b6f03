#include "ActivationHarness.h"
#include "KeyDetectionWindow.h"

using Work = ActivationMonitor::PeriodicWork;

class TapGestureTest : public ActivationHarness
{
protected:
    void SetUp() override { monitor.setSettings(doubleTapSettings()); }
};

TEST_F(TapGestureTest, DoubleTapOpensAtTheSecondReleaseAndTogglesAnOpenWindow)
{
    tap(VirtualKey::Command, 0.2);
    press(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 0) << "nothing before the second release";
    release(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(closed.count(), 0);

    windowVisible = true;
    run(1.0);
    tap(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(opened.count(), 1);
}

TEST_F(TapGestureTest, APauseOfSixTenthsResetsAndAThirdTapStartsAFreshSequence)
{
    tap(VirtualKey::Command, 0.2);
    run(0.4); // 0.6 s between the first release and the second press
    tap(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 0);
    tap(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 1) << "the second and third taps make a double tap of their own";
}

TEST_F(TapGestureTest, AHoldOfSevenTenthsFollowedByOneTapDoesNothing)
{
    press(VirtualKey::Command, 0.7);
    release(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    run(1.0);
    EXPECT_EQ(opened.count(), 0);
}

TEST_F(TapGestureTest, AnotherKeyOrAMouseButtonDuringATapCancelsTheSequence)
{
    press(VirtualKey::Command, 0.1);
    press(VirtualKey::Shift, 0.1);
    release(VirtualKey::Shift, 0.1);
    release(VirtualKey::Command, 0.1);
    tap(VirtualKey::Command, 0.1);
    run(1.0);
    EXPECT_EQ(opened.count(), 0) << "Shift during the tap of Command";

    press(VirtualKey::Command, 0.1);
    pointer.setButtonPressed(true);
    run(0.1);
    pointer.setButtonPressed(false);
    release(VirtualKey::Command, 0.1);
    tap(VirtualKey::Command, 0.1);
    run(1.0);
    EXPECT_EQ(opened.count(), 0) << "a click during the tap";

    // Command left over from Command-C is no tap either.
    keys.setMap(KeyMap::ofKeys({VirtualKey::Command, 8}));
    run(0.1);
    release(8, 0.1);
    release(VirtualKey::Command, 0.1);
    tap(VirtualKey::Command, 0.1);
    run(1.0);
    EXPECT_EQ(opened.count(), 0) << "Command-C, then one tap";
}

TEST_F(TapGestureTest, OptionIsSampledAtOnce)
{
    EXPECT_FALSE(monitor.optionKeyPressed());
    keys.press(VirtualKey::Option);
    EXPECT_TRUE(monitor.optionKeyPressed()) << "without waiting for the keyboard thread";
    keys.setMap(KeyMap::ofKeys({VirtualKey::RightOption}));
    EXPECT_FALSE(monitor.optionKeyPressed());
}

TEST_F(TapGestureTest, ALockedCapsLockIsIgnored)
{
    press(VirtualKey::CapsLock, 0.2);
    tap(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_FALSE(monitor.currentKeyMap().isKeyDown(VirtualKey::CapsLock));
}

TEST_F(TapGestureTest, RepetitionOneNeedsThreeTaps)
{
    monitor.setSettings(doubleTapSettings(0, 1));
    tap(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 0);
    run(1.0);
    tap(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 1);
}

TEST_F(TapGestureTest, TheChosenModifierIsTheOneCounted)
{
    monitor.setSettings(doubleTapSettings(1)); // Option
    tap(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 0);
    tap(VirtualKey::Option, 0.2);
    tap(VirtualKey::Option, 0.2);
    EXPECT_EQ(opened.count(), 1);

    monitor.setSettings(doubleTapSettings(7)); // no such modifier
    tap(VirtualKey::Option, 0.2);
    tap(VirtualKey::Option, 0.2);
    EXPECT_EQ(opened.count(), 1);
}

TEST_F(TapGestureTest, TapsAreIgnoredWhenActivationIsOffOrThePersonalCombinationIsChosen)
{
    ActivationSettings off = doubleTapSettings();
    off.shortCutsActivated = 0;
    monitor.setSettings(off);
    tap(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 0);

    ActivationSettings personal = doubleTapSettings();
    personal.shortCutsKeyPersonalValues = 1;
    personal.shortCutsKeyPersonalValuesData = KeyMap::ofKeys({VirtualKey::Control, 40});
    monitor.setSettings(personal);
    tap(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    EXPECT_EQ(opened.count(), 0);
}

TEST_F(TapGestureTest, TwoPressesOfTheRevealModifierHighlightThePointerOnce)
{
    QSignalSpy revealed(&monitor, &ActivationMonitor::revealCursorRequested);
    ActivationSettings settings = doubleTapSettings();
    settings.revealCursor = 2; // Option
    monitor.setSettings(settings);

    tap(VirtualKey::Option, 0.1);
    tap(VirtualKey::Option, 0.1);
    EXPECT_EQ(revealed.count(), 1);
    press(VirtualKey::Option, 0.1); // third press inside the same half second
    release(VirtualKey::Option, 0.1);
    EXPECT_EQ(revealed.count(), 1);

    run(1.0);
    tap(VirtualKey::Option, 0.1);
    tap(VirtualKey::Option, 0.1);
    EXPECT_EQ(revealed.count(), 2);

    // Option with another key is no reveal press.
    run(1.0);
    keys.setMap(KeyMap::ofKeys({VirtualKey::Option, VirtualKey::Shift}));
    run(0.1);
    keys.releaseAll();
    run(0.1);
    tap(VirtualKey::Option, 0.1);
    EXPECT_EQ(revealed.count(), 2);
}

TEST_F(TapGestureTest, KeysHeldOverTenSecondsShowTheKeyDetectionWindowUntilReleased)
{
    press(VirtualKey::Shift, 9.5);
    EXPECT_FALSE(monitor.isKeyDetectionWindowVisible());
    run(1.0);
    ASSERT_TRUE(monitor.isKeyDetectionWindowVisible());
    run(0.5);
    EXPECT_EQ(monitor.keyDetectionWindow()->informationText(), QStringLiteral("Shift"));
    release(VirtualKey::Shift, 0.1);
    EXPECT_FALSE(monitor.isKeyDetectionWindowVisible());

    ActivationSettings settings = doubleTapSettings();
    settings.showKeysDetectionAuto = false;
    monitor.setSettings(settings);
    press(VirtualKey::Shift, 11.0);
    EXPECT_FALSE(monitor.isKeyDetectionWindowVisible());
}

TEST_F(TapGestureTest, AWindowOpenedByTheUserStaysOpenWhenKeysAreReleased)
{
    QSignalSpy yes(&monitor, &ActivationMonitor::keyDetectionYesRequested);
    monitor.showKeyDetectionWindow();
    tap(VirtualKey::Command, 0.2);
    tap(VirtualKey::Command, 0.2);
    EXPECT_TRUE(monitor.isKeyDetectionWindowVisible());
    EXPECT_EQ(yes.count(), 1);
    EXPECT_EQ(opened.count(), 1);
}
