#include "OtherDataReaders.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

// A reading that finds contacts or events replaces the list and its cache; one that finds none
// (the address book gone or locked) keeps both. Events are asked for a month from today 0:00.
TEST(OtherDataReaders, AnEmptyReadingKeepsTheCachedContactsAndEvents)
{
    TemporaryHome home;
    SharedPreferences preferences;
    QVariantList contacts{QVariantMap{{"x", 4}, {"T", "Ada"}, {"t", "Ada"}}};
    QDateTime askedFrom, askedTo;
    OtherDataReaders::Environment environment;
    environment.readContacts = [&] { return contacts; };
    environment.readEvents = [&](const QDateTime &from, const QDateTime &to) {
        askedFrom = from;
        askedTo = to;
        return contacts.isEmpty() ? QVariantList() : QVariantList{QVariantMap{{"x", 12}}};
    };
    OtherDataReaders readers(preferences, environment);

    const QVariantList previous{QVariantMap{{"x", 4}, {"T", "Old"}}};
    EXPECT_EQ(readers.readAddressBook(previous), contacts);
    EXPECT_EQ(SharedPreferences().listValue("AddressBookItems"), contacts);
    const QDateTime now(QDate(2027, 1, 31), QTime(15, 20));
    EXPECT_EQ(readers.readCalendarEvents({}, now).size(), 1);
    EXPECT_EQ(askedFrom, QDateTime(QDate(2027, 1, 31), QTime(0, 0)));
    EXPECT_EQ(askedTo, QDateTime(QDate(2027, 3, 3), QTime(0, 0)))
        << "the suite's month step: 31 February is 3 March";

    const QVariantList read = contacts;
    contacts.clear();
    EXPECT_EQ(readers.readAddressBook(read), read);
    EXPECT_EQ(readers.readCalendarEvents({QVariantMap{{"x", 12}, {"T", "kept"}}}, now).size(), 1);
    EXPECT_EQ(SharedPreferences().listValue("AddressBookItems"), read);
    EXPECT_EQ(SharedPreferences().listValue("CalendarItems")->size(), 1);
    EXPECT_TRUE(OtherDataReaders(preferences, {}).readBookmarks().isEmpty());
}
