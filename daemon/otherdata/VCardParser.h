#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// One content line of a card, decoded: folding, quoted-printable and the character set are
// undone; the backslash escapes stay until value() or components() asks for them, since a
// structured value splits on the escaped form.
struct VCardProperty {
    QString group; // "item1" of "item1.TEL", as written
    QString name; // upper case
    // Parameter names in upper case, values as written (quotes removed, lists split on commas).
    // vCard 2.1's bare parameters count as TYPE (HOME, CELL) or ENCODING (QUOTED-PRINTABLE).
    QList<std::pair<QString, QStringList>> parameters;
    QString rawValue;

    QStringList parameterValues(const QString &parameterName) const;
    // Every TYPE value, upper case, in the order written.
    QStringList types() const;
    bool hasType(const QString &type) const;

    // The text value with its escapes undone (\n, \, \; \\).
    QString value() const;
    // A structured value (N, ADR, ORG) split on unescaped semicolons, each part unescaped.
    QStringList components() const;
    // The bytes of an inline binary value: base64 (ENCODING=b or BASE64) or a data: URI.
    // Empty for a value given by reference.
    QByteArray binaryValue() const;
};

struct VCard {
    QString version; // "2.1", "3.0", "4.0" as the card says; empty when it does not
    QList<VCardProperty> properties;

    const VCardProperty *first(const QString &name) const;
    QList<const VCardProperty *> all(const QString &name) const;
    // The X-ABLabel given to a property group ("item1.X-ABLabel:Custom"), empty without one.
    QString groupLabel(const QString &group) const;
};

// Reads vCard 2.1, 3.0 and 4.0 files: every BEGIN:VCARD ... END:VCARD at the top level becomes
// one card. Lines outside a card, cards nested in a card (2.1's AGENT) and any other component
// are passed over; a card missing its END still counts. Text is UTF-8 unless CHARSET says
// otherwise; bytes that are not UTF-8 are read as Windows-1252, as old exports wrote them.
class VCardParser
{
public:
    VCardParser() = delete;

    static QList<VCard> parse(const QByteArray &bytes);

    // Undoes \n, \N, \, \; \: and \\; any other backslash stays as written.
    static QString unescape(QStringView text);
    // Splits on semicolons not preceded by a backslash escape.
    static QStringList splitStructured(QStringView text);
};
