// "ProtectedNotes.krvdata" holds one blob per note, read back with the user's pass phrase.
#include "CommonKorvaleClass.h"
#include "CryptoModule.h"
#include "CryptoModuleInterface.h"
#include "QOR_DataUtils.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    CryptoModule::useLinked(korvaleCryptoModule());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString passPhrase = CommonKorvaleClass::createStringFromPassword(0x2a2a2a2a);
    const QByteArray blob(reinterpret_cast<const char *>(data), qsizetype(size));
    // The blob as it is on disk: almost always refused at decryption.
    CommonKorvaleClass::noteForProtectedBlob(blob, passPhrase);

    // The same bytes as the compressed note inside a blob that decrypts, so that decompression
    // and decoding are reached too.
    if (size > CommonKorvaleClass::ProtectedBufferSize)
        return 0;
    static const unsigned char vector[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    std::vector<unsigned char> sealed(QOR_DataUtils::encryptedSizeFor(size));
    const std::size_t sealedSize = QOR_DataUtils::encryptWithVector(
        vector, data, size, sealed.data(), sealed.size(), passPhrase);
    // A blob that decrypts proves the code: it is a note or a damaged note, never a wrong password.
    if (sealedSize > 0
        && CommonKorvaleClass::noteForProtectedBlob(
               QByteArray(reinterpret_cast<const char *>(sealed.data()), qsizetype(sealedSize)),
               passPhrase)
                .status
            == CommonKorvaleClass::FirstFormatBlob::NotOpened)
        __builtin_trap();
    return 0;
}
