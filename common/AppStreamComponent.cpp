#include "AppStreamComponent.h"

#include "BoundedFile.h"

#include <QXmlStreamReader>

namespace {

const QString DesktopSuffix = QStringLiteral(".desktop");

bool isStable(const QXmlStreamAttributes &attributes)
{
    const QStringView type = attributes.value(QLatin1String("type"));
    return type.isEmpty() || type == QLatin1String("stable");
}

AppStreamComponent readComponent(const QByteArray &bytes)
{
    AppStreamComponent component;
    QXmlStreamReader xml(bytes);
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

AppStreamComponent AppStreamComponent::fromBytes(const QByteArray &xml)
{
    return readComponent(xml);
}

AppStreamComponent AppStreamComponent::fromFile(const QString &path)
{
    const BoundedFile::Result read = BoundedFile::read(path, BoundedFile::Limit::AppStream);
    if (!read.isRead())
        return {};
    return fromBytes(read.bytes);
}

QString AppStreamComponent::newestStableVersion() const
{
    if (stableVersions.isEmpty())
        return {};
    QString newest = stableVersions.first();
    for (const QString &version : stableVersions) {
        if (compareVersions(version, newest) > 0)
            newest = version;
    }
    return newest;
}

int AppStreamComponent::compareVersions(const QString &a, const QString &b)
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
