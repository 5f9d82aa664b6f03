#include "QOR_DataUtils.h"

#include "CryptoModule.h"
#include "SecureMemory.h"

#include <zlib.h>

#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr std::size_t kVectorSize = 16;
constexpr std::size_t kTrailerSize = 16; // 12 zero bytes and the big-endian length

bool keyFromPassPhrase(const QString &passPhrase, unsigned char key[16])
{
    QByteArray utf8 = passPhrase.toUtf8();
    unsigned char digest[20] = {};
    const bool made = CryptoModule::sha1(utf8.constData(), std::size_t(utf8.size()), digest);
    std::memcpy(key, digest, 16);
    SecureMemory::wipe(digest, sizeof digest);
    SecureMemory::wipe(utf8.data(), std::size_t(utf8.size()));
    return made;
}

// The key and the plaintext of the first format are gone from memory once a call returns.
struct Wiped {
    unsigned char key[16] = {};
    std::vector<unsigned char> plain;
    ~Wiped()
    {
        SecureMemory::wipe(key, sizeof key);
        if (!plain.empty())
            SecureMemory::wipe(plain.data(), plain.size());
    }
};

quint32 readBigEndian(const unsigned char *p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

} // namespace

QByteArray QOR_DataUtils::compressedData(const QByteArray &data)
{
    if (data.isEmpty())
        return {};
    uLongf capacity = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(capacity), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef *>(out.data()), &capacity,
                  reinterpret_cast<const Bytef *>(data.constData()), uLong(data.size()),
                  Z_DEFAULT_COMPRESSION)
        != Z_OK)
        return {};
    out.truncate(qsizetype(capacity));
    return out;
}

QByteArray QOR_DataUtils::decompressedData(const QByteArray &data)
{
    if (data.isEmpty())
        return data;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return {};
    const qsizetype step = std::max<qsizetype>(data.size() / 2, 64);
    QByteArray out(data.size() + step, Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    int status = Z_OK;
    while (status == Z_OK) {
        if (qsizetype(stream.total_out) >= out.size())
            out.resize(out.size() + std::max<qsizetype>(step, out.size() / 2));
        stream.next_out = reinterpret_cast<Bytef *>(out.data()) + stream.total_out;
        stream.avail_out = uInt(out.size() - qsizetype(stream.total_out));
        status = inflate(&stream, Z_SYNC_FLUSH); // Z_BUF_ERROR here: the input ended early
    }
    const qsizetype produced = qsizetype(stream.total_out);
    if (inflateEnd(&stream) != Z_OK || status != Z_STREAM_END)
        return {};
    out.truncate(produced);
    return out;
}

std::size_t QOR_DataUtils::zlibCompressSizeToMaxSize(const void *source, std::size_t size,
                                                     void *destination, std::size_t maxSize)
{
    if (!source || !destination || size == 0 || maxSize == 0)
        return 0;
    if (size > std::numeric_limits<uInt>::max() || maxSize > std::numeric_limits<uInt>::max())
        return 0;
    z_stream stream{};
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK)
        return 0;
    stream.next_in = static_cast<Bytef *>(const_cast<void *>(source));
    stream.avail_in = uInt(size);
    stream.next_out = static_cast<Bytef *>(destination);
    stream.avail_out = uInt(maxSize);
    const int status = deflate(&stream, Z_FINISH);
    const std::size_t produced = stream.total_out;
    deflateEnd(&stream);
    return status == Z_STREAM_END && produced < maxSize ? produced : 0;
}

std::size_t QOR_DataUtils::zlibUncompressSizeToMaxSize(const void *source, std::size_t size,
                                                       void *destination, std::size_t maxSize)
{
    if (!source || !destination || size == 0 || maxSize == 0)
        return 0;
    if (size > std::numeric_limits<uInt>::max() || maxSize > std::numeric_limits<uInt>::max())
        return 0;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return 0;
    stream.next_in = static_cast<Bytef *>(const_cast<void *>(source));
    stream.avail_in = uInt(size);
    stream.next_out = static_cast<Bytef *>(destination);
    stream.avail_out = uInt(maxSize);
    const int status = inflate(&stream, Z_FINISH);
    const std::size_t produced = stream.total_out;
    const bool ended = inflateEnd(&stream) == Z_OK;
    // Output that fills the whole capacity is refused, as it may have been cut short.
    if (status != Z_STREAM_END || !ended || produced >= maxSize)
        return 0;
    return produced;
}

std::size_t QOR_DataUtils::encryptWithVector(const unsigned char vector[16], const void *source,
                                             std::size_t size, void *destination,
                                             std::size_t maxSize, const QString &passPhrase)
{
    if (!source || !destination || size == 0 || size > std::numeric_limits<quint32>::max())
        return 0;
    const std::size_t padded = size / 16 * 16 + 32;
    if (padded + kVectorSize > maxSize)
        return 0;

    Wiped secret;
    std::vector<unsigned char> &plain = secret.plain;
    plain.assign(padded, 0);
    std::memcpy(plain.data(), source, size);
    const quint32 n = quint32(size);
    plain[padded - 4] = (n >> 24) & 0xff;
    plain[padded - 3] = (n >> 16) & 0xff;
    plain[padded - 2] = (n >> 8) & 0xff;
    plain[padded - 1] = n & 0xff;

    if (!keyFromPassPhrase(passPhrase, secret.key))
        return 0;
    auto *out = static_cast<unsigned char *>(destination);
    std::memcpy(out, vector, kVectorSize);
    if (!CryptoModule::aes128Cbc(true, secret.key, vector, plain.data(), padded, out + kVectorSize))
        return 0;
    return padded + kVectorSize;
}

std::size_t QOR_DataUtils::encryptDataSizeToMaxSizeWithPassword(const void *source,
                                                                std::size_t size, void *destination,
                                                                std::size_t maxSize,
                                                                const QString &passPhrase)
{
    unsigned char vector[kVectorSize];
    if (!CryptoModule::randomBytes(vector, kVectorSize))
        return 0;
    return encryptWithVector(vector, source, size, destination, maxSize, passPhrase);
}

std::size_t QOR_DataUtils::decryptDataSizeToMaxSizeWithPassword(const void *source,
                                                                std::size_t size, void *destination,
                                                                std::size_t maxSize,
                                                                const QString &passPhrase)
{
    // The smallest blob holds the vector and two blocks; anything else is damaged.
    if (!source || !destination || size < kVectorSize + 32 || (size - kVectorSize) % 16 != 0)
        return 0;
    const std::size_t cipherSize = size - kVectorSize;
    Wiped secret;
    std::vector<unsigned char> &plain = secret.plain;
    plain.resize(cipherSize);
    if (!keyFromPassPhrase(passPhrase, secret.key))
        return 0;
    const auto *blob = static_cast<const unsigned char *>(source);
    if (!CryptoModule::aes128Cbc(false, secret.key, blob, blob + kVectorSize, cipherSize,
                                 plain.data()))
        return 0;

    const unsigned char *trailer = plain.data() + cipherSize - kTrailerSize;
    for (int i = 0; i < 12; ++i) {
        if (trailer[i] != 0)
            return 0;
    }
    // The length a wrong key or a damaged blob claims must not lead past either buffer.
    const std::size_t n = readBigEndian(trailer + 12);
    if (n == 0 || n > cipherSize - kTrailerSize || n > maxSize)
        return 0;
    std::memcpy(destination, plain.data(), n);
    return n;
}
