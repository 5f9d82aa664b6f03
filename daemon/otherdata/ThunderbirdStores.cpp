#include "ThunderbirdStores.h"

#include "BoundedFile.h"
#include "KorvaleLog.h"
#include "SqliteSnapshot.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>

namespace {

void logOnce(const QString &line)
{
    static QMutex mutex;
    static QSet<QString> said;
    const QMutexLocker locker(&mutex);
    if (!said.contains(line)) {
        said.insert(line);
        KorvaleLog::line(line);
    }
}

// A property value inside a vCard or iCalendar line: the characters that would end it escaped,
// and no line break that would start another property.
QString escaped(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char(';'), QLatin1String("\\;"));
    value.replace(QLatin1Char(','), QLatin1String("\\,"));
    value.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    value.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    return value;
}

// A time as iCalendar writes it: ";VALUE=DATE:20261210", ":20261210T090000Z",
// ";TZID=Europe/Paris:20261210T100000", or floating ":20261210T090000".
QString timeValue(qint64 micros, const QString &zone, bool allDay)
{
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(micros / 1000, Qt::UTC);
    // Thunderbird keeps floating times and days as if they were UTC.
    if (allDay)
        return QStringLiteral(";VALUE=DATE:") + utc.toString(QStringLiteral("yyyyMMdd"));
    if (zone.isEmpty() || zone == QLatin1String("UTC") || zone == QLatin1String("utc"))
        return QLatin1Char(':') + utc.toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    if (zone == QLatin1String("floating"))
        return QLatin1Char(':') + utc.toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    // Only a zone of the system's database, named as it names it, enters the text.
    static const QRegularExpression ianaName(QStringLiteral("^[A-Za-z0-9_+/-]+$"));
    if (!ianaName.match(zone).hasMatch() || !QTimeZone::isTimeZoneIdAvailable(zone.toUtf8()))
        return QLatin1Char(':') + utc.toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    return QStringLiteral(";TZID=") + zone + QLatin1Char(':')
        + utc.toTimeZone(QTimeZone(zone.toUtf8())).toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
}

bool isRecurrenceLine(const QString &line)
{
    for (const char *name : {"RRULE", "EXRULE", "RDATE", "EXDATE"}) {
        if (line.startsWith(QLatin1String(name))
            && (line.size() > qsizetype(qstrlen(name))
                && (line.at(qstrlen(name)) == QLatin1Char(':')
                    || line.at(qstrlen(name)) == QLatin1Char(';'))))
            return true;
    }
    return false;
}

QStringList existing(const QStringList &candidates)
{
    QStringList found;
    for (const QString &path : candidates) {
        if (QFileInfo(path).isFile())
            found << path;
    }
    return found;
}

} // namespace

QStringList ThunderbirdStores::addressBooks(const QStringList &profiles)
{
    QStringList books;
    static const QRegularExpression numbered(QStringLiteral("^abook-[0-9]+\\.sqlite$"));
    for (const QString &profile : profiles) {
        books += existing({profile + QStringLiteral("/abook.sqlite")});
        const QStringList names =
            QDir(profile).entryList({QStringLiteral("abook-*.sqlite")}, QDir::Files, QDir::Name);
        for (const QString &name : names) {
            if (numbered.match(name).hasMatch())
                books << profile + QLatin1Char('/') + name;
        }
    }
    return books;
}

QStringList ThunderbirdStores::calendars(const QStringList &profiles)
{
    QStringList stores;
    for (const QString &profile : profiles)
        stores += existing({profile + QStringLiteral("/calendar-data/local.sqlite"),
                            profile + QStringLiteral("/calendar-data/cache.sqlite")});
    return stores;
}

QByteArray ThunderbirdStores::vCardOf(const Properties &properties)
{
    QHash<QString, QString> values;
    for (const auto &[name, value] : properties) {
        if (!value.isEmpty())
            values.insert(name, value);
    }
    const QString whole = values.value(QStringLiteral("_vCard"));
    if (whole.contains(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive))
        return whole.toUtf8();
    QStringList lines{QStringLiteral("BEGIN:VCARD"), QStringLiteral("VERSION:3.0")};
    const auto add = [&](const QString &property, const char *field) {
        const QString value = values.value(QLatin1String(field));
        if (!value.isEmpty())
            lines << property + QLatin1Char(':') + escaped(value);
    };
    const QString first = values.value(QStringLiteral("FirstName"));
    const QString last = values.value(QStringLiteral("LastName"));
    QString shown = values.value(QStringLiteral("DisplayName"));
    if (shown.isEmpty())
        shown = QStringList{first, last}.join(QLatin1Char(' ')).trimmed();
    if (!shown.isEmpty())
        lines << QStringLiteral("FN:") + escaped(shown);
    if (!first.isEmpty() || !last.isEmpty())
        lines << QStringLiteral("N:%1;%2;;;").arg(escaped(last), escaped(first));
    add(QStringLiteral("NICKNAME"), "NickName");
    add(QStringLiteral("EMAIL;TYPE=INTERNET"), "PrimaryEmail");
    add(QStringLiteral("EMAIL;TYPE=INTERNET"), "SecondEmail");
    add(QStringLiteral("TEL;TYPE=WORK"), "WorkPhone");
    add(QStringLiteral("TEL;TYPE=HOME"), "HomePhone");
    add(QStringLiteral("TEL;TYPE=CELL"), "CellularNumber");
    add(QStringLiteral("TEL;TYPE=FAX"), "FaxNumber");
    add(QStringLiteral("ORG"), "Company");
    add(QStringLiteral("TITLE"), "JobTitle");
    add(QStringLiteral("NOTE"), "Notes");
    if (lines.size() == 2)
        return {};
    lines << QStringLiteral("END:VCARD");
    return lines.join(QLatin1String("\r\n")).toUtf8() + "\r\n";
}

