#include "WaylandConnection.h"

// Before the protocols' headers: their calls go through the loaded library.
#include "WaylandClientLibrary.h"

#include "KorvaleLog.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>

#include <poll.h>

#include <algorithm>

WaylandConnection *WaylandConnection::session()
{
    static std::unique_ptr<WaylandConnection> connection = [] {
        if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            return std::unique_ptr<WaylandConnection>();
        return open(QByteArray());
    }();
    return connection.get();
}

std::unique_ptr<WaylandConnection> WaylandConnection::open(const QByteArray &displayName)
{
    QString why;
    if (!WaylandClientLibrary::get(&why)) {
        KorvaleLog::line(QStringLiteral("No Wayland connection of the agent's own: %1").arg(why));
        return nullptr;
    }
    wl_display *display =
        wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!display) {
        KorvaleLog::line(QStringLiteral("No Wayland connection of the agent's own: the "
                                        "compositor does not answer"));
        return nullptr;
    }
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    // The globals are known once the registry's first answers are in.
    if (!connection->roundtrip(2000)) {
        KorvaleLog::line(QStringLiteral("No Wayland connection of the agent's own: the "
                                        "compositor did not list its interfaces"));
        return nullptr;
    }
    return connection;
}

WaylandConnection::WaylandConnection(wl_display *display)
    : mDisplay(display)
{
    static const wl_registry_listener listener = {&WaylandConnection::onGlobal,
                                                  &WaylandConnection::onGlobalRemove};
    mRegistry = wl_display_get_registry(mDisplay);
    wl_registry_add_listener(mRegistry, &listener, this);
    auto *notifier = new QSocketNotifier(wl_display_get_fd(mDisplay), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &WaylandConnection::dispatchAvailable);
}

WaylandConnection::~WaylandConnection()
{
    if (mRegistry)
        wl_registry_destroy(mRegistry);
    wl_display_disconnect(mDisplay);
}

bool WaylandConnection::isBroken() const
{
    return wl_display_get_error(mDisplay) != 0;
}

void WaylandConnection::noteBroken()
{
    if (mBrokenSaid || !isBroken())
        return;
    mBrokenSaid = true;
    KorvaleLog::line(QStringLiteral("The agent's Wayland connection ended (error %1)")
                         .arg(wl_display_get_error(mDisplay)));
    emit broken();
}

void WaylandConnection::onGlobal(void *data, wl_registry *, uint32_t name, const char *interface,
                                 uint32_t version)
{
    static_cast<WaylandConnection *>(data)->mGlobals.append({name, interface, version});
}

void WaylandConnection::onGlobalRemove(void *data, wl_registry *, uint32_t name)
{
    QList<Global> &globals = static_cast<WaylandConnection *>(data)->mGlobals;
    globals.removeIf([name](const Global &global) { return global.name == name; });
}

uint32_t WaylandConnection::offeredVersion(const char *interfaceName) const
{
    for (const Global &global : mGlobals) {
        if (global.interface == interfaceName)
            return global.version;
    }
    return 0;
}

void *WaylandConnection::bind(const wl_interface *interface, uint32_t maxVersion) const
{
    for (const Global &global : mGlobals) {
        if (global.interface == interface->name)
            return wl_registry_bind(mRegistry, global.name, interface,
                                    std::min(global.version, maxVersion));
    }
    return nullptr;
}

void WaylandConnection::flush()
{
    if (wl_display_flush(mDisplay) < 0 && errno != EAGAIN)
        noteBroken();
}

void WaylandConnection::dispatchAvailable()
{
    if (isBroken())
        return;
    // Another reader (dispatchUntil) may have queued events already: those go first.
    while (wl_display_prepare_read(mDisplay) != 0) {
        if (wl_display_dispatch_pending(mDisplay) < 0) {
            noteBroken();
            return;
        }
    }
    pollfd ready{wl_display_get_fd(mDisplay), POLLIN, 0};
    if (poll(&ready, 1, 0) > 0) {
        if (wl_display_read_events(mDisplay) < 0) {
            noteBroken();
            return;
        }
    } else {
        wl_display_cancel_read(mDisplay);
    }
    if (wl_display_dispatch_pending(mDisplay) < 0)
        noteBroken();
    flush();
}

bool WaylandConnection::dispatchUntil(const std::function<bool()> &done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!isBroken()) {
        if (wl_display_dispatch_pending(mDisplay) < 0)
            break;
        if (done())
            return true;
        while (wl_display_prepare_read(mDisplay) != 0) {
            if (wl_display_dispatch_pending(mDisplay) < 0) {
                noteBroken();
                return false;
            }
        }
        flush();
        const qint64 remaining = deadline.remainingTime();
        pollfd ready{wl_display_get_fd(mDisplay), POLLIN, 0};
        if (remaining == 0 || poll(&ready, 1, int(remaining)) <= 0) {
            wl_display_cancel_read(mDisplay);
            return done();
        }
        if (wl_display_read_events(mDisplay) < 0)
            break;
    }
    noteBroken();
    return false;
}

bool WaylandConnection::roundtrip(int timeoutMs)
{
    bool synced = false;
    static const wl_callback_listener listener = {
        [](void *data, wl_callback *, uint32_t) { *static_cast<bool *>(data) = true; }};
    wl_callback *callback = wl_display_sync(mDisplay);
    wl_callback_add_listener(callback, &listener, &synced);
    const bool answered = dispatchUntil([&synced] { return synced; }, timeoutMs);
    // A late answer must not write to this frame: the callback goes with it.
    wl_callback_destroy(callback);
    return answered;
}
