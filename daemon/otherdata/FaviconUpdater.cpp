#include "FaviconUpdater.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSet>
#include <QThread>
#include <QTimer>

namespace {

// An icon or a home page far beyond this size is not one.
constexpr qint64 MaximumDownload = 2 * 1024 * 1024;

// A fetch through Qt Network on the calling thread, which it blocks; it gives up when the updater
// is told to stop.
Favicons::Fetch networkFetch(QNetworkAccessManager &manager, const std::atomic<bool> &stopping)
{
    return [&manager, &stopping](const QUrl &url) -> std::optional<QByteArray> {
        QNetworkRequest request(url);
        request.setTransferTimeout(FaviconUpdater::FetchTimeoutMs);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        QNetworkReply *reply = manager.get(request);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received) {
            if (received > MaximumDownload)
                reply->abort();
        });
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, reply, [reply, &stopping] {
            if (stopping)
                reply->abort();
        });
        watch.start(100);
        loop.exec();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        std::optional<QByteArray> data;
        if (reply->error() == QNetworkReply::NoError && status < 400) {
            const QByteArray body = reply->readAll();
            if (!body.isEmpty())
                data = body;
        }
        reply->deleteLater();
        return data;
    };
}

} // namespace

FaviconUpdater::FaviconUpdater(Favicons::Fetch fetch, QObject *parent)
    : QObject(parent)
    , mFetch(std::move(fetch))
{
}

FaviconUpdater::~FaviconUpdater()
{
    mStopping = true;
    if (mThread)
        mThread->wait();
}

void FaviconUpdater::update(std::function<QVariantList()> bookmarks,
                            std::function<QVariantList()> favicons)
{
    if (mRunning) {
        QTimer::singleShot(RetryMs, this,
                           [this, bookmarks, favicons] { update(bookmarks, favicons); });
        return;
    }
    if (mThread)
        mThread->wait();
    mRunning = true;
    mThread.reset(
        QThread::create([this, list = bookmarks(), known = favicons()] { run(list, known); }));
    connect(mThread.get(), &QThread::finished, this, [this] {
        mRunning = false;
        emit finished();
    });
    mThread->start(QThread::LowPriority);
}

void FaviconUpdater::run(const QVariantList &bookmarks, QVariantList favicons)
{
    QNetworkAccessManager manager;
    const Favicons::Fetch fetch = mFetch ? mFetch : networkFetch(manager, mStopping);
    QSet<QString> known;
    for (const QVariant &favicon : std::as_const(favicons))
        known.insert(favicon.toMap().value(QStringLiteral("U")).toString());
    bool unsavedFailures = false;
    for (const QVariant &bookmark : bookmarks) {
        if (mStopping)
            return;
        const QString address = bookmark.toMap().value(QStringLiteral("U")).toString();
        if (known.contains(address))
            continue;
        known.insert(address);
        if (const std::optional<QByteArray> icon = Favicons::fetchIcon(address, fetch)) {
            favicons.append(
                QVariantMap{{QStringLiteral("U"), address}, {QStringLiteral("I"), *icon}});
            // Queued: the main thread adopts each list in turn while this one goes on.
            QMetaObject::invokeMethod(
                this, [this, favicons] { emit saveRequested(favicons); }, Qt::QueuedConnection);
            unsavedFailures = false;
        } else {
            favicons.append(QVariantMap{{QStringLiteral("U"), address}});
            unsavedFailures = true;
        }
    }
    if (unsavedFailures)
        QMetaObject::invokeMethod(
            this, [this, favicons] { emit saveRequested(favicons); }, Qt::QueuedConnection);
}
