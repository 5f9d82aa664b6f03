#include "ApplicationVersion.h"

#include "AppStreamComponent.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

namespace {

const QString DesktopSuffix = QStringLiteral(".desktop");

// The data folders of the desktop (~/.local/share, then /usr/local/share, /usr/share and any
// other folder of XDG_DATA_DIRS), "metainfo" before the older "appdata".
QStringList systemFolders()
{
    QStringList data = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    if (!data.contains(QStringLiteral("/usr/share")))
        data << QStringLiteral("/usr/share");
    QStringList folders;
    for (const QString &name : {QStringLiteral("/metainfo"), QStringLiteral("/appdata")}) {
        for (const QString &folder : std::as_const(data))
            folders << folder + name;
    }
    return folders;
}

QStringList &configuredFolders()
{
    static QStringList folders;
    return folders;
}

// Desktop id -> metadata file, for the components whose file is not named after their entry.
class FolderIndex
{
public:
    QString fileFor(const QStringList &folders, const QString &desktopId)
    {
        QStringList stamps;
        for (const QString &folder : folders)
            stamps << folder + QLatin1Char('@')
                    + QString::number(QFileInfo(folder).lastModified().toMSecsSinceEpoch());
        if (stamps != mStamps) {
            rebuild(folders);
            mStamps = stamps;
        }
        return mFiles.value(desktopId);
    }

private:
    void rebuild(const QStringList &folders)
    {
        mFiles.clear();
        for (const QString &folder : folders) {
            const QFileInfoList files = QDir(folder).entryInfoList(
                {QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name);
            for (const QFileInfo &info : files) {
                for (const QString &id : AppStreamComponent::fromFile(info.filePath()).desktopIds) {
                    if (!mFiles.contains(id)) // the first folder wins, as for direct names
                        mFiles.insert(id, info.filePath());
                }
            }
        }
    }

    QStringList mStamps;
    QHash<QString, QString> mFiles;
};

FolderIndex &folderIndex()
{
    static FolderIndex index;
    return index;
}

} // namespace

void ApplicationVersion::setMetainfoFolders(const QStringList &folders)
{
    configuredFolders() = folders;
}

QStringList ApplicationVersion::metainfoFolders()
{
    return configuredFolders().isEmpty() ? systemFolders() : configuredFolders();
}

std::optional<QString> ApplicationVersion::versionForPath(const QString &path)
{
    const QFileInfo entry(path);
    if (!path.endsWith(DesktopSuffix) || entry.fileName() == DesktopSuffix)
        return std::nullopt;
    const QString desktopId = entry.fileName();
    const QString base = desktopId.chopped(DesktopSuffix.size());
    const QStringList folders = metainfoFolders();

    // Metadata is normally named after the component id, which is the entry's name.
    for (const QString &folder : folders) {
        for (const QString &suffix :
             {QStringLiteral(".metainfo.xml"), QStringLiteral(".appdata.xml")}) {
            const QString candidate = folder + QLatin1Char('/') + base + suffix;
            if (QFileInfo::exists(candidate))
                return newestReleaseInFile(candidate);
        }
    }
    const QString named = folderIndex().fileFor(folders, desktopId);
    if (named.isEmpty())
        return std::nullopt;
    return newestReleaseInFile(named);
}

std::optional<QString> ApplicationVersion::newestReleaseInFile(const QString &metainfoPath)
{
    AppStreamComponent component = AppStreamComponent::fromFile(metainfoPath);
    if (component.stableVersions.isEmpty() && !component.id.isEmpty()) {
        // Releases kept beside the metadata: "releases/<id>.releases.xml".
        const QString external = QFileInfo(metainfoPath).absolutePath()
            + QStringLiteral("/releases/") + component.id + QStringLiteral(".releases.xml");
        if (QFileInfo::exists(external))
            component.stableVersions = AppStreamComponent::fromFile(external).stableVersions;
    }
    const QString newest = component.newestStableVersion();
    if (newest.isEmpty())
        return std::nullopt;
    return newest;
}

int ApplicationVersion::compareVersions(const QString &a, const QString &b)
{
    return AppStreamComponent::compareVersions(a, b);
}
