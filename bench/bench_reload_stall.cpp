// The agent's main thread while it reloads the data of a well-stocked desktop: 20,000 bookmarks
// (a Chromium "Bookmarks" file), 5,000 contacts (a KDE vCard folder, one file per contact) and a
// year of calendar events (an Evolution calendar). In a private temporary home.
//
// Without arguments, in this process (no display needed): the controller's reload and the
// calendar reading as the agent runs them, the readers on their own thread; a 1 ms heartbeat on
// the main thread gives the longest stall of each reload. For comparison, the same readings made
// on the calling thread, as the agent made them before the reader thread.
//
// With "--agent [TAPS]", under scripts/with-session.sh: the real agent on that data, a reload
// asked on the bus before each double tap of Super (XTest), the tap landing while the readers
// work; from the second release to the access window painted, as bench_access_open measures.
// "--agent-without-reloads [TAPS]" is the same without the reloads, for comparison.
#include "BenchAgent.h"
#include "BenchUtils.h"

#include "AgentOtherData.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "SharedPreferences.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdio>

// After Qt: Xlib defines names that Qt's headers use.
#include "BenchGestures.h"

namespace {

using BenchAgent::doubleTap;
using BenchAgent::waitFor;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void writeBookmarks(const QString &path, int count)
{
    QJsonArray folders;
    for (int folder = 0; folder < count / 100; ++folder) {
        QJsonArray children;
        for (int i = 0; i < 100; ++i) {
            const int n = folder * 100 + i;
            children.append(QJsonObject{
                {"type", "url"},
                {"name", QStringLiteral("Page %1 of site %2 — résumé").arg(n).arg(folder)},
                {"url",
                 QStringLiteral("https://site%1.example.org/path/%2?q=%3")
                     .arg(folder)
                     .arg(n)
                     .arg(n * 7)}});
        }
        folders.append(QJsonObject{{"type", "folder"},
                                   {"name", QStringLiteral("Folder %1").arg(folder)},
                                   {"children", children}});
    }
    const QJsonObject roots{
        {"roots",
         QJsonObject{{"bookmark_bar",
                      QJsonObject{{"type", "folder"}, {"name", "Bar"}, {"children", folders}}}}}};
    writeFile(path, QJsonDocument(roots).toJson(QJsonDocument::Compact));
}

void writeContacts(const QString &folder, int count)
{
    const char *const first[] = {"Hélène", "Paul", "Zoë", "Ahmed", "Jürgen", "Mei"};
    const char *const last[] = {"Dupré", "Martin", "Ng", "Haddad", "Müller", "Wang"};
    for (int i = 0; i < count; ++i) {
        const QByteArray n = QByteArray::number(i);
        QByteArray card = QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bench-") + n
            + "\r\nN:" + last[i % 6] + ";" + first[i / 6 % 6] + ";;;\r\nFN:" + first[i / 6 % 6]
            + " " + last[i % 6] + "\r\nTEL;TYPE=CELL:+33 6 " + QByteArray::number(10000000 + i)
            + "\r\nEMAIL;TYPE=INTERNET:p" + n + "@example.org\r\n";
        if (i % 3 == 0)
            card += "ADR;TYPE=HOME:;;" + QByteArray::number(i % 200)
                + " rue de la Paix;Paris;;75010;France\r\nORG:Company " + QByteArray::number(i % 97)
                + "\r\n";
        writeFile(folder + QStringLiteral("/%1.vcf").arg(i), card + "END:VCARD\r\n");
    }
}

// A year of single events around today and recurring ones of several kinds.
void writeCalendar(const QString &path, const QDate &today)
{
    QRandomGenerator random(23);
    const auto stamp = [](const QDate &day, int hour) {
        return day.toString("yyyyMMdd").toLatin1() + "T"
            + QByteArray::number(hour).rightJustified(2, '0') + "0000";
    };
    QByteArray ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    for (int i = 0; i < 1000; ++i) {
        ics += "BEGIN:VEVENT\r\nUID:single-" + QByteArray::number(i) + "\r\nDTSTART:"
            + stamp(today.addDays(random.bounded(365) - 182), 8 + random.bounded(10))
            + "\r\nSUMMARY:Meeting " + QByteArray::number(i) + "\r\nEND:VEVENT\r\n";
    }
    const char *const rules[] = {"FREQ=WEEKLY;BYDAY=MO,WE", "FREQ=DAILY;INTERVAL=2",
                                 "FREQ=MONTHLY;BYDAY=2TU",  "FREQ=HOURLY;INTERVAL=8;BYDAY=TU",
                                 "FREQ=WEEKLY;COUNT=60",    "FREQ=MONTHLY;BYMONTHDAY=15"};
    for (int i = 0; i < 200; ++i) {
        ics += "BEGIN:VEVENT\r\nUID:rule-" + QByteArray::number(i) + "\r\nDTSTART:"
            + stamp(today.addDays(-random.bounded(3 * 365)), 9 + i % 9) + "\r\nSUMMARY:Recurring "
            + QByteArray::number(i) + "\r\nRRULE:" + rules[i % 6] + "\r\nEND:VEVENT\r\n";
    }
    writeFile(path, ics + "END:VCALENDAR\r\n");
}

// The temporary home with the data, pointed at by the XDG variables of this process (and so of
// the agent it starts).
void prepareHome(const QString &home)
{
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + "/.local/share"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/.config"));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home + "/.cache"));
    writeBookmarks(home + "/.config/chromium/Default/Bookmarks", 20000);
    writeContacts(home + "/.local/share/contacts", 5000);
    writeCalendar(home + "/.local/share/evolution/calendar/system/calendar.ics",
                  QDate::currentDate());
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("OtherDataAddressBook", 1);
    preferences.setValue("OtherDataBookmarks", 1);
    preferences.setValue("OtherDataCalendarEvents", 1);
    preferences.setValue("ShortCutsActivated", 1);
    preferences.setValue("ShortCutsMenu", 0);
    preferences.synchronize();
}

class ReaderHooks final : public DaemonHooks
{
public:
    AgentOtherData *otherData = nullptr;
    void readOtherData(bool addressBook, bool bookmarks) override
    {
        otherData->readOtherData(addressBook, bookmarks);
    }
};

int inProcess()
{
    auto hooks = std::make_shared<ReaderHooks>();
    DaemonController::Environment environment;
    environment.hooks = hooks;
    environment.quitApplication = [] {};
    DaemonController controller(std::move(environment));
    AgentOtherData otherData(controller, OtherDataReaders::standardEnvironment());
    hooks->otherData = &otherData;
    controller.awakeFromNib();

    std::vector<double> stalls;
    std::vector<double> whole;
    for (int run = 0; run < 10; ++run) {
        qint64 last = BenchAgent::steadyNow();
        qint64 longest = 0;
        QTimer heartbeat;
        heartbeat.setTimerType(Qt::PreciseTimer);
        heartbeat.setInterval(1);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            const qint64 now = BenchAgent::steadyNow();
            longest = std::max(longest, now - last);
            last = now;
        });
        heartbeat.start();
        QElapsedTimer elapsed;
        elapsed.start();
        bool calendarIn = false;
        // As the timer asks them: the reload, then the calendar's daily reading.
        QTimer::singleShot(0, [&] {
            controller.readData();
            otherData.readCalendarEvents([&calendarIn] { calendarIn = true; });
        });
        QDeadlineTimer deadline(60000);
        do {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        } while ((!calendarIn || otherData.isReading()) && !deadline.hasExpired());
        heartbeat.stop();
        const double total = double(elapsed.nsecsElapsed()) / 1e6;
        // The first run reads cold files and moves the caches: not counted.
        if (run > 0) {
            stalls.push_back(double(longest) / 1e6 - 1.0);
            whole.push_back(total);
        }
    }
    const Bench::Stats stall = Bench::stats(stalls);
    Bench::print("reload_main_thread_longest_stall_median", stall.median, "ms");
    Bench::print("reload_main_thread_longest_stall_p95", stall.p95, "ms");
    const Bench::Stats total = Bench::stats(whole);
    Bench::print("reload_readings_in_median", total.median, "ms");
    Bench::print("reload_readings_in_p95", total.p95, "ms");
    Bench::print("contacts_listed", double(controller.lists().mListOfAddressBook.size()),
                 "records");
    Bench::print("bookmarks_listed", double(controller.lists().mListOfBookMarks.size()), "records");
    Bench::print("events_listed", double(controller.lists().mListOfCalendarEvents.size()),
                 "records");

    // What the main thread used to wait for at each reload.
    OtherDataReaders readers(OtherDataReaders::standardEnvironment());
    const QDateTime now = QDateTime::currentDateTime();
    const Bench::Stats before = Bench::stats(Bench::timeRuns(9, [&] {
        readers.readAddressBook();
        readers.readBookmarks();
        readers.readCalendarEvents(now);
    }));
    Bench::print("readings_on_calling_thread_median", before.median, "ms");
    Bench::print("readings_on_calling_thread_p95", before.p95, "ms");
    return 0;
}

