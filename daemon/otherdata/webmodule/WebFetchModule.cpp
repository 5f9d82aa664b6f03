#include "WebFetchInterface.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace {

void *openSession()
{
    return new QNetworkAccessManager;
}

void closeSession(void *session)
{
    delete static_cast<QNetworkAccessManager *>(session);
}

// The answer is read as it comes and refused as soon as it is announced or grows past the size
// limit, so a huge answer is neither stored nor held in memory; a timer bounds the whole request,
// since Qt's transfer timeout only measures silence and a server sending a byte now and then
// would never meet it.
std::optional<QByteArray> fetch(void *session, const QUrl &url, const std::atomic<bool> &stopping,
                                qint64 maximumBytes, int totalMs)
{
    auto &manager = *static_cast<QNetworkAccessManager *>(session);
    QNetworkRequest request(url);
    request.setTransferTimeout(totalMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = manager.get(request);
    // Qt reads no further ahead than this while the answer waits to be taken.
    reply->setReadBufferSize(64 * 1024);
    QByteArray body;
    bool refused = false;
    const auto refuse = [reply, &refused] {
        refused = true;
        reply->abort();
    };
    // Up to one byte past the limit, which is enough to know it was passed.
    const auto take = [reply, &body, maximumBytes, &refuse] {
        body += reply->read(maximumBytes + 1 - body.size());
        if (body.size() > maximumBytes)
            refuse();
    };
    // Every connection below ends with the loop, before this call returns.
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [reply, maximumBytes, &refuse] {
        bool known = false;
        const qint64 length =
            reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && length > maximumBytes)
            refuse();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QTimer total;
    total.setSingleShot(true);
    QObject::connect(&total, &QTimer::timeout, &loop, refuse);
    total.start(totalMs);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&stopping, &refuse] {
        if (stopping)
            refuse();
    });
    watch.start(100);
    if (!reply->isFinished())
        loop.exec();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    std::optional<QByteArray> data;
    if (!refused && reply->error() == QNetworkReply::NoError && status < 400) {
        take();
        if (!refused && !body.isEmpty())
            data = body;
    }
    reply->deleteLater();
    return data;
}

constexpr WebFetchFunctions Functions{&openSession, &closeSession, &fetch};

} // namespace

extern "C" __attribute__((visibility("default"))) const WebFetchFunctions *korvaleWebModule()
{
    return &Functions;
}
