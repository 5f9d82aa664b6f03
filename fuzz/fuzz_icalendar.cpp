// Calendar files come from other programs (Evolution, KOrganizer, exports): the reader expands
// their events and rules over one month, as the agent does every day, within its limits.
#include "CalendarReader.h"
#include "ReaderLibraries.h"
#include "ReaderLibrariesInterface.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>

// libical, SQLite and libplist linked in: a fuzz target has no module folder to look in.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ReaderLibraries::useLinked(korvaleReadersModule());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool zoneSet = [] {
        setenv("TZ", "Europe/Paris", 1);
        tzset();
        return true;
    }();
    (void)zoneSet;
    static const QDateTime from(QDate(2027, 3, 15), QTime(0, 0));
    static const QDateTime to(QDate(2027, 4, 15), QTime(0, 0));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QVariantList events = CalendarReader::eventsInCalendar(bytes, from, to);
    if (events.size() > CalendarReader::EventLimit)
        __builtin_trap();
    for (const QVariant &event : events) {
        const QVariantMap record = event.toMap();
        const QDateTime start = record.value(QStringLiteral("Date")).toDateTime();
        if (!start.isValid() || start < from || start >= to
            || record.value(QStringLiteral("T")).toString().isEmpty())
            __builtin_trap();
    }
    return 0;
}
