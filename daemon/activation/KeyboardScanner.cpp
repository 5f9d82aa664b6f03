#include "KeyboardScanner.h"

double KeyboardScanner::round(double now, const KeyMap &sampled, const Settings &settings,
                              Output &output)
{
    // Keys already held when the agent starts count from then on.
    if (mLastTimeNoKeyHeld < 0)
        mLastTimeNoKeyHeld = now;
    if (now >= mDeadline) {
        mTapCounter = 0;
        mRevealState = 0;
    }

    const KeyMap map = sampled.withoutCapsLock();
    output.publishKeyMap(map);
    const bool held = !map.isEmpty();
    const bool changed = !(map == mPreviousThreadMacKeyMap);

    if (!held) {
        if (mOpenedAutomatically && output.isKeyDetectionVisible()) {
            output.closeKeyDetection();
            mOpenedAutomatically = false;
        }
        mLastTimeNoKeyHeld = now;
    } else {
        if (now - mLastTimeNoKeyHeld > AutomaticDetectionDelay && settings.showKeysDetectionAuto
            && !output.isKeyDetectionVisible()) {
            output.showKeyDetectionAutomatically();
            mOpenedAutomatically = true;
        }
        if (changed)
            recogniseReveal(now, map, settings, output);
    }

    double pause = IdleRoundPause;
    if (settings.tapRecognition) {
        recogniseTap(now, map, held, settings, output);
        pause = RoundPause;
        if (mDisplayCountdown == 0) {
            mDisplayCountdown = 9;
            if (output.isKeyDetectionVisible())
                output.refreshKeyDetection(map);
        } else {
            --mDisplayCountdown;
        }
    } else if (output.isKeyDetectionVisible()) {
        output.refreshKeyDetection(map);
    }

    if (changed) {
        if (output.isKeyDetectionVisible())
            output.keyDetectionMapChanged(map);
        mPreviousThreadMacKeyMap = map;
    }
    return pause;
}

void KeyboardScanner::recogniseReveal(double now, const KeyMap &map, const Settings &settings,
                                      Output &output)
{
    if (!settings.revealCursorSet)
        return;
    if (settings.revealCursorKeyCode < 0 || map.bitCount() != 1
        || !map.isKeyDown(settings.revealCursorKeyCode)) {
        mRevealState = 0;
        return;
    }
    if (mRevealState == 0) {
        mDeadline = now + TapInterval;
        mRevealState = 1;
    } else if (mRevealState == 1) {
        output.revealCursor();
        mRevealState = 2;
    }
}

void KeyboardScanner::recogniseTap(double now, const KeyMap &map, bool held,
                                   const Settings &settings, Output &output)
{
    if (held) {
        if (!(map == settings.definedKeyMap) || output.mouseButtonPressed()) {
            mTapCounter = 0;
            return;
        }
        // A press is the key going down alone from an idle keyboard. Counting the key while it
        // stays down would turn a long hold into a fresh press once the deadline passes, and
        // the key left over from a combination (Command after Command-C) is no tap either.
        if (!mPreviousThreadMacKeyMap.isEmpty())
            return;
        if (mTapCounter % 2 == 0) {
            ++mTapCounter;
            mDeadline = now + TapInterval;
        }
        return;
    }
    if (mTapCounter % 2 == 1) {
        if (mTapCounter >= settings.numPressed) {
            output.tapSequenceCompleted();
            mTapCounter = 0;
        } else {
            ++mTapCounter;
            mDeadline = now + TapInterval;
        }
    }
}
