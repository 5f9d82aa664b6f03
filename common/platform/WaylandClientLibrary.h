#pragma once

// libwayland-client, opened when the process first connects to a compositor rather than linked:
// linked, it and libffi were mapped into every agent at start, while only a Wayland session
// speaks to the compositor. Include this before any Wayland protocol header: the protocols'
// inline functions then call through the pointers below, and the core interfaces they name
// (wl_seat_interface...) are the program's own copies, generated from wayland.xml. A call made
// before get() has loaded the library is a null call: every user starts from a connection that
// WaylandConnection opened after loading it.
#ifdef WAYLAND_CLIENT_PROTOCOL_H
#error "platform/WaylandClientLibrary.h must be included before the Wayland protocol headers"
#endif

#include <wayland-client-core.h>

#include <QString>

struct WaylandClientLibrary {
    decltype(&::wl_display_connect) displayConnect;
    decltype(&::wl_display_disconnect) displayDisconnect;
    decltype(&::wl_display_get_fd) displayGetFd;
    decltype(&::wl_display_get_error) displayGetError;
    decltype(&::wl_display_flush) displayFlush;
    decltype(&::wl_display_dispatch_pending) displayDispatchPending;
    decltype(&::wl_display_prepare_read) displayPrepareRead;
    decltype(&::wl_display_read_events) displayReadEvents;
    decltype(&::wl_display_cancel_read) displayCancelRead;
    decltype(&::wl_proxy_marshal_flags) proxyMarshalFlags;
    decltype(&::wl_proxy_add_listener) proxyAddListener;
    decltype(&::wl_proxy_get_version) proxyGetVersion;
    decltype(&::wl_proxy_set_user_data) proxySetUserData;
    decltype(&::wl_proxy_get_user_data) proxyGetUserData;
    decltype(&::wl_proxy_destroy) proxyDestroy;

    // Loaded once for the process; null when the library or one of these is missing, with the
    // reason in why.
    static const WaylandClientLibrary *get(QString *why = nullptr);
    // The functions once get() has loaded them; all null before.
    static const WaylandClientLibrary &functions() { return sFunctions; }

private:
    static WaylandClientLibrary sFunctions;
};

#define wl_display_connect (*WaylandClientLibrary::functions().displayConnect)
#define wl_display_disconnect (*WaylandClientLibrary::functions().displayDisconnect)
#define wl_display_get_fd (*WaylandClientLibrary::functions().displayGetFd)
#define wl_display_get_error (*WaylandClientLibrary::functions().displayGetError)
#define wl_display_flush (*WaylandClientLibrary::functions().displayFlush)
#define wl_display_dispatch_pending (*WaylandClientLibrary::functions().displayDispatchPending)
#define wl_display_prepare_read (*WaylandClientLibrary::functions().displayPrepareRead)
#define wl_display_read_events (*WaylandClientLibrary::functions().displayReadEvents)
#define wl_display_cancel_read (*WaylandClientLibrary::functions().displayCancelRead)
#define wl_proxy_marshal_flags (*WaylandClientLibrary::functions().proxyMarshalFlags)
#define wl_proxy_add_listener (*WaylandClientLibrary::functions().proxyAddListener)
#define wl_proxy_get_version (*WaylandClientLibrary::functions().proxyGetVersion)
#define wl_proxy_set_user_data (*WaylandClientLibrary::functions().proxySetUserData)
#define wl_proxy_get_user_data (*WaylandClientLibrary::functions().proxyGetUserData)
#define wl_proxy_destroy (*WaylandClientLibrary::functions().proxyDestroy)

#include <wayland-client.h>
