#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>

// Merges the lines of the import file "StocksSurvey.txt" (title TAB quote address per line) into
// the stock list. Returns whether a record was added or its address changed.
namespace StocksSurveyImport {

bool merge(QVariantList &stocks, const QByteArray &fileContents);

// The same with the file at `path`, when it is a regular file of at most
// BoundedFile::Limit::StockQuotes bytes; a missing file changes nothing, silently.
bool mergeFile(QVariantList &stocks, const QString &path);

} // namespace StocksSurveyImport
