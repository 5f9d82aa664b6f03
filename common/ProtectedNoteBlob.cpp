#include "ProtectedNoteBlob.h"

#include "KorvaleArchive.h"
#include "QOR_DataUtils.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

namespace {

constexpr char kMagic[4] = {'K', 'R', 'V', 'P'};
constexpr char kVersion = 2;
constexpr char kScrypt = 1;
constexpr int kNonceSize = 12;
constexpr int kNonceOffset = ProtectedNoteBlob::HeaderSize - kNonceSize;

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

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
        OPENSSL_cleanse(bytes.data(), std::size_t(bytes.size()));
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
    blob.append(key.check());
    QByteArray nonce(kNonceSize, Qt::Uninitialized);
    if (key.salt().size() != ProtectedKey::SaltSize
        || RAND_bytes(reinterpret_cast<unsigned char *>(nonce.data()), kNonceSize) != 1) {
        wipe(plain);
        return {};
    }
    blob.append(nonce);
    Q_ASSERT(blob.size() == HeaderSize);
    blob.resize(HeaderSize + plain.size() + TagSize);

    CipherContext ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    auto *out = reinterpret_cast<unsigned char *>(blob.data());
    int produced = 0;
    int last = 0;
    const bool sealed = ctx && EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1
        && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceSize, nullptr) == 1
        && EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, key.bytes(), out + kNonceOffset) == 1
        && EVP_EncryptUpdate(ctx.get(), nullptr, &produced, out, HeaderSize) == 1
        && EVP_EncryptUpdate(ctx.get(), out + HeaderSize, &produced, bytesOf(plain), int(plain.size())) == 1
        && EVP_EncryptFinal_ex(ctx.get(), out + HeaderSize + produced, &last) == 1
        && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, TagSize, out + HeaderSize + plain.size()) == 1;
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
    QByteArray tag = blob.right(TagSize);
    CipherContext ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    int produced = 0;
    int last = 0;
    auto *out = reinterpret_cast<unsigned char *>(plain.data());
    const bool opened = ctx && EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1
        && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceSize, nullptr) == 1
        && EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, key.bytes(), in + kNonceOffset) == 1
        && EVP_DecryptUpdate(ctx.get(), nullptr, &produced, in, HeaderSize) == 1
        && EVP_DecryptUpdate(ctx.get(), out, &produced, in + HeaderSize, int(cipherSize)) == 1
        && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, TagSize, tag.data()) == 1
        && EVP_DecryptFinal_ex(ctx.get(), out + produced, &last) == 1;
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
