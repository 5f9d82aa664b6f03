#pragma once

#include <QObject>

// Pastes into the window the user came from, as if they typed the paste key there: once one of
// the other programs' windows has the keyboard back (the access window just closed), Ctrl+V is
// sent through XTest. X11 only: a Wayland compositor takes no keys from a client, so a Wayland
// session is never offered this (canPaste).
class FrontWindowPaste : public QObject
{
    Q_OBJECT
public:
    // Whether keys can be sent to the window in front: an X11 session with XTest.
    static bool canPaste();

    // Waits up to WaitMs for another program's window to be active, then sends the keys, and
    // deletes itself. `finished` says whether they were sent.
    static FrontWindowPaste *start(QObject *parent = nullptr);

    // Types Ctrl+V into whatever window has the keyboard. False without a display or XTest.
    static bool sendPasteKeys();

    static constexpr int WaitMs = 1000;
    static constexpr int PollMs = 20;

signals:
    void finished(bool sent);

private:
    explicit FrontWindowPaste(QObject *parent);
    void poll();

    int mWaited = 0;
};
