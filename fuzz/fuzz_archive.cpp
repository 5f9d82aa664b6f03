// The archive decoder reads every list and dictionary file and the preferences file.
#include "KorvaleArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(bytes);
    if (decoded.error.isEmpty()) {
        // What decodes must encode again and decode to the same value.
        const KorvaleArchive::Encoded again = KorvaleArchive::encode(decoded.value);
        if (again.error.isEmpty() && KorvaleArchive::decode(again.bytes).value != decoded.value)
            __builtin_trap();
    }
    return 0;
}
