#pragma once

#include <QVariantList>

// What a survey pass hands back, applied to the stock list as it stands when the pass ends: only
// the values the pass stored ("ValLast", "ValLastShown"), each on the entry of the same title.
// An entry edited, added or removed meanwhile (the stock editor, a reload of "StocksSurvey.txt")
// keeps that change; an entry removed meanwhile is not brought back.
namespace StockSurveyValues {

// True when `list` changed.
bool apply(QVariantList &list, const QVariantList &started, const QVariantList &ended);

} // namespace StockSurveyValues
