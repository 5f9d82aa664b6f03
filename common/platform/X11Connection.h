#pragma once

#include <QString>

#include <initializer_list>

// Xlib's display, without Xlib's macros (None, Bool, KeyPress...) reaching whoever includes this.
struct _XDisplay;

// A connection of its own to the X display named by DISPLAY, closed with the object. Every X11
// stand-in opens its connections here: one place says why there is none, and one error handler
// keeps a window that vanished between two requests from ending the program (Xlib's default
// handler exits).
class X11Connection
{
public:
    X11Connection();
    ~X11Connection();
    X11Connection(X11Connection &&other) noexcept;
    X11Connection &operator=(X11Connection &&other) noexcept;
    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    explicit operator bool() const { return mDisplay != nullptr; }
    _XDisplay *display() const { return mDisplay; }
    // Why there is no connection, for the log; empty when there is one.
    QString why() const { return mWhy; }
    // Asks for these XInput 2 raw events (XI_RawKeyPress...) of every master device, at the root.
    void selectRawEvents(std::initializer_list<int> eventTypes) const;

private:
    _XDisplay *mDisplay = nullptr;
    QString mWhy;
};
