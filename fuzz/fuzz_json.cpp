// korvale-data's JSON reader takes whatever a user or a script pipes into `korvale-data load`.
#include "DataJson.h"
#include "KorvaleArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const DataJson::Parsed parsed = DataJson::fromJson(json);
    if (!parsed.error.isEmpty())
        return 0;
    // What loads is what is archived; its dump must load back to the same value.
    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(parsed.value);
    if (!encoded.error.isEmpty())
        return 0;
    const DataJson::Parsed again = DataJson::fromJson(DataJson::toJson(parsed.value));
    if (!again.error.isEmpty() || KorvaleArchive::encode(again.value).bytes != encoded.bytes)
        __builtin_trap();
    return 0;
}
