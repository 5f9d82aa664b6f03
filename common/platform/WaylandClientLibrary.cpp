#include "WaylandClientLibrary.h"

#include "SystemLibrary.h"

#include <atomic>
#include <mutex>

WaylandClientLibrary WaylandClientLibrary::sFunctions{};

namespace {

std::atomic<bool> loaded{false};

} // namespace

const WaylandClientLibrary *WaylandClientLibrary::get(QString *why)
{
    static std::once_flag once;
    static QString failure;
    std::call_once(once, [] {
        // Never unloaded: the connections' listeners point into it until the process ends.
        SystemLibrary library(QStringLiteral("wayland-client"), 0);
        WaylandClientLibrary found{};
        library.resolve(found.displayConnect, "wl_display_connect");
        library.resolve(found.displayDisconnect, "wl_display_disconnect");
        library.resolve(found.displayGetFd, "wl_display_get_fd");
        library.resolve(found.displayGetError, "wl_display_get_error");
        library.resolve(found.displayFlush, "wl_display_flush");
        library.resolve(found.displayDispatchPending, "wl_display_dispatch_pending");
        library.resolve(found.displayPrepareRead, "wl_display_prepare_read");
        library.resolve(found.displayReadEvents, "wl_display_read_events");
        library.resolve(found.displayCancelRead, "wl_display_cancel_read");
        library.resolve(found.proxyMarshalFlags, "wl_proxy_marshal_flags");
        library.resolve(found.proxyAddListener, "wl_proxy_add_listener");
        library.resolve(found.proxyGetVersion, "wl_proxy_get_version");
        library.resolve(found.proxySetUserData, "wl_proxy_set_user_data");
        library.resolve(found.proxyGetUserData, "wl_proxy_get_user_data");
        library.resolve(found.proxyDestroy, "wl_proxy_destroy");
        failure = library.why();
        if (!library.ok())
            return;
        sFunctions = found;
        loaded = true;
    });
    if (why)
        *why = failure;
    return loaded ? &sFunctions : nullptr;
}
