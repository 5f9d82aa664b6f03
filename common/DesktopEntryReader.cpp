#include "DesktopEntryReader.h"

#include "BoundedFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Entries are read again at every rescan and for every row drawn: a refused one is said once,
// and again only if it is refused after it was read whole in between.
void sayRefusedOnce(const QByteArray &nativePath, const BoundedFile::Result &result)
{
    static QMutex mutex;
    static QSet<QByteArray> said;
    const bool refused =
        result.status != BoundedFile::Status::Read && result.status != BoundedFile::Status::Missing;
    {
        QMutexLocker locker(&mutex);
        if (!refused) {
            if (!said.isEmpty())
                said.remove(nativePath);
            return;
        }
        if (said.contains(nativePath))
            return;
        said.insert(nativePath);
    }
    BoundedFile::logFailure(QFile::decodeName(nativePath), result);
}

} // namespace

QByteArray DesktopEntryReader::readSmallFile(const QByteArray &nativePath)
{
    BoundedFile::Result result =
        BoundedFile::readNative(nativePath, BoundedFile::Limit::DesktopEntry);
    sayRefusedOnce(nativePath, result);
    return std::move(result.bytes);
}

namespace {

QByteArray unescape(QByteArrayView value)
{
    if (!value.contains('\\'))
        return value.toByteArray();
    QByteArray text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c != '\\' || i + 1 == value.size()) {
            text += c;
            continue;
        }
        switch (const char next = value.at(++i)) {
        case 's':
            text += ' ';
            break;
        case 'n':
            text += '\n';
            break;
        case 't':
            text += '\t';
            break;
        case 'r':
            text += '\r';
            break;
        default:
            text += next;
            break;
        }
    }
    return text;
}

bool isTrue(QByteArrayView value)
{
    return value == "true" || value == "1";
}

// A list value: "GNOME;KDE;" with "\;" for a semicolon inside an item.
QList<QByteArray> splitList(QByteArrayView value)
{
    QList<QByteArray> items;
    QByteArray item;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c == '\\' && i + 1 < value.size()) {
            item += value.at(++i);
        } else if (c == ';') {
            items << item;
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.isEmpty())
        items << item;
    return items;
}

void appendLocaleVariants(QByteArrayView locale, QList<QByteArray> &names)
{
    QByteArray rest = locale.toByteArray();
    QByteArray modifier;
    if (const qsizetype at = rest.indexOf('@'); at >= 0) {
        modifier = rest.mid(at + 1);
        rest.truncate(at);
    }
    if (const qsizetype dot = rest.indexOf('.'); dot >= 0)
        rest.truncate(dot);
    QByteArray country;
    if (const qsizetype underscore = rest.indexOf('_'); underscore >= 0) {
        country = rest.mid(underscore + 1);
        rest.truncate(underscore);
    }
    if (rest.isEmpty() || rest == "C" || rest == "POSIX")
        return;
    QList<QByteArray> variants;
    if (!country.isEmpty() && !modifier.isEmpty())
        variants << rest + '_' + country + '@' + modifier;
    if (!country.isEmpty())
        variants << rest + '_' + country;
    if (!modifier.isEmpty())
        variants << rest + '@' + modifier;
    variants << rest;
    for (const QByteArray &variant : variants) {
        if (!names.contains(variant))
            names << variant;
    }
}

} // namespace

DesktopEntryReader::DesktopEntryReader()
    : mLanguages(userLanguageNames())
    , mCurrentDesktops(qgetenv("XDG_CURRENT_DESKTOP").split(':'))
    , mSearchPath(qgetenv("PATH").split(':'))
{
    mCurrentDesktops.removeAll(QByteArray());
    mSearchPath.removeAll(QByteArray());
}

