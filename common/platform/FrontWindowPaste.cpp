#include "FrontWindowPaste.h"

#include "SystemLibrary.h"
#include "X11Connection.h"
#include "X11Windows.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// libXtst is loaded at the first paste rather than linked: the idle agent would map it, and the
// libXext it brings, for a key press it may never send.
struct XTest {
    decltype(&XTestQueryExtension) queryExtension = nullptr;
    decltype(&XTestFakeKeyEvent) fakeKeyEvent = nullptr;

    // Null when the library is not there; said in the log once.
    static const XTest *library()
    {
        static const XTest loaded = [] {
            XTest functions;
            SystemLibrary library(QStringLiteral("Xtst"), 6);
            library.resolve(functions.queryExtension, "XTestQueryExtension");
            library.resolve(functions.fakeKeyEvent, "XTestFakeKeyEvent");
            if (!library.ok()) {
                qWarning("Paste: libXtst cannot be loaded (%s); results stay on the clipboard",
                         qPrintable(library.why()));
                functions = {};
            }
            return functions;
        }();
        return loaded.queryExtension ? &loaded : nullptr;
    }

    bool offeredBy(Display *display) const
    {
        int event = 0, error = 0, major = 0, minor = 0;
        return display && queryExtension(display, &event, &error, &major, &minor);
    }
};

} // namespace

bool FrontWindowPaste::canPaste()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        return false;
    const XTest *xtest = XTest::library();
    return xtest && xtest->offeredBy(X11Connection().display());
}

bool FrontWindowPaste::sendPasteKeys()
{
    const XTest *xtest = XTest::library();
    const X11Connection connection;
    Display *display = connection.display();
    if (!xtest || !xtest->offeredBy(display))
        return false;
    // By key symbol, so that the keyboard layout in use decides where "v" is.
    const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
    const KeyCode v = XKeysymToKeycode(display, XK_v);
    if (control == 0 || v == 0)
        return false;
    xtest->fakeKeyEvent(display, control, True, CurrentTime);
    xtest->fakeKeyEvent(display, v, True, CurrentTime);
    xtest->fakeKeyEvent(display, v, False, CurrentTime);
    xtest->fakeKeyEvent(display, control, False, CurrentTime);
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
