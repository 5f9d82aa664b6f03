#include "FaviconUpdater.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSet>
#include <QThread>
#include <QTimer>

namespace {

// A fetch through Qt Network on the calling thread, which it blocks. The answer is read as it
// comes and refused as soon as it is announced or grows past the size limit, so a huge answer is
// neither stored nor held in memory; a timer bounds the whole request, since Qt's transfer timeout
// only measures silence and a server sending a byte now and then would never meet it. It gives
// up when the updater is told to stop.
Favicons::Fetch networkFetch(QNetworkAccessManager &manager, const std::atomic<bool> &stopping,
                             FaviconUpdater::Limits limits)
{
    return [&manager, &stopping, limits](const QUrl &url) -> std::optional<QByteArray> {
        QNetworkRequest request(url);
        request.setTransferTimeout(limits.totalMs);
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
        const auto take = [reply, &body, &limits, &refuse] {
            body += reply->read(limits.maximumBytes + 1 - body.size());
            if (body.size() > limits.maximumBytes)
                refuse();
        };
        // Every connection below ends with the loop, before this call returns.
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [reply, &limits, &refuse] {
            bool known = false;
            const qint64 length =
                reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
            if (known && length > limits.maximumBytes)
                refuse();
        });
        QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
        QTimer total;
        total.setSingleShot(true);
        QObject::connect(&total, &QTimer::timeout, &loop, refuse);
        total.start(limits.totalMs);
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
    };
}

} // namespace

FaviconUpdater::FaviconUpdater(Favicons::Fetch fetch, QObject *parent)
    : FaviconUpdater(std::move(fetch), Limits{MaximumBytes, FetchTimeoutMs}, parent)
{
}

FaviconUpdater::FaviconUpdater(Favicons::Fetch fetch, Limits limits, QObject *parent)
    : QObject(parent)
    , mFetch(std::move(fetch))
    , mLimits(limits)
{
}

FaviconUpdater::~FaviconUpdater()
{
    mStopping = true;
    if (mThread)
        mThread->wait();
}

bool FaviconUpdater::waitUntilStopped(int ms)
{
    return !mThread || mThread->wait(QDeadlineTimer(ms));
}

void FaviconUpdater::update(std::function<QVariantList()> bookmarks,
                            std::function<QVariantList()> favicons)
{
    if (mStopping)
        return;
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
    const Favicons::Fetch fetch = mFetch ? mFetch : networkFetch(manager, mStopping, mLimits);
    QSet<QString> known;
    bool unsavedFailures = false;
    for (QVariant &favicon : favicons) {
        QVariantMap record = favicon.toMap();
        known.insert(record.value(QStringLiteral("U")).toString());
        // Stored before the size limit held: the address stays tried, the icon goes.
        if (record.value(QStringLiteral("I")).toByteArray().size() > mLimits.maximumBytes) {
            record.remove(QStringLiteral("I"));
            favicon = record;
            unsavedFailures = true;
        }
    }
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
