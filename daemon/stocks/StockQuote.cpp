#include "StockQuote.h"

#include <QLocale>

#include <cmath>

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

std::optional<double> StockQuote::leadingNumber(const QString &text)
{
    qsizetype at = 0;
    const qsizetype size = text.size();
    while (at < size && text.at(at).isSpace())
        ++at;
    const qsizetype start = at;
    if (at < size && (text.at(at) == QLatin1Char('+') || text.at(at) == QLatin1Char('-')))
        ++at;
    qsizetype digits = 0;
    while (at < size && isDigit(text.at(at))) {
        ++at;
        ++digits;
    }
    if (at < size && text.at(at) == QLatin1Char('.')) {
        ++at;
        while (at < size && isDigit(text.at(at))) {
            ++at;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    // An exponent counts only when digits follow it: "12e" is 12.
    if (at < size && (text.at(at) == QLatin1Char('e') || text.at(at) == QLatin1Char('E'))) {
        qsizetype exponent = at + 1;
        if (exponent < size
            && (text.at(exponent) == QLatin1Char('+') || text.at(exponent) == QLatin1Char('-')))
            ++exponent;
        if (exponent < size && isDigit(text.at(exponent))) {
            at = exponent;
            while (at < size && isDigit(text.at(at)))
                ++at;
        }
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(QStringView(text).mid(start, at - start), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

StockQuote::Parsed StockQuote::parse(const QByteArray &bytes)
{
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) > 0x7f)
            return {std::nullopt, QStringLiteral("the text is not ASCII")};
    }
    const QString text = QString::fromLatin1(bytes);
    const qsizetype firstComma = text.indexOf(QLatin1Char(','));
    if (firstComma < 0)
        return {std::nullopt, QStringLiteral("the text has no comma")};
    const qsizetype secondComma = text.indexOf(QLatin1Char(','), firstComma + 1);
    const QString field =
        text.mid(firstComma + 1, secondComma < 0 ? -1 : secondComma - firstComma - 1).trimmed();
    // A field that is no number would read as 0 and look like a fall of every quote.
    const std::optional<double> value = leadingNumber(field);
    if (!value)
        return {std::nullopt, QStringLiteral("the second field is not a number")};
    return {Reading{text, field, *value}, {}};
}
