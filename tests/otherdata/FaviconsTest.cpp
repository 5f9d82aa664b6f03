#include "Favicons.h"
#include "CommonKorvaleClass.h"
#include "FaviconUpdater.h"
#include "LoopbackQuotes.h"
#include "OtherDataReaders.h"
#include "TestEnvironment.h"

#include <QBuffer>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A web server on the loopback address: each of 127.0.0.x is a site of its own, answered from a
// table of host and path.
class LoopbackWeb : public QObject
{
public:
    LoopbackWeb()
    {
        mServer.listen(QHostAddress::Any, 0);
        connect(&mServer, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = mServer.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
    }
    quint16 port() const { return mServer.serverPort(); }
    void page(const QString &host, const QString &path, const QByteArray &body)
    {
        mPages.insert(host + path, body);
    }
    QStringList requests;

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray request = socket->peek(socket->bytesAvailable());
        if (!request.contains("\r\n\r\n"))
            return;
        socket->readAll();
        const QList<QByteArray> lines = request.split('\n');
        const QString path = QString::fromLatin1(lines.value(0).split(' ').value(1));
        QString host;
        for (const QByteArray &line : lines) {
            if (line.toLower().startsWith("host:"))
                host = QString::fromLatin1(line.mid(5).trimmed()).section(u':', 0, 0);
        }
        requests << host + path;
        const auto found = mPages.constFind(host + path);
        const QByteArray body = found == mPages.cend() ? QByteArray("not here") : *found;
        const QByteArray status = found == mPages.cend() ? "404 Not Found" : "200 OK";
        socket->write("HTTP/1.1 " + status + "\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer mServer;
    QHash<QString, QByteArray> mPages;
};

QByteArray png()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

// Each address once, successes and failures alike: favicon.ico first, else the home page's icon
// link when it starts with "/" and lies close enough to its marker; everything else is a failure.
TEST(Favicons, EachAddressIsTriedOnceFromTheSiteOrItsHomePage)
{
    TemporaryHome home;
    LoopbackWeb web;
    const QByteArray icon = png();
    const QString padding(60, u' ');
    web.page("127.0.0.1", "/favicon.ico", icon);
    web.page("127.0.0.2", "/index.html", "<html><link rel=\"icon\" href=\"/img/i.png\"></html>");
    web.page("127.0.0.2", "/img/i.png", icon);
    web.page("127.0.0.3", "/index.html", "<link rel=\"icon\" href=\"img/i.png\">");
    web.page("127.0.0.3", "/img/i.png", icon);
    web.page("127.0.0.4", "/index.html",
             ("<link rel=\"icon\"" + padding + "href=\"/img/i.png\">").toUtf8());
    web.page("127.0.0.4", "/img/i.png", icon);
    web.page("127.0.0.5", "/favicon.ico", "not an image");
    const auto site = [&web](int host, const QString &path) {
        return QStringLiteral("http://127.0.0.%1:%2%3").arg(host).arg(web.port()).arg(path);
    };
    QTcpServer closed; // a port nobody answers on once it is closed
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 down = closed.serverPort();
    closed.close();

    const auto bookmark = [](const QString &address) {
        return QVariantMap{{"x", 3}, {"U", address}};
    };
    const QVariantList bookmarks{bookmark(site(1, "/a/page?q=1")),
                                 bookmark(site(1, "/a/page?q=1")),
                                 bookmark(site(2, "/")),
                                 bookmark(site(3, "/x")),
                                 bookmark(site(4, "/")),
                                 bookmark(site(5, "/")),
                                 bookmark(QStringLiteral("http://127.0.0.1:%1/").arg(down)),
                                 bookmark("file:///etc/passwd"),
                                 bookmark(site(1, "/known"))};
    const QVariantList known{QVariantMap{{"U", site(1, "/known")}}};

    OtherDataReaders readers(OtherDataReaders::Environment{});
    QVariantList saved;
    int saves = 0;
    QObject::connect(&readers, &OtherDataReaders::faviconsSaved, [&](const QVariantList &list) {
        saved = list;
        ++saves;
    });
    readers.updateFavicons([&] { return bookmarks; }, [&] { return known; });
    readers.updateFavicons([&] { return bookmarks; }, [&] { return known; }); // runs after
    ASSERT_TRUE(QTest::qWaitFor([&] { return !readers.faviconUpdater().isRunning(); }, 30000));

    QHash<QString, QVariantMap> byAddress;
    for (const QVariant &record : saved)
        byAddress.insert(record.toMap().value("U").toString(), record.toMap());
    EXPECT_EQ(saved.size(), 8) << "one record per address, the known one kept";
    EXPECT_EQ(byAddress.value(site(1, "/a/page?q=1")).value("I").toByteArray(), icon);
    EXPECT_EQ(byAddress.value(site(2, "/")).value("I").toByteArray(), icon);
    for (int host : {3, 4, 5}) {
        EXPECT_TRUE(byAddress.contains(site(host, host == 3 ? "/x" : "/")));
        EXPECT_FALSE(byAddress.value(site(host, host == 3 ? "/x" : "/")).contains("I")) << host;
    }
    EXPECT_FALSE(byAddress.value("file:///etc/passwd").contains("I"));
    EXPECT_FALSE(web.requests.contains("127.0.0.1/known/favicon.ico"));
    EXPECT_EQ(web.requests.count("127.0.0.1/favicon.ico"), 1)
        << "the second run found every address known: " << web.requests.join(' ').toStdString();
    EXPECT_FALSE(web.requests.contains("127.0.0.3/img/i.png"));
    EXPECT_FALSE(web.requests.contains("127.0.0.4/img/i.png"));
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::URLFavicons), saved);
    EXPECT_GE(saves, 2);
}

