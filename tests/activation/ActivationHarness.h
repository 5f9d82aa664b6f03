#pragma once

#include "ActivationMonitor.h"
#include "platform/KeyMapSource.h"
#include "platform/PointerSource.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>

// Drives both loops of an ActivationMonitor on a fake clock, the keyboard round every 0.03 s
// and the timer tick every 1/7 s, as the real thread and timer interleave them.
class ActivationHarness : public ::testing::Test
{
protected:
    static constexpr double Start = 800000000.0;

    ActivationHarness()
        : clock(Start)
        , monitor(&keys, &pointer, clock)
        , opened(&monitor, &ActivationMonitor::openAccessWindowRequested)
        , closed(&monitor, &ActivationMonitor::closeAccessWindowRequested)
        , work(&monitor, &ActivationMonitor::periodicWorkDue)
        , items(&monitor, &ActivationMonitor::itemShortcutTriggered)
    {
        pointer.setMainScreenFrame({0, 0, 1920, 1080});
        pointer.setLocation({900, 500});
        monitor.setAgentQueries({[this] { return windowVisible; }, [this] { return windowIsKey; },
                                 [this] { return mainAppLaunched; }});
        monitor.start(Start, false);
        mNextRound = Start;
        mNextTick = Start + ActivationMonitor::TimerInterval;
    }

    // Runs both loops until `seconds` have passed.
    void run(double seconds)
    {
        const double end = clock.now() + seconds;
        for (;;) {
            const double next = std::min(mNextRound, mNextTick);
            if (next > end + 1e-9)
                break;
            clock.set(next);
            if (mNextRound <= mNextTick) {
                mNextRound = next + monitor.keyboardRound(next);
            } else {
                monitor.timerTick(next);
                mNextTick = next + ActivationMonitor::TimerInterval;
            }
        }
        clock.set(end);
    }

    // Moves the clock without running the loops in between, as a suspended machine would.
    void jumpTo(double time)
    {
        clock.set(time);
        mNextRound = time;
        mNextTick = time;
    }

    void press(int keyCode, double thenWait)
    {
        keys.press(keyCode);
        run(thenWait);
    }
    void release(int keyCode, double thenWait)
    {
        keys.release(keyCode);
        run(thenWait);
    }
    // Down and up of one key with `gap` seconds between the edges and after the last one.
    void tap(int keyCode, double gap)
    {
        press(keyCode, gap);
        release(keyCode, gap);
    }

    int workCount(ActivationMonitor::PeriodicWork kind) const
    {
        int count = 0;
        for (const QList<QVariant> &arguments : work) {
            if (arguments.at(0).value<ActivationMonitor::PeriodicWork>() == kind)
                ++count;
        }
        return count;
    }

    ActivationSettings doubleTapSettings(int menu = 0, int repetition = 0) const
    {
        ActivationSettings settings;
        settings.shortCutsActivated = 1;
        settings.shortCutsMenu = menu;
        settings.shortCutsMenuRepetition = repetition;
        return settings;
    }

    FakeKeyMapSource keys;
    FakePointerSource pointer;
    FakeActivationClock clock;
    ActivationMonitor monitor;
    QSignalSpy opened;
    QSignalSpy closed;
    QSignalSpy work;
    QSignalSpy items;
    bool windowVisible = false;
    bool windowIsKey = false;
    bool mainAppLaunched = false;

private:
    double mNextRound = 0;
    double mNextTick = 0;
};
