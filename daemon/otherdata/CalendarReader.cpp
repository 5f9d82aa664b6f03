#include "CalendarReader.h"

#include "EdsData.h"
#include "KorvaleLog.h"
#include "MozillaProfiles.h"
#include "OtherDataRecords.h"
#include "OtherDataSources.h"
#include "ReaderLibraries.h"
#include "ReaderLibrariesInterface.h"
#include "TextMatching.h"
#include "ThunderbirdStores.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include <algorithm>

const QString CalendarReader::CalendarPathsPreference = QStringLiteral("OtherDataCalendarPaths");

namespace {

// Each event cut is reported once for as long as the agent runs, not at every reading.
void reportOnce(const QString &line)
{
    static QMutex mutex;
    static QSet<QString> reported;
    QMutexLocker lock(&mutex);
    if (reported.contains(line))
        return;
    reported.insert(line);
    KorvaleLog::line(line);
}

std::weak_ordering compareTitles(QStringView a, QStringView b)
{
    return TextMatching::compareTitles(a, b);
}

CalendarRange rangeOf(const QDateTime &from, const QDateTime &to)
{
    CalendarRange range(from, to);
    range.reportOnce = reportOnce;
    range.compareTitles = compareTitles;
    return range;
}

// The events of one iCalendar text, through libical in the readers module.
void occurrencesIn(const QByteArray &bytes, CalendarRange &range, QList<CalendarOccurrence> &found)
{
    if (bytes.isEmpty())
        return;
    if (const ReaderLibraryFunctions *libraries = ReaderLibraries::functions())
        libraries->addCalendarOccurrences(bytes, range, found);
}

// The events in date order, at most EventLimit of them, each bound said in the log.
QVariantList recordsOf(QList<CalendarOccurrence> found, const CalendarRange &range)
{
    std::stable_sort(found.begin(), found.end(),
                     [&range](const CalendarOccurrence &a, const CalendarOccurrence &b) {
                         return CalendarOccurrences::earlier(range, a, b);
                     });
    if (found.size() > CalendarReader::EventLimit) {
        found.resize(CalendarReader::EventLimit);
        KorvaleLog::line(QStringLiteral("Calendar: only the first %1 events of the month are kept; "
                                        "the later ones were left out")
                             .arg(CalendarReader::EventLimit));
    }
    if (!range.stoppedAt.isEmpty())
        KorvaleLog::line(QStringLiteral("Calendar: reading stopped after %1 ms, at the event "
                                        "\"%2\"; the events after it were left out")
                             .arg(CalendarReader::ReadingBudgetMs)
                             .arg(range.stoppedAt));
    QVariantList records;
    records.reserve(found.size());
    for (const CalendarOccurrence &occurrence : std::as_const(found)) {
        records.append(OtherDataRecords::eventRecord(
            occurrence.title, QDateTime::fromMSecsSinceEpoch(occurrence.startMs)));
    }
    return records;
}

} // namespace

QVariantList CalendarReader::eventsInCalendar(const QByteArray &bytes, const QDateTime &from,
                                              const QDateTime &to)
{
    if (!from.isValid() || !to.isValid() || !(from < to))
        return {};
    CalendarRange range = rangeOf(from, to);
    QList<CalendarOccurrence> found;
    occurrencesIn(bytes, range, found);
    return recordsOf(std::move(found), range);
}

QVariantList CalendarReader::readEvents(const QDateTime &from, const QDateTime &to)
{
    QList<SourcesRead::Source> found;
    QVariantList events = eventsInSources(defaultSources(from, to), from, to, &found);
    SourcesRead::replace(SourcesRead::Kind::Calendar, found);
    return events;
}