namespace {

// A site whose favicon answer misbehaves: too large (announced or not) or dripping. Each host of
// 127.0.0.x answers in its own way; the bytes written before the agent hung up are counted.
class HostileWeb : public QObject
{
public:
    enum class Answer { Icon, LargeAnnounced, LargeUnannounced, Dripping };

    explicit HostileWeb(QByteArray icon)
        : mIcon(std::move(icon))
    {
        mServer.listen(QHostAddress::Any, 0);
        connect(&mServer, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = mServer.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    quint16 port() const { return mServer.serverPort(); }
    void site(int host, Answer answer) { mAnswers.insert(host, answer); }
    QString address(int host) const
    {
        return QStringLiteral("http://127.0.0.%1:%2/").arg(host).arg(port());
    }
    static constexpr qint64 LargeSize = 64 * 1024 * 1024;
    qint64 unannouncedWritten = 0;

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray request = socket->readAll();
        if (!request.startsWith("GET /favicon.ico ")) {
            socket->write(
                "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        const int host = socket->localAddress().toString().section(u'.', 3).toInt();
        switch (mAnswers.value(host)) {
        case Answer::Icon:
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(mIcon.size())
                          + "\r\nConnection: close\r\n\r\n" + mIcon);
            socket->disconnectFromHost();
            break;
        case Answer::LargeAnnounced: {
            // A real image followed by padding, which image decoders ignore: it would be stored.
            QByteArray body = mIcon;
            body.append(5 * 1024 * 1024 - body.size(), '\0');
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size())
                          + "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
            break;
        }
        case Answer::LargeUnannounced: {
            // Written as the reader takes it, to know where it stopped reading.
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + mIcon);
            unannouncedWritten = mIcon.size();
            connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] {
                if (socket->bytesToWrite() > 0 || socket->state() != QTcpSocket::ConnectedState)
                    return;
                if (unannouncedWritten >= LargeSize) {
                    socket->disconnectFromHost();
                    return;
                }
                const QByteArray chunk(256 * 1024, '\0');
                socket->write(chunk);
                unannouncedWritten += chunk.size();
            });
            break;
        }
        case Answer::Dripping: {
            // An honest length, one byte at a time: never silent long enough for a transfer
            // timeout, and never done.
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
            auto *drip = new QTimer(socket);
            connect(drip, &QTimer::timeout, socket, [socket] { socket->write("x"); });
            drip->start(100);
            break;
        }
        }
    }

    QByteArray mIcon;
    QTcpServer mServer;
    QHash<int, Answer> mAnswers;
};

QVariantMap savedRecordOf(const QVariantList &saved, const QString &address)
{
    for (const QVariant &record : saved) {
        if (record.toMap().value("U").toString() == address)
            return record.toMap();
    }
    return {};
}

} // namespace

