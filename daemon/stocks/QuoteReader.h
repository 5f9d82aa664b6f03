#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

class WebSession;

// Reads one quote address through the web module on the calling thread, which it blocks: `http`
// and `https` only, redirects only to those (never from https down to http), within a time and a
// size limit. Made, used and destroyed on the survey's own thread, where the module's session
// lives; made only for a pass with entries, so an agent without stocks never loads the module.
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

    // Gives up a request soon after `stop` is set. Tests may name another module file.
    QuoteReader(Limits limits, const std::atomic<bool> &stop, const QString &webModule = {});
    ~QuoteReader();

    // False when the web module could not be loaded: nothing can be read.
    bool isAvailable() const { return bool(mSession); }
    Result read(const QString &address);

private:
    Limits mLimits;
    const std::atomic<bool> &mStop;
    std::unique_ptr<WebSession> mSession;
};
