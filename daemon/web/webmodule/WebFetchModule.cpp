#include "WebFetchInterface.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

using Failure = WebFetchResult::Failure;

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        && !url.host().isEmpty();
}

void *openSession()
{
    return new QNetworkAccessManager;
}

void closeSession(void *session)
{
    delete static_cast<QNetworkAccessManager *>(session);
}

// One request; a redirect is handed back rather than followed.
struct Hop {
    WebFetchResult result;
    std::optional<QUrl> redirect;
};

// The answer is read as it comes and refused as soon as it is announced or grows past the size
// limit, so a huge answer is neither stored nor held in memory; a timer bounds the request, since
// Qt's transfer timeout only measures silence and a server sending a byte now and then would
// never meet it.
Hop fetchOne(QNetworkAccessManager &manager, const QUrl &url, const WebFetchRequest &request,
             int totalMs, const std::atomic<bool> &stopping)
{
    QNetworkRequest networkRequest(url);
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                QNetworkRequest::ManualRedirectPolicy);
    networkRequest.setTransferTimeout(totalMs);
    QNetworkReply *reply = manager.get(networkRequest);
    // Qt reads no further ahead than this while the answer waits to be taken.
    reply->setReadBufferSize(64 * 1024);

    QByteArray body;
    Failure refused = Failure::None;
    const auto refuse = [reply, &refused](Failure why) {
        if (refused == Failure::None)
            refused = why;
        reply->abort();
    };
    // Up to one byte past the limit, which is enough to know it was passed.
    const qint64 maximumBytes = request.maximumBytes;
    const auto take = [reply, &body, maximumBytes, &refuse] {
        body += reply->read(maximumBytes + 1 - body.size());
        if (body.size() > maximumBytes)
            refuse(Failure::TooLarge);
    };

    // Every connection below ends with the loop, before this call returns.
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [reply, maximumBytes, &refuse] {
        bool known = false;
        const qint64 length =
            reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && length > maximumBytes)
            refuse(Failure::TooLarge);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QTimer total;
    total.setSingleShot(true);
    QObject::connect(&total, &QTimer::timeout, &loop, [&refuse] { refuse(Failure::TimedOut); });
    total.start(totalMs);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&stopping, &refuse] {
        if (stopping)
            refuse(Failure::Stopped);
    });
    watch.start(100);
    if (!reply->isFinished())
        loop.exec();

    Hop hop;
    WebFetchResult &result = hop.result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    if (refused != Failure::None) {
        result.failure = refused;
    } else if (result.status >= 300 && result.status < 400 && location.isValid()) {
        hop.redirect = location.toUrl();
    } else if (reply->error() != QNetworkReply::NoError) {
        result.failure = Failure::Network;
        result.detail = reply->errorString();
    } else if (result.status >= request.failingStatus) {
        result.failure = Failure::Status;
    } else {
        take();
        result.failure = refused;
        if (refused == Failure::None)
            result.bytes = body;
    }
    reply->deleteLater();
    return hop;
}

// Redirects are followed here, one by one: Qt's policy that lets the caller verify each one
// stops asking after the second, and its maximum does not hold then.
WebFetchResult fetch(void *session, const WebFetchRequest &request,
                     const std::atomic<bool> &stopping)
{
    auto &manager = *static_cast<QNetworkAccessManager *>(session);
    WebFetchResult refused;
    QUrl url = request.url;
    if (!isWebAddress(url)) {
        refused.failure = Failure::NotWeb;
        return refused;
    }
    // One time limit for the whole request, redirects included.
    QElapsedTimer elapsed;
    elapsed.start();
    for (int redirects = 0;; ++redirects) {
        const int leftMs = request.totalMs - int(elapsed.elapsed());
        Hop hop = fetchOne(manager, url, request, std::max(leftMs, 1), stopping);
        if (!hop.redirect)
            return std::move(hop.result);
        const QUrl target = url.resolved(*hop.redirect);
        const bool downgrade =
            url.scheme() == QLatin1String("https") && target.scheme() == QLatin1String("http");
        refused.status = hop.result.status;
        if (redirects >= request.maximumRedirects) {
            refused.failure = Failure::TooManyRedirects;
            return refused;
        }
        if (!isWebAddress(target) || downgrade) {
            refused.failure = Failure::RefusedRedirect;
            refused.detail = target.toDisplayString();
            return refused;
        }
        url = target;
    }
}

constexpr WebFetchFunctions Functions{&openSession, &closeSession, &fetch};

} // namespace

extern "C" __attribute__((visibility("default"))) const WebFetchFunctions *korvaleWebModule()
{
    return &Functions;
}
