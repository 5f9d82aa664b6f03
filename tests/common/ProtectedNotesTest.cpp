#include "CommonKorvaleClass.h"
#include "QOR_DataUtils.h"
#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QProcess>

#include <gtest/gtest.h>

#include <vector>

TEST(PasswordCode, FollowsTheExtensionAndMixingRule)
{
    EXPECT_EQ(CommonKorvaleClass::getPasswordCode(QString()), 0u);
    EXPECT_EQ(CommonKorvaleClass::getPasswordCode(QStringLiteral("")), 0u);

    auto reference = [](const QString &s) {
        quint64 c = 0;
        for (int i = 0; i < s.size(); ++i)
            c = ((quint64(s.at(i).unicode()) * quint64(i) + c) * 3) % (quint64(1) << 32);
        return quint32(c);
    };
    const QString thirtyTwo = QStringLiteral("abcdefghijklmnopqrstuvwxyz012345");
    EXPECT_EQ(CommonKorvaleClass::getPasswordCode(thirtyTwo), reference(thirtyTwo));
    // One character becomes 33: itself 17 times with "*" between.
    QString one = QStringLiteral("k");
    for (int i = 0; i < 16; ++i)
        one += QStringLiteral("*k");
    EXPECT_EQ(one.size(), 33);
    EXPECT_EQ(CommonKorvaleClass::getPasswordCode(QStringLiteral("k")), reference(one));
    // Accented passwords use UTF-16 code units.
    EXPECT_NE(CommonKorvaleClass::getPasswordCode(QStringLiteral("été")),
              CommonKorvaleClass::getPasswordCode(QStringLiteral("ete")));
}

TEST(PasswordCode, PassPhraseHasSignedAndLow16Fields)
{
    EXPECT_EQ(CommonKorvaleClass::createStringFromPassword(0xFFFFFFFEu), QStringLiteral("Qmw-2bHvk65534tje"));
    EXPECT_EQ(CommonKorvaleClass::createStringFromPassword(70000u), QStringLiteral("Qmw70000bHvk4464tje"));
}

namespace {

QByteArray encrypt(const QByteArray &plain, const QString &passPhrase)
{
    QByteArray out(int(QOR_DataUtils::encryptedSizeFor(std::size_t(plain.size()))), '\0');
    const std::size_t n = QOR_DataUtils::encryptDataSizeToMaxSizeWithPassword(
        plain.constData(), std::size_t(plain.size()), out.data(), std::size_t(out.size()), passPhrase);
    out.truncate(qsizetype(n));
    return out;
}

} // namespace

TEST(Encryption, BlobSizesAndRoundTrip)
{
    const QString phrase = CommonKorvaleClass::createStringFromPassword(123456);
    for (int n : {1, 15, 16, 17, 31, 32, 1000}) {
        const QByteArray plain(n, 'q');
        const QByteArray blob = encrypt(plain, phrase);
        EXPECT_EQ(blob.size(), n / 16 * 16 + 48) << n;
        std::vector<char> back(std::size_t(n) + 64, 'X');
        EXPECT_EQ(QOR_DataUtils::decryptDataSizeToMaxSizeWithPassword(blob.constData(), std::size_t(blob.size()),
                                                                      back.data(), back.size(), phrase),
                  std::size_t(n));
        EXPECT_EQ(QByteArray(back.data(), n), plain);
        EXPECT_EQ(QOR_DataUtils::decryptDataSizeToMaxSizeWithPassword(
                      blob.constData(), std::size_t(blob.size()), back.data(), back.size(),
                      CommonKorvaleClass::createStringFromPassword(654321)),
                  0u);
    }
    EXPECT_EQ(encrypt(QByteArray(15, 'a'), phrase).size(), 48);
    EXPECT_EQ(encrypt(QByteArray(16, 'a'), phrase).size(), 64);
    // Vectors come from the system's random source: two blobs in the same second differ.
    EXPECT_NE(encrypt("same", phrase).left(16), encrypt("same", phrase).left(16));
}

TEST(Encryption, RefusesWhatDoesNotFitAndNeverWritesPastTheDestination)
{
    const QString phrase = QStringLiteral("Qmw1bHvk1tje");
    char small[40];
    EXPECT_EQ(QOR_DataUtils::encryptDataSizeToMaxSizeWithPassword("0123456789", 10, small, sizeof small, phrase), 0u);
    EXPECT_EQ(QOR_DataUtils::encryptDataSizeToMaxSizeWithPassword(nullptr, 10, small, sizeof small, phrase), 0u);

    // A blob whose decrypted trailer claims more bytes than the destination holds.
    const QByteArray plain(200, 'z');
    const QByteArray blob = encrypt(plain, phrase);
    std::vector<char> guarded(100 + 32, '#');
    EXPECT_EQ(QOR_DataUtils::decryptDataSizeToMaxSizeWithPassword(blob.constData(), std::size_t(blob.size()),
                                                                  guarded.data(), 100, phrase),
              0u);
    for (std::size_t i = 100; i < guarded.size(); ++i)
        ASSERT_EQ(guarded[i], '#');

    // Damaged blobs: truncated, not a whole number of blocks, flipped bits.
    std::vector<char> out(4096);
    EXPECT_EQ(QOR_DataUtils::decryptDataSizeToMaxSizeWithPassword(blob.constData(), 40, out.data(), out.size(), phrase), 0u);
    EXPECT_EQ(QOR_DataUtils::decryptDataSizeToMaxSizeWithPassword(blob.constData(), std::size_t(blob.size()) - 3,
                                                                  out.data(), out.size(), phrase),
              0u);
    QByteArray flipped = blob;
    flipped[flipped.size() - 20] = char(flipped[flipped.size() - 20] ^ 0x55);
    EXPECT_EQ(QOR_DataUtils::decryptDataSizeToMaxSizeWithPassword(flipped.constData(), std::size_t(flipped.size()),
                                                                  out.data(), out.size(), phrase),
              0u);
}

// The blob format, pinned against OpenSSL's own command-line tool.
TEST(Encryption, KnownAnswerAgainstTheOpensslTool)
{
    const QString phrase = CommonKorvaleClass::createStringFromPassword(CommonKorvaleClass::getPasswordCode(QStringLiteral("secret")));
    const QByteArray plain("The quick brown fox jumps over the lazy dog");
    unsigned char vector[16];
    for (int i = 0; i < 16; ++i)
        vector[i] = static_cast<unsigned char>(0xA0 + i);
    QByteArray blob(128, '\0');
    const std::size_t n = QOR_DataUtils::encryptWithVector(vector, plain.constData(), std::size_t(plain.size()),
                                                           blob.data(), std::size_t(blob.size()), phrase);
    ASSERT_EQ(n, 80u);
    blob.truncate(80);

    QByteArray padded = plain;
    padded.append(QByteArray(64 - plain.size() - 4, '\0'));
    padded.append(QByteArray::fromHex("0000002b"));
    const QByteArray key = QCryptographicHash::hash(phrase.toUtf8(), QCryptographicHash::Sha1).left(16);
    const QByteArray iv(reinterpret_cast<const char *>(vector), 16);
    const ProgramRun run = runProgram(QStringLiteral("openssl"),
                                      {QStringLiteral("enc"), QStringLiteral("-aes-128-cbc"),
                                       QStringLiteral("-nopad"), QStringLiteral("-K"), QString::fromLatin1(key.toHex()),
                                       QStringLiteral("-iv"), QString::fromLatin1(iv.toHex())},
                                      padded);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(blob.toHex(), (iv + run.out).toHex());
}
