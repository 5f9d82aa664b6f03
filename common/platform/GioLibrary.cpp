#include "GioLibrary.h"

#include <QLibrary>

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
        QLibrary library(QStringLiteral("gio-2.0"), 0);
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (!library.load()) {
            why = library.errorString();
            return;
        }
        loaded = true;
        ok = resolve(library, functions.g_desktop_app_info_new_from_filename,
                     "g_desktop_app_info_new_from_filename")
            && resolve(library, functions.g_desktop_app_info_get_boolean,
                       "g_desktop_app_info_get_boolean")
            && resolve(library, functions.g_desktop_app_info_get_categories,
                       "g_desktop_app_info_get_categories")
            && resolve(library, functions.g_app_launch_context_new, "g_app_launch_context_new")
            && resolve(library, functions.g_app_launch_context_setenv,
                       "g_app_launch_context_setenv")
            && resolve(library, functions.g_app_launch_context_unsetenv,
                       "g_app_launch_context_unsetenv")
            && resolve(library, functions.g_app_info_launch_uris, "g_app_info_launch_uris")
            && resolve(library, functions.g_app_info_launch_default_for_uri,
                       "g_app_info_launch_default_for_uri")
            // GIO's own dependencies answer for these.
            && resolve(library, functions.g_object_unref, "g_object_unref")
            && resolve(library, functions.g_error_free, "g_error_free");
    }

    template <typename Function>
    bool resolve(QLibrary &library, Function &function, const char *name)
    {
        function = reinterpret_cast<Function>(library.resolve(name));
        if (!function)
            why = QStringLiteral("GIO lacks %1").arg(QLatin1String(name));
        return function != nullptr;
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
