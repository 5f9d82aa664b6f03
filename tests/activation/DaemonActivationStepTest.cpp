#include "DaemonActivationStep.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"
#include "platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SteppedClock : public DaemonClock
{
public:
    double now() const override { return mNow; }
    double mNow = 800000000.0;
};

class CountingHooks : public DaemonHooks
{
public:
    int closeAccessWindowCount = 0;
    void closeAccessWindow() override { ++closeAccessWindowCount; }
};

} // namespace

// The monitor inside the real controller: its ticks, its schedule and its settings reading.
class DaemonActivationStepTest : public ::testing::Test
{
protected:
    DaemonActivationStepTest()
    {
        auto keySource = std::make_unique<FakeKeyMapSource>();
        auto pointerSource = std::make_unique<FakePointerSource>();
        keys = keySource.get();
        pointer = pointerSource.get();
        step = std::make_shared<DaemonActivationStep>(
            ActivationPlatform{std::move(keySource), std::move(pointerSource)});

        DaemonController::Environment environment;
        environment.preferences = &preferences;
        environment.clock = &clock;
        environment.hooks = hooks;
        environment.activation = step;
        environment.notifications = NotificationCenter::createLocalCenter();
        environment.applicationsFolder = applicationsFolder.path();
        environment.quitApplication = [] {};
        controller = std::make_unique<DaemonController>(std::move(environment));
        step->attach(*controller);
    }

    void writePreferences(const QVariantMap &values)
    {
        SharedPreferences manager;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            manager.setValue(it.key(), it.value());
        ASSERT_TRUE(manager.synchronize());
    }

    // Keyboard rounds every 0.03 s and the controller's tick every 1/7 s.
    void run(double seconds)
    {
        const double end = clock.mNow + seconds;
        while (nextRound <= end || nextTick <= end) {
            if (nextRound <= nextTick) {
                clock.mNow = nextRound;
                nextRound += step->monitor().keyboardRound(nextRound);
            } else {
                clock.mNow = nextTick;
                controller->timerMethod();
                nextTick += 1.0 / 7.0;
            }
        }
        clock.mNow = end;
        QCoreApplication::processEvents();
    }
    void tap(int keyCode)
    {
        keys->press(keyCode);
        run(0.15);
        keys->release(keyCode);
        run(0.15);
    }

    TemporaryHome home;
    QTemporaryDir applicationsFolder;
    SteppedClock clock;
    SharedPreferences preferences{SharedPreferences::defaultPath()};
    std::shared_ptr<CountingHooks> hooks = std::make_shared<CountingHooks>();
    FakeKeyMapSource *keys = nullptr;
    FakePointerSource *pointer = nullptr;
    std::shared_ptr<DaemonActivationStep> step;
    std::unique_ptr<DaemonController> controller;
    double nextRound = clock.mNow;
    double nextTick = clock.mNow;
};

TEST_F(DaemonActivationStepTest, TheControllersTickRecognisesTheDoubleTapAndToggles)
{
    writePreferences({{"ShortCutsActivated", 1}, {"ShortCutsMenu", 2}});
    controller->awakeFromNib();
    EXPECT_EQ(step->activationSettings().shortCutsActivated, 1);
    EXPECT_EQ(step->monitor().definedKeyMap(), KeyMap::ofKeys({VirtualKey::Control}));

    QSignalSpy opened(&step->monitor(), &ActivationMonitor::openAccessWindowRequested);
    tap(VirtualKey::Control);
    tap(VirtualKey::Control);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_GT(controller->schedule().mKeyMouseChanges, 0) << "changes counted in the controller";

    controller->flags().mWindowVisible = true;
    run(1.0);
    tap(VirtualKey::Control);
    tap(VirtualKey::Control);
    EXPECT_EQ(hooks->closeAccessWindowCount, 1);
    EXPECT_EQ(opened.count(), 1);
}

TEST_F(DaemonActivationStepTest, AKeyReleaseRereadsTheShortcutSettingsOnTheControllersSchedule)
{
    controller->awakeFromNib();
    run(3.0); // past the first 2 s, and the first periodic check
    EXPECT_EQ(step->activationSettings().shortCutsMenu, 0);
    writePreferences({{"ShortCutsActivated", 1}, {"ShortCutsMenu", 1}});
    keys->press(VirtualKey::Shift);
    run(0.5); // rounds are 0.3 s apart with tap recognition off
    EXPECT_EQ(step->activationSettings().shortCutsMenu, 0);
    keys->release(VirtualKey::Shift);
    run(0.5);
    EXPECT_EQ(step->activationSettings().shortCutsMenu, 1);
    EXPECT_GT(controller->schedule().mNextShortCutsSettingsUpdate - clock.now(), 20)
        << "30 s while the manager is not running";
}