QList<QByteArray> DesktopEntryReader::userLanguageNames()
{
    QByteArray locale;
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qgetenv(variable);
        if (!locale.isEmpty())
            break;
    }
    QList<QByteArray> names;
    // gettext ignores LANGUAGE in the plain C locale (not in C.UTF-8), and so do the file
    // managers.
    if (!locale.isEmpty() && locale != "C" && locale != "POSIX") {
        for (const QByteArray &preferred : qgetenv("LANGUAGE").split(':'))
            appendLocaleVariants(preferred, names);
    }
    appendLocaleVariants(locale, names);
    return names;
}

QString DesktopEntryReader::desktopFileId(const QString &relativePath)
{
    QString id = relativePath;
    id.replace(QLatin1Char('/'), QLatin1Char('-'));
    return id;
}

bool DesktopEntryReader::programFound(const QByteArray &program)
{
    if (program.isEmpty())
        return false;
    const auto known = mProgramsFound.constFind(program);
    if (known != mProgramsFound.constEnd())
        return *known;
    const auto isProgram = [](const QByteArray &path) {
        struct stat info {
        };
        return stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode)
            && access(path.constData(), X_OK) == 0;
    };
    bool found = false;
    if (program.contains('/')) {
        found = isProgram(program);
    } else {
        for (const QByteArray &folder : mSearchPath) {
            if (isProgram(folder + '/' + program)) {
                found = true;
                break;
            }
        }
    }
    mProgramsFound.insert(program, found);
    return found;
}

std::optional<QString> DesktopEntryReader::listedTitle(const QString &path)
{
    return listedTitleInContents(readSmallFile(QFile::encodeName(path)), path);
}

std::optional<QString> DesktopEntryReader::listedTitleInContents(const QByteArray &contents,
                                                                 const QString &path)
{
    return listedTitle(readEntry(contents, path));
}

QByteArray DesktopEntryReader::environmentKey() const
{
    return mLanguages.join(':') + '|' + mCurrentDesktops.join(':');
}

std::optional<QString> DesktopEntryReader::listedTitle(const Entry &entry)
{
    if (!entry.listable)
        return std::nullopt;
    if (!entry.tryExec.isEmpty() && !programFound(entry.tryExec))
        return std::nullopt;
    if (!entry.execProgram.isEmpty() && !programFound(entry.execProgram))
        return std::nullopt;
    return entry.title;
}

QByteArray DesktopEntryReader::execProgram(QByteArrayView exec)
{
    qsizetype i = 0;
    while (i < exec.size() && (exec.at(i) == ' ' || exec.at(i) == '\t'))
        ++i;
    QByteArray program;
    // A literal percent sign is written twice, quoted or not, since field codes start with one.
    auto append = [&](qsizetype &at) {
        if (exec.at(at) == '%' && at + 1 < exec.size() && exec.at(at + 1) == '%')
            ++at;
        program += exec.at(at);
    };
    if (i < exec.size() && exec.at(i) == '"') {
        for (++i; i < exec.size() && exec.at(i) != '"'; ++i) {
            if (exec.at(i) == '\\' && i + 1 < exec.size())
                program += exec.at(++i);
            else
                append(i);
        }
        return program;
    }
    for (; i < exec.size() && exec.at(i) != ' ' && exec.at(i) != '\t'; ++i)
        append(i);
    return program;
}

