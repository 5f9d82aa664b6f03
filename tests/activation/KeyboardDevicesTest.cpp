#include "DaemonActivationStep.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "InputEventRecords.h"
#include "KeyboardDevicesChoice.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"
#include "platform/EvdevKeySource.h"
#include "platform/NotificationCenter.h"
#include "platform/PointerSource.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

class StillClock : public DaemonClock
{
public:
    double now() const override { return 800000000.0; }
};

} // namespace

// The agent in a Wayland session where the user chose to have the keyboards' devices read: the
// devices' records (a pipe stands in for one) go through the same key map and tap rules as the
// X server's keys, on the real keyboard thread.
class KeyboardDevicesTest : public ::testing::Test
{
protected:
    KeyboardDevicesTest()
    {
        auto display = std::make_unique<FakeKeyMapSource>();
        displayKeys = display.get();
        auto choice = std::make_unique<KeyboardDevicesChoice>(
            [this] {
                ++devicesOpened;
                if (!access)
                    return KeyMapSource::Creation{nullptr, QStringLiteral("no access"), {}};
                auto source =
                    std::make_unique<EvdevKeySource>(EvdevDeviceDiscovery(emptyFolder.path()));
                int ends[2] = {-1, -1};
                EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
                source->addDevice(ends[0], QStringLiteral("recorded keyboard"));
                keyboard = ends[1];
                return KeyMapSource::Creation{std::move(source), {}, {}};
            },
            [this] {
                auto again = std::make_unique<FakeKeyMapSource>();
                displayKeys = again.get();
                return KeyMapSource::Creation{std::move(again), {}, {}};
            });
        step = std::make_shared<DaemonActivationStep>(
            ActivationPlatform{std::move(display), std::make_unique<FakePointerSource>()},
            std::move(choice));
        DaemonController::Environment environment;
        environment.preferences = &preferences;
        environment.clock = &clock;
        environment.activation = step;
        environment.notifications = NotificationCenter::createLocalCenter();
        environment.applicationsFolder = applicationsFolder.path();
        environment.quitApplication = [] {};
        controller = std::make_unique<DaemonController>(std::move(environment));
        step->attach(*controller);
    }
    ~KeyboardDevicesTest() override
    {
        step->stop();
        if (keyboard >= 0)
            ::close(keyboard);
    }

    void choose(bool readDevices)
    {
        SharedPreferences manager;
        manager.setValue("ShortCutsActivated", 1); // the double tap of Super
        manager.setValue("ReadKeyboardDevices", readDevices ? 1 : 0);
        ASSERT_TRUE(manager.synchronize());
        controller->readMainSettings();
    }

    // Sends the records, then holds Shift until the keyboard thread has seen it, so that every
    // edge before it went through the rules and the main thread acted on what they found.
    void play(InputEventRecords &records)
    {
        records.key(KEY_LEFTSHIFT, 1);
        ASSERT_TRUE(records.writeTo(keyboard));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return step->monitor().currentKeyMap() == KeyMap::ofKeys({VirtualKey::Shift}); },
            10000));
        records.key(KEY_LEFTSHIFT, 0).pause(1.0);
        ASSERT_TRUE(records.writeTo(keyboard));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return step->monitor().currentKeyMap().isEmpty(); }, 10000));
        QCoreApplication::processEvents();
    }

    TemporaryHome home;
    QTemporaryDir applicationsFolder;
    QTemporaryDir emptyFolder;
    StillClock clock;
    SharedPreferences preferences{SharedPreferences::defaultPath()};
    std::shared_ptr<DaemonActivationStep> step;
    std::unique_ptr<DaemonController> controller;
    FakeKeyMapSource *displayKeys = nullptr;
    bool access = true;
    int devicesOpened = 0;
    int keyboard = -1;
};

TEST_F(KeyboardDevicesTest, TheDoubleTapIsHeardFromTheKeyboardsDevicesOnceChosen)
{
    choose(false);
    EXPECT_EQ(devicesOpened, 0) << "never read without the choice";
    choose(true);
    ASSERT_EQ(devicesOpened, 1);
    ASSERT_GE(keyboard, 0);
    step->start();
    QSignalSpy opened(&step->monitor(), &ActivationMonitor::openAccessWindowRequested);

    // Written in one batch and read at once: the kernel's times keep the taps apart.
    InputEventRecords records;
    records.tap(KEY_LEFTMETA).tap(KEY_LEFTMETA);
    play(records);
    EXPECT_EQ(opened.count(), 1);

    // Another key between the two taps: no double tap.
    records.tap(KEY_LEFTMETA).tap(KEY_A).tap(KEY_LEFTMETA);
    play(records);
    EXPECT_EQ(opened.count(), 1);

    // The keyboard's autorepeat while Super is down is no second press.
    records.key(KEY_LEFTMETA, 1).key(KEY_LEFTMETA, 2, 0.03).key(KEY_LEFTMETA, 2, 0.03);
    records.key(KEY_LEFTMETA, 0).tap(KEY_LEFTMETA);
    play(records);
    EXPECT_EQ(opened.count(), 2);

    // Taps too far apart, by the kernel's clock, though read together.
    records.tap(KEY_LEFTMETA).pause(0.7).tap(KEY_LEFTMETA);
    play(records);
    EXPECT_EQ(opened.count(), 2);

    // The key map is the X server's: Super and A held read as Command and A.
    records.frame({{KEY_LEFTMETA, 1}, {KEY_A, 1}});
    ASSERT_TRUE(records.writeTo(keyboard));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return step->monitor().currentKeyMap() == KeyMap::ofKeys({VirtualKey::Command, 0});
        },
        10000));
    records.frame({{KEY_LEFTMETA, 0}, {KEY_A, 0}});
    ASSERT_TRUE(records.writeTo(keyboard));
    EXPECT_TRUE(QTest::qWaitFor([&] { return step->monitor().currentKeyMap().isEmpty(); }, 10000));

    // Taken back: the display server's keys again, and the devices closed.
    choose(false);
    EXPECT_TRUE(step->monitor().isKeyboardThreadRunning());
    displayKeys->press(VirtualKey::Option);
    EXPECT_TRUE(step->monitor().optionKeyPressed());
}

TEST_F(KeyboardDevicesTest, WithoutAccessTheChoiceChangesNothing)
{
    access = false;
    CapturedLog log;
    choose(true);
    EXPECT_EQ(devicesOpened, 1);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().contains("no access"));
    displayKeys->press(VirtualKey::Option);
    EXPECT_TRUE(step->monitor().optionKeyPressed()) << "the display server's keys, as before";
    choose(true);
    EXPECT_EQ(devicesOpened, 1) << "tried once per choice, not at every reading";
}
