#pragma once

#include "Favicons.h"

#include <QObject>
#include <QVariantList>

#include <atomic>
#include <memory>

class QThread;

// updateListOfFavicons: walks the bookmarks on a thread of its own and fetches the icon of every
// address not yet in the favicon list, successes and failures alike, so that each address is
// tried once. The list grows on the thread's copy and is handed back to the main thread after each
// icon found, and once at the end for the failures.
class FaviconUpdater : public QObject
{
    Q_OBJECT
public:
    static constexpr int RetryMs = 2000;
    static constexpr qint64 MaximumBytes = 2 * 1024 * 1024;
    static constexpr int FetchTimeoutMs = 10000;
    // Each followed by itself, to http or https only and never from https down to http.
    static constexpr int MaximumRedirects = 50;

    // What one request of the web fetch may take: an answer announced or grown past
    // `maximumBytes` is refused, and the whole request, however the server paces it, ends after
    // `totalMs`.
    struct Limits {
        qint64 maximumBytes;
        int totalMs;
    };

    // An empty fetch reads the web through the web module (loaded for the first address to
    // fetch), within the limits above.
    explicit FaviconUpdater(Favicons::Fetch fetch = {}, QObject *parent = nullptr);
    FaviconUpdater(Favicons::Fetch fetch, Limits limits, QObject *parent = nullptr);
    ~FaviconUpdater() override;

    // The lists are taken when the run starts; a request during a run is tried again every 2 s.
    void update(std::function<QVariantList()> bookmarks, std::function<QVariantList()> favicons);
    bool isRunning() const { return mRunning; }
    // Quitting: the run gives up its request at once and ends; no run starts after this.
    void requestStop() { mStopping = true; }
    // True when no run is left after at most `ms`.
    bool waitUntilStopped(int ms);

signals:
    // saveFavicons: on the main thread, the whole list to adopt and store.
    void saveRequested(const QVariantList &favicons);
    void finished();

private:
    void run(const QVariantList &bookmarks, QVariantList favicons);

    Favicons::Fetch mFetch;
    Limits mLimits;
    std::unique_ptr<QThread> mThread;
    std::atomic<bool> mRunning = false;
    std::atomic<bool> mStopping = false;
};
