#include "WaylandClientLibrary.h"

#include <QLibrary>

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
        QLibrary library(QStringLiteral("wayland-client"), 0);
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (!library.load()) {
            failure = library.errorString();
            return;
        }
        WaylandClientLibrary found{};
        const auto resolve = [&](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                library.resolve(name));
            if (!function && failure.isEmpty())
                failure = QStringLiteral("libwayland-client lacks %1").arg(QLatin1String(name));
        };
        resolve(found.displayConnect, "wl_display_connect");
        resolve(found.displayDisconnect, "wl_display_disconnect");
        resolve(found.displayGetFd, "wl_display_get_fd");
        resolve(found.displayGetError, "wl_display_get_error");
        resolve(found.displayFlush, "wl_display_flush");
        resolve(found.displayDispatchPending, "wl_display_dispatch_pending");
        resolve(found.displayPrepareRead, "wl_display_prepare_read");
        resolve(found.displayReadEvents, "wl_display_read_events");
        resolve(found.displayCancelRead, "wl_display_cancel_read");
        resolve(found.proxyMarshalFlags, "wl_proxy_marshal_flags");
        resolve(found.proxyAddListener, "wl_proxy_add_listener");
        resolve(found.proxyGetVersion, "wl_proxy_get_version");
        resolve(found.proxySetUserData, "wl_proxy_set_user_data");
        resolve(found.proxyGetUserData, "wl_proxy_get_user_data");
        resolve(found.proxyDestroy, "wl_proxy_destroy");
        if (!failure.isEmpty())
            return;
        sFunctions = found;
        loaded = true;
    });
    if (why)
        *why = failure;
    return loaded ? &sFunctions : nullptr;
}

bool WaylandClientLibrary::isLoaded()
{
    return loaded;
}
