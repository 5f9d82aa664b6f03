#include "X11Windows.h"

#include "X11Connection.h"

#include <QByteArray>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace X11Windows {

namespace {

// A connection per call, with the EWMH reads the calls share.
class Connection
{
public:
    Display *display() const { return mConnection.display(); }
    QString why() const { return mConnection.why(); }
    Window root() const { return DefaultRootWindow(mDisplay); }
    Atom atom(const char *name) const { return XInternAtom(mDisplay, name, False); }

    // A 32-bit list property (windows, atoms, cardinals) as unsigned longs, as Xlib returns them.
    std::vector<unsigned long> listProperty(Window window, const char *name, Atom type) const
    {
        Atom actualType = 0;
        int actualFormat = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char *data = nullptr;
        std::vector<unsigned long> values;
        const int status =
            XGetWindowProperty(mDisplay, window, atom(name), 0, 0x10000, False, type, &actualType,
                               &actualFormat, &count, &remaining, &data);
        if (status == Success && data && actualFormat == 32) {
            const auto *items = reinterpret_cast<const unsigned long *>(data);
            values.assign(items, items + count);
        }
        if (data)
            XFree(data);
        return values;
    }

    std::optional<qint64> windowPid(Window window) const
    {
        const std::vector<unsigned long> pid = listProperty(window, "_NET_WM_PID", XA_CARDINAL);
        if (pid.empty())
            return std::nullopt;
        return qint64(pid.front());
    }

    // A text property, at most `limit` bytes of it.
    QByteArray bytesProperty(Window window, const char *name, Atom type, long limit) const
    {
        Atom actualType = 0;
        int actualFormat = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char *data = nullptr;
        QByteArray bytes;
        const int status =
            XGetWindowProperty(mDisplay, window, atom(name), 0, (limit + 3) / 4, False, type,
                               &actualType, &actualFormat, &count, &remaining, &data);
        if (status == Success && data && actualFormat == 8)
            bytes = QByteArray(reinterpret_cast<const char *>(data),
                               qsizetype(std::min<unsigned long>(count, ulong(limit))));
        if (data)
            XFree(data);
        return bytes;
    }

    void sendToRoot(Window window, const char *message, long first, long second = 0) const
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = atom(message);
        event.xclient.format = 32;
        event.xclient.data.l[0] = first;
        event.xclient.data.l[1] = second;
        XSendEvent(mDisplay, root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
    }

private:
    X11Connection mConnection;
    Display *mDisplay = mConnection.display();
};

} // namespace

bool canActivateWindows(QString *reason)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    const Connection connection;
    if (!connection.display())
        return fail(connection.why());
    const Atom active = connection.atom("_NET_ACTIVE_WINDOW");
    for (unsigned long supported :
         connection.listProperty(connection.root(), "_NET_SUPPORTED", XA_ATOM)) {
        if (supported == active)
            return true;
    }
    return fail(QStringLiteral("the window manager does not support _NET_ACTIVE_WINDOW"));
}

