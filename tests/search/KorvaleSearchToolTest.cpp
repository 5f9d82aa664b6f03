#include "CommonKorvaleClass.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QVariantMap rec(int kind, const QString &title, const QString &path = {})
{
    QVariantMap r{{"x", kind}, {"T", title}};
    if (!path.isEmpty())
        r.insert("P", path);
    return r;
}

void storeLists()
{
    CommonKorvaleClass::saveListInFile({rec(1, "Mail", "/usr/share/applications/mail.desktop"),
                                        rec(1, "Maps", "/usr/share/applications/maps.desktop")},
                                       DataFileName::Applications);
    CommonKorvaleClass::saveListInFile({rec(5, "mailing list ideas")}, DataFileName::Notes);
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("FilesList", QVariantList{rec(2, "mail\tbox", "/home/u/mailbox")});
    preferences.setValue("LastItemsLaunched",
                         QVariantList{rec(1, "Maps", "/x"), rec(5, "mailing list ideas")});
    preferences.setValue("PriorityForNotes", 1);
    ASSERT_TRUE(preferences.synchronize());
}

// The tool reads the files when no agent can be asked; an agent another test program started on
// the session bus must not answer for this home.
class NoSessionBus
{
public:
    explicit NoSessionBus(const QString &home)
        : mSaved(qgetenv("DBUS_SESSION_BUS_ADDRESS"))
    {
        qputenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + home + "/no-bus").toUtf8());
    }
    ~NoSessionBus() { qputenv("DBUS_SESSION_BUS_ADDRESS", mSaved); }

private:
    QByteArray mSaved;
};

} // namespace

TEST(KorvaleSearchTool, PrintsRankedResultsAsLinesAndJson)
{
    TemporaryHome home;
    NoSessionBus noBus(home.path());
    storeLists();
    const QString program = builtProgram("bin/korvale-search");
    const ProgramRun lines = runProgram(program, {"ma"});
    ASSERT_EQ(lines.exitCode, 0) << lines.err.toStdString();
    EXPECT_EQ(lines.err, QByteArray()); // no agent is no news
    // The note's priority first; the recent "Maps" has another path, so it is not this Maps.
    EXPECT_EQ(QString::fromUtf8(lines.out),
              "5\tmailing list ideas\t\n"
              "1\tMail\t/usr/share/applications/mail.desktop\n"
              "1\tMaps\t/usr/share/applications/maps.desktop\n"
              "2\tmail box\t/home/u/mailbox\n");

    const ProgramRun json = runProgram(program, {"--type", "1", "--json", "map"});
    ASSERT_EQ(json.exitCode, 0);
    const QJsonArray array = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(array.size(), 1);
    EXPECT_EQ(array.at(0).toObject().value("T").toString(), "Maps");
    EXPECT_EQ(array.at(0).toObject().value("B").toInt(), 1);
    EXPECT_EQ(array.at(0).toObject().value("L").toInt(), 10000);

    EXPECT_EQ(runProgram(program, {"--type", "7", "x"}).exitCode, 2);
    EXPECT_EQ(runProgram(program, {"--type", "6", "x"}).exitCode, 2);
}

TEST(KorvaleSearchTool, DamagedFileIsReportedAndLeftInPlace)
{
    TemporaryHome home;
    NoSessionBus noBus(home.path());
    storeLists();
    const QString notes =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Notes);
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an archive at all");
    file.close();
    const QStringList before = QDir(QFileInfo(notes).path()).entryList(QDir::Files);

    const ProgramRun run = runProgram(builtProgram("bin/korvale-search"), {"ma"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Notes.krvdata")) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("1\tMail\t")) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("mailing"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not an archive at all"));
    EXPECT_EQ(QDir(QFileInfo(notes).path()).entryList(QDir::Files), before);
}

// Without the agent, bookmarks come from the browsers while their source is on, and contacts
// from the last reading's cache.
TEST(KorvaleSearchTool, ListsBookmarksAndContactsWithoutTheAgent)
{
    TemporaryHome home;
    NoSessionBus noBus(home.path());
    QDir().mkpath(home.path() + "/.config/chromium/Default");
    QFile bookmarks(home.path() + "/.config/chromium/Default/Bookmarks");
    ASSERT_TRUE(bookmarks.open(QIODevice::WriteOnly));
    bookmarks.write(R"({"roots":{"bookmark_bar":{"type":"folder","children":[)"
                    R"({"type":"url","name":"Zorglub wiki","url":"https://zorglub.example/"}]}}})");
    bookmarks.close();
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue(
        "AddressBookItems",
        QVariantList{QVariantMap{{"x", 4}, {"T", "Zorglub Martin"}, {"t", "Zorglub Martin"}}});
    ASSERT_TRUE(preferences.synchronize());
    const QString program = builtProgram("bin/korvale-search");
    EXPECT_EQ(QString::fromUtf8(runProgram(program, {"zorglub"}).out), "4\tZorglub Martin\t\n");
    // The agent's own cache file, once it has moved the contacts out of the preferences.
    CommonKorvaleClass::saveListInFile(
        {QVariantMap{{"x", 4}, {"T", "Zorglub Petit"}, {"t", "Zorglub Petit"}}},
        DataFileName::AddressBookItems);
    EXPECT_EQ(QString::fromUtf8(runProgram(program, {"zorglub"}).out), "4\tZorglub Petit\t\n");

    preferences.setValue("OtherDataBookmarks", 1);
    ASSERT_TRUE(preferences.synchronize());
    const QString found = QString::fromUtf8(runProgram(program, {"zorglub"}).out);
    EXPECT_TRUE(found.contains("3\tZorglub wiki\thttps://zorglub.example/\n"))
        << found.toStdString();
}
