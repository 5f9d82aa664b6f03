// GIO's headers use "signals" as a field name, which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#pragma pop_macro("signals")

#include "DesktopEntry.h"

namespace DesktopEntry {

std::optional<QString> listedTitle(const QString &path)
{
    const QByteArray nativePath = path.toLocal8Bit();
    // Rejects entries that are not applications, are Hidden, or whose TryExec or Exec program
    // is missing.
    GDesktopAppInfo *info = g_desktop_app_info_new_from_filename(nativePath.constData());
    if (!info)
        return std::nullopt;
    std::optional<QString> title;
    if (!g_desktop_app_info_get_is_hidden(info) && g_app_info_should_show(G_APP_INFO(info))) {
        const char *name = g_app_info_get_name(G_APP_INFO(info));
        title = name && *name ? QString::fromUtf8(name) : path.section(QLatin1Char('/'), -1);
    }
    g_object_unref(info);
    return title;
}

QString desktopFileId(const QString &relativePath)
{
    QString id = relativePath;
    id.replace(QLatin1Char('/'), QLatin1Char('-'));
    return id;
}

} // namespace DesktopEntry
