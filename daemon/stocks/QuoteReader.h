#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <atomic>
#include <memory>
#include <optional>

class QNetworkAccessManager;

// Reads one quote address through Qt Network on the calling thread, which it blocks: `http` and
// `https` only, redirects only to those (never from https down to http), within a time and a
// size limit. Made and used on the survey's own thread.
class QuoteReader
{
public:
    struct Limits {
        qint64 maximumBytes = 64 * 1024;
        // The whole request, however the server paces it.
        int totalMs = 10000;
        int maximumRedirects = 5;
    };

    struct Result {
        std::optional<QByteArray> bytes;
        QString problem; // why nothing was read, for the log
    };

    // Gives up a request soon after `stop` is set.
    QuoteReader(Limits limits, const std::atomic<bool> &stop);
    ~QuoteReader();

    Result read(const QString &address);

private:
    // One request; a redirect is handed back rather than followed.
    struct Hop {
        Result result;
        std::optional<QUrl> redirect;
    };
    Hop fetch(const QUrl &url, int totalMs);

    Limits mLimits;
    const std::atomic<bool> &mStop;
    std::unique_ptr<QNetworkAccessManager> mManager;
};
