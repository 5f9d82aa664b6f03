// The readers of the user's other programs, on generated data of a well-stocked desktop: the
// address book as a KDE vCard folder, and a year of calendar events. With "eds" or "thunderbird",
// the same data held by Evolution Data Server or by Thunderbird's profile stores, read on the
// agent's reader thread while a heartbeat on the main thread times its longest stall.

#include "AddressBookReader.h"
#include "BenchMainThread.h"
#include "BenchUtils.h"
#include "CalendarReader.h"
#include "EdsData.h"
#include "PrivateSessionBus.h"
#include "QOR_DateUtils.h"
#include "ReaderThread.h"
#include "ThunderbirdProfileSupport.h"
#include "ThunderbirdStores.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

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

// One reading on the agent's reader thread, as the agent runs it, while a 1 ms heartbeat beats on
// the main thread: the reading's time there, what it found, and the heartbeat's longest gap.
struct ThreadedReading {
    double readMs = 0;
    double stallMs = 0;
    // The main thread's longest event in its own processor time: what its work cost, apart from
    // what a loaded machine adds to the heartbeat's gaps.
    double longestEventCpuMs = 0;
    qsizetype found = 0;
};

ThreadedReading onReaderThread(ReaderThread &reader, const std::function<qsizetype()> &read)
{
    ThreadedReading out;
    auto *application = static_cast<Bench::TimedApplication *>(QCoreApplication::instance());
    application->longestEventCpuMs = 0;
    application->measuring = true;
    Bench::Heartbeat heartbeat;
    QEventLoop loop;
    // The main thread waits in its event loop, as the agent does, not in a polling sleep.
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);
    heartbeat.start();
    reader.run(
        [read] {
            QElapsedTimer timer;
            timer.start();
            const qsizetype found = read();
            return QVariant(QVariantList{double(timer.nsecsElapsed()) / 1e6, qlonglong(found)});
        },
        [&](const QVariant &result) {
            out.readMs = result.toList().value(0).toDouble();
            out.found = result.toList().value(1).toLongLong();
            loop.quit();
        });
    loop.exec();
    out.stallMs = heartbeat.stop();
    application->measuring = false;
    out.longestEventCpuMs = application->longestEventCpuMs;
    return out;
}

// What the main thread went through during the readings.
struct MainThread {
    std::vector<double> stalls;
    std::vector<double> eventsCpu;
    std::vector<double> readings;
    void add(const ThreadedReading &reading)
    {
        stalls.push_back(reading.stallMs);
        eventsCpu.push_back(reading.longestEventCpuMs);
        readings.push_back(reading.readMs);
    }
};

// Prints the median and 95th percentile of the readings' times as NAME_median and NAME_p95, and
// adds what the main thread went through to `mainThread`.
void printReadings(const std::string &name, const std::vector<ThreadedReading> &readings,
                   MainThread &mainThread)
{
    std::vector<double> times;
    for (const ThreadedReading &reading : readings) {
        times.push_back(reading.readMs);
        mainThread.add(reading);
    }
    const Bench::Stats s = Bench::stats(times);
    Bench::print((name + "_median").c_str(), s.median, "ms");
    Bench::print((name + "_p95").c_str(), s.p95, "ms");
}

void printMainThread(const char *prefix, const MainThread &mainThread)
{
    for (const auto &[figure, values] :
         {std::pair{"_main_thread_longest_stall", &mainThread.stalls},
          std::pair{"_main_thread_longest_event_cpu", &mainThread.eventsCpu}}) {
        const Bench::Stats s = Bench::stats(*values);
        const std::string name = std::string(prefix) + figure;
        Bench::print((name + "_median").c_str(), s.median, "ms");
        Bench::print((name + "_p95").c_str(), s.p95, "ms");
        Bench::print((name + "_max").c_str(), *std::max_element(values->begin(), values->end()),
                     "ms");
    }
    Bench::print((std::string(prefix) + "_main_thread_longest_stall_target").c_str(), 16, "ms");

    // The heartbeat alone for as long as a reading: what the machine adds to the gaps.
    std::vector<double> alone;
    for (std::size_t run = 0; run < mainThread.stalls.size(); ++run) {
        Bench::Heartbeat heartbeat;
        QEventLoop loop;
        QTimer::singleShot(int(Bench::stats(mainThread.readings).median), &loop, &QEventLoop::quit);
        heartbeat.start();
        loop.exec();
        alone.push_back(heartbeat.stop());
    }
    const Bench::Stats s = Bench::stats(alone);
    const std::string name = std::string(prefix) + "_heartbeat_alone_longest_gap";
    Bench::print((name + "_median").c_str(), s.median, "ms");
    Bench::print((name + "_p95").c_str(), s.p95, "ms");
}

