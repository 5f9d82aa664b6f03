#include "BrowserBookmarks.h"

#include "BoundedFile.h"
#include "MozillaProfiles.h"
#include "ReaderLibraries.h"
#include "ReaderLibrariesInterface.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtEndian>

#include <lz4.h>

namespace {

// Folders nest this deep at most; deeper ones are hostile or broken, and are not walked.
constexpr int MaximumDepth = 64;

QString home()
{
    return QDir::homePath();
}

// --- Firefox --------------------------------------------------------------------------------

const QByteArray MozLz4Magic("mozLz40\0", 8);
// A bookmark backup of this size is already far beyond any real one.
constexpr quint32 MaximumBackupSize = 256u * 1024u * 1024u;

QStringList firefoxRoots()
{
    return {home() + QStringLiteral("/.mozilla/firefox"),
            home() + QStringLiteral("/snap/firefox/common/.mozilla/firefox"),
            home() + QStringLiteral("/.var/app/org.mozilla.firefox/.mozilla/firefox")};
}

void walkFirefox(const QJsonObject &node, int depth, QList<Bookmark> &out)
{
    if (depth > MaximumDepth)
        return;
    const QString title = node.value(QStringLiteral("title")).toString();
    const QString uri = node.value(QStringLiteral("uri")).toString();
    if (!title.isEmpty() && !uri.isEmpty())
        out.append({title, uri});
    for (const QJsonValue &child : node.value(QStringLiteral("children")).toArray())
        walkFirefox(child.toObject(), depth + 1, out);
}

// --- Chromium -------------------------------------------------------------------------------

QStringList chromiumRoots()
{
    const QString config = home() + QStringLiteral("/.config/");
    const QString flatpak = home() + QStringLiteral("/.var/app/");
    return {
        config + QStringLiteral("chromium"),
        config + QStringLiteral("google-chrome"),
        config + QStringLiteral("google-chrome-beta"),
        config + QStringLiteral("google-chrome-unstable"),
        config + QStringLiteral("BraveSoftware/Brave-Browser"),
        config + QStringLiteral("vivaldi"),
        config + QStringLiteral("microsoft-edge"),
        home() + QStringLiteral("/snap/chromium/common/chromium"),
        flatpak + QStringLiteral("org.chromium.Chromium/config/chromium"),
        flatpak + QStringLiteral("com.google.Chrome/config/google-chrome"),
        flatpak + QStringLiteral("com.brave.Browser/config/BraveSoftware/Brave-Browser"),
        flatpak + QStringLiteral("com.vivaldi.Vivaldi/config/vivaldi"),
        flatpak + QStringLiteral("com.microsoft.Edge/config/microsoft-edge"),
    };
}

void walkChromium(const QJsonObject &node, int depth, QList<Bookmark> &out)
{
    if (depth > MaximumDepth)
        return;
    if (node.value(QStringLiteral("type")).toString() == QLatin1String("url")) {
        const QString title = node.value(QStringLiteral("name")).toString();
        const QString url = node.value(QStringLiteral("url")).toString();
        if (!title.isEmpty() && !url.isEmpty())
            out.append({title, url});
        return;
    }
    for (const QJsonValue &child : node.value(QStringLiteral("children")).toArray())
        walkChromium(child.toObject(), depth + 1, out);
}

} // namespace

QString SafariBookmarks::path()
{
    return home() + QStringLiteral("/Library/Safari/Bookmarks.plist");
}

QList<Bookmark> SafariBookmarks::parse(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > qsizetype(MaximumBackupSize))
        return {};
    const ReaderLibraryFunctions *libraries = ReaderLibraries::functions();
    return libraries ? libraries->safariBookmarks(bytes, MaximumDepth) : QList<Bookmark>();
}

QStringList FirefoxBookmarks::profileFolders()
{
    return MozillaProfiles::folders(firefoxRoots());
}

QString FirefoxBookmarks::newestBackup(const QStringList &profiles)
{
    QString chosen;
    QDateTime chosenDate;
    for (const QString &profile : profiles) {
        const QDir backups(profile + QStringLiteral("/bookmarkbackups"));
        // Suffixes compared here: a name filter is a regular expression, which the agent
        // would map PCRE for.
        const QFileInfoList files = backups.entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo &file : files) {
            const QString name = file.fileName();
            if (!name.endsWith(QLatin1String(".jsonlz4"), Qt::CaseInsensitive)
                && !name.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
                continue;
            if (chosen.isEmpty() || file.lastModified() > chosenDate) {
                chosen = file.filePath();
                chosenDate = file.lastModified();
            }
        }
    }
    return chosen;
}

std::optional<QByteArray> FirefoxBookmarks::decodeBackup(const QByteArray &bytes)
{
    if (!bytes.startsWith(MozLz4Magic))
        return bytes;
    if (bytes.size() < MozLz4Magic.size() + 4)
        return std::nullopt;
    const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + MozLz4Magic.size());
    if (size == 0 || size > MaximumBackupSize)
        return std::nullopt;
    QByteArray json(qsizetype(size), Qt::Uninitialized);
    const qsizetype header = MozLz4Magic.size() + 4;
    const int produced = LZ4_decompress_safe(bytes.constData() + header, json.data(),
                                             int(bytes.size() - header), int(size));
    if (produced < 0)
        return std::nullopt;
    json.truncate(produced);
    return json;
}

QList<Bookmark> FirefoxBookmarks::parse(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    QList<Bookmark> out;
    if (document.isObject())
        walkFirefox(document.object(), 0, out);
    return out;
}

QStringList ChromiumBookmarks::bookmarkFiles()
{
    QStringList files;
    for (const QString &root : chromiumRoots()) {
        QDir dir(root);
        QStringList profiles = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        // The first profile first, then the others as the browser numbers them.
        std::stable_sort(profiles.begin(), profiles.end(), [](const QString &a, const QString &b) {
            return (a == QLatin1String("Default")) > (b == QLatin1String("Default"));
        });
        for (const QString &profile : profiles) {
            const QString file = dir.filePath(profile + QStringLiteral("/Bookmarks"));
            if (QFileInfo(file).isFile())
                files << file;
        }
    }
    return files;
}

QList<Bookmark> ChromiumBookmarks::parse(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    QList<Bookmark> out;
    const QJsonObject roots = document.object().value(QStringLiteral("roots")).toObject();
    for (const char *root : {"bookmark_bar", "other", "synced"})
        walkChromium(roots.value(QLatin1String(root)).toObject(), 0, out);
    return out;
}
