#include "ActivationMonitor.h"
#include "ActivationPlatform.h"
#include "ItemRecord.h"
#include "TestEnvironment.h"
#include "XTestKeyboard.h"
#include "platform/KeyMapSource.h"
#include "platform/PointerSource.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// Against a real X server (scripts/with-session.sh), keys driven through XTest, by xdotool or
// in one batch.
class X11ActivationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X display: run under scripts/with-session.sh";
        keys = KeyMapSource::createX11();
        pointer = PointerSource::createX11();
        ASSERT_TRUE(keys.source) << keys.reason.toStdString();
        ASSERT_TRUE(pointer.source) << pointer.reason.toStdString();
        ASSERT_TRUE(fast.isOpen());
    }

    static void xdotool(const QStringList &arguments)
    {
        const ProgramRun run = runProgram(QStringLiteral("xdotool"), arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }

    // A monitor with its real keyboard thread and the controller's timer.
    void startMonitor(const ActivationSettings &settings)
    {
        monitor =
            std::make_unique<ActivationMonitor>(keys.source.get(), pointer.source.get(), clock);
        monitor->setSettings(settings);
        opened = std::make_unique<QSignalSpy>(monitor.get(),
                                              &ActivationMonitor::openAccessWindowRequested);
        monitor->start(clock.now());
        timer.setInterval(int(ActivationMonitor::TimerInterval * 1000));
        QObject::connect(&timer, &QTimer::timeout, monitor.get(),
                         [this] { monitor->timerTick(clock.now()); });
        timer.start();
    }

    static ActivationSettings doubleTapOfCommand()
    {
        ActivationSettings settings;
        settings.shortCutsActivated = 1;
        return settings;
    }

    // Runs xdotool in the background while the event loop turns.
    static void drive(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral("xdotool"), arguments);
        ASSERT_TRUE(process.waitForStarted());
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    }

    static QStringList doubleTap(const QString &gap)
    {
        return {"keydown", "super",   "sleep", gap,     "keyup", "super", "sleep",
                gap,       "keydown", "super", "sleep", gap,     "keyup", "super"};
    }

    void fastDoubleTap()
    {
        fast.send({{"Super_L", true}, {"Super_L", false}, {"Super_L", true}, {"Super_L", false}});
    }

    // Holds Shift until the keyboard thread has seen it, so every edge before it has been
    // through the gesture rules, and lets the main thread act on what they found.
    void settle()
    {
        fast.send({{"Shift_L", true}});
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return monitor->currentKeyMap() == KeyMap::ofKeys({VirtualKey::Shift}); },
            10000));
        fast.send({{"Shift_L", false}});
        EXPECT_TRUE(QTest::qWaitFor([&] { return monitor->currentKeyMap().isEmpty(); }, 10000));
        QCoreApplication::processEvents();
    }

    bool waitForOpenings(int count)
    {
        return QTest::qWaitFor([&] { return opened->count() >= count; }, 5000)
            && opened->count() == count;
    }

    KeyMapSource::Creation keys;
    PointerSource::Creation pointer;
    XTestKeyboard fast;
    SystemActivationClock clock;
    std::unique_ptr<ActivationMonitor> monitor;
    std::unique_ptr<QSignalSpy> opened;
    QTimer timer;
};

TEST_F(X11ActivationTest, SuperReadsBackAsCommand)
{
    xdotool({"keydown", "super"});
    const KeyMap down = keys.source->sample();
    xdotool({"keyup", "super"});
    EXPECT_EQ(down, KeyMap::ofKeys({VirtualKey::Command}));
    EXPECT_TRUE(keys.source->sample().isEmpty());

    xdotool({"keydown", "ctrl+alt+shift+a"});
    const KeyMap combination = keys.source->sample();
    xdotool({"keyup", "ctrl+alt+shift+a"});
    EXPECT_EQ(combination,
              KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, VirtualKey::Shift, 0}));
}

TEST_F(X11ActivationTest, PointerAndScreenAreMeasuredFromTheBottomLeft)
{
    const QRectF frame = pointer.source->mainScreenFrame();
    ASSERT_GT(frame.height(), 100);
    xdotool({"mousemove", "15", "25"});
    const QPointF location = pointer.source->location();
    EXPECT_EQ(location.x(), 15);
    EXPECT_EQ(location.y(), frame.height() - 25);
    xdotool({"mousedown", "1"});
    EXPECT_TRUE(pointer.source->buttonPressed());
    xdotool({"mouseup", "1"});
    EXPECT_FALSE(pointer.source->buttonPressed());
}

