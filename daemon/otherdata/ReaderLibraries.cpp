#include "ReaderLibraries.h"

#include "ReaderLibrariesInterface.h"
#include "SuiteModule.h"

namespace {

SuiteModule::VersionedTable<ReaderLibraryFunctions> &table()
{
    static SuiteModule::VersionedTable<ReaderLibraryFunctions> functions(
        KORVALE_READERS_MODULE_FILE, KORVALE_READERS_MODULE_ENTRY, KORVALE_READERS_VERSION);
    return functions;
}

} // namespace

const ReaderLibraryFunctions *ReaderLibraries::functions()
{
    return table().get();
}

void ReaderLibraries::useLinked(const ReaderLibraryFunctions *functions)
{
    table().useLinked(functions);
}
