#include "ApplicationsFolders.h"

#include <QDir>
#include <QFileInfo>

namespace ApplicationsFolders {

namespace {

QString environmentOr(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

} // namespace

QStringList defaultApplicationsFolders()
{
    const QString home = QDir::homePath();
    QStringList candidates;
    candidates << environmentOr("XDG_DATA_HOME", home + QStringLiteral("/.local/share"))
            + QStringLiteral("/applications");
    const QStringList dataDirs =
        environmentOr("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"))
            .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &dir : dataDirs)
        candidates << dir + QStringLiteral("/applications");
    candidates << QStringLiteral("/var/lib/flatpak/exports/share/applications")
               << home + QStringLiteral("/.local/share/flatpak/exports/share/applications")
               << QStringLiteral("/var/lib/snapd/desktop/applications")
               << QStringLiteral("/Applications") << QStringLiteral("/Developer/Applications")
               << QStringLiteral("/Library/PreferencePanes")
               << home + QStringLiteral("/Applications")
               << home + QStringLiteral("/Library/PreferencePanes");

    QStringList folders;
    for (const QString &candidate : candidates) {
        const QString folder = QDir::cleanPath(candidate);
        if (QDir::isRelativePath(folder) || folders.contains(folder))
            continue;
        if (QFileInfo(folder).isDir())
            folders << folder;
    }
    return folders;
}

} // namespace ApplicationsFolders
