#include "ReaderLibraries.h"

#include "KorvaleLog.h"
#include "ReaderLibrariesInterface.h"
#include "SuiteModule.h"

#include <atomic>

namespace {

std::atomic<const ReaderLibraryFunctions *> linkedFunctions{nullptr};

const ReaderLibraryFunctions *loaded()
{
    static const ReaderLibraryFunctions *const functions = []() -> const ReaderLibraryFunctions * {
        const auto entry = reinterpret_cast<ReaderLibrariesEntry>(SuiteModule::entry(
            QStringLiteral(KORVALE_READERS_MODULE_FILE), KORVALE_READERS_MODULE_ENTRY));
        if (!entry)
            return nullptr;
        const ReaderLibraryFunctions *table = entry();
        if (!table || table->version != KORVALE_READERS_VERSION) {
            KorvaleLog::line(QStringLiteral(KORVALE_READERS_MODULE_FILE
                                            " is not available: it belongs to another version"));
            return nullptr;
        }
        return table;
    }();
    return functions;
}

} // namespace

const ReaderLibraryFunctions *ReaderLibraries::functions()
{
    if (const ReaderLibraryFunctions *linked = linkedFunctions.load(std::memory_order_acquire))
        return linked;
    return loaded();
}

void ReaderLibraries::useLinked(const ReaderLibraryFunctions *functions)
{
    linkedFunctions.store(functions, std::memory_order_release);
}
