#pragma once

#include <cstddef>
#include <cstdint>

struct KorvaleCryptoFunctions;

// The cryptography of the protected notes, from the crypto module (libkorvale-crypto.so, on
// OpenSSL's libcrypto) loaded through SuiteModule on the first call and kept: an agent whose
// protected notes stay locked never maps libcrypto. Each call returns false when the module is
// missing or the operation fails; callers tell the two apart with isAvailable().
namespace CryptoModule {

// Loads the module when it is not loaded yet; false, logged once, when it cannot be.
bool isAvailable();
// For a program that links the implementation in (the fuzz targets, which run without a
// QCoreApplication to find modules beside them): used instead of loading the module. Call it
// before any other function of this namespace.
void useLinked(const KorvaleCryptoFunctions *functions);

bool randomBytes(void *out, std::size_t size);
bool scrypt(const void *password, std::size_t passwordSize, const void *salt, std::size_t saltSize,
            std::uint64_t n, std::uint32_t r, std::uint32_t p, std::uint64_t maxMemory, void *key,
            std::size_t keySize);
bool hmacSha256(const void *key, std::size_t keySize, const void *message, std::size_t size,
                unsigned char digest[32]);
bool sha1(const void *data, std::size_t size, unsigned char digest[20]);
// AES-128-CBC without padding over a whole number of blocks.
bool aes128Cbc(bool encrypt, const unsigned char key[16], const unsigned char vector[16],
               const void *in, std::size_t size, void *out);
// AES-256-GCM, 12-byte nonce, 16-byte tag; `aad` is authenticated, not encrypted.
bool aes256GcmSeal(const unsigned char key[32], const unsigned char nonce[12], const void *aad,
                   std::size_t aadSize, const void *plain, std::size_t size, void *out,
                   unsigned char tag[16]);
bool aes256GcmOpen(const unsigned char key[32], const unsigned char nonce[12], const void *aad,
                   std::size_t aadSize, const void *cipher, std::size_t size,
                   const unsigned char tag[16], void *out);

} // namespace CryptoModule
