#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

// When a read quote is worth showing, and why: a limit crossed, or a move of more than 1 % since
// the value last shown.
namespace StockRules {

inline constexpr double MoveFactor = 1.01;
inline constexpr double UpperLimitWhenAbsent = 100000;

// Nothing when the entry is not due; otherwise the reason shown, in this order: above the upper
// limit "ValMin" ("> 12.5"), below the lower limit "ValMax" ("< 8") (a limit stored empty is no
// limit on that side; an absent one is 100000 and 0), up by more than 1 % on
// "ValLastShown" ("> 10 + 1%"), down by more ("< 10 - 1%"), and an empty reason when it is due
// only because the pass was asked for this entry.
std::optional<QString> dueReason(const QVariantMap &entry, double value, bool askedFor);

} // namespace StockRules
