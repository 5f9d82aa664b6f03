#include "OtherDataReaders.h"

#include "AddressBookReader.h"
#include "BookmarkReader.h"
#include "CalendarReader.h"
#include "CommonKorvaleClass.h"
#include "FaviconUpdater.h"
#include "QOR_DateUtils.h"
#include "SharedPreferences.h"

OtherDataReaders::Environment OtherDataReaders::standardEnvironment()
{
    Environment environment;
    environment.readBookmarks = &BookmarkReader::readAll;
    environment.readContacts = &AddressBookReader::readAll;
    environment.readEvents = &CalendarReader::readEvents;
    return environment;
}

OtherDataReaders::OtherDataReaders(SharedPreferences &preferences, Environment environment,
                                   QObject *parent)
    : QObject(parent)
    , mPreferences(preferences)
    , mEnvironment(std::move(environment))
    , mFavicons(std::make_unique<FaviconUpdater>(mEnvironment.fetch))
{
    connect(mFavicons.get(), &FaviconUpdater::saveRequested, this,
            [this](const QVariantList &favicons) {
                CommonKorvaleClass::saveListInFile(favicons, DataFileName::URLFavicons);
                emit faviconsSaved(favicons);
            });
}

OtherDataReaders::~OtherDataReaders() = default;

QVariantList OtherDataReaders::keepUnlessEmpty(const QString &cacheKey, QVariantList read,
                                               const QVariantList &current)
{
    if (read.isEmpty())
        return current;
    mPreferences.setValue(cacheKey, read);
    mPreferences.synchronize();
    return read;
}

QVariantList OtherDataReaders::readAddressBook(const QVariantList &current)
{
    return keepUnlessEmpty(QStringLiteral("AddressBookItems"),
                           mEnvironment.readContacts ? mEnvironment.readContacts() : QVariantList(),
                           current);
}

QVariantList OtherDataReaders::readBookmarks()
{
    return mEnvironment.readBookmarks ? mEnvironment.readBookmarks() : QVariantList();
}

QVariantList OtherDataReaders::readCalendarEvents(const QVariantList &current, const QDateTime &now)
{
    const QDateTime from(now.date(), QTime(0, 0));
    const QDateTime to = QOR_DateUtils::sameDayNextMonth(from);
    return keepUnlessEmpty(
        QStringLiteral("CalendarItems"),
        mEnvironment.readEvents ? mEnvironment.readEvents(from, to) : QVariantList(), current);
}

void OtherDataReaders::updateFavicons(std::function<QVariantList()> bookmarks,
                                      std::function<QVariantList()> favicons)
{
    mFavicons->update(std::move(bookmarks), std::move(favicons));
}
