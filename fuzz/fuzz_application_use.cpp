// "ApplicationsUse.krvdata" is read by the agent at its start and by the manager from any file
// of that name the user opens: its records and the archived sets inside them.
#include "ApplicationUse.h"
#include "KorvaleArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QVariantList> list = KorvaleArchive::decodeList(bytes);
    if (!list)
        return 0;
    ApplicationUse::Records records = ApplicationUse::load(*list);
    for (const QVariant &day : std::as_const(records.days))
        ApplicationUse::namesOfDay(day.toMap());
    const qsizetype uses = records.uses.size();
    ApplicationUse::prepareSave(records, {QStringLiteral("fuzz")}, 0);
    // Compaction only merges: never more records than it was given.
    if (records.uses.size() > uses)
        __builtin_trap();
    KorvaleArchive::encode(ApplicationUse::fileList(records));
    return 0;
}
