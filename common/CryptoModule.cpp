#include "CryptoModule.h"

#include "CryptoModuleInterface.h"
#include "SuiteModule.h"

namespace {

SuiteModule::VersionedTable<KorvaleCryptoFunctions> &table()
{
    static SuiteModule::VersionedTable<KorvaleCryptoFunctions> functions(
        "libkorvale-crypto.so", KORVALE_CRYPTO_MODULE_ENTRY, KORVALE_CRYPTO_VERSION);
    return functions;
}

const KorvaleCryptoFunctions *module()
{
    return table().get();
}

const unsigned char *bytes(const void *p)
{
    return static_cast<const unsigned char *>(p);
}

unsigned char *bytes(void *p)
{
    return static_cast<unsigned char *>(p);
}

} // namespace

bool CryptoModule::isAvailable()
{
    return module() != nullptr;
}

void CryptoModule::useLinked(const KorvaleCryptoFunctions *functions)
{
    table().useLinked(functions);
}

bool CryptoModule::randomBytes(void *out, std::size_t size)
{
    const KorvaleCryptoFunctions *m = module();
    return m && m->randomBytes(bytes(out), size) == 1;
}

bool CryptoModule::scrypt(const void *password, std::size_t passwordSize, const void *salt,
                          std::size_t saltSize, std::uint64_t n, std::uint32_t r, std::uint32_t p,
                          std::uint64_t maxMemory, void *key, std::size_t keySize)
{
    const KorvaleCryptoFunctions *m = module();
    return m
        && m->scrypt(bytes(password), passwordSize, bytes(salt), saltSize, n, r, p, maxMemory,
                     bytes(key), keySize)
        == 1;
}

bool CryptoModule::hmacSha256(const void *key, std::size_t keySize, const void *message,
                              std::size_t size, unsigned char digest[32])
{
    const KorvaleCryptoFunctions *m = module();
    return m && m->hmacSha256(bytes(key), keySize, bytes(message), size, digest) == 1;
}

bool CryptoModule::sha1(const void *data, std::size_t size, unsigned char digest[20])
{
    const KorvaleCryptoFunctions *m = module();
    return m && m->sha1(bytes(data), size, digest) == 1;
}

bool CryptoModule::aes128Cbc(bool encrypt, const unsigned char key[16],
                             const unsigned char vector[16], const void *in, std::size_t size,
                             void *out)
{
    const KorvaleCryptoFunctions *m = module();
    return m && m->aes128Cbc(encrypt ? 1 : 0, key, vector, bytes(in), size, bytes(out)) == 1;
}

bool CryptoModule::aes256GcmSeal(const unsigned char key[32], const unsigned char nonce[12],
                                 const void *aad, std::size_t aadSize, const void *plain,
                                 std::size_t size, void *out, unsigned char tag[16])
{
    const KorvaleCryptoFunctions *m = module();
    return m
        && m->aes256GcmSeal(key, nonce, bytes(aad), aadSize, bytes(plain), size, bytes(out), tag)
        == 1;
}

bool CryptoModule::aes256GcmOpen(const unsigned char key[32], const unsigned char nonce[12],
                                 const void *aad, std::size_t aadSize, const void *cipher,
                                 std::size_t size, const unsigned char tag[16], void *out)
{
    const KorvaleCryptoFunctions *m = module();
    return m
        && m->aes256GcmOpen(key, nonce, bytes(aad), aadSize, bytes(cipher), size, tag, bytes(out))
        == 1;
}
