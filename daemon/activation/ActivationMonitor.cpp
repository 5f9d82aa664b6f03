#include "ActivationMonitor.h"

#include "KeyDetectionWindow.h"
#include "MoreInfoView.h"
#include "platform/KeyMapSource.h"
#include "platform/PointerSource.h"

#include <QLoggingCategory>
#include <QSocketNotifier>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>

Q_LOGGING_CATEGORY(lcActivation, "korvale.activation", QtWarningMsg)

namespace {

constexpr double QuietTicksBeforeSelectingText = 35; // 5 s
constexpr double MenuBarLongPress = 1.5;
constexpr double EdgeWidth = 40;
constexpr double MenuBarHeight = 22;

} // namespace

// What a keyboard round produces, turned into shared state and queued requests.
class ActivationMonitor::ScannerOutput final : public KeyboardScanner::Output
{
public:
    explicit ScannerOutput(ActivationMonitor &monitor)
        : mMonitor(monitor)
    {
    }

    void publishKeyMap(const KeyMap &map) override
    {
        bool pressed = false;
        {
            std::lock_guard lock(mMonitor.mStateMutex);
            pressed = mMonitor.mCurrentMacKeyMap.isEmpty() && !map.isEmpty();
            mMonitor.mCurrentMacKeyMap = map;
        }
        // Only the first key after a quiet spell wakes the timer: the rounds allocate nothing.
        if (pressed)
            mMonitor.resumeIfWaiting();
    }
    bool mouseButtonPressed() override
    {
        return mMonitor.mPointer && mMonitor.mPointer->buttonPressed();
    }
    void tapSequenceCompleted() override
    {
        mMonitor.mKorvaleDetected.store(true);
        if (isKeyDetectionVisible())
            emit mMonitor.keyDetectionYesRequested();
        // The window must not wait for the next tick (up to 1/7 s): the main thread answers as
        // soon as it is free; whichever comes first, the tick or this, takes the flag.
        emit mMonitor.tapDetected();
    }
    void revealCursor() override { emit mMonitor.revealCursorRequested(); }
    bool isKeyDetectionVisible() const override { return mMonitor.mKeyDetectionVisible.load(); }
    void showKeyDetectionAutomatically() override { emit mMonitor.showKeysDetectionRequested(); }
    void closeKeyDetection() override { emit mMonitor.keyDetectionCloseRequested(); }
    void refreshKeyDetection(const KeyMap &map) override
    {
        emit mMonitor.keyDetectionRefreshRequested(map);
    }
    void keyDetectionMapChanged(const KeyMap &map) override
    {
        emit mMonitor.keyDetectionMapChanged(map);
    }

private:
    ActivationMonitor &mMonitor;
};

// Each change the source hears is a round at the change's own time, so that the spacing of the
// edges is the keyboard's and not the thread's.
class ActivationMonitor::ChangeRounds final : public KeyMapSource::ChangeReceiver
{
public:
    explicit ChangeRounds(ActivationMonitor &monitor)
        : mMonitor(monitor)
    {
    }

    void keyMapChanged(const KeyMap &changed, KeyMapSource::TimePoint when) override
    {
        const double now = mMonitor.mClock.now();
        const double age =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - when).count();
        map = changed;
        pause = mMonitor.keyboardRound(now - std::max(age, 0.0), changed);
        heard = true;
    }

    KeyMap map;
    double pause = KeyboardScanner::IdleRoundPause;
    bool heard = false;

private:
    ActivationMonitor &mMonitor;
};

ActivationMonitor::ActivationMonitor(KeyMapSource *keys, PointerSource *pointer,
                                     const ActivationClock &clock, QObject *parent)
    : QObject(parent)
    , mKeys(keys)
    , mPointer(pointer)
    , mClock(clock)
    , mScannerOutput(std::make_unique<ScannerOutput>(*this))
{
    setSettings(mSettings);
    // Emitted from the keyboard thread, these arrive queued; emitted from the main thread (as
    // the tests do), at once.
    connect(this, &ActivationMonitor::showKeysDetectionRequested, this,
            &ActivationMonitor::showKeyDetectionAutomatically);
    connect(this, &ActivationMonitor::tapDetected, this, &ActivationMonitor::respondToDetection);
    connect(this, &ActivationMonitor::keyDetectionCloseRequested, this, [this] {
        if (mKeyDetectionWindow)
            mKeyDetectionWindow->hide();
    });
    connect(this, &ActivationMonitor::keyDetectionRefreshRequested, this,
            [this](const KeyMap &map) {
                if (mKeyDetectionWindow && mKeyDetectionWindow->isVisible())
                    mKeyDetectionWindow->showKeys(map);
            });
    connect(this, &ActivationMonitor::keyDetectionYesRequested, this, [this] {
        if (mKeyDetectionWindow && mKeyDetectionWindow->isVisible())
            mKeyDetectionWindow->showYes();
    });
    connect(this, &ActivationMonitor::keyDetectionMapChanged, this, [this](const KeyMap &map) {
        if (mKeyDetectionWindow && mKeyDetectionWindow->isVisible())
            mKeyDetectionWindow->moreInfoView()->setKeyMap(map);
    });
}

