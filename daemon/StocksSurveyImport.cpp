#include "StocksSurveyImport.h"

#include "BoundedFile.h"
#include "ItemRecord.h"

#include <QHash>
#include <QStringDecoder>

bool StocksSurveyImport::merge(QVariantList &stocks, const QByteArray &fileContents)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(fileContents);
    if (decoder.hasError())
        return false;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    // A title on several lines takes the address of its last one, as reading them in turn would:
    // taken together first, so that an unchanged file changes nothing at the next reload either.
    QStringList titles;
    QHash<QString, QString> addresses;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 2 || fields.at(0).isEmpty() || fields.at(1).isEmpty())
            continue;
        if (!addresses.contains(fields.at(0)))
            titles << fields.at(0);
        addresses.insert(fields.at(0), fields.at(1));
    }

    bool changed = false;
    for (const QString &title : std::as_const(titles)) {
        const QString &address = addresses[title];
        bool found = false;
        for (QVariant &stock : stocks) {
            QVariantMap record = stock.toMap();
            if (ItemRecord::string(record, ItemRecord::KeyTitle) != title)
                continue;
            found = true;
            if (ItemRecord::string(record, ItemRecord::KeyStockURL) != address) {
                record.insert(ItemRecord::KeyStockURL, address);
                stock = record;
                changed = true;
            }
            break;
        }
        if (found)
            continue;
        stocks.append(QVariantMap{
            {ItemRecord::KeyTitle, title},
            {ItemRecord::KeyStockURL, address},
            {ItemRecord::KeyKind, int(ItemRecord::KindStock)},
            {ItemRecord::KeyValMin, QStringLiteral("0.000")},
            {ItemRecord::KeyValMax, QStringLiteral("0.000")},
            {ItemRecord::KeyValLast, QStringLiteral("???")},
            {ItemRecord::KeyValLastShown, QStringLiteral("0")},
        });
        changed = true;
    }
    return changed;
}

bool StocksSurveyImport::mergeFile(QVariantList &stocks, const QString &path)
{
    const BoundedFile::Result read = BoundedFile::read(path, BoundedFile::Limit::StockQuotes);
    BoundedFile::logFailure(path, read);
    return read.isRead() && merge(stocks, read.bytes);
}
