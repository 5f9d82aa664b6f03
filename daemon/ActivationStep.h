#pragma once

struct DaemonSettings;

// The keyboard and pointer half of each activation-timer tick, and the keyboard thread. The
// controller runs the scheduling half around it; the default watches nothing.
class ActivationStep
{
public:
    virtual ~ActivationStep() = default;

    // Starts the keyboard thread (second start-up stage).
    virtual void start() { }
    // Stops it (quitting): nothing may run on it while the agent is torn down.
    virtual void stop() { }
    // Takes the settings the controller just read and rebuilds the activation key map.
    virtual void applySettings(const DaemonSettings &) { }

    // Start of a tick: acts on a completed tap sequence and notes key and mouse-button changes
    // (counting them in the controller's mKeyMouseChanges). False ends the tick here.
    virtual bool observeInput(double /*now*/) { return true; }
    // Corner, personal-combination, item-shortcut and menu-bar gestures, and the access window's
    // idle handling. True when the tick acted or the access window is up, so that the periodic
    // work waits.
    virtual bool actOnInput(double /*now*/) { return false; }

    // After a tick: true when nothing the step watches can happen before it hears a key or a
    // button, so that the controller may slow its timer. The default hears nothing.
    virtual bool isQuiet() const { return false; }
    // The controller's timer slowed (true) or runs at its pace again (false); while it is slow,
    // the step wakes it (DaemonController::wakeTimer) at the first key or button.
    virtual void waitForInput(bool /*waiting*/) { }
};
