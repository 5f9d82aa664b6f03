// What the stock survey reads from outside: a quote address's answer, and the user's
// "StocksSurvey.txt". The first byte chooses the reader.
#include "StockQuote.h"
#include "StockRules.h"
#include "StocksSurveyImport.h"

#include "ItemRecord.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void quote(const QByteArray &bytes)
{
    const StockQuote::Parsed parsed = StockQuote::parse(bytes);
    if (!parsed.reading) {
        if (parsed.problem.isEmpty())
            __builtin_trap();
        return;
    }
    const StockQuote::Reading &reading = *parsed.reading;
    if (reading.text.toLatin1() != bytes || !std::isfinite(reading.value)
        || reading.shown != reading.shown.trimmed())
        __builtin_trap();
    // The value shown reads back as the value; an entry last shown at it, with both limits at
    // it, is not due.
    if (StockQuote::leadingNumber(reading.shown) != reading.value)
        __builtin_trap();
    const QVariantMap entry{{ItemRecord::KeyValMin, reading.shown},
                            {ItemRecord::KeyValMax, reading.shown},
                            {ItemRecord::KeyValLastShown, reading.shown}};
    if (StockRules::dueReason(entry, reading.value, false))
        __builtin_trap();
    if (StockRules::dueReason(entry, reading.value, true) != QString())
        __builtin_trap();
}

void importFile(const QByteArray &bytes)
{
    QVariantList stocks;
    StocksSurveyImport::merge(stocks, bytes);
    QStringList titles;
    for (const QVariant &stock : stocks) {
        const QVariantMap record = stock.toMap();
        const QString title = ItemRecord::string(record, ItemRecord::KeyTitle);
        if (title.isEmpty() || ItemRecord::string(record, ItemRecord::KeyStockURL).isEmpty()
            || titles.contains(title))
            __builtin_trap();
        titles << title;
    }
    // Read again at the next reload, the same file changes nothing.
    const QVariantList first = stocks;
    if (StocksSurveyImport::merge(stocks, bytes) || stocks != first)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    if (data[0] & 1)
        importFile(bytes);
    else
        quote(bytes);
    return 0;
}
