#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// The JSON form of archived values that korvale-data prints and loads. Integers stay integers
// and reals keep a fraction or exponent, so a dump loads back to the same types; dates are
// {"$date": ISO 8601 with milliseconds} and blobs {"$data": base64}.
namespace DataJson {

QByteArray toJson(const QVariant &value);

struct Parsed {
    QVariant value;
    QString error; // empty on success
};
Parsed fromJson(const QByteArray &json);

} // namespace DataJson
