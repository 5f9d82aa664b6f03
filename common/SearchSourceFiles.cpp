#include "SearchSourceFiles.h"

#include "BoundedFile.h"
#include "DesktopEntryReader.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

namespace SearchSourceFiles {
const QString OurBusName = QStringLiteral("org.korvale.Daemon");
const QString ShellBusName = QStringLiteral("org.gnome.Shell");
} // namespace SearchSourceFiles

namespace {

QString unescaped(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        default:
            out += next;
            break;
        }
    }
    return out;
}

// A bus name as the bus accepts it: dot-separated elements of letters, digits, "_" and "-", two
// at least, none beginning with a digit. With `prefix`, the start of one ("org.example." too).
bool isBusName(const QString &name, bool prefix)
{
    if (name.isEmpty() || name.size() > 255)
        return false;
    const QStringList elements = name.split(QLatin1Char('.'));
    if (elements.size() < 2 && !prefix)
        return false;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        const QString &element = elements.at(i);
        if (element.isEmpty()) {
            if (prefix && i == elements.size() - 1 && i > 0)
                continue;
            return false;
        }
        if (element.front().isDigit())
            return false;
        for (const QChar c : element) {
            if (c.unicode() > 127
                || !(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-')))
                return false;
        }
    }
    return true;
}

// An object path as the bus accepts it: "/" or "/" elements of letters, digits and "_".
bool isObjectPath(const QString &path)
{
    if (path == QLatin1String("/"))
        return true;
    if (!path.startsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('/')))
        return false;
    for (const QString &element : path.mid(1).split(QLatin1Char('/'))) {
        if (element.isEmpty())
            return false;
        for (const QChar c : element) {
            if (c.unicode() > 127 || !(c.isLetterOrNumber() || c == QLatin1Char('_')))
                return false;
        }
    }
    return true;
}

bool isTrue(const QString &value)
{
    return value == QLatin1String("true") || value == QLatin1String("1");
}

QStringList dataFoldersOrDefault(QStringList folders)
{
    if (!folders.isEmpty())
        return folders;
    return QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
}

// The desktop entry of a desktop-file ID, first folder first: "kde-foo.desktop" may also be
// "kde/foo.desktop".
QString desktopEntryPath(const QString &desktopId, const QStringList &folders)
{
    if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('/')))
        return {};
    for (const QString &folder : folders) {
        const QString applications = folder + QStringLiteral("/applications/");
        QString relative = desktopId;
        for (;;) {
            const QString path = applications + relative;
            if (BoundedFile::isRegularFile(path))
                return path;
            const qsizetype dash = relative.indexOf(QLatin1Char('-'));
            if (dash < 0)
                break;
            relative[dash] = QLatin1Char('/');
        }
    }
    return {};
}

} // namespace

QHash<QString, QString> SearchSourceFiles::readGroup(const QByteArray &contents,
                                                     const QString &group)
{
    QHash<QString, QString> keys;
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    bool inGroup = false;
    bool seen = false;
    for (const QByteArray &rawLine : contents.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (inGroup)
                break;
            inGroup = !seen && line == header;
            seen = seen || inGroup;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!keys.contains(key))
            keys.insert(key, unescaped(QStringView(line).mid(equals + 1).trimmed()));
    }
    return keys;
}

QString SearchSourceFiles::localised(const QHash<QString, QString> &keys, const QString &key,
                                     const QList<QByteArray> &languages)
{
    for (const QByteArray &language : languages) {
        const auto it =
            keys.constFind(key + QLatin1Char('[') + QString::fromUtf8(language) + QLatin1Char(']'));
        if (it != keys.cend() && !it->isEmpty())
            return *it;
    }
    return keys.value(key);
}

std::optional<DesktopSearchSource> SearchSourceFiles::readGnomeProvider(const QByteArray &contents)
{
    const QHash<QString, QString> keys =
        readGroup(contents, QStringLiteral("Shell Search Provider"));
    DesktopSearchSource source;
    source.kind = DesktopSearchSource::Kind::GnomeProvider;
    source.desktopId = keys.value(QStringLiteral("DesktopId"));
    source.busName = keys.value(QStringLiteral("BusName"));
    source.objectPath = keys.value(QStringLiteral("ObjectPath"));
    source.enabledByDefault = !isTrue(keys.value(QStringLiteral("DefaultDisabled")));
    source.autoStart =
        keys.value(QStringLiteral("AutoStart"), QStringLiteral("true")) != QLatin1String("false");
    if (keys.value(QStringLiteral("Version")) != QLatin1String("2")
        || !isBusName(source.busName, false) || !isObjectPath(source.objectPath))
        return std::nullopt;
    return source;
}

