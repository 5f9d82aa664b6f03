// korvale-search with and without the running agent in a private session: asking the agent over
// the bus prints what reading the stored files prints, and an agent that does not answer leaves
// the tool to the files.
#include "E2eSupport.h"

#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <atomic>

namespace {

QVariantMap rec(int kind, const QString &title, const QString &key = {}, const QString &value = {})
{
    QVariantMap r{{"x", kind}, {"T", title}};
    if (!key.isEmpty())
        r.insert(key, value);
    return r;
}

const QVariantList kNotes = {rec(5, "zorbl garden plan", "t", "beds\tpaths\nwater\r\nseeds"),
                             rec(5, "Zorbl recipes", "t", "soup"), rec(5, "shopping")};

void storeLists()
{
    // A desktop entry of the user's own, for the agent's first scan of the application folders.
    const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
    ASSERT_TRUE(QDir().mkpath(applications));
    QFile entry(applications + "/korvale-zorbl.desktop");
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Zorbl Sketchpad\nExec=true\n");
    entry.close();

    // A browser's bookmarks, read by the agent at its data reload and by the tool without it.
    const QString chromium = QDir::homePath() + "/.config/chromium/Default";
    ASSERT_TRUE(QDir().mkpath(chromium));
    QFile bookmarks(chromium + "/Bookmarks");
    ASSERT_TRUE(bookmarks.open(QIODevice::WriteOnly));
    bookmarks.write(R"({"roots":{"bookmark_bar":{"type":"folder","children":[)"
                    R"({"type":"url","name":"Zorbl wiki","url":"https://zorbl.example/"}]}}})");
    bookmarks.close();

    // A contact of the desktop's address book (KDE's vCard folder).
    const QString contacts = QDir::homePath() + "/.local/share/contacts";
    ASSERT_TRUE(QDir().mkpath(contacts));
    QFile card(contacts + "/zorbl.vcf");
    ASSERT_TRUE(card.open(QIODevice::WriteOnly));
    card.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Martin;Zorbl;;;\r\nFN:Zorbl Martin\r\n"
               "TEL;TYPE=CELL:+33 6 12 34 56 78\r\nEND:VCARD\r\n");
    card.close();

    CommonKorvaleClass::saveListInFile(kNotes, DataFileName::Notes);
    CommonKorvaleClass::saveListInFile({rec(9, "zorbl copied\tline", "t", "zorbl copied\tline")},
                                       DataFileName::Clipboard);
    const QVariantMap report = rec(2, "zorbl\treport.pdf", "P", "/home/u/zorbl report.pdf");
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("FilesList",
                         QVariantList{report, rec(2, "zorbl budget.ods", "P", "/home/u/b.ods")});
    preferences.setValue("LastItemsLaunched", QVariantList{report});
    preferences.setValue("PriorityForNotes", 1);
    preferences.setValue("OtherDataBookmarks", 1);
    preferences.setValue("OtherDataAddressBook", 1);
    ASSERT_TRUE(preferences.synchronize());
}

bool applicationsListHolds(const QString &title)
{
    const QVariantList apps = CommonKorvaleClass::readListInFile(DataFileName::Applications);
    return std::any_of(apps.cbegin(), apps.cend(), [&](const QVariant &app) {
        return app.toMap().value("T").toString() == title;
    });
}

ProgramRun search(const QStringList &arguments)
{
    return runProgram(builtProgram("bin/korvale-search"), arguments);
}

// Owns the agent's name and takes the search calls without ever answering them.
class SilentAgent : public QDBusVirtualObject
{
public:
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override
    {
        if (message.member() == QLatin1String("Search"))
            ++calls;
        return true;
    }
    std::atomic<int> calls{0};
};

} // namespace