// The same contacts and year of events as Thunderbird keeps them in a profile while it runs:
// WAL mode, every write still in the log, the databases held open (returned, for closing).
std::vector<sqlite3 *> writeThunderbirdProfile(const QString &home, const QList<QByteArray> &cards,
                                               const QDate &today, int singles, int recurring)
{
    namespace Profile = ThunderbirdProfileSupport;
    const QString profile =
        Profile::makeProfile(home + "/.thunderbird", QStringLiteral("b3nch.default-release"));
    std::string error;
    sqlite3 *book = Profile::openInWalMode(profile + "/abook.sqlite");
    sqlite3 *calendar = Profile::openInWalMode(profile + "/calendar-data/local.sqlite");
    bool written = book && calendar && Profile::createAddressBook(book, &error)
        && Profile::exec(book, "BEGIN;", &error);
    // Since version 102 the whole card is in "_vCard", a few fields beside it for sorting.
    for (qsizetype i = 0; written && i < cards.size(); ++i) {
        const QByteArray card = "'card-" + QByteArray::number(i) + "'";
        const QByteArray &vcard = cards.at(i);
        const qsizetype fn = vcard.indexOf("\r\nFN:") + 5;
        const QByteArray name = vcard.mid(fn, vcard.indexOf('\r', fn) - fn);
        written = Profile::exec(book,
                                "INSERT INTO properties VALUES (" + card + ", '_vCard', "
                                    + Profile::quoted(vcard) + "), (" + card + ", 'DisplayName', "
                                    + Profile::quoted(name) + ");",
                                &error);
    }
    written = written && Profile::exec(book, "COMMIT;", &error)
        && Profile::createCalendar(calendar, ThunderbirdStores::NewestCalendarSchema, &error)
        && Profile::exec(calendar, "BEGIN;", &error);
    const QTimeZone paris("Europe/Paris");
    QRandomGenerator random(23);
    for (int i = 0; written && i < singles; ++i) {
        // The day drawn before the hour, as for the calendar file: the same events.
        const QDate day = today.addDays(random.bounded(365) - 182);
        const QDateTime start(day, QTime(8 + random.bounded(10), 0), paris);
        written = Profile::addEvent(calendar, "single-" + QByteArray::number(i),
                                    "Meeting " + QByteArray::number(i), start, "Europe/Paris", 0,
                                    "NULL", "NULL", &error);
    }
    const char *const rules[] = {"FREQ=WEEKLY;BYDAY=MO,WE", "FREQ=DAILY;INTERVAL=2",
                                 "FREQ=MONTHLY;BYDAY=2TU",  "FREQ=YEARLY",
                                 "FREQ=WEEKLY;COUNT=60",    "FREQ=MONTHLY;BYMONTHDAY=15"};
    for (int i = 0; written && i < recurring; ++i) {
        const QDate day = today.addDays(-random.bounded(3 * 365));
        const QByteArray id = "rule-" + QByteArray::number(i);
        const QByteArray rule = rules[i % 6];
        const bool allDay = rule == "FREQ=YEARLY";
        const QDateTime start = allDay ? QDateTime(day, QTime(0, 0), QTimeZone::utc())
                                       : QDateTime(day, QTime(9 + i % 9, 0), paris);
        written = Profile::addEvent(calendar, id, "Recurring " + QByteArray::number(i), start,
                                    allDay ? "floating" : "Europe/Paris",
                                    allDay ? int(ThunderbirdStores::AllDayFlag) : 0, "NULL", "NULL",
                                    &error)
            && Profile::addRecurrence(calendar, id, "RRULE:" + rule, &error);
        if (written && i % 10 == 0 && !allDay)
            written = Profile::addRecurrence(calendar, id,
                                             "EXDATE:"
                                                 + QDateTime(today.addDays(7), start.time(), paris)
                                                       .toUTC()
                                                       .toString("yyyyMMdd'T'HHmmss'Z'")
                                                       .toLatin1(),
                                             &error);
    }
    written = written && Profile::exec(calendar, "COMMIT;", &error);
    if (!written)
        std::fprintf(stderr, "the Thunderbird profile was not written: %s\n", error.c_str());
    return {book, calendar};
}

