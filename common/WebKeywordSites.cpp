#include "WebKeywordSites.h"

#include <QUrl>
#include <QVariantMap>

namespace WebKeywordSites {
const QString PreferenceKey = QStringLiteral("AnswersWebKeywordList");
const QString QueryMark = QStringLiteral("<<QUERY>>");
} // namespace WebKeywordSites

namespace WebKeywordSites {

namespace {

const QString KeywordField = QStringLiteral("keyword");
const QString NameField = QStringLiteral("name");
const QString AddressField = QStringLiteral("address");

} // namespace

QList<Site> defaults(const QLocale &locale)
{
    // Wikipedia in the user's language, which has one for every language the suite speaks.
    const QString language = locale.name().section(QLatin1Char('_'), 0, 0);
    const QString wikipedia =
        language.isEmpty() || language == QLatin1String("C") ? QStringLiteral("en") : language;
    return {
        {QStringLiteral("g"), QStringLiteral("Google"),
         QStringLiteral("https://www.google.com/search?q=") + QueryMark},
        {QStringLiteral("w"), QStringLiteral("Wikipedia"),
         QStringLiteral("https://%1.wikipedia.org/w/index.php?search=").arg(wikipedia) + QueryMark},
        {QStringLiteral("ddg"), QStringLiteral("DuckDuckGo"),
         QStringLiteral("https://duckduckgo.com/?q=") + QueryMark},
    };
}

bool isUsable(const Site &site)
{
    const QUrl address(site.addressTemplate);
    return !site.keyword.isEmpty() && !site.keyword.contains(QLatin1Char(' '))
        && site.addressTemplate.contains(QueryMark)
        && (address.scheme() == QLatin1String("https")
            || address.scheme() == QLatin1String("http"));
}

QList<Site> fromPreference(const QVariant &preference, const QLocale &locale)
{
    if (!preference.isValid() || preference.typeId() != QMetaType::QVariantList)
        return defaults(locale);
    QList<Site> sites;
    for (const QVariant &entry : preference.toList()) {
        const QVariantMap map = entry.toMap();
        Site site{map.value(KeywordField).toString().trimmed(),
                  map.value(NameField).toString().trimmed(),
                  map.value(AddressField).toString().trimmed()};
        if (!isUsable(site))
            continue;
        if (site.name.isEmpty())
            site.name = QUrl(site.addressTemplate).host();
        sites << site;
    }
    return sites;
}

QVariantList toPreference(const QList<Site> &sites)
{
    QVariantList list;
    for (const Site &site : sites)
        list << QVariantMap{{KeywordField, site.keyword},
                            {NameField, site.name},
                            {AddressField, site.addressTemplate}};
    return list;
}

} // namespace WebKeywordSites
