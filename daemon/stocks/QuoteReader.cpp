#include "QuoteReader.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

namespace {

bool isWebScheme(const QString &scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace

QuoteReader::QuoteReader(Limits limits, const std::atomic<bool> &stop)
    : mLimits(limits)
    , mStop(stop)
    , mManager(std::make_unique<QNetworkAccessManager>())
{
}

QuoteReader::~QuoteReader() = default;

QuoteReader::Result QuoteReader::read(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || !isWebScheme(url.scheme()) || url.host().isEmpty())
        return {std::nullopt, QStringLiteral("not an http or https address")};

    QNetworkRequest request(url);
    // Each redirect is looked at below; Qt's own policy would follow any http(s) one.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(mLimits.maximumRedirects);
    request.setTransferTimeout(mLimits.totalMs);
    QNetworkReply *reply = mManager->get(request);
    reply->setReadBufferSize(64 * 1024);

    QByteArray body;
    QString problem;
    const auto refuse = [reply, &problem](const QString &why) {
        if (problem.isEmpty())
            problem = why;
        reply->abort();
    };
    // Up to one byte past the limit, which is enough to know it was passed.
    const auto take = [this, reply, &body, &refuse] {
        body += reply->read(mLimits.maximumBytes + 1 - body.size());
        if (body.size() > mLimits.maximumBytes)
            refuse(QStringLiteral("the answer is larger than %1 bytes").arg(mLimits.maximumBytes));
    };

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(
        reply, &QNetworkReply::redirected, &loop, [reply, &url, &refuse](const QUrl &target) {
            const bool downgrade =
                url.scheme() == QLatin1String("https") && target.scheme() == QLatin1String("http");
            if (!isWebScheme(target.scheme()) || downgrade)
                refuse(QStringLiteral("redirected to %1").arg(target.toDisplayString()));
            else
                emit reply->redirectAllowed();
        });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [this, reply, &refuse] {
        bool known = false;
        const qint64 length =
            reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && length > mLimits.maximumBytes)
            refuse(QStringLiteral("the answer is larger than %1 bytes").arg(mLimits.maximumBytes));
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QTimer total;
    total.setSingleShot(true);
    QObject::connect(&total, &QTimer::timeout, &loop, [this, &refuse] {
        refuse(QStringLiteral("no answer within %1 s").arg(mLimits.totalMs / 1000.0));
    });
    total.start(mLimits.totalMs);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [this, &refuse] {
        if (mStop)
            refuse(QStringLiteral("the pass was ended"));
    });
    watch.start(100);
    if (!reply->isFinished())
        loop.exec();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (problem.isEmpty()) {
        if (reply->error() != QNetworkReply::NoError)
            problem = reply->errorString();
        else if (status >= 300)
            problem = QStringLiteral("HTTP status %1").arg(status);
        else
            take();
    }
    reply->deleteLater();
    if (!problem.isEmpty())
        return {std::nullopt, problem};
    return {body, {}};
}
