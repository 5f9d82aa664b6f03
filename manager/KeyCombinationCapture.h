#pragma once

#include "KeyMap.h"

#include <QObject>

class KeyMapSource;
class QTimer;

// How the manager's sheets read a key combination from the live keyboard, polled ten times a
// second: a locked Caps Lock never counts; a combination held unchanged for 20 polls, or down at
// the poll after take(), becomes the taken one; with no key down the taken one is shown.
class KeyCombinationCapture : public QObject
{
    Q_OBJECT
public:
    static constexpr int SampleIntervalMs = 100;
    static constexpr int SamplesToTake = 20;

    explicit KeyCombinationCapture(KeyMapSource *keyboard, QObject *parent = nullptr);

    // Starts polling from `initial` as the taken combination.
    void start(const KeyMap &initial);
    void stop();
    // One poll; the timer calls it, tests too.
    void sample();
    // setKeyPressedValue: the keys down at the next poll are taken.
    void takeNow() { mTakeNow = true; }

    KeyMap taken() const { return mTaken; }
    KeyMap shown() const { return mShown; }

signals:
    void shownChanged(const KeyMap &shown);

private:
    KeyMapSource *mKeyboard;
    QTimer *mTimer;
    KeyMap mTaken;
    KeyMap mShown;
    KeyMap mLastSample;
    int mIdenticalSamples = 0;
    bool mTakeNow = false;
};
