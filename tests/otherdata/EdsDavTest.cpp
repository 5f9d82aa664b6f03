#include "AddressBookReader.h"
#include "CalendarReader.h"
#include "EdsData.h"
#include "ItemRecord.h"
#include "PrivateSessionBus.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

bool lists(const QVariantList &records, const QString &title)
{
    for (const QVariant &record : records)
        if (record.toMap().value(ItemRecord::KeyTitle).toString() == title)
            return true;
    return false;
}

// A real CardDAV and CalDAV server (Radicale) on loopback, its collections and items written in
// its own storage, anyone allowed to read them.
class DavServer
{
public:
    explicit DavServer(const QString &folder)
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        mPort = probe.serverPort();
        probe.close();
        writeFile(folder + "/rights", "[all]\nuser: .*\ncollection: .*\npermissions: RrWw\n");
        mServer.setStandardOutputFile(QProcess::nullDevice());
        mServer.setStandardErrorFile(folder + "/radicale.log");
        mServer.start(QStringLiteral("radicale"),
                      {"--config", "", "--server-hosts", QStringLiteral("127.0.0.1:%1").arg(mPort),
                       "--auth-type", "none", "--rights-type", "from_file", "--rights-file",
                       folder + "/rights", "--storage-filesystem-folder", folder + "/storage"});
        mStorage = folder + "/storage/collection-root/korvale";
    }
    ~DavServer()
    {
        mServer.terminate();
        mServer.waitForFinished(5000);
    }
    bool waitUntilListening()
    {
        return mServer.waitForStarted(10000)
            && QTest::qWaitFor(
                   [this] {
                       QTcpSocket socket;
                       socket.connectToHost(QHostAddress::LocalHost, mPort);
                       return socket.waitForConnected(200);
                   },
                   20000);
    }
    void addCollection(const QString &name, const char *tag)
    {
        writeFile(mStorage + "/" + name + "/.Radicale.props",
                  QByteArray("{\"tag\": \"") + tag + "\"}");
    }
    void addItem(const QString &collection, const QString &file, const QByteArray &bytes)
    {
        writeFile(mStorage + "/" + collection + "/" + file, bytes);
    }
    QString url(const QString &collection) const
    {
        return QStringLiteral("http://127.0.0.1:%1/korvale/%2/").arg(mPort).arg(collection);
    }

private:
    QProcess mServer;
    QString mStorage;
    quint16 mPort = 0;
};

} // namespace

TEST(EdsDav, CardDavAndCalDavSourcesOnARealServerAreReadThroughEds)
{
    TemporaryHome home;
    const ScopedEnvironment useEds({{"KORVALE_EDS", nullptr}});
    PrivateSessionBus bus(true);
    ASSERT_TRUE(bus.isRunning());
    DavServer server(home.path() + "/dav");
    server.addCollection("book", "VADDRESSBOOK");
    server.addItem("book", "linus.vcf",
                   "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:linus\r\nFN:Linus Torvalds\r\n"
                   "EMAIL:linus@example.org\r\nEND:VCARD\r\n");
    server.addCollection("calendar", "VCALENDAR");
    const QDateTime start(QDate::currentDate().addDays(1), QTime(15, 0), QTimeZone::utc());
    const QByteArray stamp = start.toString("yyyyMMdd'T'HHmmss'Z'").toLatin1();
    server.addItem("calendar", "release.ics",
                   "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//korvale//test//EN\r\n"
                   "BEGIN:VEVENT\r\nUID:release\r\nDTSTAMP:"
                       + stamp + "\r\nDTSTART:" + stamp
                       + "\r\nSUMMARY:Release\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\nEND:VEVENT\r\n"
                         "END:VCALENDAR\r\n");
    ASSERT_TRUE(server.waitUntilListening());
    const QString writer = builtProgram(QStringLiteral("bin/korvale-test-eds-writer"));
    for (const auto &[kind, collection] :
         {std::pair("carddav", "book"), std::pair("caldav", "calendar")}) {
        const ProgramRun added =
            runProgram(writer, {kind, server.url(collection), QStringLiteral("Team")});
        ASSERT_EQ(added.exitCode, 0) << added.err.constData();
    }

    // EDS copies the server's items into its offline cache once the sources are open; the
    // readings find them as soon as they are there.
    EdsData::instance().watch([] {}, [] {});
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return lists(AddressBookReader::readAll(), QStringLiteral("Linus Torvalds")); },
        30000));
    const QDateTime from(QDate::currentDate(), QTime(0, 0));
    QVariantList events;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            events = CalendarReader::readEvents(from, from.addDays(30));
            return lists(events, QStringLiteral("Release"));
        },
        30000));
    int releases = 0;
    for (const QVariant &record : std::as_const(events))
        releases += record.toMap().value(ItemRecord::KeyTitle).toString() == "Release";
    EXPECT_EQ(releases, 3);
    EdsData::instance().stopWatching();
}