ActivationMonitor::~ActivationMonitor()
{
    stopKeyboardThread();
    delete mKeyDetectionWindow.data();
}

void ActivationMonitor::setAgentQueries(AgentQueries queries)
{
    mQueries = std::move(queries);
}

void ActivationMonitor::setSettings(const ActivationSettings &settings)
{
    mSettings = settings;
    KeyboardScanner::Settings forThread;
    forThread.tapRecognition = settings.tapRecognitionEnabled();
    forThread.definedKeyMap = settings.definedKeyMap();
    forThread.numPressed = settings.shortCutsMenuNumPressed();
    forThread.revealCursorKeyCode = settings.revealCursorKeyCode();
    forThread.revealCursorSet = settings.revealCursor != 0;
    forThread.showKeysDetectionAuto = settings.showKeysDetectionAuto;
    std::lock_guard lock(mStateMutex);
    mScannerSettings = forThread;
}

KeyMap ActivationMonitor::definedKeyMap() const
{
    std::lock_guard lock(mStateMutex);
    return mScannerSettings.definedKeyMap;
}

KeyboardScanner::Settings ActivationMonitor::scannerSettings() const
{
    std::lock_guard lock(mStateMutex);
    return mScannerSettings;
}

KeyMap ActivationMonitor::currentKeyMap() const
{
    std::lock_guard lock(mStateMutex);
    return mCurrentMacKeyMap;
}

void ActivationMonitor::useSchedule(const Schedule &schedule)
{
    mSchedule = schedule;
}

void ActivationMonitor::start(double now, bool withKeyboardThread)
{
    mLastTimerExecution = now;
    *mSchedule.nextShortCutsSettingsUpdate = now + 2;
    *mSchedule.nextMousePositionTest = now + 5;
    if (withKeyboardThread)
        startKeyboardThread();
    const int buttons =
        mPointer && mPointer->hearsButtons() ? mPointer->heardButtonsDescriptor() : -1;
    if (buttons >= 0 && !mButtonNotifier) {
        mButtonNotifier = new QSocketNotifier(qintptr(buttons), QSocketNotifier::Read, this);
        mButtonNotifier->setEnabled(false);
        connect(mButtonNotifier, &QSocketNotifier::activated, this,
                &ActivationMonitor::buttonsHeard);
    }
}

bool ActivationMonitor::isQuiet() const
{
    const bool keysWake = mThread.joinable();
    const bool buttonsWake = !mPointer || (mButtonNotifier && mPointer->hearsButtons());
    return keysWake && buttonsWake && mTickMap.isEmpty() && !mTickMouseDown && !mOpenRequest
        && !mKorvaleDetected.load() && !mKeyDetectionVisible.load()
        && !ask(mQueries.accessWindowVisible);
}

void ActivationMonitor::waitForInput(bool waiting)
{
    mWaitingForInput.store(waiting);
    if (mButtonNotifier)
        mButtonNotifier->setEnabled(waiting);
    // A key pressed since the tick looked found the flag still down: it is looked at again
    // now that the flag is up, so that either this or the keyboard thread wakes the timer.
    if (waiting && !currentKeyMap().isEmpty())
        resumeIfWaiting();
}

void ActivationMonitor::resumeIfWaiting()
{
    if (mWaitingForInput.exchange(false))
        emit inputResumed();
}

void ActivationMonitor::buttonsHeard()
{
    // Read now, or the descriptor stays readable; the next tick takes the state from here.
    mPointer->lastHeardButtonPressed();
    mButtonNotifier->setEnabled(false);
    resumeIfWaiting();
}

void ActivationMonitor::startKeyboardThread()
{
    if (!mKeys || mThread.joinable())
        return;
    {
        std::lock_guard lock(mSleepMutex);
        mStopThread = false;
    }
    if (mKeys->hearsChanges())
        mThread = std::thread([this] { listeningThreadBody(); });
    else
        mThread = std::thread([this] { samplingThreadBody(); });
}

