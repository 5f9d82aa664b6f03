#pragma once

#include <QByteArray>
#include <QUrl>

#include <atomic>
#include <optional>

// What the web module (libkorvale-web.so, built on Qt Network) offers to FaviconUpdater, which
// loads it for its first run: an agent that never fetches an icon never maps Qt Network and the
// libraries it brings. Built with the programs, from the same sources: C++ types cross.
struct WebFetchFunctions {
    // Qt Network's access manager for the calling thread, and its end on that thread.
    void *(*openSession)();
    void (*closeSession)(void *session);
    // One request on the calling thread, which it blocks: the answer is refused as soon as it
    // is announced or grows past `maximumBytes`, the whole request ends after `totalMs`, and it
    // gives up when `stopping` is set.
    std::optional<QByteArray> (*fetch)(void *session, const QUrl &url,
                                       const std::atomic<bool> &stopping, qint64 maximumBytes,
                                       int totalMs);
};

// The one symbol the module exports.
#define KORVALE_WEB_MODULE_ENTRY "korvaleWebModule"
using WebFetchEntry = const WebFetchFunctions *(*)();
