// Thunderbird's stores as it leaves them while it runs: WAL mode, the newest writes still in the
// log, the connection open (support/ThunderbirdProfile.h).
#include "ThunderbirdStores.h"
#include "AddressBookReader.h"
#include "CalendarReader.h"
#include "MozillaProfiles.h"
#include "TestEnvironment.h"
#include "ThunderbirdProfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace ThunderbirdProfile;

namespace {

QMap<QString, QByteArray> filesIn(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        files.insert(file.fileName(), file.readAll());
    }
    return files;
}

QStringList titlesAndStarts(const QVariantList &events)
{
    QStringList out;
    for (const QVariant &event : events)
        out << event.toMap().value("T").toString() + " "
                + event.toMap().value("Date").toDateTime().toUTC().toString(Qt::ISODate);
    return out;
}

} // namespace

TEST(Thunderbird, CardsAndEventsAreReadWithTheWritesStillInTheLogAndTheProfileLeftAsItWas)
{
    QTemporaryDir root;
    const QString profile = makeProfile(root.path(), "default-release");
    const QStringList profiles = MozillaProfiles::folders({root.path()});
    ASSERT_EQ(profiles, QStringList{QFileInfo(profile).canonicalFilePath()});

    // Cards: the older fields, then a whole vCard written after the last checkpoint.
    sqlite3 *book = openInWalMode(profile + "/abook.sqlite");
    exec(book,
         "CREATE TABLE properties (card TEXT, name TEXT, value TEXT);"
         "INSERT INTO properties VALUES ('a', 'FirstName', 'Ada'), ('a', 'LastName', 'Lovelace'),"
         " ('a', 'PrimaryEmail', 'ada@example.org'), ('a', 'Company', 'Engines, Ltd; UK');"
         "PRAGMA wal_checkpoint(TRUNCATE);"
         "INSERT INTO properties VALUES ('b', '_vCard', 'BEGIN:VCARD\r\nVERSION:4.0\r\n"
         "FN:Grace Hopper\r\nEMAIL:grace@example.org\r\nEND:VCARD\r\n');");
    sqlite3 *other = openInWalMode(profile + "/abook-2.sqlite");
    exec(other,
         "CREATE TABLE properties (card TEXT, name TEXT, value TEXT);"
         "INSERT INTO properties VALUES ('c', 'DisplayName', 'Alan Turing');");

    // Events: a single one in Paris, a weekly one with one time moved and one called off,
    // an all-day one, and one written after the checkpoint; a store of an unknown schema.
    const QDate today = QDate::currentDate();
    const QDateTime nine(today.addDays(1), QTime(9, 0), QTimeZone("Europe/Paris"));
    sqlite3 *calendar = openInWalMode(profile + "/calendar-data/local.sqlite");
    createCalendar(calendar, 23);
    addEvent(calendar, "e1", "Dentist", nine, "Europe/Paris");
    addEvent(calendar, "e2", "Standup", nine.toUTC(), "UTC");
    exec(calendar, "INSERT INTO cal_recurrence VALUES ('e2', 'c1', 'RRULE:FREQ=WEEKLY;COUNT=3');");
    addEvent(calendar, "e2", "Standup moved", nine.toUTC().addDays(7).addSecs(3600), "UTC", 0,
             "NULL", micros(nine.toUTC().addDays(7)));
    addEvent(calendar, "e2", "Standup", nine.toUTC().addDays(14), "UTC", 0, "'CANCELLED'",
             micros(nine.toUTC().addDays(14)));
    addEvent(calendar, "e4", "Holiday", QDateTime(today.addDays(3), QTime(0, 0), QTimeZone::utc()),
             "floating", ThunderbirdStores::AllDayFlag);
    exec(calendar, "PRAGMA wal_checkpoint(TRUNCATE);");
    addEvent(calendar, "e5", "Synced from phone", nine.addDays(2), "Europe/Paris");
    sqlite3 *unknown = openInWalMode(profile + "/calendar-data/cache.sqlite");
    createCalendar(unknown, 99);
    addEvent(unknown, "u1", "Never read", nine, "UTC");

    const QMap<QString, QByteArray> before = filesIn(root.path());
    ASSERT_TRUE(before.contains(profile + "/abook.sqlite-wal"));
    CapturedLog log;

    AddressBookReader::Sources sources;
    sources.thunderbirdBooks = ThunderbirdStores::addressBooks(profiles);
    const AddressBookReader::AddressBook contacts = AddressBookReader::read(sources);
    QStringList names;
    for (const QVariant &contact : contacts.records)
        names << contact.toMap().value("T").toString();
    // The company is part of the title, its comma and semicolon kept.
    EXPECT_EQ(names, (QStringList{"Ada Lovelace Engines, Ltd; UK", "Alan Turing", "Grace Hopper"}))
        << names.join(" | ").toStdString();

    const QDateTime from(today, QTime(0, 0));
    const QVariantList events = CalendarReader::eventsInFiles(
        {}, from, from.addMonths(1), ThunderbirdStores::calendars(profiles));
    const QString at = nine.toUTC().toString(Qt::ISODate);
    // The third standup was called off; the fourth would fall after the rule's count.
    const QStringList expected{
        "Dentist " + at, "Standup " + at,
        "Holiday " + QDateTime(today.addDays(3), QTime(0, 0)).toUTC().toString(Qt::ISODate),
        "Synced from phone " + nine.addDays(2).toUTC().toString(Qt::ISODate),
        "Standup moved " + nine.addDays(7).addSecs(3600).toUTC().toString(Qt::ISODate)};
    EXPECT_EQ(titlesAndStarts(events).join(" | ").toStdString(),
              expected.join(" | ").toStdString());
    EXPECT_EQ(log.lines().filter("schema version 99 not known").size(), 1)
        << log.lines().join("\n").toStdString();

    EXPECT_EQ(filesIn(root.path()), before) << "no file of the profile made, changed or removed";
    for (sqlite3 *db : {book, other, calendar, unknown})
        sqlite3_close(db);
}

// What a hostile store can put in a row stays inside its one property.
TEST(Thunderbird, ARowCannotAddLinesToTheCardOrTheEvent)
{
    const QByteArray card = ThunderbirdStores::vCardOf(
        {{"DisplayName", "Eve\r\nEMAIL:spoofed@example.org"}, {"Notes", "a\\b"}});
    EXPECT_FALSE(card.contains("\r\nEMAIL:spoofed")) << card.constData();
    EXPECT_TRUE(card.contains("FN:Eve\\nEMAIL:spoofed@example.org\r\n")) << card.constData();

    ThunderbirdStores::EventRow row;
    row.id = "x";
    row.title = "Party\r\nRRULE:FREQ=SECONDLY";
    row.startZone = "Europe/Paris\r\nX:1";
    row.recurrence = {"RRULE:FREQ=DAILY;COUNT=2\r\nSUMMARY:other", "DESCRIPTION:not a rule",
                      "EXDATE:20260101T000000Z"};
    const QByteArray event = ThunderbirdStores::vEventOf(row);
    EXPECT_EQ(event.count("\r\nRRULE:"), 0) << event.constData();
    EXPECT_FALSE(event.contains("DESCRIPTION")) << event.constData();
    EXPECT_TRUE(event.contains("\r\nEXDATE:20260101T000000Z\r\n")) << event.constData();
    EXPECT_FALSE(event.contains("X:1")) << event.constData();
}
