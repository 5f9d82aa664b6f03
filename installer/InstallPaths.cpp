#include "InstallPaths.h"

#include "BoundedFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

QString InstallPaths::defaultApplicationsFolder()
{
    if (::geteuid() == 0)
        return QStringLiteral("/opt");
    return QDir::homePath() + QStringLiteral("/.local/opt");
}

InstallPaths InstallPaths::forCurrentUser(const QString &bundleName)
{
    InstallPaths paths;
    paths.applicationsFolder = defaultApplicationsFolder();
    paths.homeFolder = QDir::homePath();
    paths.desktopFolder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    paths.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    paths.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    paths.installedBundle = paths.applicationsFolder + QLatin1Char('/') + bundleName;
    return paths;
}

QString InstallPaths::expand(const QString &argument) const
{
    const struct {
        const char *prefix;
        const QString &folder;
    } replacements[] = {
        {"/Applications", applicationsFolder},
        {"~/Desktop", desktopFolder},
        {"$XDG_DATA_HOME", dataHome},
        {"$XDG_CONFIG_HOME", configHome},
        {"~", homeFolder},
    };
    for (const auto &replacement : replacements) {
        const QLatin1String prefix(replacement.prefix);
        if (argument == prefix
            || (argument.startsWith(prefix) && argument.at(prefix.size()) == QLatin1Char('/')))
            return replacement.folder + argument.mid(prefix.size());
    }
    return argument;
}

QString InstallPaths::bundleVersion(const QString &bundlePath)
{
    if (bundlePath.isEmpty() || !QFileInfo(bundlePath).isDir())
        return {};
    const BoundedFile::Result read =
        BoundedFile::readHead(bundlePath + QLatin1Char('/') + VersionFile, 256);
    if (!read.isRead())
        return QStringLiteral("?");
    const QString version = QString::fromUtf8(read.bytes.left(read.bytes.indexOf('\n'))).trimmed();
    return version.isEmpty() ? QStringLiteral("?") : version;
}
