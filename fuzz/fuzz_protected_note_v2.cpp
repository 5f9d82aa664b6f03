// A second-format blob of "ProtectedNotes.krvdata": the header as stored, and the same bytes
// sealed under the fuzzer's key so that decompression and decoding are reached. The key is
// fixed: a derivation per input would leave no time for anything else.
#include "CryptoModule.h"
#include "CryptoModuleInterface.h"
#include "KorvaleArchive.h"
#include "ProtectedNoteBlob.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    CryptoModule::useLinked(korvaleCryptoModule());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const ProtectedKey key = ProtectedKey::fromBytes(
        QByteArray(32, '\x2a'), QByteArray(16, '\x5a'), ProtectedKey::defaultCost());
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ProtectedNoteBlob::open(bytes, key);

    // The bytes as the archived record inside a blob that opens.
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(bytes);
    if (decoded.error.isEmpty() && decoded.value.typeId() == QMetaType::QVariantMap) {
        const QByteArray sealed = ProtectedNoteBlob::seal(decoded.value.toMap(), key);
        if (sealed.isEmpty()
            || ProtectedNoteBlob::open(sealed, key).status != ProtectedNoteBlob::Opened::Note)
            __builtin_trap();
    }
    return 0;
}
