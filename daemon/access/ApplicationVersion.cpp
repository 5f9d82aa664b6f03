#include "ApplicationVersion.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QXmlStreamReader>

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

// What one metadata file says about its component.
struct Component {
    QString id;
    QStringList desktopIds; // launchables, and the id itself when it names a desktop entry
    QStringList stableVersions; // in file order
    bool externalReleases = false;
};

bool isStable(const QXmlStreamAttributes &attributes)
{
    const QStringView type = attributes.value(QLatin1String("type"));
    return type.isEmpty() || type == QLatin1String("stable");
}

Component readComponent(const QString &path)
{
    Component component;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return component;
    QXmlStreamReader xml(&file);
    int depth = 0;
    bool inReleases = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (xml.name() == QLatin1String("releases"))
                inReleases = false;
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QStringView name = xml.name();
        const QXmlStreamAttributes attributes = xml.attributes();
        // A releases file has <releases> as its root; a metadata file has them one level down.
        if (name == QLatin1String("releases")) {
            inReleases = true;
            if (attributes.value(QLatin1String("type")) == QLatin1String("external"))
                component.externalReleases = true;
        } else if (name == QLatin1String("release") && inReleases) {
            const QString version = attributes.value(QLatin1String("version")).toString().trimmed();
            if (!version.isEmpty() && isStable(attributes))
                component.stableVersions.append(version);
        } else if (depth == 2 && name == QLatin1String("id")) {
            const bool desktopType =
                attributes.value(QLatin1String("type")) == QLatin1String("desktop");
            component.id = xml.readElementText().trimmed();
            --depth; // readElementText consumed the end element
            if (component.id.endsWith(DesktopSuffix) || desktopType)
                component.desktopIds.append(component.id);
            else
                component.desktopIds.append(component.id + DesktopSuffix);
        } else if (depth == 2 && name == QLatin1String("launchable")
                   && attributes.value(QLatin1String("type")) == QLatin1String("desktop-id")) {
            component.desktopIds.append(xml.readElementText().trimmed());
            --depth;
        }
    }
    return component;
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
                for (const QString &id : readComponent(info.filePath()).desktopIds) {
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

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isAlpha(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
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
    const Component component = readComponent(metainfoPath);
    QStringList versions = component.stableVersions;
    if (versions.isEmpty() && !component.id.isEmpty()) {
        // Releases kept beside the metadata: "releases/<id>.releases.xml".
        const QString external = QFileInfo(metainfoPath).absolutePath()
            + QStringLiteral("/releases/") + component.id + QStringLiteral(".releases.xml");
        if (QFileInfo::exists(external))
            versions = readComponent(external).stableVersions;
    }
    if (versions.isEmpty())
        return std::nullopt;
    // Lists are meant to be newest first, but not every project keeps them so.
    QString newest = versions.first();
    for (const QString &version : std::as_const(versions)) {
        if (compareVersions(version, newest) > 0)
            newest = version;
    }
    return newest;
}

int ApplicationVersion::compareVersions(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    const qsizetype n = a.size(), m = b.size();
    while (i < n || j < m) {
        while (i < n && !isDigit(a[i]) && !isAlpha(a[i]) && a[i] != QLatin1Char('~'))
            ++i;
        while (j < m && !isDigit(b[j]) && !isAlpha(b[j]) && b[j] != QLatin1Char('~'))
            ++j;
        const bool tildeA = i < n && a[i] == QLatin1Char('~');
        const bool tildeB = j < m && b[j] == QLatin1Char('~');
        if (tildeA || tildeB) {
            if (!tildeA)
                return 1;
            if (!tildeB)
                return -1;
            ++i;
            ++j;
            continue;
        }
        if (i >= n || j >= m)
            break;
        const bool numeric = isDigit(a[i]);
        const auto segmentEnd = [numeric](const QString &s, qsizetype at) {
            while (at < s.size() && (numeric ? isDigit(s[at]) : isAlpha(s[at])))
                ++at;
            return at;
        };
        const qsizetype endA = segmentEnd(a, i);
        const qsizetype endB = segmentEnd(b, j);
        if (endB == j) // a digit run against letters: the number is newer
            return numeric ? 1 : -1;
        QStringView segA = QStringView(a).mid(i, endA - i);
        QStringView segB = QStringView(b).mid(j, endB - j);
        if (numeric) {
            while (segA.size() > 1 && segA.front() == QLatin1Char('0'))
                segA = segA.mid(1);
            while (segB.size() > 1 && segB.front() == QLatin1Char('0'))
                segB = segB.mid(1);
            if (segA.size() != segB.size())
                return segA.size() < segB.size() ? -1 : 1;
        }
        const int order = segA.compare(segB);
        if (order != 0)
            return order < 0 ? -1 : 1;
        i = endA;
        j = endB;
    }
    const bool restA = i < n, restB = j < m;
    if (restA == restB)
        return 0;
    return restA ? 1 : -1;
}
