// The sources the agent reads, as the user sees them in the manager's reader section: a vCard
// file named in the preferences and a Thunderbird profile, each with the records it gave, asked
// of the real agent on the bus; and one line saying so when no agent runs.
#include "E2eManager.h"
#include "E2eSupport.h"

#include "InfoViews.h"
#include "MainController.h"
#include "ManagerWindow.h"
#include "OtherDataSourcesPanel.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"
#include "ThunderbirdProfileSupport.h"
#include "platform/DBusNotificationCenter.h"

#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <algorithm>

#include <gtest/gtest.h>

using namespace ThunderbirdProfileSupport;

namespace {

// The agent's answer to Sources(), as "kind origin name count" lines.
QStringList sourcesOnTheBus()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.korvale.Daemon"), QStringLiteral("/org/korvale/OtherData"),
        QStringLiteral("org.korvale.OtherData"), QStringLiteral("Sources"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    QStringList lines;
    for (const QVariant &entry :
         DBusNotificationCenter::fromWire(reply.arguments().first()).toList()) {
        const QVariantMap source = entry.toMap();
        lines << QStringList{source.value("kind").toString(), source.value("origin").toString(),
                             source.value("name").toString(), source.value("count").toString()}
                     .join(' ');
    }
    return lines;
}

// libical, SQLite and libplist, or the module that brings them.
bool mapsReaderLibraries(qint64 pid)
{
    const QStringList files = mappedFiles(pid);
    return std::any_of(files.cbegin(), files.cend(), [](const QString &file) {
        return file == QLatin1String("libkorvale-readers.so") || file.startsWith("libical")
            || file.startsWith("libsqlite3") || file.startsWith("libplist");
    });
}

// "~/people.vcf" holding `cards`, named in the preferences, with contacts and events read.
bool writeCardsAndTurnReadingOn(const QString &home, const QByteArray &cards)
{
    QFile file(home + "/people.vcf");
    if (!file.open(QIODevice::WriteOnly) || file.write(cards) != cards.size() || !file.flush())
        return false;
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("OtherDataAddressBook", 1);
    preferences.setValue("OtherDataCalendarEvents", 1);
    preferences.setValue("OtherDataContactsPaths", QStringList{"~/people.vcf"});
    return preferences.synchronize();
}

// Thunderbird running, its writes still in the logs: one card in its address book and two events
// tomorrow in its calendar. Its stores stay open as long as the object.
class RunningThunderbird
{
public:
    explicit RunningThunderbird(const QString &home)
    {
        const QString profile = makeProfile(home + "/.thunderbird", "default-release");
        mBook = openInWalMode(profile + "/abook.sqlite");
        mCalendar = openInWalMode(profile + "/calendar-data/local.sqlite");
        if (!mBook || !mCalendar) {
            mError = "a store does not open";
            return;
        }
        // Tomorrow, so that the daily check opens no window.
        const QDateTime nine(QDate::currentDate().addDays(1), QTime(9, 0), QTimeZone::utc());
        const bool written =
            exec(mBook,
                 "CREATE TABLE properties (card TEXT, name TEXT, value TEXT);"
                 "INSERT INTO properties VALUES ('a', 'DisplayName', 'Grace Hopper');",
                 &mError)
            && createCalendar(mCalendar, 23, &mError)
            && addEvent(mCalendar, "e1", "Dentist", nine, "UTC", 0, "NULL", "NULL", &mError)
            && addEvent(mCalendar, "e2", "Standup", nine.addSecs(3600), "UTC", 0, "NULL", "NULL",
                        &mError);
        if (!written && mError.empty())
            mError = "a store was not written";
    }
    ~RunningThunderbird()
    {
        for (sqlite3 *db : {mBook, mCalendar})
            sqlite3_close(db);
    }
    RunningThunderbird(const RunningThunderbird &) = delete;
    RunningThunderbird &operator=(const RunningThunderbird &) = delete;

    // Empty once both stores hold what they should.
    const std::string &error() const { return mError; }

private:
    sqlite3 *mBook = nullptr;
    sqlite3 *mCalendar = nullptr;
    std::string mError;
};

// Starts the agent (`program`: a copy of it elsewhere, or the built one when empty) and waits
// until the bus lists these sources: the contacts at the start, the calendar at the daily check
// a little later.
::testing::AssertionResult agentListsSources(AgentProcess &agent, const QStringList &expected,
                                             const QString &program = {})
{
    agent.start({}, program);
    if (!agent.waitUntilReady())
        return ::testing::AssertionFailure() << agent.log().toStdString();
    if (!waitFor([&expected] { return sourcesOnTheBus() == expected; }, 60000))
        return ::testing::AssertionFailure() << sourcesOnTheBus().join('\n').toStdString() << "\n"
                                             << agent.log().toStdString();
    return ::testing::AssertionSuccess();
}

QStringList panelRows(const OtherDataSourcesPanel &panel)
{
    QStringList rows;
    for (const OtherDataSourcesPanel::Row &row : panel.rows())
        rows << row.name + " | " + row.kindAndOrigin + " | " + row.count;
    return rows;
}

} // namespace

