#include "ProtectedKey.h"

#include "CryptoModule.h"
#include "SecureMemory.h"

#include <algorithm>

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
    if (!CryptoModule::randomBytes(salt.data(), SaltSize))
        return {};
    return salt;
}

std::optional<ProtectedKey> ProtectedKey::derive(const QString &password, const QByteArray &salt,
                                                 Cost cost)
{
    if (!isAcceptable(cost) || salt.size() != SaltSize)
        return std::nullopt;
    QByteArray secret = password.toUtf8();
    ProtectedKey key;
    const bool derived =
        CryptoModule::scrypt(secret.constData(), std::size_t(secret.size()), salt.constData(),
                             std::size_t(salt.size()), std::uint64_t(1) << cost.logN, cost.r,
                             cost.p, std::uint64_t(512) << 20, key.mKey.data(), key.mKey.size());
    SecureMemory::wipe(secret.data(), std::size_t(secret.size()));
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
    SecureMemory::wipe(mKey.data(), mKey.size());
}

namespace {

QByteArray keyedDigest(const std::array<unsigned char, ProtectedKey::KeySize> &key,
                       const unsigned char *message, std::size_t size, int length)
{
    unsigned char digest[32];
    if (!CryptoModule::hmacSha256(key.data(), key.size(), message, size, digest))
        return {};
    QByteArray result(reinterpret_cast<const char *>(digest), std::min(length, int(sizeof digest)));
    SecureMemory::wipe(digest, sizeof digest);
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
        SecureMemory::wipe(text.data(), std::size_t(text.size()) * sizeof(QChar));
    text.clear();
}

void ProtectedKey::wipe(QByteArray &bytes)
{
    if (!bytes.isEmpty() && bytes.isDetached())
        SecureMemory::wipe(bytes.data(), std::size_t(bytes.size()));
    bytes.clear();
}
