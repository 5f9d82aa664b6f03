#pragma once

#include <stddef.h>
#include <stdint.h>

// What the crypto module (libkorvale-crypto.so, built on OpenSSL's libcrypto) offers to the
// protected notes, which load it through CryptoModule when first needed: a program that never
// opens them never maps libcrypto. Only C types cross, so that the table means the same on both
// sides whatever either was compiled with. Every function returns 1 when done and 0 otherwise;
// none keeps a pointer it was given.
extern "C" {

struct KorvaleCryptoFunctions {
    // KORVALE_CRYPTO_VERSION of the build that made the module: a table of another layout (an
    // older module left in a library folder) is refused rather than called.
    uint32_t version;
    int (*randomBytes)(unsigned char *out, size_t size);
    // scrypt of the password and salt with N, r, p, refusing to use more than `maxMemory` bytes.
    int (*scrypt)(const unsigned char *password, size_t passwordSize, const unsigned char *salt,
                  size_t saltSize, uint64_t n, uint32_t r, uint32_t p, uint64_t maxMemory,
                  unsigned char *key, size_t keySize);
    int (*hmacSha256)(const unsigned char *key, size_t keySize, const unsigned char *message,
                      size_t size, unsigned char digest[32]);
    int (*sha1)(const unsigned char *data, size_t size, unsigned char digest[20]);
    // AES-128-CBC without padding over a whole number of blocks; `out` holds `size` bytes.
    int (*aes128Cbc)(int encrypt, const unsigned char key[16], const unsigned char vector[16],
                     const unsigned char *in, size_t size, unsigned char *out);
    // AES-256-GCM with a 12-byte nonce and additional data authenticated but not encrypted;
    // `out` holds `size` bytes. Opening fails when the tag does not match.
    int (*aes256GcmSeal)(const unsigned char key[32], const unsigned char nonce[12],
                         const unsigned char *aad, size_t aadSize, const unsigned char *plain,
                         size_t size, unsigned char *out, unsigned char tag[16]);
    int (*aes256GcmOpen)(const unsigned char key[32], const unsigned char nonce[12],
                         const unsigned char *aad, size_t aadSize, const unsigned char *cipher,
                         size_t size, const unsigned char tag[16], unsigned char *out);
};

// The one symbol the module exports; also linked into the programs that always need it.
__attribute__((visibility("default"))) const struct KorvaleCryptoFunctions *
korvaleCryptoModule(void);
}

#define KORVALE_CRYPTO_MODULE_ENTRY "korvaleCryptoModule"
#define KORVALE_CRYPTO_VERSION 1u
