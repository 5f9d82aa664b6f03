#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <atomic>

// What the web module (libkorvale-web.so, built on Qt Network) offers the agent's readers of the
// web, the favicons and the stock quotes, which load it when they first need it: an agent that
// never fetches anything never maps Qt Network and the libraries it brings. Built with the
// programs, from the same sources: C++ types cross.

// One request: its limits, and what counts as an answer.
struct WebFetchRequest {
    QUrl url;
    // An answer announced or grown past this is refused as soon as it is seen.
    qint64 maximumBytes = 0;
    // The whole request, redirects included, however the server paces it.
    int totalMs = 0;
    // Followed one by one, each only to http or https and never from https down to http.
    int maximumRedirects = 0;
    // An answer of this status or more is a failure.
    int failingStatus = 400;
};

struct WebFetchResult {
    enum class Failure {
        None,
        NotWeb, // the address is not an http or https one
        TimedOut, // the whole request passed `totalMs`
        TooLarge, // the answer passed `maximumBytes`
        TooManyRedirects, // one more than `maximumRedirects`
        RefusedRedirect, // to an address other than http or https, or from https down to http
        Status, // an answer of `failingStatus` or more
        Network, // Qt Network's own error
        Stopped, // the caller's stop flag was set
    };

    QByteArray bytes; // the answer, when there is no failure
    Failure failure = Failure::None;
    int status = 0; // the last answer's HTTP status
    // Qt Network's error text, or the address a refused redirect leads to.
    QString detail;

    bool succeeded() const { return failure == Failure::None; }
};

struct WebFetchFunctions {
    // Qt Network's access manager for the calling thread, and its end on that thread.
    void *(*openSession)();
    void (*closeSession)(void *session);
    // One request on the calling thread, which it blocks; it gives up soon after `stopping` is
    // set.
    WebFetchResult (*fetch)(void *session, const WebFetchRequest &request,
                            const std::atomic<bool> &stopping);
};

// The module's file and the one symbol it exports.
#define KORVALE_WEB_MODULE_FILE "libkorvale-web.so"
#define KORVALE_WEB_MODULE_ENTRY "korvaleWebModule"
using WebFetchEntry = const WebFetchFunctions *(*)();
