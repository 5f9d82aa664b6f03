#pragma once

#include "KeyMap.h"

#include <QDialog>

#include <optional>

class KeyMapSource;
class QLabel;
class QTimer;

// Captures a key combination from the live keyboard: a combination held still for two seconds
// (20 samples, 0.1 s apart) is taken, or the one held when Take is clicked; releasing every key
// shows the taken one again.
class ShortcutCaptureSheet : public QDialog
{
    Q_OBJECT
public:
    static constexpr int SampleIntervalMs = 100;
    static constexpr int SamplesToTake = 20;

    ShortcutCaptureSheet(KeyMapSource *keyboard, QWidget *parent = nullptr);

    // editFileFolderShortcut: the taken map on OK, nothing on Cancel.
    std::optional<KeyMap> capture(const std::optional<KeyMap> &initial);

    // One poll of the keyboard; the timer calls it, tests too.
    void sample();
    KeyMap taken() const { return mTaken; }
    QString shownKeys() const;
    // setKeyPressedValue: the keys down at the next sample are taken.
    void takeNow() { mTakeNow = true; }
    void start(const std::optional<KeyMap> &initial);

    static QString keyNames(const KeyMap &map);

private:
    KeyMapSource *mKeyboard;
    QLabel *mKeys;
    QTimer *mTimer;
    KeyMap mTaken;
    KeyMap mLastSample;
    int mIdenticalSamples = 0;
    bool mTakeNow = false;
};
