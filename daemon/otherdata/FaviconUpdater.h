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
    static constexpr int FetchTimeoutMs = 10000;

    // An empty fetch reads the web through Qt Network.
    explicit FaviconUpdater(Favicons::Fetch fetch = {}, QObject *parent = nullptr);
    ~FaviconUpdater() override;

    // The lists are taken when the run starts; a request during a run is tried again every 2 s.
    void update(std::function<QVariantList()> bookmarks, std::function<QVariantList()> favicons);
    bool isRunning() const { return mRunning; }

signals:
    // saveFavicons: on the main thread, the whole list to adopt and store.
    void saveRequested(const QVariantList &favicons);
    void finished();

private:
    void run(const QVariantList &bookmarks, QVariantList favicons);

    Favicons::Fetch mFetch;
    std::unique_ptr<QThread> mThread;
    std::atomic<bool> mRunning = false;
    std::atomic<bool> mStopping = false;
};
