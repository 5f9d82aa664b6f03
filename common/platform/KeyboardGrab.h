#pragma once

#include <QString>

#include <memory>

// Holds the keyboard from the activation gesture until the access window has the focus, so that
// letters typed meanwhile reach the search field instead of the program underneath. Main thread.
class KeyboardGrab
{
public:
    virtual ~KeyboardGrab() = default;

    // False when the keyboard cannot be taken (another program holds it, no display).
    virtual bool begin() = 0;
    virtual bool isActive() const = 0;
    // Lets the keyboard go and returns the text typed while it was held.
    virtual QString end() = 0;

    struct Creation {
        std::unique_ptr<KeyboardGrab> grab;
        QString reason;
    };
    static Creation createX11();
};