QList<QByteArray> ThunderbirdStores::vCardsInAddressBook(const QString &path)
{
    QList<QByteArray> cards;
    const SqliteSnapshot store(path, BoundedFile::Limit::ThunderbirdStore);
    if (!store.database()) {
        logOnce(QStringLiteral("Exception reading file %1: %2").arg(path, store.error()));
        return cards;
    }
    if (!store.hasColumns(
            QStringLiteral("properties"),
            {QStringLiteral("card"), QStringLiteral("name"), QStringLiteral("value")})) {
        logOnce(
            QStringLiteral("Thunderbird address book %1: not a known layout; skipped").arg(path));
        return cards;
    }
    QString current;
    Properties properties;
    const auto finish = [&] {
        if (const QByteArray card = vCardOf(properties); !card.isEmpty())
            cards << card;
        properties.clear();
    };
    for (const QVariantList &row :
         store.rows(QStringLiteral("SELECT card, name, value FROM properties ORDER BY card"))) {
        const QString card = row.value(0).toString();
        if (card != current && !properties.isEmpty())
            finish();
        current = card;
        properties.append({row.value(1).toString(), row.value(2).toString()});
    }
    if (!properties.isEmpty())
        finish();
    return cards;
}

QByteArray ThunderbirdStores::vEventOf(const EventRow &row)
{
    if (row.id.isEmpty())
        return {};
    const bool allDay = (row.flags & AllDayFlag) != 0;
    QStringList lines{QStringLiteral("BEGIN:VEVENT"), QStringLiteral("UID:") + escaped(row.id),
                      QStringLiteral("SUMMARY:") + escaped(row.title),
                      QStringLiteral("DTSTART") + timeValue(row.start, row.startZone, allDay)};
    if (row.end > row.start)
        lines << QStringLiteral("DTEND") + timeValue(row.end, row.endZone, allDay);
    if (row.recurrenceId)
        lines << QStringLiteral("RECURRENCE-ID")
                + timeValue(*row.recurrenceId, row.recurrenceZone, allDay);
    if (!row.status.isEmpty())
        lines << QStringLiteral("STATUS:") + escaped(row.status);
    for (const QString &line : row.recurrence) {
        // Only the repetition's own lines, each one line: nothing else enters the event.
        const QString one = line.trimmed();
        if (isRecurrenceLine(one) && !one.contains(QLatin1Char('\n'))
            && !one.contains(QLatin1Char('\r')))
            lines << one;
    }
    lines << QStringLiteral("END:VEVENT");
    return lines.join(QLatin1String("\r\n")).toUtf8() + "\r\n";
}

QByteArray ThunderbirdStores::calendarText(const QString &path)
{
    const SqliteSnapshot store(path, BoundedFile::Limit::ThunderbirdStore);
    if (!store.database()) {
        logOnce(QStringLiteral("Exception reading file %1: %2").arg(path, store.error()));
        return {};
    }
    const QStringList version =
        store.textColumn(QStringLiteral("SELECT version FROM cal_calendar_schema_version"));
    const int schema = version.value(0).toInt();
    const QStringList eventColumns{QStringLiteral("id"),
                                   QStringLiteral("title"),
                                   QStringLiteral("ical_status"),
                                   QStringLiteral("flags"),
                                   QStringLiteral("event_start"),
                                   QStringLiteral("event_start_tz"),
                                   QStringLiteral("event_end"),
                                   QStringLiteral("event_end_tz"),
                                   QStringLiteral("recurrence_id"),
                                   QStringLiteral("recurrence_id_tz")};
    if (schema < OldestCalendarSchema || schema > NewestCalendarSchema
        || !store.hasColumns(QStringLiteral("cal_events"), eventColumns)) {
        logOnce(QStringLiteral("Thunderbird calendar %1: schema version %2 not known; skipped")
                    .arg(path, version.value(0)));
        return {};
    }
    QHash<QString, QStringList> recurrences;
    if (store.hasColumns(QStringLiteral("cal_recurrence"),
                         {QStringLiteral("item_id"), QStringLiteral("icalString")})) {
        for (const QVariantList &row :
             store.rows(QStringLiteral("SELECT item_id, icalString FROM cal_recurrence")))
            recurrences[row.value(0).toString()] << row.value(1).toString();
    }
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Korvale//Thunderbird//EN\r\n";
    const QList<QVariantList> rows = store.rows(
        QStringLiteral("SELECT id, title, ical_status, flags, event_start, event_start_tz, "
                       "event_end, event_end_tz, recurrence_id, recurrence_id_tz FROM cal_events"));
    for (const QVariantList &row : rows) {
        EventRow event;
        event.id = row.value(0).toString();
        event.title = row.value(1).toString();
        event.status = row.value(2).toString();
        event.flags = row.value(3).toLongLong();
        event.start = row.value(4).toLongLong();
        event.startZone = row.value(5).toString();
        event.end = row.value(6).toLongLong();
        event.endZone = row.value(7).toString();
        if (!row.value(8).isNull()) {
            event.recurrenceId = row.value(8).toLongLong();
            event.recurrenceZone = row.value(9).toString();
        } else {
            // Exceptions carry the repeating event's id; the repetition is the event's own.
            event.recurrence = recurrences.value(event.id);
        }
        text += vEventOf(event);
    }
    return text + "END:VCALENDAR\r\n";
}
