#include "ProtectedNoteBlob.h"

#include "CryptoModule.h"
#include "KorvaleArchive.h"
#include "QOR_DataUtils.h"
#include "SecureMemory.h"

namespace {

constexpr char kMagic[4] = {'K', 'R', 'V', 'P'};
constexpr char kVersion = 2;
constexpr char kScrypt = 1;
constexpr int kNonceSize = 12;
constexpr int kNonceOffset = ProtectedNoteBlob::HeaderSize - kNonceSize;

const unsigned char *bytesOf(const QByteArray &a)
{
    return reinterpret_cast<const unsigned char *>(a.constData());
}

// The plaintext goes through here so that no copy of it outlives the call.
void wipe(QByteArray &bytes)
{
    if (!bytes.isEmpty() && !bytes.isDetached())
        return; // shared: the other owner wipes it
    if (!bytes.isEmpty())
        SecureMemory::wipe(bytes.data(), std::size_t(bytes.size()));
}

} // namespace

bool ProtectedNoteBlob::isSecondFormat(const QByteArray &blob)
{
    return blob.size() >= HeaderSize + TagSize && blob.startsWith(QByteArray(kMagic, 4));
}

std::optional<ProtectedNoteBlob::Header> ProtectedNoteBlob::header(const QByteArray &blob)
{
    if (!isSecondFormat(blob) || blob[4] != kVersion || blob[5] != kScrypt)
        return std::nullopt;
    Header h;
    h.cost = {quint8(blob[6]), quint8(blob[7]), quint8(blob[8])};
    if (!ProtectedKey::isAcceptable(h.cost))
        return std::nullopt;
    h.salt = blob.mid(9, ProtectedKey::SaltSize);
    h.check = blob.mid(9 + ProtectedKey::SaltSize, ProtectedKey::CheckSize);
    return h;
}

QByteArray ProtectedNoteBlob::seal(const QVariantMap &note, const ProtectedKey &key)
{
    KorvaleArchive::Encoded archived = KorvaleArchive::encode(note);
    if (!archived.error.isEmpty())
        return {};
    QByteArray plain = QOR_DataUtils::compressedData(archived.bytes);
    wipe(archived.bytes);
    if (plain.isEmpty() || plain.size() > (1 << 30))
        return {};

    QByteArray blob;
    blob.reserve(HeaderSize + plain.size() + TagSize);
    blob.append(kMagic, 4);
    blob.append(kVersion);
    blob.append(kScrypt);
    blob.append(char(key.cost().logN));
    blob.append(char(key.cost().r));
    blob.append(char(key.cost().p));
    blob.append(key.salt());
    const QByteArray check = key.check();
    blob.append(check);
    QByteArray nonce(kNonceSize, Qt::Uninitialized);
    if (key.salt().size() != ProtectedKey::SaltSize || check.size() != ProtectedKey::CheckSize
        || !CryptoModule::randomBytes(nonce.data(), kNonceSize)) {
        wipe(plain);
        return {};
    }
    blob.append(nonce);
    Q_ASSERT(blob.size() == HeaderSize);
    blob.resize(HeaderSize + plain.size() + TagSize);

    auto *out = reinterpret_cast<unsigned char *>(blob.data());
    // The whole header, nonce included, is authenticated with the note.
    const bool sealed = CryptoModule::aes256GcmSeal(
        key.bytes(), out + kNonceOffset, out, HeaderSize, plain.constData(),
        std::size_t(plain.size()), out + HeaderSize, out + HeaderSize + plain.size());
    wipe(plain);
    return sealed ? blob : QByteArray();
}

ProtectedNoteBlob::Result ProtectedNoteBlob::open(const QByteArray &blob, const ProtectedKey &key)
{
    const std::optional<Header> h = header(blob);
    if (!h)
        return {};
    if (h->cost != key.cost() || h->salt != key.salt() || h->check != key.check())
        return {Opened::WrongKey, {}};

    const qsizetype cipherSize = blob.size() - HeaderSize - TagSize;
    QByteArray plain(cipherSize, Qt::Uninitialized);
    const unsigned char *in = bytesOf(blob);
    const bool opened = CryptoModule::aes256GcmOpen(key.bytes(), in + kNonceOffset, in, HeaderSize,
                                                    in + HeaderSize, std::size_t(cipherSize),
                                                    in + HeaderSize + cipherSize, plain.data());
    if (!opened) {
        wipe(plain);
        return {};
    }
    QByteArray archived = QOR_DataUtils::decompressedData(plain);
    wipe(plain);
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(archived);
    wipe(archived);
    if (!decoded.error.isEmpty() || decoded.value.typeId() != QMetaType::QVariantMap)
        return {};
    return {Opened::Note, decoded.value.toMap()};
}
