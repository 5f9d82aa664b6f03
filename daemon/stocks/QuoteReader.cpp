#include "QuoteReader.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

#include <algorithm>

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
    QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || !isWebScheme(url.scheme()) || url.host().isEmpty())
        return {std::nullopt, QStringLiteral("not an http or https address")};

    // One time limit for the whole request, redirects included.
    QElapsedTimer elapsed;
    elapsed.start();
    for (int redirects = 0;; ++redirects) {
        const int leftMs = mLimits.totalMs - int(elapsed.elapsed());
        Hop hop = fetch(url, std::max(leftMs, 1));
        if (!hop.redirect)
            return std::move(hop.result);
        // Followed here, one by one: Qt's policy that lets the caller verify each redirect stops
        // asking after the second one, and its maximum does not hold then.
        const QUrl target = url.resolved(*hop.redirect);
        const bool downgrade =
            url.scheme() == QLatin1String("https") && target.scheme() == QLatin1String("http");
        if (redirects >= mLimits.maximumRedirects)
            return {std::nullopt,
                    QStringLiteral("more than %1 redirects").arg(mLimits.maximumRedirects)};
        if (!target.isValid() || !isWebScheme(target.scheme()) || target.host().isEmpty()
            || downgrade)
            return {std::nullopt, QStringLiteral("redirected to %1").arg(target.toDisplayString())};
        url = target;
    }
}

QuoteReader::Hop QuoteReader::fetch(const QUrl &url, int totalMs)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(totalMs);
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
    total.start(totalMs);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [this, &refuse] {
        if (mStop)
            refuse(QStringLiteral("the pass was ended"));
    });
    watch.start(100);
    if (!reply->isFinished())
        loop.exec();

    Hop hop;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    if (problem.isEmpty() && status >= 300 && status < 400 && location.isValid())
        hop.redirect = location.toUrl();
    else if (problem.isEmpty() && reply->error() != QNetworkReply::NoError)
        problem = reply->errorString();
    else if (problem.isEmpty() && status >= 300)
        problem = QStringLiteral("HTTP status %1").arg(status);
    else if (problem.isEmpty())
        take();
    reply->deleteLater();
    hop.result = problem.isEmpty() ? Result{body, {}} : Result{std::nullopt, problem};
    return hop;
}
