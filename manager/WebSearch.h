#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// Looking an application up on the web: a general search engine and two software catalogues of
// the Linux desktop, each an address in which the application's title takes the place of
// "<<PRODUCT>>".
class WebSearch
{
public:
    WebSearch() = delete;

    struct Service {
        QString titleKey;
        QString addressTemplate;
    };
    static const QList<Service> &services();

    // The template with the title's query text in place of "<<PRODUCT>>". Nothing when no
    // address can be made.
    static std::optional<QUrl> addressFor(const QString &addressTemplate, const QString &title);
    // The title lower-cased, its letters reduced to ASCII (dropped or spelled without their
    // accents), each word percent-encoded and the words joined by "+": "Notepad++ & Co" reads
    // "notepad%2B%2B+%26+co".
    static QString queryText(const QString &title);
    // Letters reduced to their ASCII form where they have one, the others dropped.
    static QString lossyAscii(const QString &text);
};
