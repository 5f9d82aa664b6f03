#include "Favicons.h"

#include <QImage>

namespace {

const QString LinkMarker = QStringLiteral("<link rel=\"icon\"");
const QString HrefMarker = QStringLiteral("href=\"");

} // namespace

std::optional<QString> Favicons::siteBase(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment
                        | QUrl::RemoveUserInfo)
               .toString()
        + QLatin1Char('/');
}

std::optional<QString> Favicons::iconAddress(const QString &page, const QString &base)
{
    const qsizetype link = page.indexOf(LinkMarker);
    if (link < 0)
        return std::nullopt;
    const qsizetype after = link + LinkMarker.size();
    const qsizetype href = page.indexOf(HrefMarker, after);
    if (href < 0 || href - after > LinkSearchWindow)
        return std::nullopt;
    const qsizetype start = href + HrefMarker.size();
    const qsizetype end = page.indexOf(QLatin1Char('"'), start);
    if (end < 0)
        return std::nullopt;
    const QString icon = page.mid(start, end - start);
    if (icon.startsWith(QLatin1Char('/')))
        return base + icon.mid(1);
    return icon;
}

bool Favicons::decodesAsImage(const QByteArray &data)
{
    return !data.isEmpty() && !QImage::fromData(data).isNull();
}

std::optional<QByteArray> Favicons::fetchIcon(const QString &address, const Fetch &fetch)
{
    const std::optional<QString> base = siteBase(address);
    if (!base)
        return std::nullopt;
    std::optional<QByteArray> data = fetch(QUrl(*base + QStringLiteral("favicon.ico")));
    if (!data) {
        const std::optional<QByteArray> page = fetch(QUrl(*base + QStringLiteral("index.html")));
        if (!page)
            return std::nullopt;
        const std::optional<QString> icon = iconAddress(QString::fromUtf8(*page), *base);
        if (!icon)
            return std::nullopt;
        const QUrl iconUrl(*icon, QUrl::StrictMode);
        const QString scheme = iconUrl.scheme().toLower();
        // A relative link has no scheme: a failure, as is any address that is not the web's.
        if (!iconUrl.isValid()
            || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
            return std::nullopt;
        data = fetch(iconUrl);
    }
    if (!data || !decodesAsImage(*data))
        return std::nullopt;
    return data;
}
