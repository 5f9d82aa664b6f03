#include "NotesFile.h"

#include "ArchiveFile.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "CryptoModule.h"
#include "KorvaleArchive.h"
#include "KorvaleLog.h"
#include "NoteLists.h"
#include "ProtectedNoteBlob.h"
#include "SaveFailures.h"
#include "SaveLock.h"
#include "SecureMemory.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

QByteArray fileBytes(const QString &path, bool &readable)
{
    ArchiveFile::Raw raw = ArchiveFile::readBytes(path);
    readable = raw.error.isEmpty();
    return raw.bytes;
}

QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
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
    if (mAwaitedPassword)
        ProtectedKey::wipe(*mAwaitedPassword);
    mAwaitedPassword.reset();
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
        std::optional<QVariantList> list = ArchiveFile::decodeList(mPath, bytes);
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

bool NotesFile::hasPassword() const
{
    if (mKind != Kind::ProtectedNotes || !QFileInfo::exists(mPath))
        return false;
    bool readable = true;
    const QByteArray bytes = fileBytes(mPath, readable);
    if (!readable)
        return true;
    const std::optional<QVariantList> blobs = ArchiveFile::decodeList(mPath, bytes);
    return !blobs || !blobs->isEmpty();
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
    // Without the module every note would look like one of another password.
    if (!CryptoModule::isAvailable())
        return Status::Unavailable;

    bool readable = true;
    const QByteArray bytes = fileBytes(mPath, readable);
    std::optional<QVariantList> blobs = ArchiveFile::decodeList(mPath, bytes);
    if (!readable || !blobs) {
        KorvaleLog::line(
            QStringLiteral("Exception reading file %1: not a list of protected notes").arg(mPath));
        blobs = QVariantList();
        mKeepAsideBeforeSave = true;
        mDamaged = 1;
    }

    // The salts in the order they are derived: the one most notes carry first, so that a salt
    // damaged in one note can neither use up the derivations nor decide the verdict.
    struct Salt {
        QByteArray salt;
        ProtectedKey::Cost cost;
        int notes = 0;
    };
    std::vector<Salt> salts;
    for (const QVariant &element : std::as_const(*blobs)) {
        const std::optional<ProtectedNoteBlob::Header> header =
            ProtectedNoteBlob::header(element.toByteArray());
        if (!header)
            continue;
        auto known = std::find_if(salts.begin(), salts.end(), [&](const Salt &s) {
            return s.salt == header->salt && s.cost == header->cost;
        });
        if (known == salts.end())
            known = salts.insert(salts.end(), {header->salt, header->cost, 0});
        ++known->notes;
    }
    std::stable_sort(salts.begin(), salts.end(),
                     [](const Salt &a, const Salt &b) { return a.notes > b.notes; });
    std::vector<ProtectedKey> keys;
    for (const Salt &salt : salts) {
        if (int(keys.size()) == kMaxDerivations)
            break;
        if (std::optional<ProtectedKey> derived =
                ProtectedKey::derive(password, salt.salt, salt.cost))
            keys.push_back(*derived);
    }

    // A note that opens proves the password; one that does not is a wrong password only while
    // no note proved it, and a damaged note otherwise.
    int verifiedUnder = -1; // index of the key a note of the second format proved
    bool verified = false;
    int unopened = 0;
    quint32 code = 0;
    QString legacyPhrase;
    for (const QVariant &element : std::as_const(*blobs)) {
        const QByteArray blob = element.toByteArray();
        if (ProtectedNoteBlob::isSecondFormat(blob)) {
            const std::optional<ProtectedNoteBlob::Header> header = ProtectedNoteBlob::header(blob);
            const auto key = !header
                ? keys.end()
                : std::find_if(keys.begin(), keys.end(), [&](const ProtectedKey &k) {
                      return k.salt() == header->salt && k.cost() == header->cost;
                  });
            if (key == keys.end()) {
                ++mDamaged; // an unusable header, or a salt beyond the derivations allowed
                continue;
            }
            const ProtectedNoteBlob::Result opened = ProtectedNoteBlob::open(blob, *key);
            if (opened.status == ProtectedNoteBlob::Opened::WrongKey) {
                ++unopened;
                continue;
            }
            verified = true;
            if (verifiedUnder < 0)
                verifiedUnder = int(key - keys.begin());
            if (opened.status == ProtectedNoteBlob::Opened::Damaged)
                ++mDamaged;
            else
                notes.append(opened.note);
            continue;
        }
        mFirstFormat = true;
        if (legacyPhrase.isEmpty()) {
            code = CommonKorvaleClass::getPasswordCode(password);
            legacyPhrase = CommonKorvaleClass::createStringFromPassword(code);
            SecureMemory::wipe(&code, sizeof code);
        }
        const CommonKorvaleClass::FirstFormatNote opened =
            CommonKorvaleClass::noteForProtectedBlob(blob, legacyPhrase);
        if (opened.status == CommonKorvaleClass::FirstFormatBlob::NotOpened) {
            ++unopened;
            continue;
        }
        verified = true;
        // A record that decrypts but does not decode is kept with the file, not dropped.
        if (opened.status == CommonKorvaleClass::FirstFormatBlob::NotANote)
            ++mDamaged;
        else
            notes.append(opened.note);
    }
    ProtectedKey::wipe(legacyPhrase);
    if (unopened > 0 && !verified) {
        notes.clear();
        mDamaged = 0;
        mFirstFormat = false;
        mKeepAsideBeforeSave = false;
        return Status::WrongPassword;
    }
    mDamaged += unopened;

    if (verifiedUnder >= 0) {
        mKey = keys[std::size_t(verifiedUnder)];
    } else {
        // No note of the second format proved this password: the file takes it as its own at
        // the next save, which waits for the password a second time.
        mKey = ProtectedKey::derive(password, ProtectedKey::newSalt(), ProtectedKey::defaultCost());
        if (!mKey) {
            notes.clear();
            return Status::Locked;
        }
        mAwaitedPassword = mKey->passwordTag(password);
    }
    for (ProtectedKey &key : keys)
        key.wipe();
    // A blob that did not open is kept aside with the file rather than dropped by the next save.
    if (mDamaged > 0)
        mKeepAsideBeforeSave = true;
    // A file in the first format, or with several salts, has to be written again before it can
    // be merged with; an empty digest makes the next save do so.
    const bool oneKey = salts.size() <= 1 && !mFirstFormat;
    mBase = notes;
    mBaseDigest = oneKey ? digest(bytes) : QByteArray();
    return mDamaged > 0 ? Status::Damaged : Status::Ok;
}

