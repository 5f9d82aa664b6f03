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

    // The title lower-cased, its spaces as "+"; an address that only holds ASCII once the
    // title's other letters are dropped or spelled without their accents. Nothing when no
    // address can be made.
    static std::optional<QUrl> addressFor(const QString &addressTemplate, const QString &title);
    // Letters reduced to their ASCII form where they have one, the others dropped.
    static QString lossyAscii(const QString &text);
};
