#include "EdsData.h"
#include "AddressBookReader.h"
#include "CalendarReader.h"
#include "ItemRecord.h"
#include "PrivateSessionBus.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Adds an item through Evolution Data Server's own libraries, as the desktop's programs do.
ProgramRun addThroughEds(const char *kind, const QByteArray &item)
{
    return runProgram(builtProgram(QStringLiteral("bin/korvale-test-eds-writer")),
                      {QString::fromLatin1(kind), QString::fromUtf8(item)});
}

QByteArray card(const char *uid, const char *name)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:") + uid + "\r\nFN:" + name
        + "\r\nTEL;TYPE=CELL:+33 6 12 34 56 78\r\nEND:VCARD\r\n";
}

QByteArray utc(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

QByteArray event(const char *uid, const char *title, const QDateTime &start,
                 const QByteArray &rule = {}, const QDateTime &moved = {})
{
    return QByteArray("BEGIN:VEVENT\r\nUID:") + uid + "\r\nSUMMARY:" + title
        + (moved.isValid() ? "\r\nRECURRENCE-ID:" + utc(moved) : QByteArray()) + "\r\nDTSTAMP:"
        + utc(start) + "\r\nDTSTART:" + utc(start) + "\r\nDTEND:" + utc(start.addSecs(1800))
        + "\r\n" + (rule.isEmpty() ? QByteArray() : "RRULE:" + rule + "\r\n") + "END:VEVENT\r\n";
}

QList<QDateTime> startsOf(const QVariantList &records, const QString &title)
{
    QList<QDateTime> starts;
    for (const QVariant &record : records) {
        const QVariantMap map = record.toMap();
        if (map.value(ItemRecord::KeyTitle).toString() == title)
            starts.append(map.value(ItemRecord::KeyDate).toDateTime());
    }
    return starts;
}

} // namespace

TEST(EdsData, ReadsEvolutionDataServersSourcesAndFollowsTheirChanges)
{
    TemporaryHome home;
    const ScopedEnvironment useEds({{"KORVALE_EDS", nullptr}});
    PrivateSessionBus bus(true);
    ASSERT_TRUE(bus.isRunning());

    const QDateTime tomorrowNine(QDate::currentDate().addDays(1), QTime(9, 0), QTimeZone::utc());
    for (const auto &[kind, item] :
         {std::pair("contact", card("ada", "Ada Lovelace")),
          std::pair("event", event("standup", "Standup", tomorrowNine, "FREQ=DAILY;COUNT=5")),
          std::pair("event", event("dentist", "Dentist", tomorrowNine.addDays(2).addSecs(18000))),
          // The third standup moved to 11:00 on its own.
          std::pair("event",
                    event("standup", "Standup", tomorrowNine.addDays(2).addSecs(7200), {},
                          tomorrowNine.addDays(2)))}) {
        const ProgramRun added = addThroughEds(kind, item);
        ASSERT_EQ(added.exitCode, 0) << added.err.constData();
    }

    std::atomic<int> contactsChanged{0};
    std::atomic<int> eventsChanged{0};
    EdsData::instance().watch([&] { ++contactsChanged; }, [&] { ++eventsChanged; });

    EXPECT_EQ(startsOf(AddressBookReader::readAll(), QStringLiteral("Ada Lovelace")).size(), 1);
    const QDateTime from(QDate::currentDate(), QTime(0, 0));
    const QDateTime to = from.addDays(30);
    const QVariantList events = CalendarReader::readEvents(from, to);
    // Each occurrence once: the file EDS keeps the calendar in is not read beside it.
    QList<QDateTime> standups;
    for (int day = 0; day < 5; ++day)
        standups.append(tomorrowNine.addDays(day).addSecs(day == 2 ? 7200 : 0).toLocalTime());
    EXPECT_EQ(startsOf(events, QStringLiteral("Standup")), standups);
    EXPECT_EQ(startsOf(events, QStringLiteral("Dentist")),
              QList<QDateTime>{tomorrowNine.addDays(2).addSecs(18000).toLocalTime()});
    // What the manager names: EDS's sources by their own names, none of its files.
    QMap<SourcesRead::Kind, int> counted;
    for (const SourcesRead::Source &source : SourcesRead::all()) {
        EXPECT_NE(source.origin, SourcesRead::Origin::EdsFiles) << source.name.toStdString();
        EXPECT_FALSE(source.name.isEmpty());
        if (source.origin == SourcesRead::Origin::Eds)
            counted[source.kind] += source.count;
    }
    EXPECT_EQ(counted.value(SourcesRead::Kind::Contacts), 1);
    EXPECT_EQ(counted.value(SourcesRead::Kind::Calendar), 6);

    // Added while the agent runs: the source's view says so within seconds.
    ASSERT_EQ(addThroughEds("contact", card("grace", "Grace Hopper")).exitCode, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return contactsChanged > 0; }, 10000));
    EXPECT_EQ(startsOf(AddressBookReader::readAll(), QStringLiteral("Grace Hopper")).size(), 1);
    ASSERT_EQ(addThroughEds("event", event("review", "Review", tomorrowNine.addDays(3))).exitCode,
              0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return eventsChanged > 0; }, 10000));
    EXPECT_EQ(startsOf(CalendarReader::readEvents(from, to), QStringLiteral("Review")).size(), 1);
    EdsData::instance().stopWatching();
}

TEST(EdsData, WithoutEdsOnTheBusItsFilesAreReadAndNoLibraryIsLoaded)
{
    TemporaryHome home;
    const ScopedEnvironment useEds({{"KORVALE_EDS", nullptr}});
    PrivateSessionBus bus(false);
    ASSERT_TRUE(bus.isRunning());
    const QString folder = home.path() + QStringLiteral("/.local/share/evolution/calendar/system");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/calendar.ics"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QDateTime start(QDate::currentDate().addDays(1), QTime(9, 0), QTimeZone::utc());
    file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + event("dentist", "Dentist", start)
               + "END:VCALENDAR\r\n");
    file.close();

    CapturedLog log;
    const QDateTime from(QDate::currentDate(), QTime(0, 0));
    for (int reading = 0; reading < 2; ++reading)
        EXPECT_EQ(
            startsOf(CalendarReader::readEvents(from, from.addDays(30)), QStringLiteral("Dentist")),
            QList<QDateTime>{start.toLocalTime()});
    EXPECT_EQ(
        log.lines().filter(QStringLiteral("Evolution Data Server is not in this session")).size(),
        1);
    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    EXPECT_FALSE(mapped.contains("libkorvale-eds")) << "the module was loaded";
    EXPECT_FALSE(mapped.contains("libedataserver")) << "EDS's library was loaded";
}
