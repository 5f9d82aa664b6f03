// The readers of the user's other programs, on generated data of a well-stocked desktop: the
// address book as a KDE vCard folder, and a year of calendar events.

#include "AddressBookReader.h"
#include "BenchUtils.h"
#include "CalendarReader.h"
#include "EdsData.h"
#include "PrivateSessionBus.h"
#include "QOR_DateUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

#include <cstdio>
#include <cstdlib>

#include <sqlite3.h>

namespace {

const char *const FirstNames[] = {"Hélène", "Paul",  "Zoë",   "Ahmed", "Jürgen", "Mei",
                                  "Olga",   "Chidi", "Søren", "Lucía", "Émile",  "Priya"};
const char *const LastNames[] = {"Dupré",   "Martin", "Ng",      "Haddad", "Müller",  "Wang",
                                 "Ivanova", "Okafor", "Nielsen", "García", "Lefèvre", "Iyer"};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// 3.0 cards of a well-filled address book.
QList<QByteArray> makeContacts(int count)
{
    QList<QByteArray> cards;
    QRandomGenerator random(17);
    for (int i = 0; i < count; ++i) {
        const QByteArray first = FirstNames[random.bounded(12)];
        const QByteArray last = LastNames[random.bounded(12)];
        QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bench-" + QByteArray::number(i)
            + "\r\nN:" + last + ";" + first + ";;;\r\nFN:" + first + " " + last + "\r\n";
        if (i % 4 == 0)
            card += "ORG:Company " + QByteArray::number(i % 97) + ";Sales\r\n";
        card += "TEL;TYPE=CELL:+33 6 " + QByteArray::number(10000000 + i) + "\r\n";
        if (i % 2 == 0)
            card += "TEL;TYPE=HOME,VOICE:+33 1 " + QByteArray::number(20000000 + i) + "\r\n";
        card += "EMAIL;TYPE=INTERNET,WORK:" + first.toLower() + "." + QByteArray::number(i)
            + "@example.org\r\n";
        if (i % 3 == 0)
            card += "ADR;TYPE=HOME:;;" + QByteArray::number(i % 200) + " rue de la Paix;Paris;;750"
                + QByteArray::number(10 + i % 20) + ";France\r\n";
        if (i % 5 == 0)
            card += "NOTE:Met at the conference\\, table " + QByteArray::number(i % 30) + "\r\n";
        card += "END:VCARD\r\n";
        cards.append(card);
    }
    return cards;
}

// As Akonadi keeps a vCard folder: one card per file.
void writeContactFiles(const QString &folder, const QList<QByteArray> &cards)
{
    QDir().mkpath(folder);
    for (qsizetype i = 0; i < cards.size(); ++i)
        writeFile(folder + QStringLiteral("/%1.vcf").arg(i), cards.at(i));
}

// As Evolution Data Server keeps its address book: the cards in the vcard column of the table
// the folders table names.
void writeEvolutionStore(const QString &path, const QList<QByteArray> &cards)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE folders (folder_id TEXT PRIMARY KEY, version INTEGER);"
                 "INSERT INTO folders VALUES ('folder_id', 12);"
                 "CREATE TABLE folder_id (uid TEXT PRIMARY KEY, vcard TEXT, bdata TEXT);"
                 "BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO folder_id (uid, vcard) VALUES (?, ?)", -1, &insert,
                       nullptr);
    for (qsizetype i = 0; i < cards.size(); ++i) {
        const QByteArray uid = "eds-" + QByteArray::number(i);
        sqlite3_bind_text(insert, 1, uid.constData(), int(uid.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, cards.at(i).constData(), int(cards.at(i).size()),
                          SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// A year of single events around today, and recurring ones of every kind, as Evolution writes
// its local calendar (a zone defined in the file).
void writeCalendar(const QString &path, const QDate &today, int singles, int recurring)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray zone = "/freeassociation.sourceforge.net/Europe/Paris";
    QByteArray ics =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Ximian//NONSGML Evolution Calendar//EN\r\n"
        "BEGIN:VTIMEZONE\r\nTZID:"
        + zone
        + "\r\nX-LIC-LOCATION:Europe/Paris\r\n"
          "BEGIN:STANDARD\r\nTZNAME:CET\r\nDTSTART:19701025T030000\r\n"
          "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
          "END:STANDARD\r\nBEGIN:DAYLIGHT\r\nTZNAME:CEST\r\nDTSTART:19700329T020000\r\n"
          "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
          "END:DAYLIGHT\r\nEND:VTIMEZONE\r\n";
    QRandomGenerator random(23);
    const auto stamp = [](const QDate &day, int hour) {
        return day.toString("yyyyMMdd").toLatin1() + "T"
            + QByteArray::number(hour).rightJustified(2, '0') + "0000";
    };
    for (int i = 0; i < singles; ++i) {
        const QDate day = today.addDays(random.bounded(365) - 182);
        ics += "BEGIN:VEVENT\r\nUID:single-" + QByteArray::number(i) + "\r\nDTSTART;TZID=" + zone
            + ":" + stamp(day, 8 + random.bounded(10)) + "\r\nSUMMARY:Meeting "
            + QByteArray::number(i) + "\r\nEND:VEVENT\r\n";
    }
    const char *const rules[] = {"FREQ=WEEKLY;BYDAY=MO,WE", "FREQ=DAILY;INTERVAL=2",
                                 "FREQ=MONTHLY;BYDAY=2TU",  "FREQ=YEARLY",
                                 "FREQ=WEEKLY;COUNT=60",    "FREQ=MONTHLY;BYMONTHDAY=15"};
    for (int i = 0; i < recurring; ++i) {
        const QDate start = today.addDays(-random.bounded(3 * 365));
        const QByteArray rule = rules[i % 6];
        ics += "BEGIN:VEVENT\r\nUID:rule-" + QByteArray::number(i) + "\r\n"
            + (rule == "FREQ=YEARLY" ? "DTSTART;VALUE=DATE:" + start.toString("yyyyMMdd").toLatin1()
                                     : "DTSTART;TZID=" + zone + ":" + stamp(start, 9 + i % 9))
            + "\r\nSUMMARY:Recurring " + QByteArray::number(i) + "\r\nRRULE:" + rule + "\r\n"
            + (i % 10 == 0
                   ? "EXDATE;TZID=" + zone + ":" + stamp(today.addDays(7), 9 + i % 9) + "\r\n"
                   : QByteArray())
            + "END:VEVENT\r\n";
    }
    ics += "END:VCALENDAR\r\n";
    writeFile(path, ics);
}

// Adds items to Evolution Data Server's own book or calendar through its libraries.
bool addThroughEds(const char *kind, const QString &argument)
{
    QProcess writer;
    writer.start(QCoreApplication::applicationDirPath() + "/korvale-test-eds-writer",
                 {QString::fromLatin1(kind), argument});
    if (!writer.waitForFinished(300000) || writer.exitCode() != 0) {
        std::fprintf(stderr, "the EDS writer failed: %s\n",
                     writer.readAllStandardError().constData());
        return false;
    }
    return true;
}

double msOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The same data held by the real Evolution Data Server, started on a bus of this program's own,
// read as the agent's reader thread reads it: the first reading (module loaded, sources
// connected), a reading with nothing changed, and the reading after an item was added (the
// source's view reports it; that source alone is read again).
int benchEds(const QString &home, int runs)
{
    unsetenv("KORVALE_EDS");
    PrivateSessionBus bus(true);
    if (!bus.isRunning())
        return 1;
    const QString cards = home + "/cards.vcf";
    writeFile(cards, makeContacts(5000).join());
    const QDateTime from = QOR_DateUtils::todayAt0h00();
    const QDateTime to = QOR_DateUtils::sameDayNextMonth(from);
    const QString calendar = home + "/year.ics";
    writeCalendar(calendar, from.date(), 1000, 200);
    if (!addThroughEds("contacts", cards) || !addThroughEds("events", calendar))
        return 1;
    std::atomic<int> contactsChanged{0};
    std::atomic<int> eventsChanged{0};
    EdsData::instance().watch([&] { ++contactsChanged; }, [&] { ++eventsChanged; });

    qsizetype found = 0;
    Bench::print("eds_contacts_5000_first_reading",
                 msOf([&found] { found = AddressBookReader::readAll().size(); }), "ms");
    Bench::print("eds_contacts_listed", double(found), "records");
    const Bench::Stats unchanged = Bench::stats(
        Bench::timeRuns(runs, [&found] { found = AddressBookReader::readAll().size(); }));
    Bench::print("eds_contacts_5000_unchanged_median", unchanged.median, "ms");
    Bench::print("eds_contacts_5000_unchanged_p95", unchanged.p95, "ms");
    std::vector<double> changed;
    for (int run = 0; run < runs; ++run) {
        const int before = contactsChanged;
        const QByteArray uid = "added-" + QByteArray::number(run);
        if (!addThroughEds("contact",
                           "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:Added " + uid
                               + "\r\nEND:VCARD\r\n")
            || !QTest::qWaitFor([&] { return contactsChanged > before; }, 10000))
            return 1;
        changed.push_back(msOf([&found] { found = AddressBookReader::readAll().size(); }));
    }
    const Bench::Stats reread = Bench::stats(changed);
    Bench::print("eds_contacts_5000_after_a_change_median", reread.median, "ms");
    Bench::print("eds_contacts_5000_after_a_change_p95", reread.p95, "ms");
    Bench::print("eds_contacts_target", 300, "ms");

    Bench::print("eds_calendar_year_1000_single_200_recurring_first_reading",
                 msOf([&] { found = CalendarReader::readEvents(from, to).size(); }), "ms");
    Bench::print("eds_calendar_events_listed", double(found), "records");
    changed.clear();
    for (int run = 0; run < runs; ++run) {
        const int before = eventsChanged;
        const QByteArray uid = "added-" + QByteArray::number(run);
        const QByteArray start =
            from.addDays(1).toUTC().toString("yyyyMMdd'T'HHmmss'Z'").toLatin1();
        if (!addThroughEds("event",
                           "BEGIN:VEVENT\r\nUID:" + uid + "\r\nSUMMARY:Added " + uid
                               + "\r\nDTSTAMP:" + start + "\r\nDTSTART:" + start
                               + "\r\nEND:VEVENT\r\n")
            || !QTest::qWaitFor([&] { return eventsChanged > before; }, 10000))
            return 1;
        changed.push_back(msOf([&] { found = CalendarReader::readEvents(from, to).size(); }));
    }
    const Bench::Stats events = Bench::stats(changed);
    Bench::print("eds_calendar_after_a_change_median", events.median, "ms");
    Bench::print("eds_calendar_after_a_change_p95", events.p95, "ms");
    Bench::print("eds_calendar_target", 300, "ms");
    EdsData::instance().stopWatching();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    const QByteArray base = home.path().toUtf8();
    setenv("HOME", base.constData(), 1);
    setenv("XDG_DATA_HOME", (base + "/.local/share").constData(), 1);
    setenv("XDG_CONFIG_HOME", (base + "/.config").constData(), 1);
    setenv("XDG_CACHE_HOME", (base + "/.cache").constData(), 1);
    QCoreApplication app(argc, argv);
    const int runs = 9;
    // "contacts" or "calendar" runs that part alone (for a profiler).
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    qsizetype found = 0;
    // "eds" runs the Evolution Data Server figures alone, on a bus of their own.
    if (only == QLatin1String("eds"))
        return benchEds(home.path(), runs);
    // The file readers' figures, EDS left alone.
    setenv("KORVALE_EDS", "off", 1);

    if (only.isEmpty() || only == QLatin1String("contacts")) {
        const QList<QByteArray> cards = makeContacts(5000);
        const QString store =
            home.path() + "/.local/share/evolution/addressbook/system/contacts.db";
        writeEvolutionStore(store, cards);
        const Bench::Stats evolution = Bench::stats(
            Bench::timeRuns(runs, [&found] { found = AddressBookReader::readAll().size(); }));
        Bench::print("contacts_5000_evolution_store_median", evolution.median, "ms");
        Bench::print("contacts_5000_evolution_store_p95", evolution.p95, "ms");
        Bench::print("contacts_listed", double(found), "records");
        QFile::remove(store);

        writeContactFiles(home.path() + "/.local/share/contacts", cards);
        const Bench::Stats contacts = Bench::stats(
            Bench::timeRuns(runs, [&found] { found = AddressBookReader::readAll().size(); }));
        Bench::print("contacts_5000_vcf_files_median", contacts.median, "ms");
        Bench::print("contacts_5000_vcf_files_p95", contacts.p95, "ms");
        Bench::print("contacts_listed_from_files", double(found), "records");
    }
    if (!only.isEmpty() && only != QLatin1String("calendar"))
        return 0;

    const QDateTime from = QOR_DateUtils::todayAt0h00();
    writeCalendar(home.path() + "/.local/share/evolution/calendar/system/calendar.ics", from.date(),
                  1000, 200);
    const Bench::Stats events = Bench::stats(Bench::timeRuns(runs, [&found, &from] {
        found = CalendarReader::readEvents(from, QOR_DateUtils::sameDayNextMonth(from)).size();
    }));
    Bench::print("calendar_year_1000_single_200_recurring_median", events.median, "ms");
    Bench::print("calendar_year_1000_single_200_recurring_p95", events.p95, "ms");
    Bench::print("calendar_events_listed", double(found), "records");
    return 0;
}