// An icon answer past 2 MB is refused whether its length was announced or not, and the agent
// stops reading it there; the sites after it get their icons. One stored before the limit held
// is dropped from the list.
TEST(Favicons, AnswersPastTheSizeLimitAreRefusedAndNotReadToTheEnd)
{
    TemporaryHome home;
    const QByteArray icon = png();
    HostileWeb web(icon);
    web.site(1, HostileWeb::Answer::LargeAnnounced);
    web.site(2, HostileWeb::Answer::LargeUnannounced);
    web.site(3, HostileWeb::Answer::Icon);
    const QVariantList bookmarks{
        QVariantMap{{"x", 3}, {"U", web.address(1)}}, QVariantMap{{"x", 3}, {"U", web.address(2)}},
        QVariantMap{{"x", 3}, {"U", web.address(3)}}, QVariantMap{{"x", 3}, {"U", web.address(4)}}};
    QByteArray storedEarlier = icon;
    storedEarlier.append(12 * 1024 * 1024, '\0');
    const QVariantList known{QVariantMap{{"U", web.address(4)}, {"I", storedEarlier}}};

    FaviconUpdater updater;
    QVariantList saved;
    QObject::connect(&updater, &FaviconUpdater::saveRequested,
                     [&](const QVariantList &list) { saved = list; });
    updater.update([&] { return bookmarks; }, [&] { return known; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !updater.isRunning(); }, 30000));
    // The last save comes queued after the run ends.
    ASSERT_TRUE(QTest::qWaitFor([&] { return saved.size() == 4; }, 10000)) << saved.size();
    EXPECT_TRUE(savedRecordOf(saved, web.address(4)).contains("U"));
    EXPECT_FALSE(savedRecordOf(saved, web.address(4)).contains("I")) << "12 MB stored earlier";
    EXPECT_FALSE(savedRecordOf(saved, web.address(1)).contains("I"))
        << "5 MB announced by Content-Length";
    EXPECT_FALSE(savedRecordOf(saved, web.address(2)).contains("I")) << "64 MB without a length";
    EXPECT_EQ(savedRecordOf(saved, web.address(3)).value("I").toByteArray(), icon);
    EXPECT_LT(web.unannouncedWritten, HostileWeb::LargeSize)
        << "the reader hung up soon after the limit";
}

// A server that sends a byte now and then is never silent, yet its request ends at the total
// limit (shortened here from the real 10 s) and the icons after it are fetched.
TEST(Favicons, ADrippingAnswerEndsAtTheTotalLimit)
{
    TemporaryHome home;
    const QByteArray icon = png();
    HostileWeb web(icon);
    web.site(1, HostileWeb::Answer::Dripping);
    web.site(2, HostileWeb::Answer::Icon);
    const QVariantList bookmarks{QVariantMap{{"x", 3}, {"U", web.address(1)}},
                                 QVariantMap{{"x", 3}, {"U", web.address(2)}}};

    FaviconUpdater updater({}, FaviconUpdater::Limits{FaviconUpdater::MaximumBytes, 600});
    QVariantList saved;
    QObject::connect(&updater, &FaviconUpdater::saveRequested,
                     [&](const QVariantList &list) { saved = list; });
    updater.update([&] { return bookmarks; }, [] { return QVariantList(); });
    // The drip alone would go on for hours, never silent for Qt's transfer timeout.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !updater.isRunning(); }, 10000))
        << "the dripping answer still holds the run";
    ASSERT_TRUE(QTest::qWaitFor([&] { return saved.size() == 2; }, 10000)) << saved.size();
    EXPECT_FALSE(savedRecordOf(saved, web.address(1)).contains("I"));
    EXPECT_EQ(savedRecordOf(saved, web.address(2)).value("I").toByteArray(), icon);
}

// Redirects are followed one by one, to the web's addresses only: an icon two hops away, the
// first by a relative location, is stored; a site whose icon and home page lead to other schemes
// gets none, and neither is asked for there.
TEST(Favicons, RedirectsAreFollowedToTheWebOnly)
{
    TemporaryHome home;
    const QByteArray icon = png();
    LoopbackQuotes moved;
    moved.redirect("/favicon.ico", "/icons/old.ico");
    moved.redirect("/icons/old.ico", moved.url("/icons/new.png"));
    moved.quote("/icons/new.png", icon);
    LoopbackQuotes elsewhere;
    elsewhere.redirect("/favicon.ico", "ftp://127.0.0.1/favicon.ico");
    elsewhere.redirect("/index.html", "file:///etc/passwd");
    const QVariantList bookmarks{QVariantMap{{"x", 3}, {"U", moved.url("/")}},
                                 QVariantMap{{"x", 3}, {"U", elsewhere.url("/")}}};

    FaviconUpdater updater;
    QVariantList saved;
    QObject::connect(&updater, &FaviconUpdater::saveRequested,
                     [&](const QVariantList &list) { saved = list; });
    updater.update([&] { return bookmarks; }, [] { return QVariantList(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !updater.isRunning(); }, 30000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return saved.size() == 2; }, 10000)) << saved.size();
    EXPECT_EQ(savedRecordOf(saved, moved.url("/")).value("I").toByteArray(), icon)
        << moved.allRequests().join(' ').toStdString();
    EXPECT_FALSE(savedRecordOf(saved, elsewhere.url("/")).contains("I"));
    EXPECT_EQ(elsewhere.allRequests(), (QStringList{"/favicon.ico", "/index.html"}));
}
