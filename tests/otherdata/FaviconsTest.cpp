#include "Favicons.h"
#include "CommonKorvaleClass.h"
#include "FaviconUpdater.h"
#include "OtherDataReaders.h"
#include "TestEnvironment.h"

#include <QBuffer>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

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
