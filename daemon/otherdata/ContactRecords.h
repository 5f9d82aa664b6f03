#pragma once

#include "VCardParser.h"

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <utility>

// Turns one card into the suite's contact record (kind 4): the display name "T", the card text
// "t", "UID", and the phone and e-mail lines "Phone" and "Email".
namespace ContactRecords {

// The record, or an empty map when the card has no text at all (such a contact is not listed).
QVariantMap contactRecord(const VCard &card);

// The label of a phone, e-mail or address: the group's X-ABLabel when it has one (Apple's
// "_$!<Home>!$_" form read as the type it names), else the most telling TYPE ("HOME", "CELL",
// "WORK FAX" ...), upper case; empty without either. It is the localisation key of the label.
QString rawLabel(const VCard &card, const VCardProperty &property);
// The label keys types and Apple's standard labels come down to; each has a text in the tables.
QStringList knownLabelKeys();

// "%1\t%2": the label looked up in the localisation table, a tab, the value; the value alone
// without a label.
QString labelledLine(const QString &label, const QString &value);

// The lines of a postal address from its seven ADR parts: the street lines, "ZIP City", then the
// country unless it is France.
QString postalAddress(const QStringList &components);

// The country line of an address, empty for France: a two-letter value is a country code and
// shown lower case; "France" in any case (also "République française") is "fr"; any other name is
// shown as written.
QString countryLine(const QString &country);

// The picture of the card: inline bytes (base64 or a data: URI), or the address of a picture kept
// elsewhere (PHOTO;VALUE=uri:file:///...), which the caller may read.
struct Picture {
    QByteArray bytes;
    QString uri;
};
Picture picture(const VCard &card);

} // namespace ContactRecords
