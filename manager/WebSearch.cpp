#include "WebSearch.h"

#include "QOR_StringUtils.h"

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

std::optional<QUrl> WebSearch::addressFor(const QString &addressTemplate, const QString &title)
{
    if (title.isEmpty())
        return std::nullopt;
    QString text = addressTemplate;
    text.replace(QStringLiteral("<<PRODUCT>>"), title.toLower());
    text.replace(QLatin1Char(' '), QLatin1Char('+'));
    // An address of ASCII only, as the catalogues' search forms expect.
    const bool ascii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii)
        text = lossyAscii(text);
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}