std::optional<DesktopSearchSource> SearchSourceFiles::readRunner(const QByteArray &contents,
                                                                 const QList<QByteArray> &languages)
{
    const QHash<QString, QString> keys = readGroup(contents, QStringLiteral("Desktop Entry"));
    const QString api = keys.value(QStringLiteral("X-Plasma-API"));
    DesktopSearchSource source;
    source.kind = DesktopSearchSource::Kind::Runner;
    source.dbus2 = api == QLatin1String("DBus2");
    source.busName = keys.value(QStringLiteral("X-Plasma-DBusRunner-Service"));
    source.objectPath = keys.value(QStringLiteral("X-Plasma-DBusRunner-Path"));
    source.enabledByDefault =
        keys.value(QStringLiteral("X-KDE-PluginInfo-EnabledByDefault"), QStringLiteral("true"))
        != QLatin1String("false");
    source.minLetterCount = keys.value(QStringLiteral("X-Plasma-Runner-Min-Letter-Count")).toInt();
    source.matchRegex = keys.value(QStringLiteral("X-Plasma-Runner-Match-Regex"));
    source.requestActionsOnce = isTrue(keys.value(QStringLiteral("X-Plasma-Request-Actions-Once")));
    source.name = localised(keys, QStringLiteral("Name"), languages);
    source.iconName = keys.value(QStringLiteral("Icon"));
    // A "*" stands for a prefix only at the end.
    const bool wildcard = source.busName.endsWith(QLatin1Char('*'));
    const QString name = wildcard ? source.busName.chopped(1) : source.busName;
    if ((!source.dbus2 && api != QLatin1String("DBus")) || !isBusName(name, wildcard)
        || !isObjectPath(source.objectPath))
        return std::nullopt;
    return source;
}

bool SearchSourceFiles::isSkipped(const DesktopSearchSource &source)
{
    const QString bus =
        source.busName.endsWith(QLatin1Char('*')) ? source.busName.chopped(1) : source.busName;
    if (source.busName.endsWith(QLatin1Char('*')) ? OurBusName.startsWith(bus) : bus == OurBusName)
        return true;
    return source.kind == DesktopSearchSource::Kind::GnomeProvider && bus == ShellBusName;
}

QList<DesktopSearchSource> SearchSourceFiles::find(QStringList dataFolders)
{
    const QStringList folders = dataFoldersOrDefault(std::move(dataFolders));
    const QList<QByteArray> languages = DesktopEntryReader::userLanguageNames();
    QList<DesktopSearchSource> found;
    QSet<QString> keys;
    const struct {
        DesktopSearchSource::Kind kind;
        const char *folder;
        const char *suffix;
        const char *prefix;
    } places[] = {
        {DesktopSearchSource::Kind::GnomeProvider, "/gnome-shell/search-providers", ".ini",
         "gnome/"},
        {DesktopSearchSource::Kind::Runner, "/krunner/dbusplugins", ".desktop", "krunner/"},
    };
    for (const QString &folder : folders) {
        for (const auto &place : places) {
            const QDir dir(folder + QLatin1String(place.folder));
            // The suffix is compared here (as a name filter would, ignoring case): Qt makes a
            // regular expression of a filter, and the agent would map PCRE for it.
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
                if (!name.endsWith(QLatin1String(place.suffix), Qt::CaseInsensitive))
                    continue;
                const QString key = QLatin1String(place.prefix) + name;
                if (keys.contains(key))
                    continue;
                keys.insert(key);
                const QString path = dir.filePath(name);
                const BoundedFile::Result file =
                    BoundedFile::read(path, BoundedFile::Limit::DesktopEntry);
                if (!file.isRead()) {
                    BoundedFile::logFailure(path, file);
                    continue;
                }
                std::optional<DesktopSearchSource> source =
                    place.kind == DesktopSearchSource::Kind::GnomeProvider
                    ? readGnomeProvider(file.bytes)
                    : readRunner(file.bytes, languages);
                if (!source || isSkipped(*source))
                    continue;
                source->key = key;
                const QString entry = desktopEntryPath(source->desktopId, folders);
                if (!entry.isEmpty()) {
                    if (const std::optional<QString> name = DesktopEntryReader::nameAtPath(entry))
                        source->name = *name;
                    const QString icon = DesktopEntryReader::iconAtPath(entry);
                    if (!icon.isEmpty())
                        source->iconName = icon;
                }
                if (source->name.isEmpty())
                    source->name = QFileInfo(name).completeBaseName();
                found.append(*source);
            }
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(found.begin(), found.end(),
              [&collator](const DesktopSearchSource &a, const DesktopSearchSource &b) {
                  return collator.compare(a.name, b.name) < 0;
              });
    return found;
}
