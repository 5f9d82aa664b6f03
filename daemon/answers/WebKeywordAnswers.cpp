#include "WebKeywordAnswers.h"

#include "AnswerRecord.h"
#include "QOR_StringUtils.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

const QString KeywordField = QStringLiteral("keyword");
const QString NameField = QStringLiteral("name");
const QString AddressField = QStringLiteral("address");

} // namespace

WebKeywordAnswers::WebKeywordAnswers(QLocale locale)
    : mSites(defaultSites(locale))
{
}

QList<WebKeywordAnswers::Site> WebKeywordAnswers::defaultSites(const QLocale &locale)
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

QList<WebKeywordAnswers::Site> WebKeywordAnswers::sitesFrom(const QVariant &preference,
                                                            const QLocale &locale)
{
    if (!preference.isValid() || preference.typeId() != QMetaType::QVariantList)
        return defaultSites(locale);
    QList<Site> sites;
    for (const QVariant &entry : preference.toList()) {
        const QVariantMap map = entry.toMap();
        Site site{map.value(KeywordField).toString().trimmed(),
                  map.value(NameField).toString().trimmed(),
                  map.value(AddressField).toString().trimmed()};
        const QUrl address(site.addressTemplate);
        if (site.keyword.isEmpty() || site.keyword.contains(QLatin1Char(' '))
            || !site.addressTemplate.contains(QueryMark)
            || (address.scheme() != QLatin1String("https")
                && address.scheme() != QLatin1String("http")))
            continue;
        if (site.name.isEmpty())
            site.name = address.host();
        sites << site;
    }
    return sites;
}

QVariantList WebKeywordAnswers::toPreference(const QList<Site> &sites)
{
    QVariantList list;
    for (const Site &site : sites)
        list << QVariantMap{{KeywordField, site.keyword},
                            {NameField, site.name},
                            {AddressField, site.addressTemplate}};
    return list;
}

void WebKeywordAnswers::setSites(QList<Site> sites)
{
    const std::lock_guard lock(mMutex);
    mSites = std::move(sites);
}

QString WebKeywordAnswers::queryText(const QString &text)
{
    QStringList words;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words << QString::fromLatin1(QUrl::toPercentEncoding(word));
    return words.join(QLatin1Char('+'));
}

QList<QVariantMap> WebKeywordAnswers::answer(const QString &query, int timeLimitMs)
{
    Q_UNUSED(timeLimitMs);
    static const QRegularExpression keywordThenText(QStringLiteral("^\\s*(\\S+)\\s+(\\S.*)$"));
    const QRegularExpressionMatch match = keywordThenText.match(query);
    if (!match.hasMatch())
        return {};
    const QString keyword = match.captured(1);
    const QString text = match.captured(2).simplified();
    QList<Site> sites;
    {
        const std::lock_guard lock(mMutex);
        sites = mSites;
    }
    for (const Site &site : std::as_const(sites)) {
        if (site.keyword.compare(keyword, Qt::CaseInsensitive) != 0)
            continue;
        QString address = site.addressTemplate;
        address.replace(QueryMark, queryText(text));
        const QString title =
            QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerWebSearch"))
                .arg(site.name, text);
        QVariantMap row = AnswerRecord::make(PreferenceKey, title, address);
        row.insert(AnswerRecord::KeyOpenAddress, address);
        return {row};
    }
    return {};
}
