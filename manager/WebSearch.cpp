#include "WebSearch.h"

#include "QOR_StringUtils.h"

#include <QStringList>

#include <algorithm>

const QList<WebSearch::Service> &WebSearch::services()
{
    static const QList<Service> list = {
        {KORVALE_KEY("SearchFlathub"),
         QStringLiteral("https://flathub.org/apps/search?q=<<PRODUCT>>")},
        {KORVALE_KEY("SearchDebianPackages"),
         QStringLiteral("https://packages.debian.org/search?keywords=<<PRODUCT>>&searchon=names"
                        "&suite=stable&section=all")},
        {KORVALE_KEY("SearchGoogle"),
         QStringLiteral("https://www.google.com/search?q=<<PRODUCT>>")},
    };
    return list;
}

QString WebSearch::lossyAscii(const QString &text)
{
    QString ascii;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.unicode() < 0x80)
            ascii.append(c);
    }
    return ascii;
}

QString WebSearch::queryText(const QString &title)
{
    QString text = title.toLower();
    // An address of ASCII only, as the catalogues' search forms expect.
    if (!std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        text = lossyAscii(text);
    // Each word percent-encoded, so that "&", "+", "#" or "=" in a title stay part of the
    // title instead of ending the query or the address; spaces read "+", as the forms send them.
    QStringList words;
    for (const QString &word : text.split(QLatin1Char(' ')))
        words << QString::fromLatin1(QUrl::toPercentEncoding(word));
    return words.join(QLatin1Char('+'));
}

std::optional<QUrl> WebSearch::addressFor(const QString &addressTemplate, const QString &title)
{
    if (title.isEmpty())
        return std::nullopt;
    QString text = addressTemplate;
    text.replace(QStringLiteral("<<PRODUCT>>"), queryText(title));
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}