// Thunderbird's profile stores, read as the agent's reader thread reads them (each store and
// its log copied to a private folder first): 5,000 contacts in "abook.sqlite" and a year of
// events in "calendar-data/local.sqlite", Thunderbird still holding both open.
int benchThunderbird(const QString &home, int runs)
{
    setenv("KORVALE_EDS", "off", 1);
    const QDateTime from = QOR_DateUtils::todayAt0h00();
    const QDateTime to = QOR_DateUtils::sameDayNextMonth(from);
    const std::vector<sqlite3 *> open =
        writeThunderbirdProfile(home, makeContacts(5000), from.date(), 1000, 200);
    if (std::count(open.begin(), open.end(), nullptr) > 0)
        return 1;
    ReaderThread reader;
    MainThread mainThread;
    std::vector<ThreadedReading> contacts;
    for (int run = 0; run < runs; ++run)
        contacts.push_back(
            onReaderThread(reader, [] { return AddressBookReader::readAll().size(); }));
    printReadings("thunderbird_contacts_5000", contacts, mainThread);
    Bench::print("thunderbird_contacts_listed", double(contacts.back().found), "records");
    Bench::print("thunderbird_contacts_target", 300, "ms");
    std::vector<ThreadedReading> events;
    for (int run = 0; run < runs; ++run)
        events.push_back(
            onReaderThread(reader, [&] { return CalendarReader::readEvents(from, to).size(); }));
    printReadings("thunderbird_calendar_year_1000_single_200_recurring", events, mainThread);
    Bench::print("thunderbird_calendar_events_listed", double(events.back().found), "records");
    Bench::print("thunderbird_calendar_target", 300, "ms");
    printMainThread("thunderbird", mainThread);
    for (sqlite3 *db : open)
        sqlite3_close(db);
    return 0;
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

    ReaderThread reader;
    MainThread mainThread;
    const auto readContacts = [] { return AddressBookReader::readAll().size(); };
    const ThreadedReading first = onReaderThread(reader, readContacts);
    mainThread.add(first);
    Bench::print("eds_contacts_5000_first_reading", first.readMs, "ms");
    Bench::print("eds_contacts_listed", double(first.found), "records");
    std::vector<ThreadedReading> readings;
    for (int run = 0; run < runs; ++run)
        readings.push_back(onReaderThread(reader, readContacts));
    printReadings("eds_contacts_5000_unchanged", readings, mainThread);
    readings.clear();
    for (int run = 0; run < runs; ++run) {
        const int before = contactsChanged;
        const QByteArray uid = "added-" + QByteArray::number(run);
        if (!addThroughEds("contact",
                           "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:Added " + uid
                               + "\r\nEND:VCARD\r\n")
            || !QTest::qWaitFor([&] { return contactsChanged > before; }, 10000))
            return 1;
        readings.push_back(onReaderThread(reader, readContacts));
    }
    printReadings("eds_contacts_5000_after_a_change", readings, mainThread);
    Bench::print("eds_contacts_target", 300, "ms");

    const auto readEvents = [&] { return CalendarReader::readEvents(from, to).size(); };
    const ThreadedReading firstEvents = onReaderThread(reader, readEvents);
    mainThread.add(firstEvents);
    Bench::print("eds_calendar_year_1000_single_200_recurring_first_reading", firstEvents.readMs,
                 "ms");
    Bench::print("eds_calendar_events_listed", double(firstEvents.found), "records");
    readings.clear();
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
        readings.push_back(onReaderThread(reader, readEvents));
    }
    printReadings("eds_calendar_after_a_change", readings, mainThread);
    Bench::print("eds_calendar_target", 300, "ms");
    printMainThread("eds", mainThread);
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
    // A window-system application only for its event timing (BenchMainThread.h); no window.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Bench::TimedApplication app(argc, argv);
    const int runs = 9;
    // "contacts" or "calendar" runs that part alone (for a profiler).
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    qsizetype found = 0;
    // "eds" runs the Evolution Data Server figures alone, on a bus of their own; "thunderbird"
    // those of Thunderbird's stores.
    if (only == QLatin1String("eds"))
        return benchEds(home.path(), runs);
    if (only == QLatin1String("thunderbird"))
        return benchThunderbird(home.path(), runs);
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
