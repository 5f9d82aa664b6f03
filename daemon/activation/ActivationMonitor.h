#pragma once

#include "ActivationClock.h"
#include "ActivationSettings.h"
#include "ItemShortcuts.h"
#include "KeyboardScanner.h"
#include "platform/KeyMapSource.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QVariantMap>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class KeyDetectionWindow;
class PointerSource;
class QSocketNotifier;

// Watches the keyboard and the pointer for the activation gestures: the keyboard thread follows
// the key map (every change the source hears, at its own time, or a sample every 0.03 s where
// it hears none) and recognises the tap sequence and the pointer-reveal gesture; inside each tick
// of the controller's 1/7 s timer, observeInput() and actOnInput() act on what the thread found
// and recognise the personal combination, the item shortcuts, the screen corner and the menu-bar
// gestures. The controller's tick keeps the schedule of the agent's periodic work. Everything
// the monitor asks of the agent is a signal, delivered on the main thread.
class ActivationMonitor : public QObject
{
    Q_OBJECT
public:
    static constexpr double TimerInterval = 1.0 / 7.0;

    enum class PeriodicWork {
        ReadShortcutsSettings, // readShortcutsSettings
    };
    Q_ENUM(PeriodicWork)

    // What the monitor asks of the agent's state; each answers false until set.
    struct AgentQueries {
        std::function<bool()> accessWindowVisible;
        std::function<bool()> accessWindowIsKey;
        std::function<bool()> mainAppLaunched;
    };

    // Either source may be missing (no X display): the gestures that need it stay silent.
    ActivationMonitor(KeyMapSource *keys, PointerSource *pointer, const ActivationClock &clock,
                      QObject *parent = nullptr);
    ~ActivationMonitor() override;

    void setAgentQueries(AgentQueries queries);
    // The result of readShortcutsSettings; rebuilds the activation map and the tap count.
    void setSettings(const ActivationSettings &settings);
    const ActivationSettings &settings() const { return mSettings; }
    KeyMap definedKeyMap() const;
    void setDiagnosticMode(bool on) { mKorvaleDebugSpecialMode = on; }

    // Sets the first due times from `now` and starts the keyboard thread (when there is a key
    // source and `withKeyboardThread`).
    void start(double now, bool withKeyboardThread = true);
    void stopKeyboardThread();
    // Follows another key source from now on (the keyboards' devices, chosen in a Wayland
    // session); the thread, if it ran, runs on with it. The old source may go once this returns.
    void replaceKeySource(KeyMapSource *keys);
    bool isKeyboardThreadRunning() const { return mThread.joinable(); }

    // One round of the keyboard thread; returns the pause before the next. The thread calls it;
    // tests call it directly with their own clock. Without a map, the source is sampled.
    double keyboardRound(double now);
    double keyboardRound(double now, const KeyMap &map);
    // The input half of a tick for a monitor that runs without the controller (tests, the
    // benchmark): observeInput(), then actOnInput() unless it ended the tick.
    void timerTick(double now);
    // Start of a tick: acts on a completed tap sequence (false: the tick ends here), notes key
    // and button changes.
    bool observeInput(double now);
    // Corner, personal combination, item shortcuts, menu bar, the access window's quiet time;
    // true when it acted or the access window is up, so that the periodic work waits.
    bool actOnInput(double now);

    // The due times and counters the input half shares with a controller that keeps them: by
    // default the monitor's own.
    struct Schedule {
        double *nextShortCutsSettingsUpdate;
        double *nextMousePositionTest;
        int *keyMouseChanges;
        double *lastTextEntry;
    };
    void useSchedule(const Schedule &schedule);

    // After a tick: nothing held, nothing pending, no window up, and every key and button change
    // can wake the timer (the keyboard thread runs; the pointer, if any, tells of its buttons).
    bool isQuiet() const;
    // While the timer waits, the first key held or button change emits inputResumed(), once.
    void waitForInput(bool waiting);

    // The last map sampled by the thread (mCurrentMacKeyMap), read whole.
    KeyMap currentKeyMap() const;

    // Samples the keyboard now: opening an item with Option held reveals it instead.
    bool optionKeyPressed() const { return mKeys && mKeys->sample().isKeyDown(VirtualKey::Option); }

    ItemShortcuts &itemShortcuts() { return mItemShortcuts; }

