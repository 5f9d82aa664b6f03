#include "FrontWindowPaste.h"

#include "X11Connection.h"
#include "X11Windows.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

bool FrontWindowPaste::canPaste()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        return false;
    const X11Connection connection;
    int event = 0, error = 0, major = 0, minor = 0;
    return connection && XTestQueryExtension(connection.display(), &event, &error, &major, &minor);
}

bool FrontWindowPaste::sendPasteKeys()
{
    const X11Connection connection;
    Display *display = connection.display();
    int event = 0, error = 0, major = 0, minor = 0;
    if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor))
        return false;
    // By key symbol, so that the keyboard layout in use decides where "v" is.
    const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
    const KeyCode v = XKeysymToKeycode(display, XK_v);
    if (control == 0 || v == 0)
        return false;
    XTestFakeKeyEvent(display, control, True, CurrentTime);
    XTestFakeKeyEvent(display, v, True, CurrentTime);
    XTestFakeKeyEvent(display, v, False, CurrentTime);
    XTestFakeKeyEvent(display, control, False, CurrentTime);
    XSync(display, False);
    return true;
}

FrontWindowPaste *FrontWindowPaste::start(QObject *parent)
{
    auto *paste = new FrontWindowPaste(parent);
    QTimer::singleShot(0, paste, &FrontWindowPaste::poll);
    return paste;
}

FrontWindowPaste::FrontWindowPaste(QObject *parent)
    : QObject(parent)
{
}

void FrontWindowPaste::poll()
{
    // Sent while one of ours still has the keyboard, the keys would paste into the access window.
    const std::optional<qint64> front = X11Windows::activeWindowProcess();
    const bool ours = front && *front == QCoreApplication::applicationPid();
    if ((ours || !front) && mWaited < WaitMs) {
        mWaited += PollMs;
        QTimer::singleShot(PollMs, this, &FrontWindowPaste::poll);
        return;
    }
    const bool sent = !ours && sendPasteKeys();
    if (!sent)
        qInfo("Paste: no other window took the keyboard back; the result stays on the clipboard");
    emit finished(sent);
    deleteLater();
}
