#include "DesktopIcons.h"

#include "BoundedFile.h"
#include "DesktopEntryReader.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QMimeType>

namespace {

constexpr qsizetype CacheLimit = 4096;

QHash<QString, QIcon> &applicationCache()
{
    static QHash<QString, QIcon> cache;
    return cache;
}

QHash<QString, QIcon> &pathCache()
{
    static QHash<QString, QIcon> cache;
    return cache;
}

void remember(QHash<QString, QIcon> &cache, const QString &key, const QIcon &icon)
{
    if (cache.size() > CacheLimit)
        cache.clear();
    cache.insert(key, icon);
}

} // namespace

void DesktopIcons::useDesktopIconTheme()
{
    static const bool done = [] {
        if (QIcon::fallbackThemeName().isEmpty()
            || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    Q_UNUSED(done);
}

QIcon DesktopIcons::themed(const QStringList &names)
{
    useDesktopIconTheme();
    for (const QString &name : names) {
        if (name.isEmpty())
            continue;
        QIcon icon = QIcon::fromTheme(name);
        if (icon.isNull() && !name.endsWith(QLatin1String("-symbolic")))
            icon = QIcon::fromTheme(name + QLatin1String("-symbolic"));
        if (!icon.isNull())
            return icon;
    }
    return {};
}

QIcon DesktopIcons::fromFile(const QString &path)
{
    if (BoundedFile::isRegularFile(path)
        && QFileInfo(path).size() <= BoundedFile::Limit::ApplicationIcon)
        return QIcon(path);
    return {};
}

QIcon DesktopIcons::forApplication(const QString &desktopEntryPath)
{
    const auto found = applicationCache().constFind(desktopEntryPath);
    if (found != applicationCache().constEnd())
        return *found;
    const QString name = DesktopEntryReader::iconAtPath(desktopEntryPath);
    QIcon icon;
    if (QFileInfo(name).isAbsolute()) {
        icon = fromFile(name);
    } else {
        // Many entries name their icon with the image's suffix, which themes do not use.
        QString themeName = name;
        for (const char *suffix : {".png", ".svg", ".xpm"}) {
            if (themeName.endsWith(QLatin1String(suffix)))
                themeName.chop(qsizetype(qstrlen(suffix)));
        }
        icon = themed({themeName});
    }
    if (icon.isNull())
        icon = themed({QStringLiteral("application-x-executable")});
    if (icon.isNull())
        icon = QFileIconProvider().icon(QFileIconProvider::File);
    remember(applicationCache(), desktopEntryPath, icon);
    return icon;
}

QIcon DesktopIcons::forType(const QFileInfo &info, const QMimeType &mime)
{
    QIcon icon =
        themed({mime.iconName(), mime.genericIconName(),
                info.isDir() ? QStringLiteral("folder") : QStringLiteral("text-x-generic")});
    if (icon.isNull())
        icon = QFileIconProvider().icon(info);
    return icon;
}

QIcon DesktopIcons::forPath(const QString &path)
{
    const QFileInfo info(path);
    if (path.endsWith(QLatin1String(".desktop")) && info.isFile())
        return forApplication(path);
    const auto found = pathCache().constFind(path);
    if (found != pathCache().constEnd())
        return *found;
    static const QMimeDatabase mimes;
    const QIcon icon = forType(info, mimes.mimeTypeForFile(info));
    remember(pathCache(), path, icon);
    return icon;
}

void DesktopIcons::clearCache()
{
    applicationCache().clear();
    pathCache().clear();
}