    // Next-due times the controller also moves (its periodic check, "SettingChanged").
    double nextShortCutsSettingsUpdate() const { return *mSchedule.nextShortCutsSettingsUpdate; }
    void setNextShortCutsSettingsUpdate(double time)
    {
        *mSchedule.nextShortCutsSettingsUpdate = time;
    }
    // Application use was sampled: changes are counted afresh.
    void resetKeyMouseChanges() { *mSchedule.keyMouseChanges = 0; }
    int keyMouseChanges() const { return *mSchedule.keyMouseChanges; }
    double lastTimerExecution() const { return mLastTimerExecution; }

    // The key-detection window, created on first use.
    KeyDetectionWindow *keyDetectionWindow();
    void showKeyDetectionWindow();
    bool isKeyDetectionWindowVisible() const { return mKeyDetectionVisible.load(); }

    // Screen-zone code of a point: +1 left, +2 right, +4 top, +8 bottom edge, +16 menu-bar zone.
    static int screenZone(QPointF location, const QRectF &mainScreenFrame);

signals:
    void openAccessWindowRequested(); // doOpenAccessWindow:
    void closeAccessWindowRequested(); // doCloseAccessWindow:
    void revealCursorRequested(); // highlightCursor:
    void menuBarMenuRequested(); // controlClickInMenuBar:
    void selectSearchTextRequested(); // five quiet seconds in the access window
    void showKeysDetectionRequested(); // keys held over 10 s
    void itemShortcutTriggered(const QVariantMap &record); // openItem:openOnly: with the flag
    void periodicWorkDue(ActivationMonitor::PeriodicWork work);

    // From the keyboard thread to the key-detection window (queued).
    void keyDetectionCloseRequested();
    void keyDetectionRefreshRequested(const KeyMap &map);
    void keyDetectionYesRequested();
    void keyDetectionMapChanged(const KeyMap &map);
    // From the keyboard thread: a double tap was just completed.
    void tapDetected();
    // A key was pressed, a button changed or the key-detection window came up while the timer
    // waited (waitForInput).
    void inputResumed();

private:
    // Acts on a completed double tap, if one is pending; true when it did.
    bool respondToDetection();
    class ScannerOutput;
    friend class ScannerOutput;
    class ChangeRounds;

    void startKeyboardThread();
    void samplingThreadBody();
    void listeningThreadBody();
    bool stopRequested();
    KeyboardScanner::Settings scannerSettings() const;
    bool ask(const std::function<bool()> &query) const { return query && query(); }
    void showKeyDetectionAutomatically();
    bool cornerGestureFires(const KeyMap &map, int zone) const;
    void resumeIfWaiting();
    void buttonsHeard();

    KeyMapSource *mKeys;
    PointerSource *mPointer;
    const ActivationClock &mClock;
    AgentQueries mQueries;
    ActivationSettings mSettings;
    bool mKorvaleDebugSpecialMode = false;

    // Shared with the keyboard thread.
    mutable std::mutex mStateMutex;
    KeyMap mCurrentMacKeyMap;
    KeyboardScanner::Settings mScannerSettings;
    std::atomic<bool> mKorvaleDetected{false};
    std::atomic<bool> mKeyDetectionVisible{false};
    std::atomic<bool> mWaitingForInput{false};

    // The keyboard thread.
    KeyboardScanner mScanner;
    std::unique_ptr<ScannerOutput> mScannerOutput;
    std::thread mThread;
    std::mutex mSleepMutex;
    std::condition_variable mSleepCondition;
    bool mStopThread = false;

    // The timer's own state.
    int mTimerCounter = 0;
    KeyMap mPreviousTimerMacKeyMap;
    int mKeyMouseChanges = 0;
    bool mPreviousMouseDown = false;
    double mLastKeyPressedChange = 0;
    double mLastMousePositionChange = 0;
    double mLastTextEntry = 0;
    double mLastTimerExecution = 0;
    bool mMenuBarMenuShownForPress = false;
    double mNextShortCutsSettingsUpdate = 0;
    double mNextMousePositionTest = 0;
    Schedule mSchedule{&mNextShortCutsSettingsUpdate, &mNextMousePositionTest, &mKeyMouseChanges,
                       &mLastTextEntry};

    // Within one tick, from the input half's start to its end.
    bool mOpenRequest = false;
    KeyMap mTickMap;
    bool mTickMapChanged = false;
    QPointF mTickLocation;
    bool mTickLocationKnown = false;
    bool mTickMouseDown = false;

    ItemShortcuts mItemShortcuts;
    QPointer<KeyDetectionWindow> mKeyDetectionWindow;
    // Readable when the pointer heard a button change; enabled only while the timer waits.
    QSocketNotifier *mButtonNotifier = nullptr;
};
