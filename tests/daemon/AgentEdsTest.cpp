#include "DaemonTestSupport.h"

#include "AgentOtherData.h"
#include "ItemRecord.h"
#include "PrivateSessionBus.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

// The reload's reading goes to the agent's readers, as the program wires it.
class EdsReadingHooks : public RecordingHooks
{
public:
    AgentOtherData *otherData = nullptr;
    void readOtherData(bool addressBook, bool bookmarks) override
    {
        RecordingHooks::readOtherData(addressBook, bookmarks);
        if (otherData)
            otherData->readOtherData(addressBook, bookmarks);
    }
};

bool listsContact(const QVariantList &contacts, const QString &name)
{
    for (const QVariant &record : contacts)
        if (record.toMap().value(ItemRecord::KeyTitle).toString() == name)
            return true;
    return false;
}

QByteArray card(const char *uid, const char *name)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:") + uid + "\r\nFN:" + name
        + "\r\nEMAIL:" + uid + "@example.org\r\nEND:VCARD\r\n";
}

} // namespace

// A contact added in Evolution Data Server while the agent runs (by a contacts program, or an
// online account's synchronisation) is in the agent's list within seconds, with no reload asked.
TEST(AgentEds, AContactAddedInEvolutionDataServerReachesTheAgentsList)
{
    TemporaryHome home;
    const ScopedEnvironment useEds({{"KORVALE_EDS", nullptr}});
    PrivateSessionBus bus(true);
    ASSERT_TRUE(bus.isRunning());
    const QString writer = builtProgram(QStringLiteral("bin/korvale-test-eds-writer"));
    ASSERT_EQ(runProgram(writer, {"contact", card("ada", "Ada Lovelace")}).exitCode, 0);

    FakeDaemonClock clock;
    SharedPreferences preferences{SharedPreferences::defaultPath()};
    auto hooks = std::make_shared<EdsReadingHooks>();
    DaemonController::Environment environment;
    environment.preferences = &preferences;
    environment.clock = &clock;
    environment.hooks = hooks;
    environment.notifications = NotificationCenter::createLocalCenter();
    environment.quitApplication = [] {};
    DaemonController controller(std::move(environment));
    AgentOtherData otherData(controller, OtherDataReaders::standardEnvironment());
    hooks->otherData = &otherData;
    managerWrites({{"OtherDataAddressBook", 1}});
    controller.awakeFromNib();
    controller.readData();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return listsContact(controller.lists().mListOfAddressBook, "Ada Lovelace"); },
        20000));

    const int reloads = hooks->count("readOtherData");
    ASSERT_EQ(runProgram(writer, {"contact", card("grace", "Grace Hopper")}).exitCode, 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return listsContact(controller.lists().mListOfAddressBook, "Grace Hopper"); }, 5000));
    EXPECT_EQ(hooks->count("readOtherData"), reloads) << "a reload was asked";
    EXPECT_TRUE(listsContact(controller.lists().mListOfAddressBook, "Ada Lovelace"));
}

// In a session whose XDG_DATA_DIRS leaves out where EDS's settings schemas are, its libraries
// would end the agent at their first use: the agent reads the files instead, and runs on.
TEST(AgentEds, WithoutEdsSettingsSchemasTheAgentReadsTheFilesAndRunsOn)
{
    TemporaryHome home;
    const ScopedEnvironment useEds({{"KORVALE_EDS", nullptr}});
    PrivateSessionBus bus(true);
    ASSERT_TRUE(bus.isRunning());
    managerWrites({{"OtherDataAddressBook", 1}, {"OtherDataCalendarEvents", 1}});
    QTemporaryDir share;
    QProcess agent;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_DATA_DIRS", share.path());
    agent.setProcessEnvironment(environment);
    agent.start(builtProgram(QStringLiteral("bin/korvale-daemon")), {});
    ASSERT_TRUE(agent.waitForStarted(5000));
    QByteArray log;
    const bool said = QTest::qWaitFor(
        [&] {
            log += agent.readAllStandardError();
            return log.contains("settings schemas are not installed")
                || agent.state() == QProcess::NotRunning;
        },
        20000);
    EXPECT_TRUE(said && agent.state() == QProcess::Running) << log.constData();
    agent.kill();
    agent.waitForFinished(5000);
}

// An agent in a session without Evolution Data Server (none on its bus, none to start) reads
// the files, says once that EDS is not there however many readings ask, and maps neither the
// EDS module nor any of EDS's libraries: its idle memory is what it was before EDS was read.
TEST(AgentEds, WithoutEdsTheAgentSaysSoOnceAndMapsNoneOfItsLibraries)
{
    TemporaryHome home;
    const ScopedEnvironment useEds({{"KORVALE_EDS", nullptr}});
    PrivateSessionBus bus(false);
    ASSERT_TRUE(bus.isRunning());
    managerWrites({{"OtherDataAddressBook", 1}, {"OtherDataCalendarEvents", 1}});
    const QString contacts = home.path() + "/.local/share/contacts";
    const QString calendar = home.path() + "/.local/share/evolution/calendar/system";
    ASSERT_TRUE(QDir().mkpath(contacts) && QDir().mkpath(calendar));
    QFile vcard(contacts + "/ada.vcf");
    ASSERT_TRUE(vcard.open(QIODevice::WriteOnly) && vcard.write(card("ada", "Ada Lovelace")) > 0);
    vcard.close();
    const QByteArray start =
        QDateTime(QDate::currentDate().addDays(1), QTime(9, 0), QTimeZone::utc())
            .toString("yyyyMMdd'T'HHmmss'Z'")
            .toLatin1();
    QFile events(calendar + "/calendar.ics");
    ASSERT_TRUE(events.open(QIODevice::WriteOnly)
                && events.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:d\r\n"
                                "SUMMARY:Dentist\r\nDTSTART:"
                                + start + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
                    > 0);
    events.close();

    QProcess agent;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    agent.setProcessEnvironment(environment);
    agent.start(builtProgram(QStringLiteral("bin/korvale-daemon")), {});
    ASSERT_TRUE(agent.waitForStarted(5000));
    // Both readings went through the EDS reader once their lists are stored.
    const QString data = home.dataFolder();
    QByteArray log;
    const bool read = QTest::qWaitFor(
        [&] {
            log += agent.readAllStandardError();
            return QFile::exists(data + "/AddressBookItems.krvdata")
                && QFile::exists(data + "/CalendarItems.krvdata");
        },
        20000);
    QFile maps(QStringLiteral("/proc/%1/maps").arg(agent.processId()));
    const QByteArray mapped = maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
    log += agent.readAllStandardError();
    agent.kill();
    agent.waitForFinished(5000);

    ASSERT_TRUE(read) << log.constData();
    ASSERT_FALSE(mapped.isEmpty());
    EXPECT_EQ(log.count("Evolution Data Server is not in this session"), 1) << log.constData();
    for (const char *library : {"libkorvale-eds", "libedataserver", "libebook", "libecal"})
        EXPECT_FALSE(mapped.contains(library)) << library << " is mapped";
}
