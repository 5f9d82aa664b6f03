#pragma once

#include "WebFetchInterface.h"

#include <QString>

#include <atomic>
#include <memory>

// A session of the web module on the calling thread: loads the module the first time one is
// opened (and keeps it), makes its access manager, and ends it when destroyed, which must happen
// on the same thread. Whoever reads the web opens one when it first has something to fetch, so an
// agent with nothing to fetch never maps Qt Network.
class WebSession
{
public:
    // Null when the module cannot be loaded; the loader logs why, once per process. Tests may
    // name another file.
    static std::unique_ptr<WebSession>
    open(const QString &moduleFile = QStringLiteral(KORVALE_WEB_MODULE_FILE));
    ~WebSession();
    WebSession(const WebSession &) = delete;
    WebSession &operator=(const WebSession &) = delete;

    // One request, blocking this thread; given up soon after `stopping` is set.
    WebFetchResult fetch(const WebFetchRequest &request, const std::atomic<bool> &stopping);

private:
    WebSession(const WebFetchFunctions &functions, void *handle);

    const WebFetchFunctions &mFunctions;
    void *mHandle;
};
