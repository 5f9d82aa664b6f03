#include "EdsData.h"

#include "EdsInterface.h"
#include "KorvaleLog.h"
#include "SuiteModule.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QTimeZone>

namespace {

bool edsOnBus()
{
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return false;
    const QString prefix = QStringLiteral("org.gnome.evolution.dataserver.Sources");
    const QDBusReply<QStringList> activatable = bus->activatableServiceNames();
    const QDBusReply<QStringList> running = bus->registeredServiceNames();
    for (const QDBusReply<QStringList> *names : {&activatable, &running}) {
        if (!names->isValid())
            continue;
        for (const QString &name : names->value())
            if (name.startsWith(prefix))
                return true;
    }
    return false;
}

QString text(const std::string &s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace

struct EdsData::Private {
    // Held through a reading, module calls included.
    QMutex mutex;
    bool asked = false;
    const EdsFunctions *functions = nullptr;
    QList<EdsSource> sources;
    bool watching = false;
    // What the module's thread reports, under a lock of its own: it must never wait for a
    // reading, which itself waits for the module's thread.
    QMutex noteMutex;
    // The sources are listed again when the registry reports a change.
    bool sourcesStale = true;
    QSet<QString> stale; // sources whose items changed since they were read
    QHash<QString, EdsSource::Kind> kinds;
    QHash<QString, QList<QByteArray>> cards;
    struct Events {
        qint64 from = 0;
        qint64 to = 0;
        QList<Occurrence> occurrences;
    };
    QHash<QString, Events> events;
    std::function<void()> contactsChanged;
    std::function<void()> eventsChanged;

    const EdsFunctions *module()
    {
        if (asked)
            return functions;
        asked = true;
        // KORVALE_EDS=off leaves EDS alone (the test runs, whose session bus starts services
        // with the real home folder).
        if (qgetenv("KORVALE_EDS") == "off") {
            KorvaleLog::line(QStringLiteral("Evolution Data Server is left out (KORVALE_EDS=off): "
                                            "its address books and calendars are read from their "
                                            "files"));
            return nullptr;
        }
        if (!edsOnBus()) {
            KorvaleLog::line(QStringLiteral(
                "Evolution Data Server is not in this session: its address books and calendars "
                "are read from their files"));
            return nullptr;
        }
        const auto entry = reinterpret_cast<EdsEntry>(
            SuiteModule::entry(QStringLiteral(KORVALE_EDS_MODULE_FILE), KORVALE_EDS_MODULE_ENTRY));
        functions = entry ? entry() : nullptr;
        if (entry && !functions)
            KorvaleLog::line(QStringLiteral(
                "Evolution Data Server's settings schemas are not installed where this session "
                "looks (XDG_DATA_DIRS): its address books and calendars are read from their "
                "files"));
        return functions;
    }

    // True when the source is to be read again, and clears its mark: a change reported during
    // the reading marks it anew.
    bool takeStale(const QString &uid)
    {
        const QMutexLocker lock(&noteMutex);
        return stale.remove(uid);
    }

    // The views are opened by the first reading after a watch was asked for: the bus is asked
    // about EDS, and the module loaded, on the reader thread only.
    void startWatching()
    {
        {
            const QMutexLocker lock(&noteMutex);
            if (watching || (!contactsChanged && !eventsChanged))
                return;
        }
        watching = true;
        functions->watch([this](const std::string &uid) { changed(uid); });
    }

    bool refreshSources()
    {
        {
            const QMutexLocker lock(&noteMutex);
            if (!sourcesStale)
                return true;
            sourcesStale = false;
        }
        std::vector<EdsSource> listed;
        std::string error;
        if (!functions->listSources(listed, error)) {
            const QMutexLocker lock(&noteMutex);
            sourcesStale = true;
            KorvaleLog::line(
                QStringLiteral("Evolution Data Server's sources could not be listed: %1")
                    .arg(text(error)));
            return false;
        }
        sources = QList<EdsSource>(listed.begin(), listed.end());
        QSet<QString> uids;
        QHash<QString, EdsSource::Kind> listedKinds;
        for (const EdsSource &source : std::as_const(sources)) {
            uids.insert(text(source.uid));
            listedKinds.insert(text(source.uid), source.kind);
        }
        {
            const QMutexLocker lock(&noteMutex);
            kinds = std::move(listedKinds);
        }
        for (auto it = cards.begin(); it != cards.end();)
            it = uids.contains(it.key()) ? std::next(it) : cards.erase(it);
        for (auto it = events.begin(); it != events.end();)
            it = uids.contains(it.key()) ? std::next(it) : events.erase(it);
        return true;
    }

    void changed(const std::string &uid)
    {
        std::function<void()> call;
        {
            const QMutexLocker lock(&noteMutex);
            if (uid.empty()) {
                sourcesStale = true;
                // Either kind may have gained or lost a source.
                const std::function<void()> contacts = contactsChanged;
                const std::function<void()> calendar = eventsChanged;
                call = [contacts, calendar] {
                    if (contacts)
                        contacts();
                    if (calendar)
                        calendar();
                };
            } else {
                const QString changedUid = text(uid);
                stale.insert(changedUid);
                const auto kind = kinds.constFind(changedUid);
                if (kind != kinds.cend())
                    call = *kind == EdsSource::Kind::AddressBook ? contactsChanged : eventsChanged;
            }
        }
        if (call)
            call();
    }
};

EdsData::EdsData()
    : d(new Private)
{
}

EdsData &EdsData::instance()
{
    // Never destroyed: the module's thread may call back until the process ends.
    static EdsData *const data = new EdsData;
    return *data;
}

std::optional<QList<QByteArray>> EdsData::contactCards()
{
    std::optional<QList<Book>> books = contactBooks();
    if (!books)
        return std::nullopt;
    QList<QByteArray> all;
    for (const Book &book : std::as_const(*books))
        all += book.cards;
    return all;
}

std::optional<QList<EdsData::Book>> EdsData::contactBooks()
{
    const QMutexLocker lock(&d->mutex);
    if (!d->module())
        return std::nullopt;
    d->startWatching();
    if (!d->refreshSources())
        return std::nullopt;
    QList<Book> all;
    for (const EdsSource &source : std::as_const(d->sources)) {
        if (source.kind != EdsSource::Kind::AddressBook)
            continue;
        const QString uid = text(source.uid);
        auto cached = d->cards.find(uid);
        if (d->takeStale(uid) || cached == d->cards.end()) {
            std::vector<std::string> read;
            std::string error;
            if (!d->functions->readContacts(source.uid, read, error)) {
                KorvaleLog::line(QStringLiteral("The address book \"%1\" could not be read: %2")
                                     .arg(text(source.displayName), text(error)));
                continue;
            }
            QList<QByteArray> bytes;
            bytes.reserve(qsizetype(read.size()));
            for (const std::string &card : read)
                bytes.append(QByteArray(card.data(), qsizetype(card.size())));
            cached = d->cards.insert(uid, std::move(bytes));
        }
        all.append({text(source.displayName), *cached});
    }
    return all;
}

std::optional<QList<EdsData::Occurrence>> EdsData::eventOccurrences(const QDateTime &from,
                                                                    const QDateTime &to)
{
    std::optional<QList<Calendar>> read = calendars(from, to);
    if (!read)
        return std::nullopt;
    QList<Occurrence> all;
    for (const Calendar &calendar : std::as_const(*read))
        all += calendar.occurrences;
    return all;
}

std::optional<QList<EdsData::Calendar>> EdsData::calendars(const QDateTime &from,
                                                           const QDateTime &to)
{
    const QMutexLocker lock(&d->mutex);
    if (!d->module())
        return std::nullopt;
    d->startWatching();
    if (!d->refreshSources())
        return std::nullopt;
    const qint64 fromS = from.toSecsSinceEpoch();
    const qint64 toS = to.toSecsSinceEpoch();
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    QList<Calendar> all;
    for (const EdsSource &source : std::as_const(d->sources)) {
        if (source.kind != EdsSource::Kind::Calendar)
            continue;
        const QString uid = text(source.uid);
        auto cached = d->events.find(uid);
        if (d->takeStale(uid) || cached == d->events.end() || cached->from != fromS
            || cached->to != toS) {
            std::vector<EdsEventInstance> read;
            std::string error;
            if (!d->functions->readEvents(source.uid, fromS, toS, zone.toStdString(), read,
                                          error)) {
                KorvaleLog::line(QStringLiteral("The calendar \"%1\" could not be read: %2")
                                     .arg(text(source.displayName), text(error)));
                continue;
            }
            Private::Events events{fromS, toS, {}};
            for (const EdsEventInstance &instance : read) {
                const QString title = text(instance.summary).simplified();
                const QDateTime start = instance.hasInstant
                    ? QDateTime::fromSecsSinceEpoch(instance.instant).toLocalTime()
                    : QDateTime(QDate(instance.year, instance.month, instance.day),
                                QTime(instance.hour, instance.minute, instance.second));
                // The rules of the calendar files: a titled event starting within the range.
                if (title.isEmpty() || !start.isValid() || start < from || !(start < to))
                    continue;
                events.occurrences.append({title, start});
            }
            cached = d->events.insert(uid, std::move(events));
        }
        all.append({text(source.displayName), cached->occurrences});
    }
    return all;
}

void EdsData::watch(std::function<void()> contactsChanged, std::function<void()> eventsChanged)
{
    const QMutexLocker lock(&d->noteMutex);
    d->contactsChanged = std::move(contactsChanged);
    d->eventsChanged = std::move(eventsChanged);
}

void EdsData::stopWatching()
{
    {
        const QMutexLocker lock(&d->noteMutex);
        d->contactsChanged = nullptr;
        d->eventsChanged = nullptr;
    }
    const QMutexLocker lock(&d->mutex);
    if (d->watching && d->functions)
        d->functions->stopWatching();
    d->watching = false;
}