DesktopEntryReader::MainGroup DesktopEntryReader::readMainGroup(const QByteArray &contents,
                                                                const QList<QByteArray> &languages)
{
    bool inEntryGroup = false;
    QByteArrayView type, name, icon, tryExec, exec, onlyShowIn, notShowIn;
    MainGroup group;
    // The best language found so far for Name, as an index into languages.
    qsizetype nameLanguage = languages.size();
    QByteArrayView localisedName;

    const QByteArrayView text(contents);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        QByteArrayView line = text.sliced(start, end - start).trimmed();
        start = end + 1;
        if (line.isEmpty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            // Actions and other groups have keys of their own; only the main group counts.
            if (group.found && inEntryGroup)
                break;
            inEntryGroup = line == "[Desktop Entry]";
            group.found = group.found || inEntryGroup;
            continue;
        }
        if (!inEntryGroup)
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArrayView key = line.first(equals).trimmed();
        const QByteArrayView value = line.sliced(equals + 1).trimmed();
        if (key == "Type") {
            type = value;
        } else if (key == "Name") {
            name = value;
        } else if (key.startsWith("Name[") && key.endsWith(']')) {
            const QByteArrayView language = key.sliced(5, key.size() - 6);
            for (qsizetype i = 0; i < nameLanguage; ++i) {
                // An empty translation names nothing; the next best language may.
                if (languages.at(i) == language && !value.isEmpty()) {
                    nameLanguage = i;
                    localisedName = value;
                    break;
                }
            }
        } else if (key == "Icon") {
            icon = value;
        } else if (key == "Hidden") {
            group.hidden = isTrue(value);
        } else if (key == "NoDisplay") {
            group.noDisplay = isTrue(value);
        } else if (key == "TryExec") {
            tryExec = value;
        } else if (key == "Exec") {
            exec = value;
        } else if (key == "OnlyShowIn") {
            onlyShowIn = value;
        } else if (key == "NotShowIn") {
            notShowIn = value;
        } else if (key == "X-GNOME-Autostart-enabled") {
            group.autostartEnabled = !(value == "false" || value == "0");
        } else if (key == "X-Korvale-LoginItem") {
            group.writtenByKorvale = isTrue(value);
        }
    }
    if (!group.found)
        return group;
    group.type = type.toByteArray();
    group.name = QString::fromUtf8(unescape(!localisedName.isEmpty() ? localisedName : name));
    group.icon = QString::fromUtf8(unescape(icon));
    group.tryExec = unescape(tryExec);
    group.exec = unescape(exec);
    if (!onlyShowIn.isNull())
        group.onlyShowIn = splitList(onlyShowIn);
    if (!notShowIn.isNull())
        group.notShowIn = splitList(notShowIn);
    return group;
}

DesktopEntryReader::Entry DesktopEntryReader::readEntry(const QByteArray &contents,
                                                        const QString &path) const
{
    const MainGroup group = readMainGroup(contents, mLanguages);
    Entry entry;
    if (!group.found || group.type != "Application" || group.hidden || group.noDisplay)
        return entry;
    if (group.onlyShowIn || group.notShowIn) {
        // The first current desktop that either list names decides; otherwise an entry limited
        // to some desktops stays out.
        const QList<QByteArray> only = group.onlyShowIn.value_or(QList<QByteArray>());
        const QList<QByteArray> notIn = group.notShowIn.value_or(QList<QByteArray>());
        bool shown = !group.onlyShowIn;
        for (const QByteArray &desktop : mCurrentDesktops) {
            if (only.contains(desktop) || notIn.contains(desktop)) {
                shown = only.contains(desktop);
                break;
            }
        }
        if (!shown)
            return entry;
    }
    entry.tryExec = group.tryExec;
    if (!group.exec.isEmpty()) {
        entry.execProgram = execProgram(group.exec);
        // An Exec line without a program names nothing that could run.
        if (entry.execProgram.isEmpty())
            return entry;
    }
    entry.title = group.name.isEmpty() ? QFileInfo(path).fileName() : group.name;
    entry.listable = true;
    return entry;
}

std::optional<QString> DesktopEntryReader::nameInContents(const QByteArray &contents,
                                                          const QList<QByteArray> &languages)
{
    MainGroup group = readMainGroup(contents, languages);
    if (group.name.isEmpty())
        return std::nullopt;
    return std::move(group.name);
}

std::optional<QString> DesktopEntryReader::nameAtPath(const QString &path)
{
    if (!path.endsWith(QLatin1String(".desktop")))
        return std::nullopt;
    return nameInContents(readSmallFile(QFile::encodeName(path)), userLanguageNames());
}

QString DesktopEntryReader::iconAtPath(const QString &path)
{
    return readMainGroup(readSmallFile(QFile::encodeName(path)), {}).icon;
}

bool DesktopEntryReader::isApplicationAtPath(const QString &path)
{
    return readMainGroup(readSmallFile(QFile::encodeName(path)), {}).type == "Application";
}
