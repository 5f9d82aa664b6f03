#pragma once

// A quote server on the loopback address for the stock survey's tests and benchmark: each path
// answers a text, a redirect, or nothing at all; every request is counted.
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

class LoopbackQuotes : public QObject
{
public:
    LoopbackQuotes()
    {
        mServer.listen(QHostAddress::LocalHost, 0);
        connect(&mServer, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = mServer.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(mServer.serverPort()).arg(path);
    }
    void quote(const QString &path, const QByteArray &text) { mAnswers.insert(path, text); }
    void redirect(const QString &path, const QString &location)
    {
        mRedirects.insert(path, location);
    }
    // Reads the request and never answers.
    void silent(const QString &path) { mSilent << path; }
    int requests(const QString &path) const { return mRequests.count(path); }
    const QStringList &allRequests() const { return mRequests; }

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray request = socket->peek(socket->bytesAvailable());
        if (!request.contains("\r\n\r\n"))
            return;
        socket->readAll();
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        mRequests << path;
        if (mSilent.contains(path))
            return;
        QByteArray head;
        QByteArray body;
        if (mRedirects.contains(path)) {
            head = "302 Found\r\nLocation: " + mRedirects.value(path).toUtf8();
        } else if (mAnswers.contains(path)) {
            head = "200 OK";
            body = mAnswers.value(path);
        } else {
            head = "404 Not Found";
            body = "not here";
        }
        socket->write("HTTP/1.1 " + head + "\r\nContent-Length: " + QByteArray::number(body.size())
                      + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer mServer;
    QHash<QString, QByteArray> mAnswers;
    QHash<QString, QString> mRedirects;
    QStringList mSilent;
    QStringList mRequests;
};
