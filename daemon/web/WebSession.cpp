#include "WebSession.h"

#include "SuiteModule.h"

#include <QHash>

#include <mutex>

namespace {

// Each file is looked for once: the readers' threads ask at the same time, and a module that is
// missing stays missing until the agent starts again.
const WebFetchFunctions *loadModule(const QString &moduleFile)
{
    static std::mutex mutex;
    static QHash<QString, const WebFetchFunctions *> loaded;
    const std::lock_guard lock(mutex);
    const auto found = loaded.constFind(moduleFile);
    if (found != loaded.cend())
        return *found;
    const auto entry =
        reinterpret_cast<WebFetchEntry>(SuiteModule::entry(moduleFile, KORVALE_WEB_MODULE_ENTRY));
    const WebFetchFunctions *functions = entry ? entry() : nullptr;
    loaded.insert(moduleFile, functions);
    return functions;
}

} // namespace

std::unique_ptr<WebSession> WebSession::open(const QString &moduleFile)
{
    const WebFetchFunctions *functions = loadModule(moduleFile);
    if (!functions)
        return nullptr;
    return std::unique_ptr<WebSession>(new WebSession(*functions, functions->openSession()));
}

WebSession::WebSession(const WebFetchFunctions &functions, void *handle)
    : mFunctions(functions)
    , mHandle(handle)
{
}

WebSession::~WebSession()
{
    mFunctions.closeSession(mHandle);
}

WebFetchResult WebSession::fetch(const WebFetchRequest &request, const std::atomic<bool> &stopping)
{
    return mFunctions.fetch(mHandle, request, stopping);
}
