#include "WebKeywordAnswers.h"

#include "AnswerRecord.h"
#include "QOR_StringUtils.h"

#include <QRegularExpression>
#include <QUrl>

const QString WebKeywordAnswers::PreferenceKey = QStringLiteral("AnswersWebKeywords");

WebKeywordAnswers::WebKeywordAnswers(QLocale locale)
    : mSites(WebKeywordSites::defaults(locale))
{
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
        address.replace(WebKeywordSites::QueryMark, queryText(text));
        const QString title =
            QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerWebSearch"))
                .arg(site.name, text);
        QVariantMap row = AnswerRecord::make(PreferenceKey, title, address);
        row.insert(AnswerRecord::KeyOpenAddress, address);
        return {row};
    }
    return {};
}
