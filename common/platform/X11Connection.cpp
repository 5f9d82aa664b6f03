#include "X11Connection.h"

#include <QByteArray>

#include <mutex>
#include <utility>

// Xlib last: its macros must not reach the Qt headers.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace {

int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

X11Connection::X11Connection()
{
    static std::once_flag handlerInstalled;
    std::call_once(handlerInstalled, [] { XSetErrorHandler(ignoreErrors); });
    mWhy = whyNoDisplay();
    if (!mWhy.isEmpty())
        return;
    const QByteArray name = qgetenv("DISPLAY");
    mDisplay = XOpenDisplay(name.constData());
    if (!mDisplay)
        mWhy = QStringLiteral("cannot open the X display %1").arg(QString::fromLocal8Bit(name));
}

QString X11Connection::whyNoDisplay()
{
    return qEnvironmentVariableIsEmpty("DISPLAY")
        ? QStringLiteral("no X display (DISPLAY is not set)")
        : QString();
}

X11Connection::~X11Connection()
{
    if (mDisplay)
        XCloseDisplay(mDisplay);
}

X11Connection::X11Connection(X11Connection &&other) noexcept
    : mDisplay(std::exchange(other.mDisplay, nullptr))
    , mWhy(std::move(other.mWhy))
{
}

X11Connection &X11Connection::operator=(X11Connection &&other) noexcept
{
    if (this != &other) {
        if (mDisplay)
            XCloseDisplay(mDisplay);
        mDisplay = std::exchange(other.mDisplay, nullptr);
        mWhy = std::move(other.mWhy);
    }
    return *this;
}

void X11Connection::selectRawEvents(std::initializer_list<int> eventTypes) const
{
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    for (const int type : eventTypes)
        XISetMask(bits, type);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    XISelectEvents(mDisplay, DefaultRootWindow(mDisplay), &mask, 1);
}

bool X11Connection::nextRawEvent(int xinputOpcode, bool readSocket, RawEvent &event) const
{
    while (XEventsQueued(mDisplay, readSocket ? QueuedAfterReading : QueuedAlready) > 0) {
        XEvent next;
        XNextEvent(mDisplay, &next);
        XGenericEventCookie &cookie = next.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != xinputOpcode
            || !XGetEventData(mDisplay, &cookie))
            continue;
        const auto *raw = static_cast<const XIRawEvent *>(cookie.data);
        event = {cookie.evtype, raw->detail, raw->time};
        XFreeEventData(mDisplay, &cookie);
        return true;
    }
    return false;
}
