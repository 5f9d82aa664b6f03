#include "X11Connection.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <utility>

// Xlib last: its macros must not reach the Qt headers.
#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <X11/extensions/XI2.h>
#include <X11/extensions/XI2proto.h>

namespace {

int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

// XInput 2's two requests the agent sends and the raw events it reads, written out as libXi
// writes them (the protocol's XI2proto.h, Xlib's request calls): linked for these alone, libXi
// and the libXext it brings were mapped in every agent (0.15 MB).

// A raw event's fields the agent reads, as the cookie's data.
struct RawEventData {
    int detail;
    unsigned long time;
};

// Xlib hands an XInput event's wire bytes here while reading; the event is queued with the data.
Bool rawEventFromWire(Display *display, XGenericEventCookie *cookie, xEvent *wire)
{
    const auto *raw = reinterpret_cast<const xXIRawEvent *>(wire);
    cookie->type = raw->type & 0x7f;
    cookie->serial = _XSetLastRequestRead(display, reinterpret_cast<xGenericReply *>(wire));
    cookie->send_event = (raw->type & 0x80) != 0;
    cookie->display = display;
    cookie->extension = raw->extension;
    cookie->evtype = raw->evtype;
    cookie->data = nullptr;
    switch (raw->evtype) {
    case XI_RawKeyPress:
    case XI_RawKeyRelease:
    case XI_RawButtonPress:
    case XI_RawButtonRelease: {
        auto *data = static_cast<RawEventData *>(std::malloc(sizeof(RawEventData)));
        if (!data)
            return False;
        *data = {int(raw->detail), raw->time};
        cookie->data = data;
        return True;
    }
    default:
        // Nothing else is selected; an event of another kind is dropped.
        return False;
    }
}

// Starts an XInput request in Xlib's buffer; the display is locked (libXi's GetReq).
template <typename Request> Request *xinputRequest(Display *display, int opcode, std::uint8_t minor)
{
    auto *request = static_cast<Request *>(_XGetRequest(display, minor, sizeof(Request)));
    request->reqType = std::uint8_t(opcode);
    request->ReqType = minor;
    return request;
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

int X11Connection::rawEventsOpcode(QString *whyNot) const
{
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(mDisplay, "XInputExtension", &opcode, &firstEvent, &firstError)) {
        *whyNot = QStringLiteral("the X server has no XInput extension");
        return 0;
    }
    // From 2.1 on, raw events reach every client that selected them, even while another holds
    // a grab (the agent's own, while its window opens). Asking for 2.2 as before: the server
    // answers with the version it will speak to this client.
    xXIQueryVersionReply reply = {};
    Display *dpy = mDisplay; // the name Xlib's locking macros use
    LockDisplay(dpy);
    auto *request = xinputRequest<xXIQueryVersionReq>(dpy, opcode, X_XIQueryVersion);
    request->major_version = 2;
    request->minor_version = 2;
    const Status answered = _XReply(dpy, reinterpret_cast<xReply *>(&reply), 0, xTrue);
    UnlockDisplay(dpy);
    SyncHandle();
    if (!answered || reply.major_version * 100 + reply.minor_version < 201) {
        *whyNot = QStringLiteral("the X server offers XInput %1.%2, and raw events need 2.1")
                      .arg(reply.major_version)
                      .arg(reply.minor_version);
        return 0;
    }
    XESetWireToEventCookie(mDisplay, opcode, rawEventFromWire);
    return opcode;
}

void X11Connection::selectRawEvents(int xinputOpcode, std::initializer_list<int> eventTypes) const
{
    unsigned char bits[(XIMaskLen(XI_LASTEVENT) + 3) & ~3] = {};
    for (const int type : eventTypes)
        XISetMask(bits, type);
    xXIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits / 4;
    Display *dpy = mDisplay; // the name Xlib's locking macros use
    LockDisplay(dpy);
    auto *request = xinputRequest<xXISelectEventsReq>(dpy, xinputOpcode, X_XISelectEvents);
    request->win = std::uint32_t(DefaultRootWindow(mDisplay));
    request->num_masks = 1;
    request->length += (sizeof mask + sizeof bits) / 4;
    Data(dpy, reinterpret_cast<const char *>(&mask), sizeof mask);
    Data(dpy, reinterpret_cast<const char *>(bits), sizeof bits);
    UnlockDisplay(dpy);
    SyncHandle();
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
        if (!cookie.data) {
            XFreeEventData(mDisplay, &cookie);
            continue;
        }
        const auto *raw = static_cast<const RawEventData *>(cookie.data);
        event = {cookie.evtype, raw->detail, raw->time};
        XFreeEventData(mDisplay, &cookie);
        return true;
    }
    return false;
}
