#include "ContactsApplication.h"

#include "BoundedFile.h"
#include "ItemRecord.h"
#include "KorvaleLog.h"
#include "platform/GioLibrary.h"

#include <QFile>

const QString ContactsApplication::Category = QStringLiteral("ContactManagement");

std::optional<QString> ContactsApplication::findInApplications(const QVariantList &applications)
{
    for (const QVariant &entry : applications) {
        const QVariantMap record = entry.toMap();
        const QString path = ItemRecord::string(record, ItemRecord::KeyPath);
        if (path.endsWith(QLatin1String(".desktop"))
            && categoriesOfDesktopEntry(path).contains(Category))
            return path;
    }
    return std::nullopt;
}

QStringList ContactsApplication::categoriesOfDesktopEntry(const QString &path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    // GIO opens whatever it is given, and would wait on a FIFO for good.
    if (!BoundedFile::isRegularFile(nativePath))
        return {};
    QString why;
    const GioLibrary *gio = GioLibrary::get(&why);
    if (!gio) {
        KorvaleLog::line(QStringLiteral("Desktop entries cannot be read: %1").arg(why));
        return {};
    }
    GDesktopAppInfo *info = gio->g_desktop_app_info_new_from_filename(nativePath.constData());
    if (!info)
        return {};
    const char *categories = gio->g_desktop_app_info_get_categories(info);
    const QStringList result =
        QString::fromUtf8(categories ? categories : "").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    gio->g_object_unref(info);
    return result;
}
