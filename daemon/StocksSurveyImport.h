#pragma once

#include <QByteArray>
#include <QVariantList>

// Merges the lines of the import file "StocksSurvey.txt" (title TAB quote address per line) into
// the stock list. Returns whether a record was added or its address changed.
namespace StocksSurveyImport {

bool merge(QVariantList &stocks, const QByteArray &fileContents);

} // namespace StocksSurveyImport
