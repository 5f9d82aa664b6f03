#include "FaviconUpdater.h"

#include "WebSession.h"

#include <QDeadlineTimer>
#include <QSet>
#include <QThread>
#include <QTimer>

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
    // The web's session lives on this thread and ends with the run. It is opened for the first
    // address to fetch: a run with every icon known leaves the module unloaded.
    std::unique_ptr<WebSession> session;
    Favicons::Fetch fetch = mFetch;
    if (!fetch) {
        fetch = [this, &session](const QUrl &url) -> std::optional<QByteArray> {
            WebFetchRequest request;
            request.url = url;
            request.maximumBytes = mLimits.maximumBytes;
            request.totalMs = mLimits.totalMs;
            request.maximumRedirects = MaximumRedirects;
            WebFetchResult result = session->fetch(request, mStopping);
            if (!result.succeeded() || result.bytes.isEmpty())
                return std::nullopt;
            return std::move(result.bytes);
        };
    }
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
        if (!mFetch && !session && Favicons::siteBase(address)) {
            session = WebSession::open();
            // Without it every address would be stored as tried: better none tried at all.
            if (!session)
                return;
        }
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
