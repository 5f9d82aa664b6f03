#include "ListIcons.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include "DesktopEntryReader.h"
#include "FileIcons.h"

namespace {

QIcon desktopIcon(const QString &path)
{
    const QFileInfo info(path);
    if (path.endsWith(QLatin1String(".desktop"))) {
        const QString name = DesktopEntryReader::iconAtPath(path);
        if (!name.isEmpty()) {
            const QIcon icon = QFileInfo(name).isAbsolute() ? QIcon(name) : QIcon::fromTheme(name);
            if (!icon.isNull())
                return icon;
        }
        return QIcon::fromTheme(QStringLiteral("application-x-executable"),
                                QApplication::style()->standardIcon(QStyle::SP_DesktopIcon));
    }
    static const QMimeDatabase mimes;
    return FileIcons::forType(info, mimes.mimeTypeForFile(info, QMimeDatabase::MatchExtension));
}

} // namespace

QIcon ListIcons::createStandardIcon(const QIcon &icon)
{
    QPixmap image(Width, Height);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(5, 0, Height, Height));
    painter.end();
    return QIcon(image);
}

QIcon ListIcons::iconForPath(const QString &path)
{
    static QHash<QString, QIcon> cache;
    const bool exists = !path.isEmpty() && QFileInfo::exists(path);
    const QString key = exists ? path : QString();
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const QIcon icon = createStandardIcon(
        exists ? desktopIcon(path)
               : QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    if (cache.size() > 8192)
        cache.clear();
    cache.insert(key, icon);
    return icon;
}
