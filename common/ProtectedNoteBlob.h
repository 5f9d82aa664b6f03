#pragma once

#include "ProtectedKey.h"

#include <QByteArray>
#include <QVariantMap>

#include <optional>

// One protected note in the second format: a version header, then the compressed archived
// record under AES-256-GCM with a key from ProtectedKey. Layout in docs/data-formats.md.
namespace ProtectedNoteBlob {

struct Header {
    ProtectedKey::Cost cost;
    QByteArray salt;
    QByteArray check;
};

constexpr int HeaderSize = 53;
constexpr int TagSize = 16;

// Whether the bytes start like a second-format blob (first-format blobs start with a random
// vector, so they pass this test once in 4 billion and then fail as damaged).
bool isSecondFormat(const QByteArray &blob);
// The header, when the blob has one that can be used (known version, acceptable cost).
std::optional<Header> header(const QByteArray &blob);

// An empty array only when the note cannot be archived or the cipher fails.
QByteArray seal(const QVariantMap &note, const ProtectedKey &key);

enum class Opened { Note, WrongKey, Damaged };
struct Result {
    Opened status = Opened::Damaged;
    QVariantMap note;
};
Result open(const QByteArray &blob, const ProtectedKey &key);

} // namespace ProtectedNoteBlob