// The agent reads its settings once; the gestures take theirs from that reading, so a value
// written as text means the same to both, and a value that means nothing is off for both.
TEST_F(DaemonActivationStepTest, TheGesturesFollowTheAgentsOneReadingOfItsSettings)
{
    writePreferences({{"ShortCutsActivated", "1"},
                      {"ShortCutsMenu", " 3 "},
                      {"RevealCursor", 2.0},
                      {"ControlClickInMenuBar", "0"},
                      {"ShortCutsMouseActivated", "on"},
                      {"ShortCutsKeyPersonalValues", 1},
                      {"ShortCutsKeyPersonalValuesData", QByteArray(8, '\xff')}});
    CapturedLog log;
    controller->awakeFromNib();
    const DaemonSettings &agent = controller->settings();
    const ActivationSettings &gestures = step->activationSettings();
    EXPECT_EQ(agent.mShortCutsActivated, 1);
    EXPECT_EQ(gestures.shortCutsActivated, 1);
    EXPECT_EQ(gestures.shortCutsMenu, 3);
    EXPECT_EQ(gestures.revealCursor, 2);
    EXPECT_FALSE(gestures.controlClickInMenuBar);
    EXPECT_EQ(agent.mShortCutsMouseActivated, 0);
    EXPECT_EQ(gestures.shortCutsMouseActivated, 0);
    // Personal data of another length counts as absent: the chosen modifier is the key.
    EXPECT_FALSE(gestures.shortCutsKeyPersonalValuesData.has_value());
    EXPECT_EQ(step->monitor().definedKeyMap(), KeyMap::ofKeys({VirtualKey::Shift}));
    EXPECT_EQ(log.lines().size(), 2) << log.lines().join('\n').toStdString();

    // The double tap of the chosen key opens the window.
    QSignalSpy opened(&step->monitor(), &ActivationMonitor::openAccessWindowRequested);
    writePreferences({{"ShortCutsKeyPersonalValues", 0}});
    controller->readMainSettings();
    tap(VirtualKey::Shift);
    tap(VirtualKey::Shift);
    EXPECT_EQ(opened.count(), 1);
}

// The real timer and keyboard thread: nothing held and no window up, the timer slows; the first
// key, a button or the access window brings it back to 7 ticks a second; where a button change
// could go unheard, it never slows.
TEST_F(DaemonActivationStepTest, TheQuietAgentsTimerSlowsAndTheFirstKeyButtonOrWindowWakesIt)
{
    pointer->setHearsButtons(true);
    controller->awakeFromNib();
    controller->applicationDidFinishLaunching();
    int ticks = 0;
    QObject::connect(controller.get(), &DaemonController::timerTicked, [&ticks] { ++ticks; });
    const auto slows = [this] {
        return QTest::qWaitFor([this] { return controller->isTimerSlow(); }, 3000);
    };
    const auto wakes = [this] {
        return QTest::qWaitFor([this] { return !controller->isTimerSlow(); }, 1000);
    };
    // More ticks than the quiet run that slows the timer.
    const auto tenTicksPass = [&ticks] {
        const int until = ticks + 10;
        return QTest::qWaitFor([&] { return ticks >= until; }, 5000);
    };
    ASSERT_TRUE(slows());

    const int changes = controller->schedule().mKeyMouseChanges;
    keys->press(VirtualKey::Shift);
    EXPECT_TRUE(wakes());
    ASSERT_TRUE(tenTicksPass());
    EXPECT_GT(controller->schedule().mKeyMouseChanges, changes) << "the woken tick saw the key";
    EXPECT_FALSE(controller->isTimerSlow()) << "a key held keeps the pace";
    keys->release(VirtualKey::Shift);
    ASSERT_TRUE(slows());

    pointer->setButtonPressed(true);
    EXPECT_TRUE(wakes());
    ASSERT_TRUE(tenTicksPass());
    EXPECT_FALSE(controller->isTimerSlow()) << "a button held keeps the pace";
    pointer->setButtonPressed(false);
    ASSERT_TRUE(slows());

    // As the access window does when it comes up.
    controller->flags().mWindowVisible = true;
    controller->wakeTimer();
    EXPECT_FALSE(controller->isTimerSlow());
    ASSERT_TRUE(tenTicksPass());
    EXPECT_FALSE(controller->isTimerSlow()) << "the window's quiet time is counted in ticks";
    controller->flags().mWindowVisible = false;
    ASSERT_TRUE(slows());

    // A pointer asked rather than heard (no XInput 2.1): a click would go unnoticed.
    pointer->setHearsButtons(false);
    controller->wakeTimer();
    ASSERT_TRUE(tenTicksPass());
    EXPECT_FALSE(controller->isTimerSlow());
    controller->applicationWillTerminate();
}