void ActivationMonitor::replaceKeySource(KeyMapSource *keys)
{
    const bool running = mThread.joinable();
    stopKeyboardThread();
    mKeys = keys;
    if (running)
        startKeyboardThread();
}

void ActivationMonitor::stopKeyboardThread()
{
    if (!mThread.joinable())
        return;
    {
        std::lock_guard lock(mSleepMutex);
        mStopThread = true;
    }
    mSleepCondition.notify_all();
    mKeys->wake();
    mThread.join();
}

bool ActivationMonitor::stopRequested()
{
    std::lock_guard lock(mSleepMutex);
    return mStopThread;
}

void ActivationMonitor::listeningThreadBody()
{
    ChangeRounds rounds(*this);
    for (;;) {
        // Nothing held and nothing shown: nothing can happen before the next change, so the
        // thread sleeps until one comes. Otherwise the rounds go on between changes, for the
        // key-detection window that opens after 10 s of keys held and for its display.
        const bool quiet = rounds.map.withoutCapsLock().isEmpty() && !mKeyDetectionVisible.load();
        rounds.heard = false;
        mKeys->waitForChanges(quiet ? -1.0 : rounds.pause, rounds);
        if (stopRequested())
            return;
        if (!rounds.heard)
            rounds.pause = keyboardRound(mClock.now(), rounds.map);
    }
}

void ActivationMonitor::samplingThreadBody()
{
    for (;;) {
        const double pause = keyboardRound(mClock.now());
        std::unique_lock lock(mSleepMutex);
        if (mSleepCondition.wait_for(lock, std::chrono::duration<double>(pause),
                                     [this] { return mStopThread; }))
            return;
    }
}

double ActivationMonitor::keyboardRound(double now)
{
    return keyboardRound(now, mKeys ? mKeys->sample() : KeyMap());
}

double ActivationMonitor::keyboardRound(double now, const KeyMap &map)
{
    return mScanner.round(now, map, scannerSettings(), *mScannerOutput);
}

KeyDetectionWindow *ActivationMonitor::keyDetectionWindow()
{
    if (!mKeyDetectionWindow) {
        mKeyDetectionWindow = new KeyDetectionWindow;
        connect(mKeyDetectionWindow, &KeyDetectionWindow::visibilityChanged, this,
                [this](bool visible) {
                    mKeyDetectionVisible.store(visible);
                    if (visible)
                        resumeIfWaiting();
                    // A thread asleep until the next key change starts its rounds for the
                    // window's display.
                    if (mKeys)
                        mKeys->wake();
                });
    }
    return mKeyDetectionWindow;
}

void ActivationMonitor::showKeyDetectionWindow()
{
    KeyDetectionWindow *window = keyDetectionWindow();
    window->showKeys(currentKeyMap());
    window->moreInfoView()->setKeyMap(currentKeyMap());
    window->show();
    window->raise();
}

void ActivationMonitor::showKeyDetectionAutomatically()
{
    if (!isKeyDetectionWindowVisible())
        showKeyDetectionWindow();
}

int ActivationMonitor::screenZone(QPointF location, const QRectF &frame)
{
    const double x = location.x();
    const double y = location.y();
    const double x0 = frame.x();
    const double y0 = frame.y();
    const double w = frame.width();
    const double h = frame.height();
    int zone = 0;
    if (x < x0 + EdgeWidth)
        zone += 1;
    if (x > x0 + w - EdgeWidth)
        zone += 2;
    if (y > y0 + h - EdgeWidth)
        zone += 4;
    if (y < y0 + EdgeWidth)
        zone += 8;
    if (y > y0 + h - MenuBarHeight && x0 + w / 2.5 < x && x < x0 + w - 200)
        zone += 16;
    return zone;
}

bool ActivationMonitor::cornerGestureFires(const KeyMap &map, int zone) const
{
    if (map.isEmpty() || ask(mQueries.accessWindowVisible) || !mSettings.shortCutsMouseActivated)
        return false;
    static constexpr int Corners[] = {5, 6, 9, 10};
    const int menu = mSettings.shortCutsMouseMenu;
    if (menu < 0 || menu > 3 || zone != Corners[menu])
        return false;
    if (mSettings.shortCutsMouseCommandKey && !map.isKeyDown(VirtualKey::Command))
        return false;
    if (mSettings.shortCutsMouseShiftKey && !map.isKeyDown(VirtualKey::Shift))
        return false;
    if (mSettings.shortCutsMouseOptionKey && !map.isKeyDown(VirtualKey::Option))
        return false;
    return true;
}

void ActivationMonitor::timerTick(double now)
{
    mLastTimerExecution = now;
    *mSchedule.lastTextEntry += 1;
    if (observeInput(now))
        actOnInput(now);
}

