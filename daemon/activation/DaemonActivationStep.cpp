#include "DaemonActivationStep.h"

#include "DaemonClock.h"
#include "DaemonController.h"
#include "DaemonHooks.h"

#include <QTimer>

DaemonActivationStep::DaemonActivationStep(ActivationPlatform platform,
                                           std::unique_ptr<KeyboardDevicesChoice> keyboardDevices)
    : mPlatform(std::move(platform))
    , mKeyboardDevices(std::move(keyboardDevices))
    , mMonitor(mPlatform.keys.get(), mPlatform.pointer.get(), mThreadClock)
{
}

DaemonActivationStep::~DaemonActivationStep()
{
    mMonitor.stopKeyboardThread();
}

void DaemonActivationStep::attach(DaemonController &controller)
{
    mController = &controller;
    DaemonSchedule &schedule = controller.schedule();
    mMonitor.useSchedule({&schedule.mNextShortCutsSettingsUpdate, &schedule.mNextMousePositionTest,
                          &schedule.mKeyMouseChanges, &schedule.mLastTextEntry});
    DaemonFlags &flags = controller.flags();
    mMonitor.setAgentQueries({[&flags] { return flags.mWindowVisible; },
                              {},
                              [&flags] { return flags.mMainAppLaunched; }});
    connect(&mMonitor, &ActivationMonitor::periodicWorkDue, &controller,
            [&controller](ActivationMonitor::PeriodicWork work) {
                // Requested from inside the tick, performed after it.
                if (work == ActivationMonitor::PeriodicWork::ReadShortcutsSettings)
                    QTimer::singleShot(0, &controller,
                                       [&controller] { controller.readShortcutsSettings(); });
            });
    connect(&mMonitor, &ActivationMonitor::closeAccessWindowRequested, &controller,
            [&controller] { controller.hooks().closeAccessWindow(); });
    connect(&mMonitor, &ActivationMonitor::inputResumed, &controller, &DaemonController::wakeTimer);
}

void DaemonActivationStep::start()
{
    const double now = mController ? mController->clock().now() : mThreadClock.now();
    // The controller set its due times at start-up; starting the monitor keeps them.
    const double settingsDue = mMonitor.nextShortCutsSettingsUpdate();
    mMonitor.start(now);
    mMonitor.setNextShortCutsSettingsUpdate(settingsDue);
}

ActivationSettings DaemonActivationStep::activationSettingsOf(const DaemonSettings &settings)
{
    ActivationSettings activation;
    activation.shortCutsActivated = settings.mShortCutsActivated;
    activation.shortCutsMenu = settings.mShortCutsMenu;
    activation.shortCutsMenuRepetition = qBound(0, settings.mShortCutsMenuRepetition, 1000);
    activation.shortCutsKeyPersonalValues = settings.mShortCutsKeyPersonalValues;
    activation.shortCutsKeyPersonalValuesData =
        KeyMap::fromData(settings.mShortCutsKeyPersonalValuesData);
    activation.shortCutsMouseActivated = settings.mShortCutsMouseActivated;
    activation.shortCutsMouseMenu = settings.mShortCutsMouseMenu;
    activation.shortCutsMouseCommandKey = settings.mShortCutsMouseCommandKey;
    activation.shortCutsMouseOptionKey = settings.mShortCutsMouseOptionKey;
    activation.shortCutsMouseShiftKey = settings.mShortCutsMouseShiftKey;
    activation.revealCursor = settings.mRevealCursor;
    activation.showKeysDetectionAuto = settings.mPreferencesShowKeysDetectionAuto != 0;
    activation.controlClickInMenuBar = settings.mPreferencesControlClickInMenuBar != 0;
    return activation;
}

void DaemonActivationStep::applySettings(const DaemonSettings &settings)
{
    mSettings = activationSettingsOf(settings);
    mMonitor.setSettings(mSettings);
    if (!mKeyboardDevices)
        return;
    if (auto keys = mKeyboardDevices->apply(settings.mReadKeyboardDevices != 0)) {
        mMonitor.replaceKeySource(keys->get());
        mPlatform.keys = std::move(*keys);
    }
}

bool DaemonActivationStep::observeInput(double now)
{
    return mMonitor.observeInput(now);
}

bool DaemonActivationStep::actOnInput(double now)
{
    return mMonitor.actOnInput(now);
}
