#include "OpeningAddresses.h"

#include "ItemRecord.h"

#include <QStringList>

bool OpeningAddresses::isValidAddress(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return false;
    static const QStringList webSchemes = {QStringLiteral("http"), QStringLiteral("https"),
                                           QStringLiteral("ftp")};
    if (webSchemes.contains(url.scheme().toLower()) && url.host().isEmpty())
        return false;
    return true;
}

std::optional<QUrl> OpeningAddresses::urlForBookmarkAddress(const QString &address)
{
    for (const QString &candidate : {address, QStringLiteral("http://%1").arg(address)}) {
        if (isValidAddress(candidate))
            return QUrl(candidate, QUrl::StrictMode);
    }
    return std::nullopt;
}

QString OpeningAddresses::emailAddressOf(const QVariantMap &record)
{
    const QString entries = ItemRecord::string(record, ItemRecord::KeyEmail);
    for (const QString &line : entries.split(QLatin1Char('\n'))) {
        // A labelled address is "label<TAB>address".
        const QString address = line.mid(line.lastIndexOf(QLatin1Char('\t')) + 1).trimmed();
        if (!address.isEmpty())
            return address;
    }
    return {};
}

std::optional<QUrl> OpeningAddresses::mailtoUrl(const QString &address)
{
    const QString text = QStringLiteral("mailto:") + address;
    if (address.isEmpty() || !isValidAddress(text))
        return std::nullopt;
    return QUrl(text, QUrl::StrictMode);
}
