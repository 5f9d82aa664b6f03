#include "OtherDataReaders.h"

#include "AddressBookReader.h"
#include "BookmarkReader.h"
#include "CalendarReader.h"
#include "CommonKorvaleClass.h"
#include "FaviconUpdater.h"
#include "KorvaleLog.h"
#include "QOR_DateUtils.h"

#include <QMutex>
#include <QThread>

namespace {

QVariantList capped(QVariantList list, int limit, const char *what)
{
    if (list.size() <= limit)
        return list;
    KorvaleLog::line(QStringLiteral("Only the first %1 of %2 %3 are kept")
                         .arg(limit)
                         .arg(list.size())
                         .arg(QLatin1String(what)));
    list.resize(limit);
    return list;
}

} // namespace

OtherDataReaders::Environment OtherDataReaders::standardEnvironment()
{
    Environment environment;
    environment.readBookmarks = &BookmarkReader::readAll;
    environment.readContacts = &AddressBookReader::readAll;
    environment.readEvents = &CalendarReader::readEvents;
    return environment;
}

// The readers and what the caches hold, shared with the readings under way.
struct OtherDataReaders::Sources {
    Environment environment;
    QMutex cacheMutex;
    QVariantList storedContacts;
    QVariantList storedEvents;

    // Writes the cache unless it holds this list already: a reload a minute must not rewrite
    // thousands of contacts each time.
    void storeCache(const QVariantList &list, const QString &fileName, QVariantList &lastStored)
    {
        // A reading cut short by the quit is no cache for the next start.
        if (QThread::currentThread()->isInterruptionRequested())
            return;
        QMutexLocker lock(&cacheMutex);
        if (list.isEmpty() || list == lastStored)
            return;
        CommonKorvaleClass::saveListInFile(list, fileName);
        lastStored = list;
    }
};

OtherDataReaders::OtherDataReaders(Environment environment, QObject *parent)
    : QObject(parent)
    , mSources(std::make_shared<Sources>())
{
    mSources->environment = std::move(environment);
    mFavicons = std::make_unique<FaviconUpdater>(mSources->environment.fetch);
    connect(mFavicons.get(), &FaviconUpdater::saveRequested, this,
            [this](const QVariantList &favicons) {
                CommonKorvaleClass::saveListInFile(favicons, DataFileName::URLFavicons);
                emit faviconsSaved(favicons);
            });
}

OtherDataReaders::~OtherDataReaders() = default;

OtherDataReaders::Reading OtherDataReaders::addressBookReading() const
{
    return [sources = mSources] {
        const Environment &environment = sources->environment;
        const QVariantList contacts =
            capped(environment.readContacts ? environment.readContacts() : QVariantList(),
                   ContactLimit, "contacts");
        sources->storeCache(contacts, DataFileName::AddressBookItems, sources->storedContacts);
        return contacts;
    };
}

OtherDataReaders::Reading OtherDataReaders::bookmarksReading() const
{
    return [sources = mSources] {
        const Environment &environment = sources->environment;
        return capped(environment.readBookmarks ? environment.readBookmarks() : QVariantList(),
                      BookmarkLimit, "bookmarks");
    };
}

OtherDataReaders::Reading OtherDataReaders::calendarReading(const QDateTime &now) const
{
    return [sources = mSources, now] {
        const Environment &environment = sources->environment;
        const QDateTime from(now.date(), QTime(0, 0));
        const QDateTime to = QOR_DateUtils::sameDayNextMonth(from);
        // The calendar reader keeps the earliest events within its own limit; this one guards
        // any other reader.
        const QVariantList events =
            capped(environment.readEvents ? environment.readEvents(from, to) : QVariantList(),
                   CalendarReader::EventLimit, "calendar events");
        sources->storeCache(events, DataFileName::CalendarItems, sources->storedEvents);
        return events;
    };
}

QVariantList OtherDataReaders::readAddressBook()
{
    return addressBookReading()();
}

QVariantList OtherDataReaders::readBookmarks()
{
    return bookmarksReading()();
}

QVariantList OtherDataReaders::readCalendarEvents(const QDateTime &now)
{
    return calendarReading(now)();
}

void OtherDataReaders::updateFavicons(std::function<QVariantList()> bookmarks,
                                      std::function<QVariantList()> favicons)
{
    mFavicons->update(std::move(bookmarks), std::move(favicons));
}
