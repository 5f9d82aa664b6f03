#include "ProtectedKey.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/kdf.h>
#include <openssl/params.h>
#include <openssl/rand.h>

#include <algorithm>
#include <memory>

ProtectedKey::Cost ProtectedKey::defaultCost()
{
    return {16, 8, 1}; // 64 MiB of memory
}

bool ProtectedKey::isAcceptable(Cost cost)
{
    // At most 256 MiB and a few seconds on a slow machine; at least what the default gives up to.
    return cost.logN >= 10 && cost.logN <= 18 && cost.r >= 1 && cost.r <= 16 && cost.p >= 1
        && cost.p <= 4 && (quint64(128) * cost.r << cost.logN) * cost.p <= (quint64(256) << 20);
}

QByteArray ProtectedKey::newSalt()
{
    QByteArray salt(SaltSize, Qt::Uninitialized);
    if (RAND_bytes(reinterpret_cast<unsigned char *>(salt.data()), SaltSize) != 1)
        return {};
    return salt;
}

std::optional<ProtectedKey> ProtectedKey::derive(const QString &password, const QByteArray &salt,
                                                 Cost cost)
{
    if (!isAcceptable(cost) || salt.size() != SaltSize)
        return std::nullopt;
    std::unique_ptr<EVP_KDF, decltype(&EVP_KDF_free)> kdf(EVP_KDF_fetch(nullptr, "SCRYPT", nullptr),
                                                          &EVP_KDF_free);
    if (!kdf)
        return std::nullopt;
    std::unique_ptr<EVP_KDF_CTX, decltype(&EVP_KDF_CTX_free)> ctx(EVP_KDF_CTX_new(kdf.get()),
                                                                  &EVP_KDF_CTX_free);
    if (!ctx)
        return std::nullopt;
    QByteArray secret = password.toUtf8();
    uint64_t n = uint64_t(1) << cost.logN;
    uint32_t r = cost.r;
    uint32_t p = cost.p;
    uint64_t maxMemory = uint64_t(512) << 20;
    QByteArray saltCopy = salt;
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_PASSWORD, secret.data(),
                                          std::size_t(secret.size())),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SALT, saltCopy.data(),
                                          std::size_t(saltCopy.size())),
        OSSL_PARAM_construct_uint64(OSSL_KDF_PARAM_SCRYPT_N, &n),
        OSSL_PARAM_construct_uint32(OSSL_KDF_PARAM_SCRYPT_R, &r),
        OSSL_PARAM_construct_uint32(OSSL_KDF_PARAM_SCRYPT_P, &p),
        OSSL_PARAM_construct_uint64(OSSL_KDF_PARAM_SCRYPT_MAXMEM, &maxMemory),
        OSSL_PARAM_construct_end()};
    ProtectedKey key;
    const bool derived = EVP_KDF_derive(ctx.get(), key.mKey.data(), key.mKey.size(), params) == 1;
    OPENSSL_cleanse(secret.data(), std::size_t(secret.size()));
    if (!derived)
        return std::nullopt;
    key.mSalt = salt;
    key.mCost = cost;
    return key;
}

ProtectedKey ProtectedKey::fromBytes(const QByteArray &bytes, const QByteArray &salt, Cost cost)
{
    ProtectedKey key;
    for (std::size_t i = 0; i < key.mKey.size() && qsizetype(i) < bytes.size(); ++i)
        key.mKey[i] = static_cast<unsigned char>(bytes[qsizetype(i)]);
    key.mSalt = salt;
    key.mCost = cost;
    return key;
}

ProtectedKey::~ProtectedKey()
{
    wipe();
}

void ProtectedKey::wipe()
{
    OPENSSL_cleanse(mKey.data(), mKey.size());
}

namespace {

QByteArray keyedDigest(const std::array<unsigned char, ProtectedKey::KeySize> &key,
                       const unsigned char *message, std::size_t size, int length)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int produced = 0;
    if (!HMAC(EVP_sha256(), key.data(), int(key.size()), message, size, digest, &produced))
        return {};
    QByteArray result(reinterpret_cast<const char *>(digest), std::min(length, int(produced)));
    OPENSSL_cleanse(digest, sizeof digest);
    return result;
}

} // namespace

QByteArray ProtectedKey::check() const
{
    static const char label[] = "Korvale protected notes key check";
    return keyedDigest(mKey, reinterpret_cast<const unsigned char *>(label), sizeof label - 1,
                       CheckSize);
}

QByteArray ProtectedKey::passwordTag(const QString &password) const
{
    QByteArray utf8 = password.toUtf8();
    QByteArray tag = keyedDigest(mKey, reinterpret_cast<const unsigned char *>(utf8.constData()),
                                 std::size_t(utf8.size()), 32);
    wipe(utf8);
    return tag;
}

void ProtectedKey::wipe(QString &text)
{
    if (!text.isEmpty() && text.isDetached())
        OPENSSL_cleanse(text.data(), std::size_t(text.size()) * sizeof(QChar));
    text.clear();
}

void ProtectedKey::wipe(QByteArray &bytes)
{
    if (!bytes.isEmpty() && bytes.isDetached())
        OPENSSL_cleanse(bytes.data(), std::size_t(bytes.size()));
    bytes.clear();
}
