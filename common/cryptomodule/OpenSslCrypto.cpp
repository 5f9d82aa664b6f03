// The crypto module: OpenSSL's libcrypto behind the table of CryptoModuleInterface.h. Built as
// libkorvale-crypto.so, loaded by the programs when the protected notes first need it, and as a
// static library for the programs that always need it.
#include "CryptoModuleInterface.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/kdf.h>
#include <openssl/params.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <climits>
#include <memory>

namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

// OpenSSL counts in int.
bool fitsInt(size_t size)
{
    return size <= size_t(INT_MAX);
}

int randomBytes(unsigned char *out, size_t size)
{
    return fitsInt(size) && RAND_bytes(out, int(size)) == 1 ? 1 : 0;
}

int scrypt(const unsigned char *password, size_t passwordSize, const unsigned char *salt,
           size_t saltSize, uint64_t n, uint32_t r, uint32_t p, uint64_t maxMemory,
           unsigned char *key, size_t keySize)
{
    std::unique_ptr<EVP_KDF, decltype(&EVP_KDF_free)> kdf(EVP_KDF_fetch(nullptr, "SCRYPT", nullptr),
                                                          &EVP_KDF_free);
    if (!kdf)
        return 0;
    std::unique_ptr<EVP_KDF_CTX, decltype(&EVP_KDF_CTX_free)> ctx(EVP_KDF_CTX_new(kdf.get()),
                                                                  &EVP_KDF_CTX_free);
    if (!ctx)
        return 0;
    // OpenSSL's parameters are not const; it only reads these.
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_PASSWORD,
                                          const_cast<unsigned char *>(password), passwordSize),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SALT, const_cast<unsigned char *>(salt),
                                          saltSize),
        OSSL_PARAM_construct_uint64(OSSL_KDF_PARAM_SCRYPT_N, &n),
        OSSL_PARAM_construct_uint32(OSSL_KDF_PARAM_SCRYPT_R, &r),
        OSSL_PARAM_construct_uint32(OSSL_KDF_PARAM_SCRYPT_P, &p),
        OSSL_PARAM_construct_uint64(OSSL_KDF_PARAM_SCRYPT_MAXMEM, &maxMemory),
        OSSL_PARAM_construct_end()};
    return EVP_KDF_derive(ctx.get(), key, keySize, params) == 1 ? 1 : 0;
}

int hmacSha256(const unsigned char *key, size_t keySize, const unsigned char *message, size_t size,
               unsigned char digest[32])
{
    unsigned int produced = 0;
    if (!fitsInt(keySize)
        || !HMAC(EVP_sha256(), key, int(keySize), message, size, digest, &produced))
        return 0;
    return produced == 32 ? 1 : 0;
}

int sha1(const unsigned char *data, size_t size, unsigned char digest[20])
{
    return SHA1(data, size, digest) ? 1 : 0;
}

int aes128Cbc(int encrypt, const unsigned char key[16], const unsigned char vector[16],
              const unsigned char *in, size_t size, unsigned char *out)
{
    if (size % 16 != 0 || !fitsInt(size))
        return 0;
    CipherContext ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    if (!ctx
        || EVP_CipherInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, key, vector, encrypt ? 1 : 0)
            != 1)
        return 0;
    EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
    int produced = 0;
    int finalPart = 0;
    if (EVP_CipherUpdate(ctx.get(), out, &produced, in, int(size)) != 1
        || EVP_CipherFinal_ex(ctx.get(), out + produced, &finalPart) != 1)
        return 0;
    return size_t(produced + finalPart) == size ? 1 : 0;
}

constexpr int kNonceSize = 12;
constexpr int kTagSize = 16;

int aes256GcmSeal(const unsigned char key[32], const unsigned char nonce[12],
                  const unsigned char *aad, size_t aadSize, const unsigned char *plain, size_t size,
                  unsigned char *out, unsigned char tag[16])
{
    if (!fitsInt(size) || !fitsInt(aadSize))
        return 0;
    CipherContext ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    int produced = 0;
    int last = 0;
    const bool sealed = ctx
        && EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1
        && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceSize, nullptr) == 1
        && EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, key, nonce) == 1
        && EVP_EncryptUpdate(ctx.get(), nullptr, &produced, aad, int(aadSize)) == 1
        && EVP_EncryptUpdate(ctx.get(), out, &produced, plain, int(size)) == 1
        && EVP_EncryptFinal_ex(ctx.get(), out + produced, &last) == 1
        && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, kTagSize, tag) == 1;
    return sealed ? 1 : 0;
}

int aes256GcmOpen(const unsigned char key[32], const unsigned char nonce[12],
                  const unsigned char *aad, size_t aadSize, const unsigned char *cipher,
                  size_t size, const unsigned char tag[16], unsigned char *out)
{
    if (!fitsInt(size) || !fitsInt(aadSize))
        return 0;
    // OpenSSL takes the tag to compare through a non-const pointer.
    unsigned char expected[kTagSize];
    for (int i = 0; i < kTagSize; ++i)
        expected[i] = tag[i];
    CipherContext ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    int produced = 0;
    int last = 0;
    const bool opened = ctx
        && EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1
        && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceSize, nullptr) == 1
        && EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, key, nonce) == 1
        && EVP_DecryptUpdate(ctx.get(), nullptr, &produced, aad, int(aadSize)) == 1
        && EVP_DecryptUpdate(ctx.get(), out, &produced, cipher, int(size)) == 1
        && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, kTagSize, expected) == 1
        && EVP_DecryptFinal_ex(ctx.get(), out + produced, &last) == 1;
    return opened ? 1 : 0;
}

constexpr KorvaleCryptoFunctions Functions{
    KORVALE_CRYPTO_VERSION, &randomBytes,  &scrypt, &hmacSha256, &sha1, &aes128Cbc,
    &aes256GcmSeal,         &aes256GcmOpen};

} // namespace

extern "C" __attribute__((visibility("default"))) const KorvaleCryptoFunctions *
korvaleCryptoModule()
{
    return &Functions;
}
