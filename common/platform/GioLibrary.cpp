#include "GioLibrary.h"

#include "SystemLibrary.h"

#include <atomic>

namespace {

std::atomic<bool> loaded{false};

struct Loading {
    GioLibrary functions{};
    QString why;
    bool ok = false;

    Loading()
    {
        // Never unloaded: GObject's types cannot be unregistered.
        SystemLibrary library(QStringLiteral("gio-2.0"), 0);
        loaded = library.ok();
        library.resolve(functions.g_desktop_app_info_new_from_filename,
                        "g_desktop_app_info_new_from_filename");
        library.resolve(functions.g_desktop_app_info_get_boolean, "g_desktop_app_info_get_boolean");
        library.resolve(functions.g_desktop_app_info_get_categories,
                        "g_desktop_app_info_get_categories");
        library.resolve(functions.g_app_launch_context_new, "g_app_launch_context_new");
        library.resolve(functions.g_app_launch_context_setenv, "g_app_launch_context_setenv");
        library.resolve(functions.g_app_launch_context_unsetenv, "g_app_launch_context_unsetenv");
        library.resolve(functions.g_app_info_launch_uris, "g_app_info_launch_uris");
        library.resolve(functions.g_app_info_launch_default_for_uri,
                        "g_app_info_launch_default_for_uri");
        // GIO's own dependencies answer for these.
        library.resolve(functions.g_object_unref, "g_object_unref");
        library.resolve(functions.g_error_free, "g_error_free");
        ok = library.ok();
        why = library.why();
    }
};

} // namespace

const GioLibrary *GioLibrary::get(QString *why)
{
    static const Loading loading;
    if (why)
        *why = loading.why;
    return loading.ok ? &loading.functions : nullptr;
}

bool GioLibrary::isLoaded()
{
    return loaded;
}