int withAgent(int taps, bool reloads)
{
    Display *display = BenchAgent::openSessionDisplay();
    if (!display)
        return 2;
    const KeyCode super = XKeysymToKeycode(display, XK_Super_L);
    QProcess agent;
    if (!BenchAgent::startAgent(agent))
        return 1;
    // The first reload and the daily calendar reading, then a first opening.
    QThread::msleep(8000);
    BenchAgent::call(QStringLiteral("Open"));
    waitFor([] { return BenchAgent::state().value(QStringLiteral("visible")).toBool(); }, 5000);
    QThread::msleep(1000);
    BenchAgent::call(QStringLiteral("Close"));
    waitFor([] { return !BenchAgent::state().value(QStringLiteral("visible")).toBool(); }, 5000);

    const QDBusMessage reload = QDBusMessage::createMethodCall(
        QStringLiteral("org.korvale.Daemon"), QStringLiteral("/org/korvale/Instance"),
        QStringLiteral("org.korvale.Instance"), QStringLiteral("Activate"));
    std::vector<double> latencies;
    int missed = 0;
    QRandomGenerator random(5);
    for (int i = 0; i < taps; ++i) {
        QThread::msleep(700);
        // The agent rereads 10 ms after the call; the second release lands in the reading.
        if (reloads)
            QDBusConnection::sessionBus().call(reload, QDBus::NoBlock);
        QThread::msleep(random.bounded(60));
        const qint64 released = doubleTap(display, super);
        qint64 painted = 0;
        const bool shown = waitFor(
            [&] {
                const QVariantMap s = BenchAgent::state();
                painted = s.value(QStringLiteral("paintedAt")).toLongLong();
                return s.value(QStringLiteral("visible")).toBool() && painted > released;
            },
            3000);
        if (shown)
            latencies.push_back(double(painted - released) / 1e6);
        else
            ++missed;
        BenchAgent::call(QStringLiteral("Close"));
        waitFor([] { return !BenchAgent::state().value(QStringLiteral("visible")).toBool(); },
                3000);
    }
    agent.terminate();
    agent.waitForFinished(5000);
    XCloseDisplay(display);
    const Bench::Stats s = Bench::stats(latencies);
    Bench::print(reloads ? "open_to_painted_during_reloads_median"
                         : "open_to_painted_without_reloads_median",
                 s.median, "ms");
    Bench::print(reloads ? "open_to_painted_during_reloads_p95"
                         : "open_to_painted_without_reloads_p95",
                 s.p95, "ms");
    Bench::print("openings_measured", double(latencies.size()), "count");
    Bench::print("openings_missed", double(missed), "count");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    prepareHome(home.path());
    QCoreApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--agent" || mode == "--agent-without-reloads")
        return withAgent(argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 50,
                         mode == "--agent");
    return inProcess();
}
