#include "QOR_DataUtils.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <vector>

TEST(Compression, BlobsRoundTripAndRefuseWhatIsNotZlib)
{
    EXPECT_TRUE(QOR_DataUtils::compressedData(QByteArray()).isNull());
    const QByteArray empty("");
    EXPECT_EQ(QOR_DataUtils::decompressedData(empty), empty);
    EXPECT_TRUE(QOR_DataUtils::decompressedData(QByteArray("not zlib data")).isNull());

    QByteArray random(100000, Qt::Uninitialized);
    QRandomGenerator gen(7);
    for (char &c : random)
        c = char(gen.bounded(256));
    // Highly compressible data grows far beyond the first guess of the output size.
    for (const QByteArray &data : {QByteArray("a"), QByteArray(10'000'000, 'z'), random}) {
        const QByteArray packed = QOR_DataUtils::compressedData(data);
        ASSERT_FALSE(packed.isEmpty());
        EXPECT_EQ(QOR_DataUtils::decompressedData(packed), data);
        // A stream cut short is refused, not half returned.
        EXPECT_TRUE(QOR_DataUtils::decompressedData(packed.left(packed.size() - 1)).isNull());
    }
}

TEST(Compression, BufferRoutinesStayWithinTheirCapacity)
{
    const QByteArray text = QByteArray("korvale ").repeated(1000);
    std::vector<char> packed(4096);
    const std::size_t n = QOR_DataUtils::zlibCompressSizeToMaxSize(text.constData(), std::size_t(text.size()),
                                                                   packed.data(), packed.size());
    ASSERT_GT(n, 0u);
    std::vector<char> out(text.size() + 1);
    EXPECT_EQ(QOR_DataUtils::zlibUncompressSizeToMaxSize(packed.data(), n, out.data(), out.size()),
              std::size_t(text.size()));
    EXPECT_EQ(QByteArray(out.data(), text.size()), text);

    // Output that would reach the capacity is refused.
    std::vector<char> tooSmall(std::size_t(text.size()), '#');
    EXPECT_EQ(QOR_DataUtils::zlibUncompressSizeToMaxSize(packed.data(), n, tooSmall.data(), 100), 0u);
    EXPECT_EQ(QOR_DataUtils::zlibCompressSizeToMaxSize(text.constData(), std::size_t(text.size()), packed.data(), 5), 0u);
    EXPECT_EQ(QOR_DataUtils::zlibCompressSizeToMaxSize(nullptr, 5, packed.data(), packed.size()), 0u);
    EXPECT_EQ(QOR_DataUtils::zlibUncompressSizeToMaxSize(packed.data(), 0, out.data(), out.size()), 0u);
}
