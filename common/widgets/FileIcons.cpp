#include "FileIcons.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeType>

QIcon FileIcons::forType(const QFileInfo &info, const QMimeType &mime)
{
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(mime.genericIconName());
    if (icon.isNull())
        icon = QFileIconProvider().icon(info);
    return icon;
}
