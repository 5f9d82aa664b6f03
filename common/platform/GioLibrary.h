#pragma once

// GIO's headers use "signals" as a field name, which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#pragma pop_macro("signals")

#include <QString>

// GIO, opened the first time a desktop entry is launched or read: linked into the programs, it
// brought GObject, libmount, libblkid and libselinux into every agent at start (1.1 MB) for
// gestures most starts never see. The functions the suite uses, under their GIO names.
struct GioLibrary {
    GDesktopAppInfo *(*g_desktop_app_info_new_from_filename)(const char *);
    gboolean (*g_desktop_app_info_get_boolean)(GDesktopAppInfo *, const char *);
    const char *(*g_desktop_app_info_get_categories)(GDesktopAppInfo *);
    GAppLaunchContext *(*g_app_launch_context_new)();
    void (*g_app_launch_context_setenv)(GAppLaunchContext *, const char *, const char *);
    void (*g_app_launch_context_unsetenv)(GAppLaunchContext *, const char *);
    gboolean (*g_app_info_launch_uris)(GAppInfo *, GList *, GAppLaunchContext *, GError **);
    gboolean (*g_app_info_launch_default_for_uri)(const char *, GAppLaunchContext *, GError **);
    void (*g_object_unref)(gpointer);
    void (*g_error_free)(GError *);

    // Loaded once for the process, from any thread; null when GIO or one of these is missing,
    // with the reason in why.
    static const GioLibrary *get(QString *why = nullptr);
    // Whether this process has opened it.
    static bool isLoaded();

    // The interface a desktop entry's information implements: GIO's cast macro, unchecked.
    static GAppInfo *appInfo(GDesktopAppInfo *info) { return reinterpret_cast<GAppInfo *>(info); }
};