bool ActivationMonitor::respondToDetection()
{
    if (!mKorvaleDetected.exchange(false))
        return false;
    // The double tap toggles the window.
    if (ask(mQueries.accessWindowVisible))
        emit closeAccessWindowRequested();
    else
        emit openAccessWindowRequested();
    return true;
}

bool ActivationMonitor::observeInput(double now)
{
    mTimerCounter = mTimerCounter == INT_MAX ? 0 : mTimerCounter + 1;
    if (mKorvaleDebugSpecialMode && isKeyDetectionWindowVisible()) {
        static constexpr int Spaces[] = {0, 1, 2, 3, 2, 1};
        mKeyDetectionWindow->setIndicator(
            QString(Spaces[mTimerCounter % 6], QLatin1Char(' ')) + QChar(0x2022), Qt::white);
    }
    mOpenRequest = false;
    if (respondToDetection())
        return false;

    mTickMap = currentKeyMap();
    mTickMapChanged = !(mTickMap == mPreviousTimerMacKeyMap);
    if (mTickMapChanged) {
        ++*mSchedule.keyMouseChanges;
        *mSchedule.lastTextEntry = 0;
        mLastKeyPressedChange = now;
    }
    // A source that hears the buttons is not asked anything here: the location waits until a
    // gesture of this tick needs it (keys or a button held), so an idle tick costs the server
    // no round trip.
    if (mPointer && mPointer->hearsButtons()) {
        mTickMouseDown = mPointer->lastHeardButtonPressed();
        mTickLocationKnown = false;
    } else {
        const PointerSource::State pointer = mPointer ? mPointer->state() : PointerSource::State();
        mTickLocation = pointer.location;
        mTickMouseDown = pointer.buttonPressed;
        mTickLocationKnown = true;
    }
    if (mTickMouseDown != mPreviousMouseDown) {
        ++*mSchedule.keyMouseChanges;
        *mSchedule.lastTextEntry = 0;
        mLastMousePositionChange = now;
        mMenuBarMenuShownForPress = false;
    }
    mPreviousMouseDown = mTickMouseDown;
    return true;
}

bool ActivationMonitor::actOnInput(double now)
{
    const KeyMap &map = mTickMap;
    const bool held = !map.isEmpty();
    const auto zone = [this] {
        if (!mTickLocationKnown) {
            mTickLocation = mPointer ? mPointer->location() : QPointF();
            mTickLocationKnown = true;
        }
        return screenZone(mTickLocation, mPointer ? mPointer->mainScreenFrame() : QRectF());
    };

    if (now > *mSchedule.nextMousePositionTest) {
        *mSchedule.nextMousePositionTest = now + 0.5;
        if (held && mSettings.shortCutsMouseActivated && cornerGestureFires(map, zone()))
            mOpenRequest = true;
    }

    if (mTickMapChanged) {
        if (mTickMouseDown || !held) {
            if (now > *mSchedule.nextShortCutsSettingsUpdate) {
                *mSchedule.nextShortCutsSettingsUpdate =
                    now + (ask(mQueries.mainAppLaunched) ? 2.0 : 30.0);
                emit periodicWorkDue(PeriodicWork::ReadShortcutsSettings);
            }
        } else {
            if (mSettings.shortCutsActivated && mSettings.shortCutsKeyPersonalValues
                && map == definedKeyMap())
                mOpenRequest = true;
            for (const QVariantMap &record : mItemShortcuts.matching(map)) {
                qCDebug(lcActivation) << "item shortcut" << record.value(QStringLiteral("T"));
                emit itemShortcutTriggered(record);
            }
        }
        mPreviousTimerMacKeyMap = map;
    }

    const bool windowVisible = ask(mQueries.accessWindowVisible);
    if (mOpenRequest && !windowVisible) {
        emit openAccessWindowRequested();
        return true;
    }
    if (mTickMouseDown && mSettings.controlClickInMenuBar && !mMenuBarMenuShownForPress
        && ((held && map.isKeyDown(VirtualKey::Control))
            || now - mLastMousePositionChange > MenuBarLongPress)
        && (zone() & 16) != 0) {
        // Once per press: the menu runs its own event loop, during which this timer still ticks.
        mMenuBarMenuShownForPress = true;
        emit menuBarMenuRequested();
        return true;
    }
    if (windowVisible) {
        if (ask(mQueries.accessWindowIsKey)
            && *mSchedule.lastTextEntry > QuietTicksBeforeSelectingText) {
            *mSchedule.lastTextEntry = 0;
            emit selectSearchTextRequested();
        }
        return true;
    }
    return false;
}
