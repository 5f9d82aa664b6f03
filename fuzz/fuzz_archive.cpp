// The archive decoder reads every list and dictionary file and the preferences file.
#include "KorvaleArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(bytes);
    if (decoded.error.isEmpty()) {
        // What decodes must encode again and come back the same; compared as bytes, since a
        // NaN is never equal to itself.
        const KorvaleArchive::Encoded again = KorvaleArchive::encode(decoded.value);
        if (!again.error.isEmpty())
            __builtin_trap();
        const KorvaleArchive::Decoded back = KorvaleArchive::decode(again.bytes);
        if (!back.error.isEmpty() || KorvaleArchive::encode(back.value).bytes != again.bytes)
            __builtin_trap();
    }
    return 0;
}
