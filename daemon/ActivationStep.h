#pragma once

class SharedPreferences;

// The keyboard and pointer half of each activation-timer tick, and the keyboard thread. The
// controller runs the scheduling half around it; the default watches nothing.
class ActivationStep
{
public:
    virtual ~ActivationStep() = default;

    // Starts the keyboard thread (second start-up stage).
    virtual void start() { }
    // Rereads the shortcut settings and rebuilds the activation key map.
    virtual void readShortcutsSettings(const SharedPreferences &) { }

    // Start of a tick: acts on a completed tap sequence and notes key and mouse-button changes
    // (counting them in the controller's mKeyMouseChanges). False ends the tick here.
    virtual bool observeInput(double /*now*/) { return true; }
    // Corner, personal-combination, item-shortcut and menu-bar gestures, and the access window's
    // idle handling. True when the tick acted or the access window is up, so that the periodic
    // work waits.
    virtual bool actOnInput(double /*now*/) { return false; }
};