QList<CalendarReader::Source> CalendarReader::defaultSources(const QDateTime &from,
                                                             const QDateTime &to)
{
    // EDS's own answer replaces its files: no event is counted twice.
    const std::optional<QList<EdsData::Calendar>> eds = EdsData::instance().calendars(from, to);
    const QString data = OtherDataSources::dataHome();
    QList<Source> sources;
    const auto addFiles = [&sources](SourcesRead::Origin origin, const QString &root) {
        const QStringList files = OtherDataSources::filesIn(
            {root}, {QStringLiteral("ics"), QStringLiteral("ical")}, "BEGIN:VCALENDAR");
        if (!files.isEmpty())
            sources.append({origin, SourcesRead::displayPath(root), files, {}, {}});
    };
    const QDir evolution(data + QStringLiteral("/evolution/calendar"));
    for (const QString &calendar :
         eds ? QStringList() : evolution.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        addFiles(SourcesRead::Origin::EdsFiles, evolution.filePath(calendar));
    addFiles(SourcesRead::Origin::Kde, data + QStringLiteral("/korganizer"));
    for (const QString &path : OtherDataSources::preferencePaths(CalendarPathsPreference))
        addFiles(SourcesRead::Origin::User, path);
    for (const QString &store : ThunderbirdStores::calendars(
             MozillaProfiles::folders(MozillaProfiles::thunderbirdRoots())))
        sources.append(
            {SourcesRead::Origin::Thunderbird, SourcesRead::thunderbirdName(store), {}, store, {}});
    for (const EdsData::Calendar &calendar : eds.value_or(QList<EdsData::Calendar>())) {
        Source source{SourcesRead::Origin::Eds, calendar.name, {}, {}, {}};
        for (const EdsData::Occurrence &occurrence : calendar.occurrences)
            source.occurrences.append({occurrence.title, occurrence.start});
        sources.append(std::move(source));
    }
    return sources;
}

QVariantList CalendarReader::eventsInFiles(const QStringList &files, const QDateTime &from,
                                           const QDateTime &to,
                                           const QStringList &thunderbirdStores,
                                           const QList<Occurrence> &more)
{
    QList<Source> sources;
    for (const QString &file : files)
        sources.append({SourcesRead::Origin::User, file, {file}, {}, {}});
    for (const QString &store : thunderbirdStores)
        sources.append({SourcesRead::Origin::Thunderbird, store, {}, store, {}});
    sources.append({SourcesRead::Origin::Eds, {}, {}, {}, more});
    return eventsInSources(sources, from, to);
}

QVariantList CalendarReader::eventsInSources(const QList<Source> &sources, const QDateTime &from,
                                             const QDateTime &to, QList<SourcesRead::Source> *found)
{
    if (!from.isValid() || !to.isValid() || !(from < to))
        return {};
    CalendarRange range = rangeOf(from, to);
    QList<CalendarOccurrence> occurrences;
    for (const Source &source : sources) {
        // Occurrences another program found cost nothing to add: only the reading stops.
        if (!range.stoppedAt.isEmpty() && source.occurrences.isEmpty())
            continue;
        const qsizetype before = occurrences.size();
        for (const QString &path : source.files) {
            if (!range.stoppedAt.isEmpty())
                break;
            if (const std::optional<QByteArray> bytes =
                    OtherDataSources::readFile(path, BoundedFile::Limit::Calendar))
                occurrencesIn(*bytes, range, occurrences);
        }
        if (!source.thunderbirdStore.isEmpty())
            occurrencesIn(ThunderbirdStores::calendarText(source.thunderbirdStore), range,
                          occurrences);
        for (const Occurrence &occurrence : source.occurrences) {
            const qint64 startMs = occurrence.start.toMSecsSinceEpoch();
            if (!occurrence.title.isEmpty() && startMs >= range.fromMs && startMs < range.toMs)
                occurrences.append({startMs, occurrence.title});
        }
        // Past the reading's limit the later events of earlier sources may go: never below 0.
        if (found)
            found->append({SourcesRead::Kind::Calendar, source.origin, source.name,
                           int(qMax<qsizetype>(0, occurrences.size() - before))});
    }
    CalendarOccurrences::keepEarliest(occurrences, range);
    return recordsOf(std::move(occurrences), range);
}
