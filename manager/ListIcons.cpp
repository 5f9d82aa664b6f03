#include "ListIcons.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include "DesktopIcons.h"

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
        exists ? DesktopIcons::forPath(path)
               : QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    if (cache.size() > 8192)
        cache.clear();
    cache.insert(key, icon);
    return icon;
}