bool activateWindowOfProcess(qint64 pid)
{
    const Connection connection;
    if (!connection.display() || pid <= 0)
        return false;
    // Bottom to top: the last window of the process is its topmost one.
    std::vector<unsigned long> windows =
        connection.listProperty(connection.root(), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    if (windows.empty())
        windows = connection.listProperty(connection.root(), "_NET_CLIENT_LIST", XA_WINDOW);
    Window target = 0;
    for (unsigned long window : windows) {
        if (connection.windowPid(window) == pid)
            target = window;
    }
    if (!target)
        return false;

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = connection.atom("_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    // Source 2 (a pager): the user asked for it, so focus-stealing prevention does not apply.
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = 0;
    XSendEvent(connection.display(), connection.root(), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(connection.display(), False);
    return true;
}

int minimizeWindowsExcept(const QList<qint64> &keptPids)
{
    const Connection connection;
    if (!connection.display())
        return -1;
    const Atom dock = connection.atom("_NET_WM_WINDOW_TYPE_DOCK");
    const Atom desktop = connection.atom("_NET_WM_WINDOW_TYPE_DESKTOP");
    const Atom hidden = connection.atom("_NET_WM_STATE_HIDDEN");
    const Atom skipTaskbar = connection.atom("_NET_WM_STATE_SKIP_TASKBAR");
    const auto holds = [](const std::vector<unsigned long> &atoms, Atom wanted) {
        return std::find(atoms.begin(), atoms.end(), wanted) != atoms.end();
    };
    int minimized = 0;
    for (unsigned long window :
         connection.listProperty(connection.root(), "_NET_CLIENT_LIST", XA_WINDOW)) {
        const std::optional<qint64> pid = connection.windowPid(window);
        if (pid && keptPids.contains(*pid))
            continue;
        const std::vector<unsigned long> types =
            connection.listProperty(window, "_NET_WM_WINDOW_TYPE", XA_ATOM);
        const std::vector<unsigned long> states =
            connection.listProperty(window, "_NET_WM_STATE", XA_ATOM);
        if (holds(types, dock) || holds(types, desktop) || holds(states, hidden)
            || holds(states, skipTaskbar))
            continue;
        // Sends WM_CHANGE_STATE with IconicState to the root, which the window manager honours.
        if (XIconifyWindow(connection.display(), window, DefaultScreen(connection.display())))
            ++minimized;
    }
    XSync(connection.display(), False);
    return minimized;
}

QList<ClientWindow> clientWindows()
{
    const Connection connection;
    QList<ClientWindow> windows;
    if (!connection.display())
        return windows;
    const Atom dock = connection.atom("_NET_WM_WINDOW_TYPE_DOCK");
    const Atom desktop = connection.atom("_NET_WM_WINDOW_TYPE_DESKTOP");
    const Atom hidden = connection.atom("_NET_WM_STATE_HIDDEN");
    const Atom skipTaskbar = connection.atom("_NET_WM_STATE_SKIP_TASKBAR");
    const Atom utf8 = connection.atom("UTF8_STRING");
    const auto holds = [](const std::vector<unsigned long> &atoms, Atom wanted) {
        return std::find(atoms.begin(), atoms.end(), wanted) != atoms.end();
    };
    for (unsigned long id :
         connection.listProperty(connection.root(), "_NET_CLIENT_LIST", XA_WINDOW)) {
        const std::vector<unsigned long> types =
            connection.listProperty(id, "_NET_WM_WINDOW_TYPE", XA_ATOM);
        const std::vector<unsigned long> states =
            connection.listProperty(id, "_NET_WM_STATE", XA_ATOM);
        if (holds(types, dock) || holds(types, desktop) || holds(states, skipTaskbar))
            continue;
        ClientWindow window;
        window.id = id;
        QByteArray title = connection.bytesProperty(id, "_NET_WM_NAME", utf8, TitleLimit);
        window.title = title.isEmpty()
            ? QString::fromLatin1(connection.bytesProperty(id, "WM_NAME", XA_STRING, TitleLimit))
            : QString::fromUtf8(title);
        // WM_CLASS: the instance, a nul, the class, a nul.
        const QList<QByteArray> names =
            connection.bytesProperty(id, "WM_CLASS", XA_STRING, TitleLimit).split('\0');
        window.applicationClass = names.size() > 1 ? QString::fromLatin1(names.at(1)) : QString();
        window.pid = connection.windowPid(id).value_or(0);
        window.minimized = holds(states, hidden);
        windows << window;
    }
    return windows;
}

namespace {

// Whether the window manager still lists window among the windows it manages.
bool isManaged(const Connection &connection, unsigned long window)
{
    if (!connection.display() || window == 0)
        return false;
    const std::vector<unsigned long> clients =
        connection.listProperty(connection.root(), "_NET_CLIENT_LIST", XA_WINDOW);
    return std::find(clients.begin(), clients.end(), window) != clients.end();
}

} // namespace

bool activateWindow(unsigned long window)
{
    const Connection connection;
    if (!isManaged(connection, window))
        return false;
    // Its desktop first: not every window manager switches to it for an activation.
    const std::vector<unsigned long> onDesktop =
        connection.listProperty(window, "_NET_WM_DESKTOP", XA_CARDINAL);
    const std::vector<unsigned long> current =
        connection.listProperty(connection.root(), "_NET_CURRENT_DESKTOP", XA_CARDINAL);
    if (!onDesktop.empty() && onDesktop.front() != 0xFFFFFFFF && !current.empty()
        && onDesktop.front() != current.front())
        connection.sendToRoot(connection.root(), "_NET_CURRENT_DESKTOP", long(onDesktop.front()),
                              CurrentTime);
    // Source 2 (a pager): the user asked for it. The window manager restores a minimised one.
    connection.sendToRoot(window, "_NET_ACTIVE_WINDOW", 2, CurrentTime);
    XSync(connection.display(), False);
    return true;
}

bool closeWindow(unsigned long window)
{
    const Connection connection;
    if (!isManaged(connection, window))
        return false;
    // The time, then source 2 (a pager): the user asked for it.
    connection.sendToRoot(window, "_NET_CLOSE_WINDOW", long(CurrentTime), 2);
    XSync(connection.display(), False);
    return true;
}

unsigned long activeWindow()
{
    const Connection connection;
    if (!connection.display())
        return 0;
    const std::vector<unsigned long> active =
        connection.listProperty(connection.root(), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return active.empty() ? 0 : active.front();
}

std::optional<qint64> activeWindowProcess()
{
    const Connection connection;
    if (!connection.display())
        return std::nullopt;
    const std::vector<unsigned long> active =
        connection.listProperty(connection.root(), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    if (active.empty() || active.front() == 0)
        return std::nullopt;
    return connection.windowPid(active.front());
}

QByteArray startupCompleteMessage(const QByteArray &startupId)
{
    bool quote = startupId.isEmpty();
    QByteArray escaped;
    for (char c : startupId) {
        if (c == ' ' || c == '"' || c == '\\')
            quote = true;
        if (c == '"' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return "remove: ID=" + (quote ? '"' + escaped + '"' : escaped);
}

namespace {

// The message in 20-byte pieces, the first as _NET_STARTUP_INFO_BEGIN, ending with its nul.
void sendStartupComplete(const Connection &connection, Window window, const QByteArray &startupId)
{
    QByteArray message = startupCompleteMessage(startupId);
    message.append('\0');
    Atom type = connection.atom("_NET_STARTUP_INFO_BEGIN");
    for (qsizetype offset = 0; offset < message.size(); offset += 20) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = type;
        event.xclient.format = 8;
        const QByteArray piece = message.mid(offset, 20);
        std::copy(piece.cbegin(), piece.cend(), event.xclient.data.b);
        XSendEvent(connection.display(), connection.root(), False, PropertyChangeMask, &event);
        type = connection.atom("_NET_STARTUP_INFO");
    }
}

} // namespace

KeyboardFocus askToActivate(unsigned long window, const QByteArray &startupId)
{
    const Connection connection;
    if (!connection.display())
        return KeyboardFocus::NoDisplay;
    Display *display = connection.display();
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return KeyboardFocus::NotViewable;
    if (!startupId.isEmpty())
        sendStartupComplete(connection, window, startupId);

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = connection.atom("_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, connection.root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    Window focused = 0;
    int revertTo = 0;
    XGetInputFocus(display, &focused, &revertTo);
    XSync(display, False);
    return focused == None || focused == PointerRoot ? KeyboardFocus::Free : KeyboardFocus::Managed;
}

unsigned long serverTime()
{
    const Connection connection;
    if (!connection.display())
        return 0;
    Display *display = connection.display();
    // Any property change on a window of ours is stamped with the server's time.
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window window = XCreateWindow(display, connection.root(), -1, -1, 1, 1, 0, CopyFromParent,
                                        InputOnly, CopyFromParent, CWEventMask, &attributes);
    const Atom stamp = connection.atom("_KORVALE_TIME_STAMP");
    const unsigned char empty = 0;
    XChangeProperty(display, window, stamp, XA_STRING, 8, PropModeAppend, &empty, 0);
    XEvent event{};
    XWindowEvent(display, window, PropertyChangeMask, &event);
    XDestroyWindow(display, window);
    return event.xproperty.time;
}

} // namespace X11Windows