bool NotesFile::confirmPassword(const QString &again)
{
    if (!mAwaitedPassword)
        return mKey.has_value();
    QByteArray tag = mKey ? mKey->passwordTag(again) : QByteArray();
    const bool same = !tag.isEmpty() && tag.size() == mAwaitedPassword->size()
        && SecureMemory::equal(tag.constData(), mAwaitedPassword->constData(),
                               std::size_t(tag.size()));
    ProtectedKey::wipe(tag);
    if (!same) {
        lock();
        return false;
    }
    ProtectedKey::wipe(*mAwaitedPassword);
    mAwaitedPassword.reset();
    return true;
}

std::optional<QVariantList> NotesFile::decodeWithKey(const QByteArray &bytes) const
{
    const std::optional<QVariantList> blobs = ArchiveFile::decodeList(mPath, bytes);
    if (!blobs || !mKey)
        return std::nullopt;
    QVariantList notes;
    for (const QVariant &element : *blobs) {
        const ProtectedNoteBlob::Result opened =
            ProtectedNoteBlob::open(element.toByteArray(), *mKey);
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
    mKeptAside.clear();
    mFailure = {};
    if (mKind == Kind::ProtectedNotes && !mKey)
        return Status::Locked;
    if (mAwaitedPassword)
        return Status::Unconfirmed;
    auto notSaved = [this](const SaveFailure &failure) {
        mFailure = failure;
        SaveFailures::report(mPath, failure);
        return Status::NotSaved;
    };

    // From the read to the rename: another program's save between them would be lost.
    const SaveLock saveLock(mPath);
    if (!saveLock.held())
        return notSaved(SaveFailure::fromErrno(saveLock.errorNumber()));
    if (const QFileInfo there(mPath); there.exists() && !there.isFile())
        return notSaved(SaveFailure::notAFile(mPath));

    bool readable = true;
    const QByteArray current = fileBytes(mPath, readable);
    QVariantList merged = notes;
    if (readable && !mKeepAsideBeforeSave && digest(current) != mBaseDigest) {
        std::optional<QVariantList> theirs;
        if (mKind == Kind::Notes)
            theirs = KorvaleArchive::decodeList(current);
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
        return notSaved(SaveFailure::fromErrno(0, QStringLiteral("a note could not be sealed")));
    // The old file stays whole beside the new one: notes that did not open, and a file of the
    // first format, whose 32-bit code may have let a mistyped password re-key every note.
    if ((mKeepAsideBeforeSave || mFirstFormat) && QFileInfo::exists(mPath)) {
        const QString aside = AtomicFile::keepCopyAside(
            mPath,
            mKeepAsideBeforeSave ? QStringLiteral("damaged") : QStringLiteral("first-format"));
        if (aside.isEmpty())
            return notSaved(SaveFailure::fromErrno(
                errno, QStringLiteral("the previous file could not be kept aside")));
        KorvaleLog::line(
            mKeepAsideBeforeSave
                ? QStringLiteral("%1 could not be read whole; kept aside as %2").arg(mPath, aside)
                : QStringLiteral("%1 is rewritten in the second format; the first is kept as %2")
                      .arg(mPath, aside));
        mKeptAside = aside;
    }
    QString error;
    int code = 0;
    if (!AtomicFile::write(mPath, bytes, &error, &code))
        return notSaved(code == EEXIST || code == EISDIR ? SaveFailure::notAFile(mPath)
                                                         : SaveFailure::fromErrno(code, error));
    SaveFailures::saved(mPath);
    mKeepAsideBeforeSave = false;
    mFirstFormat = false;
    mDamaged = 0;
    mBase = merged;
    mBaseDigest = digest(bytes);
    notes = merged;
    return Status::Ok;
}
