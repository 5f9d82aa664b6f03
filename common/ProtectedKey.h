#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// The key of the second protected-notes format: derived from the password itself with scrypt
// and a random salt. The only secret a program keeps while protected notes are unlocked; wiped
// when it is destroyed or locked, so copies are few and each cleans up after itself.
class ProtectedKey
{
public:
    // scrypt's cost, as stored in each blob's header.
    struct Cost {
        quint8 logN = 0; // N = 2^logN
        quint8 r = 0;
        quint8 p = 0;
        bool operator==(const Cost &) const = default;
    };

    static constexpr int KeySize = 32;
    static constexpr int SaltSize = 16;
    static constexpr int CheckSize = 16;

    // The cost new files are written with: one derivation takes a few tenths of a second.
    static Cost defaultCost();
    // A cost read from a file is used only within these bounds, so that a hostile file cannot
    // ask for gigabytes of memory or minutes of work.
    static bool isAcceptable(Cost cost);

    static QByteArray newSalt();
    // Nothing when the cost is not acceptable or the derivation fails (as it does without the
    // crypto module: CryptoModule).
    static std::optional<ProtectedKey> derive(const QString &password, const QByteArray &salt,
                                              Cost cost);
    // From raw bytes, for tests and fuzzing that must not pay for a derivation.
    static ProtectedKey fromBytes(const QByteArray &key, const QByteArray &salt, Cost cost);

    ProtectedKey(const ProtectedKey &other) = default;
    ProtectedKey &operator=(const ProtectedKey &other) = default;
    ~ProtectedKey();

    void wipe();
    const unsigned char *bytes() const { return mKey.data(); }
    const QByteArray &salt() const { return mSalt; }
    Cost cost() const { return mCost; }
    // Tells a wrong password from a damaged blob: stored in each blob's header.
    QByteArray check() const;
    // A keyed digest of a password typed again: equal digests mean the same password, and
    // without the key the digest tells nothing, so it may wait in memory in place of the text.
    QByteArray passwordTag(const QString &password) const;

    // Overwrite what a password or a plaintext left in memory, then empty it. A buffer shared
    // with another copy is left to that copy's owner, who wipes it in turn.
    static void wipe(QString &text);
    static void wipe(QByteArray &bytes);

private:
    ProtectedKey() = default;

    std::array<unsigned char, KeySize> mKey{};
    QByteArray mSalt;
    Cost mCost;
};
