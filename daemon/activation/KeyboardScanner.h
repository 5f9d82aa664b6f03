#pragma once

#include "KeyMap.h"

// One round of the keyboard thread: what a fresh key map (a change the source heard, at its
// own time, or a sample) means for the tap sequence, the pointer-reveal gesture and the
// key-detection window. The state lives here and
// is touched by the keyboard thread only; a round allocates nothing (the outputs that do, such
// as the key-detection display, run only while that window is shown).
class KeyboardScanner
{
public:
    static constexpr double TapInterval = 0.5;
    static constexpr double RoundPause = 0.03;
    static constexpr double IdleRoundPause = 0.3;
    static constexpr double AutomaticDetectionDelay = 10.0;

    // The settings a round needs, copied whole from the main thread.
    struct Settings {
        bool tapRecognition = false;
        KeyMap definedKeyMap;
        int numPressed = 3;
        int revealCursorKeyCode = -1; // -1: no reveal gesture
        bool revealCursorSet = false; // "RevealCursor" non-zero, even if out of range
        bool showKeysDetectionAuto = true;
    };

    class Output
    {
    public:
        virtual ~Output() = default;
        virtual void publishKeyMap(const KeyMap &map) = 0;
        // Asked only while the activation key is down alone: a round trip to the X server.
        virtual bool mouseButtonPressed() = 0;
        virtual void tapSequenceCompleted() = 0;
        virtual void revealCursor() = 0;
        virtual bool isKeyDetectionVisible() const = 0;
        virtual void showKeyDetectionAutomatically() = 0;
        virtual void closeKeyDetection() = 0;
        virtual void refreshKeyDetection(const KeyMap &map) = 0;
        virtual void keyDetectionMapChanged(const KeyMap &map) = 0;
    };

    // Returns the pause before the next round.
    double round(double now, const KeyMap &sampled, const Settings &settings, Output &output);

    int tapCounter() const { return mTapCounter; }

private:
    void recogniseReveal(double now, const KeyMap &map, const Settings &settings, Output &output);
    void recogniseTap(double now, const KeyMap &map, bool held, const Settings &settings,
                      Output &output);

    int mTapCounter = 0;
    int mRevealState = 0;
    double mDeadline = 0;
    KeyMap mPreviousThreadMacKeyMap;
    double mLastTimeNoKeyHeld = -1; // -1 until the first round
    bool mOpenedAutomatically = false;
    int mDisplayCountdown = 9;
};
