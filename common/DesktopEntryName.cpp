#include "DesktopEntryName.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

// Launchers are a few kilobytes; anything far larger is not worth reading for a name.
constexpr qint64 MaximumEntrySize = 1024 * 1024;

void appendExpandedLocale(const QString &locale, QStringList &names)
{
    // lang_COUNTRY.ENCODING@MODIFIER: the encoding never takes part in the match.
    QString rest = locale;
    QString modifier;
    if (const qsizetype at = rest.indexOf(u'@'); at >= 0) {
        modifier = rest.mid(at + 1);
        rest.truncate(at);
    }
    if (const qsizetype dot = rest.indexOf(u'.'); dot >= 0)
        rest.truncate(dot);
    QString country;
    if (const qsizetype underscore = rest.indexOf(u'_'); underscore >= 0) {
        country = rest.mid(underscore + 1);
        rest.truncate(underscore);
    }
    const QString &language = rest;
    if (language.isEmpty() || language == QLatin1String("C") || language == QLatin1String("POSIX"))
        return;
    QStringList candidates;
    if (!country.isEmpty() && !modifier.isEmpty())
        candidates << language + u'_' + country + u'@' + modifier;
    if (!country.isEmpty())
        candidates << language + u'_' + country;
    if (!modifier.isEmpty())
        candidates << language + u'@' + modifier;
    candidates << language;
    for (const QString &candidate : candidates) {
        if (!names.contains(candidate))
            names << candidate;
    }
}

QString unescapeValue(QStringView value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            text += u' ';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'r':
            text += u'\r';
            break;
        default:
            text += next;
            break;
        }
    }
    return text;
}

} // namespace

QStringList DesktopEntryName::userLanguageNames()
{
    QString locale;
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(variable);
        if (!locale.isEmpty())
            break;
    }
    QStringList names;
    // gettext ignores LANGUAGE in the C locale, and so do the file managers.
    if (!locale.isEmpty() && locale != QLatin1String("C") && locale != QLatin1String("POSIX")) {
        const QStringList preferred =
            qEnvironmentVariable("LANGUAGE").split(u':', Qt::SkipEmptyParts);
        for (const QString &language : preferred)
            appendExpandedLocale(language, names);
    }
    appendExpandedLocale(locale, names);
    return names;
}

std::optional<QString> DesktopEntryName::nameInContents(const QByteArray &contents,
                                                        const QStringList &languages)
{
    const QString text = QString::fromUtf8(contents);
    bool inEntryGroup = false;
    std::optional<QString> untranslated;
    QHash<QString, QString> translated;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            // Only the main group names the item; actions have names of their own.
            inEntryGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntryGroup)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView key = line.left(equals).trimmed();
        const QString value = unescapeValue(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Name")) {
            if (!untranslated)
                untranslated = value;
        } else if (key.startsWith(QLatin1String("Name[")) && key.endsWith(u']')) {
            const QString language = key.mid(5, key.size() - 6).toString();
            if (!translated.contains(language))
                translated.insert(language, value);
        }
    }
    for (const QString &language : languages) {
        const QString value = translated.value(language);
        if (!value.isEmpty())
            return value;
    }
    if (untranslated && !untranslated->isEmpty())
        return untranslated;
    return std::nullopt;
}

std::optional<QString> DesktopEntryName::nameAtPath(const QString &path,
                                                    const QStringList &languages)
{
    if (!path.endsWith(QLatin1String(".desktop")))
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaximumEntrySize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return nameInContents(file.read(MaximumEntrySize), languages);
}