TEST_F(X11ActivationTest, ButtonChangesAreHeardWithoutAskingTheServer)
{
    ASSERT_TRUE(pointer.source->hearsButtons());
    EXPECT_FALSE(pointer.source->lastHeardButtonPressed());
    xdotool({"mousedown", "1"});
    EXPECT_TRUE(QTest::qWaitFor([this] { return pointer.source->lastHeardButtonPressed(); }));
    xdotool({"mouseup", "1"});
    EXPECT_TRUE(QTest::qWaitFor([this] { return !pointer.source->lastHeardButtonPressed(); }));
    xdotool({"mousedown", "3"});
    EXPECT_TRUE(QTest::qWaitFor([this] { return pointer.source->lastHeardButtonPressed(); }));
    xdotool({"mouseup", "3"});
    EXPECT_TRUE(QTest::qWaitFor([this] { return !pointer.source->lastHeardButtonPressed(); }));
    EXPECT_FALSE(pointer.source->buttonPressed());
    // A right click on the desktop opens the window manager's menu, which then holds the keyboard:
    // the next test's typing would go into it.
    xdotool({"key", "Escape"});
}

TEST_F(X11ActivationTest, EveryKeyChangeIsHeardSoAnyDoubleTapOpensAndSlowTapsDoNot)
{
    ASSERT_TRUE(keys.source->hearsChanges()) << keys.note.toStdString();
    EXPECT_TRUE(keys.note.isEmpty());
    startMonitor(doubleTapOfCommand());

    // Four edges within a millisecond: only the server's report of each one can count them.
    fastDoubleTap();
    EXPECT_TRUE(waitForOpenings(1));
    // The same edges at a typist's pace, on a machine as loaded as it may be.
    drive(doubleTap("0.1"));
    EXPECT_TRUE(waitForOpenings(2));

    // Each edge 0.7 s after the one before: past every deadline, at the server's own times.
    drive(doubleTap("0.7"));
    settle();
    EXPECT_EQ(opened->count(), 2);
    // A held Command is no tap, however fast the taps around it.
    fast.send({{"Super_L", true}, {"Shift_L", true}, {"Shift_L", false}, {"Super_L", false}});
    settle();
    EXPECT_EQ(opened->count(), 2);
}

TEST_F(X11ActivationTest, WithoutXInput2TheKeyboardIsSampledAndSaysWhy)
{
    keys = KeyMapSource::createX11(KeyMapSource::Feed::Sampling);
    ASSERT_TRUE(keys.source);
    EXPECT_FALSE(keys.source->hearsChanges());
    EXPECT_TRUE(keys.note.contains(QStringLiteral("sampled"))) << keys.note.toStdString();

    // The variable switches the agent's own source over, and the agent says so once.
    {
        qputenv("KORVALE_KEYMAP_SAMPLING", "1");
        CapturedLog log;
        const ActivationPlatform platform = ActivationPlatform::create();
        qunsetenv("KORVALE_KEYMAP_SAMPLING");
        ASSERT_TRUE(platform.keys);
        EXPECT_FALSE(platform.keys->hearsChanges());
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines().first().contains(QStringLiteral("KORVALE_KEYMAP_SAMPLING")));
    }
    {
        CapturedLog log;
        const ActivationPlatform platform = ActivationPlatform::create();
        ASSERT_TRUE(platform.keys);
        EXPECT_TRUE(platform.keys->hearsChanges());
        EXPECT_TRUE(log.lines().isEmpty());
    }

    startMonitor(doubleTapOfCommand());
    // Sampled every 0.03 s, a double tap within a millisecond is one state at most.
    fastDoubleTap();
    settle();
    EXPECT_EQ(opened->count(), 0);
    // Each edge held until a sample has seen it: the taps sampling can follow, however loaded
    // the machine (a fixed hold can pass unseen while the thread waits for a processor).
    const KeyMap command = KeyMap::ofKeys({VirtualKey::Command});
    for (int tap = 0; tap < 2; ++tap) {
        fast.send({{"Super_L", true}});
        ASSERT_TRUE(QTest::qWaitFor([&] { return monitor->currentKeyMap() == command; }, 10000));
        fast.send({{"Super_L", false}});
        ASSERT_TRUE(QTest::qWaitFor([&] { return monitor->currentKeyMap().isEmpty(); }, 10000));
    }
    EXPECT_TRUE(waitForOpenings(1));
}

TEST_F(X11ActivationTest, AnItemShortcutOpensItsItemOnceWhileHeld)
{
    startMonitor({});
    const KeyMap shortcut = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, 40}); // K
    monitor->itemShortcuts().updateListOfItemsWithShortcuts(
        {},
        {QVariantMap{{ItemRecord::KeyTitle, "Editor"},
                     {ItemRecord::KeyKind, 1},
                     {ItemRecord::KeyShortcut, shortcut.toData()}}});
    QSignalSpy triggered(monitor.get(), &ActivationMonitor::itemShortcutTriggered);

    drive({"keydown", "ctrl+alt+k", "sleep", "1.5", "keyup", "ctrl+alt+k"});
    settle();
    EXPECT_EQ(triggered.count(), 1);
}