TEST(OtherDataSourcesEndToEnd, TheManagerNamesTheFileAndTheThunderbirdProfileWithTheirCounts)
{
    REQUIRE_SESSION();
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    TemporaryHome home;
    ASSERT_TRUE(writeCardsAndTurnReadingOn(
        home.path(),
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ada Lovelace\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Alan Turing\r\nEND:VCARD\r\n"));

    const RunningThunderbird thunderbird(home.path());
    ASSERT_EQ(thunderbird.error(), "");

    AgentProcess agent;
    ASSERT_TRUE(agentListsSources(agent,
                                  {"contacts user ~/people.vcf 2",
                                   "contacts thunderbird default-release · abook.sqlite 1",
                                   "calendar thunderbird default-release · local.sqlite 2"}));
    // The stores were read through the readers module, loaded for them.
    EXPECT_TRUE(mapsReaderLibraries(agent.pid()))
        << mappedFiles(agent.pid()).join(' ').toStdString();

    const std::unique_ptr<MainController> manager = startManagerInProcess();
    OtherDataSourcesPanel &panel = *manager->otherDataView()->sourcesPanel();
    manager->window()->selectSection(ManagerWindow::OtherData);
    manager->window()->show();
    // Shown, the section asks the agent without waiting for it.
    ASSERT_TRUE(waitFor([&panel] { return !panel.rows().isEmpty(); }));
    EXPECT_EQ(panelRows(panel).join('\n').toStdString(),
              QStringList({"~/people.vcf | address book · named in the preferences | 2",
                           "default-release · abook.sqlite | address book · in Thunderbird | 1",
                           "default-release · local.sqlite | calendar · in Thunderbird | 2"})
                  .join('\n')
                  .toStdString());
    EXPECT_EQ(panel.statusText(), QString());
    // The calendar switched off: its stores are not listed as read any more.
    QCheckBox *calendarBox = manager->otherDataView()->box(3);
    calendarBox->click();
    ASSERT_FALSE(calendarBox->isChecked());
    EXPECT_EQ(panelRows(panel).size(), 2) << panelRows(panel).join('\n').toStdString();
    calendarBox->click();
    EXPECT_EQ(panelRows(panel).size(), 3);

    // No agent: one line says so.
    ASSERT_TRUE(agent.terminateAndWait());
    const int answers = panel.answers();
    panel.refresh();
    ASSERT_TRUE(waitFor([&panel, answers] { return panel.answers() > answers; }));
    EXPECT_TRUE(panel.rows().isEmpty());
    EXPECT_EQ(panel.statusText(),
              QOR_StringUtils::getLocalizedStringForKey("OtherDataSourcesNoAgent"));
}

// A user with no calendar, store or property list of another program: the agent reads the vCard
// file it is given and never maps the libraries the other readers need.
TEST(OtherDataSourcesEndToEnd, AnAgentWithoutStoresNeverMapsTheReadersLibraries)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    ASSERT_TRUE(writeCardsAndTurnReadingOn(
        home.path(), "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ada Lovelace\r\nEND:VCARD\r\n"));

    AgentProcess agent;
    ASSERT_TRUE(agentListsSources(agent, {"contacts user ~/people.vcf 1"}));
    EXPECT_FALSE(mapsReaderLibraries(agent.pid()))
        << mappedFiles(agent.pid()).join(' ').toStdString();
}

// A copy of the agent where the readers module cannot be found, as when libkorvale-readers.so
// was lost: the vCard file is read as ever, Thunderbird's stores give nothing, and the log says
// once why.
TEST(OtherDataSourcesEndToEnd, WithoutTheReadersModuleTheStoresGiveNothingAndTheLogSaysOnce)
{
    REQUIRE_SESSION();
    if (QFile::exists(KORVALE_INSTALLED_MODULE_DIR "/libkorvale-readers.so"))
        GTEST_SKIP() << "an installed readers module would be found";
    TemporaryHome home;
    ASSERT_TRUE(writeCardsAndTurnReadingOn(
        home.path(), "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ada Lovelace\r\nEND:VCARD\r\n"));
    const RunningThunderbird thunderbird(home.path());
    ASSERT_EQ(thunderbird.error(), "");
    ASSERT_TRUE(QDir().mkpath(home.path() + "/bare"));
    const QString bare = home.path() + "/bare/korvale-daemon";
    ASSERT_TRUE(QFile::copy(builtProgram(QStringLiteral("bin/korvale-daemon")), bare));

    AgentProcess agent;
    ASSERT_TRUE(agentListsSources(agent,
                                  {"contacts user ~/people.vcf 1",
                                   "contacts thunderbird default-release · abook.sqlite 0",
                                   "calendar thunderbird default-release · local.sqlite 0"},
                                  bare));
    EXPECT_EQ(agent.log().count("libkorvale-readers.so is not available"), 1)
        << agent.log().toStdString();
}
