#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

// How one bookmark's small site icon is found: the site's "favicon.ico", else the icon its home
// page links to. Only web addresses are fetched.
namespace Favicons {

inline constexpr int LinkSearchWindow = 49;

// A fetch answering the data, or nothing on any error (no answer, an error status, no data).
using Fetch = std::function<std::optional<QByteArray>(const QUrl &)>;

// The site of an address: its scheme and host with "/", whatever path, query or fragment follow.
std::optional<QString> siteBase(const QString &address);
// The first `<link rel="icon"` of a page whose `href="` begins within 49 characters after it:
// the text up to the next double quote, a leading "/" replaced by the base.
std::optional<QString> iconAddress(const QString &page, const QString &base);
bool decodesAsImage(const QByteArray &data);
// The icon's data for an address, or nothing when it could not be fetched.
std::optional<QByteArray> fetchIcon(const QString &address, const Fetch &fetch);

} // namespace Favicons
