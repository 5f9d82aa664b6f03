#include "StockRules.h"

#include "ItemRecord.h"
#include "StockQuote.h"

#include <algorithm>

namespace {

// A stored limit: absent is `absent`; empty (the editor's field left blank) is no limit at all;
// otherwise the number it begins with, else 0.
std::optional<double> storedLimit(const QVariantMap &entry, const QString &key, double absent)
{
    if (!entry.contains(key))
        return absent;
    const QString text = entry.value(key).toString();
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return StockQuote::leadingNumber(text).value_or(0);
}

double storedFigure(const QVariantMap &entry, const QString &key, double absent)
{
    if (!entry.contains(key))
        return absent;
    return StockQuote::leadingNumber(entry.value(key).toString()).value_or(0);
}

// The stored text of a figure for the reason, or the number it stands for when absent.
QString figureText(const QVariantMap &entry, const QString &key, double absent)
{
    return entry.contains(key) ? entry.value(key).toString().trimmed() : QString::number(absent);
}

} // namespace

std::optional<QString> StockRules::dueReason(const QVariantMap &entry, double value, bool askedFor)
{
    using namespace ItemRecord;
    const std::optional<double> upper = storedLimit(entry, KeyValMin, UpperLimitWhenAbsent);
    const std::optional<double> lower = storedLimit(entry, KeyValMax, 0);
    const double lastShown = storedFigure(entry, KeyValLastShown, 0);
    if (upper && value > *upper)
        return QStringLiteral("> %1").arg(figureText(entry, KeyValMin, UpperLimitWhenAbsent));
    if (lower && value < *lower)
        return QStringLiteral("< %1").arg(figureText(entry, KeyValMax, 0));
    // The band around a value last shown below zero is the same 1 %, not turned inside out.
    const double up = std::max(lastShown * MoveFactor, lastShown / MoveFactor);
    const double down = std::min(lastShown * MoveFactor, lastShown / MoveFactor);
    if (value > up)
        return QStringLiteral("> %1 + 1%").arg(figureText(entry, KeyValLastShown, 0));
    if (value < down)
        return QStringLiteral("< %1 - 1%").arg(figureText(entry, KeyValLastShown, 0));
    if (askedFor)
        return QString();
    return std::nullopt;
}
