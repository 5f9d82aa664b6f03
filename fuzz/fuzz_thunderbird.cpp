// Thunderbird's rows come from its SQLite stores, which any program of the user can write: each
// field is turned into one property of a vCard or of an event, and must stay inside it.
#include "CalendarReader.h"
#include "ReaderLibraries.h"
#include "ReaderLibrariesInterface.h"
#include "ThunderbirdStores.h"
#include "VCardParser.h"

#include <QDateTime>

#include <algorithm>
#include <cstddef>
#include <cstdint>

// libical, SQLite and libplist linked in: a fuzz target has no module folder to look in.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ReaderLibraries::useLinked(korvaleReadersModule());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Fields separated by NUL: an event's, then the card's name and value pairs.
    const QList<QByteArray> fields =
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    const auto field = [&fields](qsizetype i) { return QString::fromUtf8(fields.value(i)); };

    ThunderbirdStores::EventRow row;
    row.id = field(0);
    row.title = field(1);
    row.status = field(2);
    row.start = fields.value(3).toLongLong();
    row.startZone = field(4);
    row.end = fields.value(5).toLongLong();
    row.endZone = field(6);
    row.flags = fields.value(7).toLongLong();
    if (!fields.value(8).isEmpty())
        row.recurrenceId = fields.value(8).toLongLong();
    row.recurrence = field(9).split(QLatin1Char('|'));
    const QByteArray event = ThunderbirdStores::vEventOf(row);
    if (!event.isEmpty()) {
        // One event, one title: no field opened another property or component.
        if (event.count("\r\nSUMMARY:") != 1 || !event.startsWith("BEGIN:VEVENT\r\n")
            || event.contains("\r\nBEGIN:"))
            __builtin_trap();
        const QDateTime from = QDateTime::fromMSecsSinceEpoch(row.start / 1000, Qt::UTC);
        (void)CalendarReader::eventsInCalendar("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + event
                                                   + "END:VCALENDAR\r\n",
                                               from.addDays(-1), from.addMonths(1));
    }

    ThunderbirdStores::Properties properties;
    for (qsizetype i = 10; i + 1 < fields.size(); i += 2)
        properties.append({field(i), field(i + 1)});
    const QByteArray card = ThunderbirdStores::vCardOf(properties);
    const bool whole = std::any_of(properties.cbegin(), properties.cend(), [](const auto &p) {
        return p.first == QLatin1String("_vCard") && !p.second.isEmpty();
    });
    if (!card.isEmpty() && !whole && VCardParser::parse(card).size() != 1)
        __builtin_trap();
    return 0;
}
