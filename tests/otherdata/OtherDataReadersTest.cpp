#include "OtherDataReaders.h"
#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

// A reading that finds contacts or events stores them in their data files, never in the
// preferences every program rereads; one that finds none (the address book gone or locked)
// answers nothing and leaves the files alone. Events are asked for a month from today 0:00.
TEST(OtherDataReaders, CachesGoToDataFilesOfTheirOwn)
{
    TemporaryHome home;
    QVariantList contacts{QVariantMap{{"x", 4}, {"T", "Ada"}, {"t", "Ada"}}};
    QDateTime askedFrom, askedTo;
    OtherDataReaders::Environment environment;
    environment.readContacts = [&] { return contacts; };
    environment.readEvents = [&](const QDateTime &from, const QDateTime &to) {
        askedFrom = from;
        askedTo = to;
        return contacts.isEmpty() ? QVariantList() : QVariantList{QVariantMap{{"x", 12}}};
    };
    OtherDataReaders readers(environment);

    EXPECT_EQ(readers.readAddressBook(), contacts);
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::AddressBookItems), contacts);
    const QDateTime now(QDate(2027, 1, 31), QTime(15, 20));
    EXPECT_EQ(readers.readCalendarEvents(now).size(), 1);
    EXPECT_EQ(askedFrom, QDateTime(QDate(2027, 1, 31), QTime(0, 0)));
    EXPECT_EQ(askedTo, QDateTime(QDate(2027, 3, 3), QTime(0, 0)))
        << "the suite's month step: 31 February is 3 March";
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::CalendarItems).size(), 1);
    const SharedPreferences preferences;
    EXPECT_FALSE(preferences.contains("AddressBookItems"));
    EXPECT_FALSE(preferences.contains("CalendarItems"));

    const QVariantList read = contacts;
    contacts.clear();
    EXPECT_TRUE(readers.readAddressBook().isEmpty());
    EXPECT_TRUE(readers.readCalendarEvents(now).isEmpty());
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::AddressBookItems), read);
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::CalendarItems).size(), 1);
    EXPECT_TRUE(OtherDataReaders(OtherDataReaders::Environment{}).readBookmarks().isEmpty());
}

// No reading keeps more than its limit, and the log says what was left out.
TEST(OtherDataReaders, ContactsAndBookmarksAreCapped)
{
    TemporaryHome home;
    CapturedLog log;
    QVariantList many;
    for (int i = 0; i < OtherDataReaders::BookmarkLimit + 3; ++i)
        many.append(QVariantMap{{"x", 3}, {"T", QString::number(i)}});
    OtherDataReaders::Environment environment;
    environment.readContacts = [&] { return many; };
    environment.readBookmarks = [&] { return many; };
    OtherDataReaders readers(environment);
    EXPECT_EQ(readers.readBookmarks().size(), OtherDataReaders::BookmarkLimit);
    EXPECT_EQ(readers.readAddressBook().size(), OtherDataReaders::ContactLimit);
    EXPECT_EQ(log.lines(),
              QStringList({QString("Only the first %1 of %2 bookmarks are kept")
                               .arg(OtherDataReaders::BookmarkLimit)
                               .arg(many.size()),
                           QString("Only the first %1 of %2 contacts are kept")
                               .arg(OtherDataReaders::ContactLimit)
                               .arg(many.size())}));
}
