#pragma once

#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <optional>

// Turning a bookmark's address and a contact's e-mail entry into something the desktop opens.
class OpeningAddresses
{
public:
    OpeningAddresses() = delete;

    // Whether the text parses strictly (RFC 3986: no spaces, no stray characters, well-formed
    // percent escapes, host and port) into an absolute address: one with a scheme, and with a
    // host too for the web schemes (http, https, ftp), which mean nothing without one.
    static bool isValidAddress(const QString &text);

    // The address as stored, or else with "http://" in front; none when neither is valid.
    static std::optional<QUrl> urlForBookmarkAddress(const QString &address);

    // The first line of "Email" that holds an address, without the label that precedes a tab.
    static QString emailAddressOf(const QVariantMap &record);
    // "mailto:" with the address; none when that is not a valid address.
    static std::optional<QUrl> mailtoUrl(const QString &address);
};
