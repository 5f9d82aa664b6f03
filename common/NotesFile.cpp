#include "NotesFile.h"

#include "ArchiveFile.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "KorvaleLog.h"
#include "NoteLists.h"
#include "ProtectedNoteBlob.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <vector>

namespace {

QByteArray fileBytes(const QString &path, bool &readable)
{
    readable = true;
    if (!QFileInfo::exists(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        readable = false;
        return {};
    }
    return file.readAll();
}

QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

std::optional<QVariantList> decodeList(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QVariantList();
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(bytes);
    if (!decoded.error.isEmpty() || decoded.value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    return decoded.value.toList();
}

// A file holds one salt; more than a few distinct ones is not something a writer makes.
constexpr int kMaxDerivations = 3;

} // namespace

NotesFile::NotesFile(Kind kind, QString path)
    : mKind(kind)
    , mPath(path.isEmpty() ? CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
                                 kind == Kind::Notes ? DataFileName::Notes : DataFileName::ProtectedNotes)
                           : std::move(path))
{
}

NotesFile::~NotesFile()
{
    lock();
}

void NotesFile::lock()
{
    if (mKey)
        mKey->wipe();
    mKey.reset();
    if (mKind == Kind::ProtectedNotes) {
        mBase.clear();
        mBaseDigest.clear();
    }
}

NotesFile::Status NotesFile::read(QVariantList &notes)
{
    if (mKind == Kind::ProtectedNotes && !mKey)
        return Status::Locked;
    bool readable = true;
    const QByteArray bytes = fileBytes(mPath, readable);
    if (mKind == Kind::Notes) {
        std::optional<QVariantList> list = decodeList(bytes);
        if (!readable || !list)
            list = ArchiveFile::readList(mPath); // logs it and keeps it aside
        notes = *list;
        mBase = notes;
        mBaseDigest = digest(bytes);
        return Status::Ok;
    }
    const std::optional<QVariantList> list = decodeWithKey(bytes);
    if (!list)
        return Status::Damaged;
    notes = *list;
    mBase = notes;
    mBaseDigest = digest(bytes);
    return Status::Ok;
}

NotesFile::Status NotesFile::unlock(const QString &password, QVariantList &notes)
{
    lock();
    notes.clear();
    mDamaged = 0;
    mFirstFormat = false;
    mKeepAsideBeforeSave = false;
    if (mKind != Kind::ProtectedNotes)
        return read(notes);
    if (password.isEmpty())
        return Status::Locked;

    bool readable = true;
    const QByteArray bytes = fileBytes(mPath, readable);
    std::optional<QVariantList> blobs = decodeList(bytes);
    if (!readable || !blobs) {
        KorvaleLog::line(QStringLiteral("Exception reading file %1: not a list of protected notes").arg(mPath));
        blobs = QVariantList();
        mKeepAsideBeforeSave = true;
        mDamaged = 1;
    }

    std::vector<ProtectedKey> keys; // one per salt met, derived once each
    bool verified = false;
    int firstFormatFailures = 0;
    QString legacyPhrase;
    for (const QVariant &element : std::as_const(*blobs)) {
        const QByteArray blob = element.toByteArray();
        if (ProtectedNoteBlob::isSecondFormat(blob)) {
            const std::optional<ProtectedNoteBlob::Header> header = ProtectedNoteBlob::header(blob);
            if (!header) {
                ++mDamaged;
                continue;
            }
            auto key = std::find_if(keys.begin(), keys.end(), [&](const ProtectedKey &k) {
                return k.salt() == header->salt && k.cost() == header->cost;
            });
            if (key == keys.end()) {
                std::optional<ProtectedKey> derived;
                if (int(keys.size()) < kMaxDerivations)
                    derived = ProtectedKey::derive(password, header->salt, header->cost);
                if (!derived) {
                    ++mDamaged;
                    continue;
                }
                keys.push_back(*derived);
                key = keys.end() - 1;
            }
            const ProtectedNoteBlob::Result opened = ProtectedNoteBlob::open(blob, *key);
            if (opened.status == ProtectedNoteBlob::Opened::WrongKey) {
                notes.clear();
                return Status::WrongPassword;
            }
            verified = true;
            if (opened.status == ProtectedNoteBlob::Opened::Damaged)
                ++mDamaged;
            else
                notes.append(opened.note);
            continue;
        }
        mFirstFormat = true;
        if (legacyPhrase.isEmpty())
            legacyPhrase = CommonKorvaleClass::createStringFromPassword(CommonKorvaleClass::getPasswordCode(password));
        const QVariant note = CommonKorvaleClass::noteForProtectedBlob(blob, legacyPhrase);
        if (!note.isValid())
            ++firstFormatFailures;
        else if (!note.toMap().isEmpty())
            notes.append(note);
    }
    // The first format cannot tell a wrong password from a damaged blob: only a blob of the
    // second format that opened proves the password right.
    if (firstFormatFailures > 0 && !verified) {
        notes.clear();
        mDamaged = 0;
        return Status::WrongPassword;
    }
    mDamaged += firstFormatFailures;

    if (!keys.empty()) {
        mKey = keys.front();
    } else {
        mKey = ProtectedKey::derive(password, ProtectedKey::newSalt(), ProtectedKey::defaultCost());
        if (!mKey) {
            notes.clear();
            return Status::Locked;
        }
    }
    for (ProtectedKey &key : keys)
        key.wipe();
    // A blob that did not open is kept aside with the file rather than dropped by the next save.
    if (mDamaged > 0)
        mKeepAsideBeforeSave = true;
    // A file in the first format, or with several salts, has to be written again before it can
    // be merged with; an empty digest makes the next save do so.
    const bool oneKey = keys.size() <= 1 && !mFirstFormat;
    mBase = notes;
    mBaseDigest = oneKey ? digest(bytes) : QByteArray();
    return mDamaged > 0 ? Status::Damaged : Status::Ok;
}

std::optional<QVariantList> NotesFile::decodeWithKey(const QByteArray &bytes) const
{
    const std::optional<QVariantList> blobs = decodeList(bytes);
    if (!blobs || !mKey)
        return std::nullopt;
    QVariantList notes;
    for (const QVariant &element : *blobs) {
        const ProtectedNoteBlob::Result opened = ProtectedNoteBlob::open(element.toByteArray(), *mKey);
        if (opened.status != ProtectedNoteBlob::Opened::Note)
            return std::nullopt;
        notes.append(opened.note);
    }
    return notes;
}

QByteArray NotesFile::encode(const QVariantList &notes, bool &ok) const
{
    ok = true;
    if (mKind == Kind::Notes) {
        const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(notes);
        ok = encoded.error.isEmpty();
        return encoded.bytes;
    }
    QVariantList blobs;
    blobs.reserve(notes.size());
    for (const QVariant &note : notes) {
        const QByteArray blob = ProtectedNoteBlob::seal(note.toMap(), *mKey);
        if (blob.isEmpty()) {
            ok = false; // never leave a note out: the whole save is refused instead
            return {};
        }
        blobs.append(blob);
    }
    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(blobs);
    ok = encoded.error.isEmpty();
    return encoded.bytes;
}

NotesFile::Status NotesFile::save(QVariantList &notes)
{
    if (mKind == Kind::ProtectedNotes && !mKey)
        return Status::Locked;

    bool readable = true;
    const QByteArray current = fileBytes(mPath, readable);
    QVariantList merged = notes;
    if (readable && !mKeepAsideBeforeSave && digest(current) != mBaseDigest) {
        std::optional<QVariantList> theirs;
        if (mKind == Kind::Notes)
            theirs = decodeList(current);
        else
            theirs = decodeWithKey(current);
        if (theirs) {
            merged = NoteLists::merge(mBase, notes, *theirs);
        } else if (!current.isEmpty() && mKind == Kind::ProtectedNotes && !mBaseDigest.isEmpty()) {
            // Written meanwhile under another key (another program unlocked an empty file or
            // one of the first format at the same time): kept whole beside ours.
            mKeepAsideBeforeSave = true;
        }
    }
    NoteLists::sortByTitle(merged);

    bool encoded = false;
    const QByteArray bytes = encode(merged, encoded);
    if (!encoded)
        return Status::NotSaved;
    if (mKeepAsideBeforeSave && QFileInfo::exists(mPath)) {
        const QString aside = AtomicFile::keepAside(mPath);
        if (aside.isEmpty())
            return Status::NotSaved;
        KorvaleLog::line(QStringLiteral("%1 could not be read whole; kept aside as %2").arg(mPath, aside));
    }
    QString error;
    if (!AtomicFile::write(mPath, bytes, &error)) {
        KorvaleLog::line(QStringLiteral("Unable saving data in file %1: %2").arg(mPath, error));
        return Status::NotSaved;
    }
    mKeepAsideBeforeSave = false;
    mFirstFormat = false;
    mDamaged = 0;
    mBase = merged;
    mBaseDigest = digest(bytes);
    notes = merged;
    return Status::Ok;
}
