#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What a quote address answers: ASCII text whose second comma-separated field is the value.
namespace StockQuote {

struct Reading {
    QString text; // the whole text read, stored as "ValLast"
    QString shown; // the second field, trimmed: shown and stored as "ValLastShown"
    double value = 0;
};

// Either a reading or why the text cannot serve.
struct Parsed {
    std::optional<Reading> reading;
    QString problem;
};

Parsed parse(const QByteArray &bytes);

// The decimal number a stored text begins with, after blanks: "12.5", "-3", "1e3 USD".
// Nothing when it does not begin with one or the number is not finite.
std::optional<double> leadingNumber(const QString &text);

} // namespace StockQuote