TEST(KorvaleSearchAgent, PrintsWhatTheFilesGiveAndReadsNoFile)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    storeLists();
    AgentProcess agent;
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    ASSERT_TRUE(waitFor([] { return applicationsListHolds("Zorbl Sketchpad"); }, 30000))
        << agent.log().toStdString();

    const QList<QStringList> cases = {
        {"zorbl"},
        {"--json", "zorbl"},
        {"zo", "re"},
        {"--type", "2", "--json", "zorbl"},
        {"--type", "5", ""},
        {"--type", "5", "--json", ""},
        {"--type", "9", "--json", "copied"},
        {"--type", "3", "zorbl"},
        {" "},
        {"--", "--json"},
    };
    for (const QStringList &arguments : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        // The agent saves its scan a moment before it holds it; a few tries cover that step.
        ProgramRun fromAgent, fromFiles;
        waitFor(
            [&] {
                fromAgent = search(arguments);
                fromFiles = search(QStringList{"--files"} + arguments);
                return fromAgent.out == fromFiles.out;
            },
            5000);
        EXPECT_EQ(fromAgent.exitCode, 0);
        EXPECT_EQ(fromFiles.exitCode, 0);
        EXPECT_EQ(QString::fromUtf8(fromAgent.err), QString());
        EXPECT_EQ(QString::fromUtf8(fromAgent.out), QString::fromUtf8(fromFiles.out));
    }
    const ProgramRun found = search({"zorbl"});
    for (const char *line :
         {"5\tzorbl garden plan\t\n", "1\tZorbl Sketchpad\t",
          "2\tzorbl report.pdf\t/home/u/zorbl report.pdf\n", "9\tzorbl copied line\t\n",
          "3\tZorbl wiki\thttps://zorbl.example/\n", "4\tZorbl Martin\t\n"})
        EXPECT_TRUE(found.out.contains(line)) << line << found.out.toStdString();

    // A note stored with an old date is not read again by the agent: only the files show it,
    // so the tool's default answer came from the agent.
    CommonKorvaleClass::saveListInFile(kNotes + QVariantList{rec(5, "zorbl late arrival")},
                                       DataFileName::Notes);
    QFile notes(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Notes));
    ASSERT_TRUE(notes.open(QIODevice::ReadWrite));
    ASSERT_TRUE(notes.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)),
                                  QFileDevice::FileModificationTime));
    notes.close();
    EXPECT_EQ(search({"late", "arrival"}).out, QByteArray());
    EXPECT_EQ(search({"--files", "late", "arrival"}).out, QByteArray("5\tzorbl late arrival\t\n"));

    // The protected notes stay in the agent, asked for by the tool or by anyone on the bus.
    EXPECT_EQ(search({"--type", "6", "zorbl"}).exitCode, 2);
    QDBusMessage call = QDBusMessage::createMethodCall("org.korvale.Daemon", "/org/korvale/Search",
                                                       "org.korvale.Search", "Search");
    call << QString("zorbl") << 6 << QString("json");
    const QDBusMessage refused = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    EXPECT_EQ(refused.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(refused.errorName(), "org.korvale.Search.Refused");
}

TEST(KorvaleSearchAgent, FallsBackToTheFilesWhenTheAgentDoesNotAnswer)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    storeLists();
    CommonKorvaleClass::saveListInFile({rec(1, "Zorbl Sketchpad", "P", "/z.desktop")},
                                       DataFileName::Applications);
    const ProgramRun withoutAgent = search({"--json", "zorbl"});
    ASSERT_EQ(withoutAgent.exitCode, 0);
    EXPECT_EQ(withoutAgent.err, QByteArray()); // no agent is no news
    EXPECT_EQ(QJsonDocument::fromJson(withoutAgent.out).array().size(), 7)
        << withoutAgent.out.toStdString();

    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "silent");
    auto disconnect = qScopeGuard([] { QDBusConnection::disconnectFromBus("silent"); });
    SilentAgent silent;
    ASSERT_TRUE(bus.registerVirtualObject("/org/korvale/Search", &silent));
    ASSERT_TRUE(bus.registerService("org.korvale.Daemon")) << "another agent runs on this bus";
    auto release = qScopeGuard([&bus] {
        bus.unregisterService("org.korvale.Daemon");
        bus.unregisterObject("/org/korvale/Search");
    });

    ScopedEnvironment timeout{{"KORVALE_SEARCH_TIMEOUT_MS", "300"}};
    const ProgramRun fallenBack = search({"--json", "zorbl"});
    EXPECT_EQ(fallenBack.exitCode, 0);
    EXPECT_EQ(fallenBack.out, withoutAgent.out);
    // The call reaches the silent agent once this thread turns its event loop again.
    EXPECT_TRUE(waitFor([&silent] { return silent.calls.load() == 1; }, 5000));
    const QStringList errors = QString::fromUtf8(fallenBack.err).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 1) << fallenBack.err.toStdString();
    EXPECT_TRUE(errors.first().startsWith("korvale-search: the agent did not answer"));
}
