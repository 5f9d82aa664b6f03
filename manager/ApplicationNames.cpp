#include "ApplicationNames.h"

#include "DesktopEntryReader.h"
#include "ListIcons.h"
#include "SearchTextFields.h"

#include <QStandardPaths>

ApplicationNames::ApplicationNames(const QVariantList &applicationsFound)
{
    for (const QVariant &value : applicationsFound) {
        const QString path = value.toMap().value(QStringLiteral("P")).toString();
        const QString name =
            SearchTextFields::withoutExtension(SearchTextFields::lastPathElement(path));
        if (!name.isEmpty() && !mPathOfName.contains(name))
            mPathOfName.insert(name, path);
    }
}

ApplicationNames::Shown ApplicationNames::shown(const QString &name) const
{
    const auto cached = mCache.constFind(name);
    if (cached != mCache.constEnd())
        return *cached;
    QString path = mPathOfName.value(name);
    // Names are file names: nothing that could climb out of the application folders.
    if (path.isEmpty() && !name.isEmpty() && !name.contains(QLatin1Char('/')))
        path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation,
                                      name + QStringLiteral(".desktop"));
    Shown result{name, {}};
    if (!path.isEmpty()) {
        if (path.endsWith(QLatin1String(".desktop"))) {
            if (const std::optional<QString> title = DesktopEntryReader::nameAtPath(path))
                result.title = *title;
        }
        result.icon = ListIcons::iconForPath(path);
    }
    mCache.insert(name, result);
    return result;
}
