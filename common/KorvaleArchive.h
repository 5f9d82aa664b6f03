#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// The archive encoding of every list and dictionary file: CBOR (RFC 8949) behind the
// self-describe tag. Values: null, booleans, 32- and 64-bit integers, reals, strings, blobs,
// dates (tag 1, floating epoch seconds, millisecond precision), lists and string-keyed maps.
namespace KorvaleArchive {

// How deep lists, dictionaries and tags may nest, in every reader and writer of archived values:
// a damaged or hostile file must not exhaust the stack.
constexpr int MaxDepth = 200;

struct Encoded {
    QByteArray bytes;
    QString error; // empty on success
};

struct Decoded {
    QVariant value;
    QString error; // empty on success
};

Encoded encode(const QVariant &value);
Decoded decode(const QByteArray &bytes);
// A list file's bytes: no bytes are the empty list; nullopt when they are not one list.
std::optional<QVariantList> decodeList(const QByteArray &bytes);
// The same, reading at most `maxRecords` elements of the list; `recordsInFile` gets how many the
// list says it holds, so a caller can tell that it was cut. The elements past the cut are not
// looked at.
std::optional<QVariantList> decodeList(const QByteArray &bytes, qsizetype maxRecords,
                                       quint64 *recordsInFile);

} // namespace KorvaleArchive
