#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

// Compression and the encryption of protected notes. Buffer operations return the number of
// bytes written, 0 on any failure (the crypto module missing too, for the encryption), and never
// write past the given capacity.
class QOR_DataUtils
{
public:
    QOR_DataUtils() = delete;

    // One-shot zlib compression; a null array for an empty blob or on failure.
    static QByteArray compressedData(const QByteArray &data);
    // The empty blob unchanged; a null array when the data is not a complete zlib stream.
    static QByteArray decompressedData(const QByteArray &data);

    static std::size_t zlibCompressSizeToMaxSize(const void *source, std::size_t size,
                                                 void *destination, std::size_t maxSize);
    static std::size_t zlibUncompressSizeToMaxSize(const void *source, std::size_t size,
                                                   void *destination, std::size_t maxSize);

    // Blob: 16-byte vector, then AES-128-CBC of the zero-padded plaintext whose last four bytes
    // hold its length, big-endian. floor(n / 16) * 16 + 48 bytes in all.
    static std::size_t encryptDataSizeToMaxSizeWithPassword(const void *source, std::size_t size,
                                                            void *destination, std::size_t maxSize,
                                                            const QString &passPhrase);
    static std::size_t decryptDataSizeToMaxSizeWithPassword(const void *source, std::size_t size,
                                                            void *destination, std::size_t maxSize,
                                                            const QString &passPhrase);

    // The same blob with a vector of the caller's choosing, for reproducible output.
    static std::size_t encryptWithVector(const unsigned char vector[16], const void *source,
                                         std::size_t size, void *destination, std::size_t maxSize,
                                         const QString &passPhrase);

    static std::size_t encryptedSizeFor(std::size_t size) { return size / 16 * 16 + 48; }
};
