#pragma once

#include "ActivationMonitor.h"
#include "ActivationPlatform.h"
#include "ActivationStep.h"
#include "KeyboardDevicesChoice.h"

#include <QObject>

class DaemonController;

// The agent's gestures as the controller's activation step: the controller keeps the schedule
// and the periodic work, the monitor watches the keyboard and the pointer inside each tick.
class DaemonActivationStep : public QObject, public ActivationStep
{
    Q_OBJECT
public:
    // `keyboardDevices`: in a Wayland session, the user's choice of reading the keyboards' devices.
    explicit DaemonActivationStep(ActivationPlatform platform,
                                  std::unique_ptr<KeyboardDevicesChoice> keyboardDevices = nullptr);
    ~DaemonActivationStep() override;

    // Binds the step to the controller's schedule, flags and work, once the controller exists.
    void attach(DaemonController &controller);

    ActivationMonitor &monitor() { return mMonitor; }
    const ActivationSettings &activationSettings() const { return mSettings; }

    void start() override;
    void stop() override { mMonitor.stopKeyboardThread(); }
    void applySettings(const DaemonSettings &settings) override;
    // The gestures' share of the agent's settings; the repetition count is kept within reason.
    static ActivationSettings activationSettingsOf(const DaemonSettings &settings);
    bool observeInput(double now) override;
    bool actOnInput(double now) override;
    bool isQuiet() const override { return mMonitor.isQuiet(); }
    void waitForInput(bool waiting) override { mMonitor.waitForInput(waiting); }

private:
    ActivationPlatform mPlatform;
    std::unique_ptr<KeyboardDevicesChoice> mKeyboardDevices;
    SystemActivationClock mThreadClock;
    ActivationMonitor mMonitor;
    ActivationSettings mSettings;
    DaemonController *mController = nullptr;
};
