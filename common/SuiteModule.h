#pragma once

#include <QFunctionPointer>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>

// The suite's own modules: shared objects built with the programs and loaded when first needed,
// so that the libraries they link (poppler, Qt Network, libcrypto) are not mapped at every start.
// Looked for beside the program (the build tree), in ../lib/korvale (the installer's bundle, a
// /usr/local prefix), then in the library folder the build was configured for; once loaded, kept.
namespace SuiteModule {

// The module's entry point, or null when the module is not there or does not load.
QFunctionPointer entry(const QString &fileName, const char *symbol);

// Says in the log that the module was found but belongs to another version of the suite.
void logOtherVersion(const char *fileName);

// The table of functions a module's entry returns, its first field `version`: loaded at the first
// call and kept, or refused (null, said in the log) when the module is missing or its table has
// another version. A program that links the implementation in (the fuzz targets, which have no
// QCoreApplication to find modules with) hands its table to useLinked before the first call.
template <typename Table> class VersionedTable
{
public:
    VersionedTable(const char *fileName, const char *symbol, std::uint32_t version)
        : mFileName(fileName)
        , mSymbol(symbol)
        , mVersion(version)
    {
    }

    const Table *get()
    {
        if (const Table *linked = mLinked.load(std::memory_order_acquire))
            return linked;
        std::call_once(mLoad, [this] { mLoaded = load(); });
        return mLoaded;
    }

    void useLinked(const Table *table) { mLinked.store(table, std::memory_order_release); }

private:
    const Table *load() const
    {
        using Entry = const Table *(*)();
        const auto found = reinterpret_cast<Entry>(entry(QString::fromLatin1(mFileName), mSymbol));
        if (!found)
            return nullptr;
        const Table *table = found();
        if (!table || table->version != mVersion) {
            logOtherVersion(mFileName);
            return nullptr;
        }
        return table;
    }

    const char *mFileName;
    const char *mSymbol;
    std::uint32_t mVersion;
    std::atomic<const Table *> mLinked{nullptr};
    std::once_flag mLoad;
    const Table *mLoaded = nullptr;
};

} // namespace SuiteModule
