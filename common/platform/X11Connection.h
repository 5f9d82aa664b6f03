#pragma once

#include <QString>

#include <cstddef>
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
    // No connection, for a holder that opens one later.
    static X11Connection none() { return X11Connection(nullptr); }
    // Why no connection can be opened, without opening one: empty when DISPLAY names a display.
    static QString whyNoDisplay();
    X11Connection(X11Connection &&other) noexcept;
    X11Connection &operator=(X11Connection &&other) noexcept;
    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    explicit operator bool() const { return mDisplay != nullptr; }
    _XDisplay *display() const { return mDisplay; }
    // Why there is no connection, for the log; empty when there is one.
    QString why() const { return mWhy; }
    // The XInput extension's opcode when the server offers XInput 2.1 or later, which sends raw
    // events to every client that asks; 0 otherwise, and why in `whyNot`. Also has the events'
    // data read, for nextRawEvent.
    int rawEventsOpcode(QString *whyNot) const;
    // Asks for these XInput 2 raw events (XI_RawKeyPress...) of every master device, at the root.
    void selectRawEvents(int xinputOpcode, std::initializer_list<int> eventTypes) const;

    // An XInput 2 raw event: its type (XI_RawKeyPress...), detail (the key code or button) and
    // server time.
    struct RawEvent {
        int type = 0;
        int detail = 0;
        unsigned long time = 0;
    };
    // Takes the next raw event of the extension `xinputOpcode` that is waiting, dropping any
    // other event; with readSocket, what has come on the socket is read first (never blocking).
    // False when none is left.
    bool nextRawEvent(int xinputOpcode, bool readSocket, RawEvent &event) const;

private:
    explicit X11Connection(std::nullptr_t) { }

    _XDisplay *mDisplay = nullptr;
    QString mWhy;
};
