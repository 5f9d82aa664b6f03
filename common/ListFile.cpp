#include "ListFile.h"

#include "ArchiveFile.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "KorvaleLog.h"
#include "SaveFailures.h"
#include "SaveLock.h"

#include <QCryptographicHash>

#include <cerrno>
#include <optional>

namespace {

QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

ListFile::ListFile(const QString &fileName, ListMerge::Identity identity, Sort sort)
    : mName(fileName)
    , mIdentity(std::move(identity))
    , mSort(std::move(sort))
{
}

QString ListFile::path() const
{
    return mName.startsWith(QLatin1Char('/'))
        ? mName
        : CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(mName);
}

QVariantList ListFile::read()
{
    const QString where = path();
    const ArchiveFile::Raw current = ArchiveFile::readBytes(where);
    std::optional<QVariantList> list;
    if (current.error.isEmpty())
        list = ArchiveFile::decodeList(where, current.bytes);
    if (!list) {
        list = ArchiveFile::readList(where); // logs it and keeps it aside
        mBaseDigest = digest(ArchiveFile::readBytes(where).bytes);
    } else {
        mBaseDigest = digest(current.bytes);
    }
    mBase = *list;
    mKnown = true;
    return *list;
}

void ListFile::refresh(QVariantList &list)
{
    if (hasUnsavedChange())
        save(list);
    else
        list = read();
}

bool ListFile::changedOnDisk() const
{
    if (!mKnown)
        return true;
    const ArchiveFile::Raw current = ArchiveFile::readBytes(path());
    return !current.error.isEmpty() || digest(current.bytes) != mBaseDigest;
}

bool ListFile::save(QVariantList &list)
{
    const QString where = path();
    auto failed = [&](const SaveFailure &failure) {
        mFailure = failure;
        SaveFailures::report(where, failure);
        return false;
    };

    // From the read to the rename: another program's save between them would be lost.
    const SaveLock lock(where);
    if (!lock.held())
        return failed(SaveFailure::fromErrno(lock.errorNumber()));

    const ArchiveFile::Raw current = ArchiveFile::readBytes(where);
    if (current.notRegular)
        return failed(SaveFailure::notAFile(where));
    QVariantList merged = list;
    if (current.error.isEmpty() && (!mKnown || digest(current.bytes) != mBaseDigest)) {
        const std::optional<QVariantList> theirs = ArchiveFile::decodeList(where, current.bytes);
        if (theirs)
            merged = ListMerge::merge(mBase, list, *theirs, mIdentity);
        else
            ArchiveFile::readList(where); // what cannot be read goes aside, not under our list
    } else if (!current.error.isEmpty()) {
        ArchiveFile::reportUnreadable(where, current.errorName, current.error);
    }
    if (mSort)
        mSort(merged);

    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(merged);
    if (!encoded.error.isEmpty())
        return failed(SaveFailure::fromErrno(0, encoded.error));
    QString error;
    int code = 0;
    if (!AtomicFile::write(where, encoded.bytes, &error, &code))
        return failed(code == EEXIST || code == EISDIR ? SaveFailure::notAFile(where)
                                                       : SaveFailure::fromErrno(code, error));
    mBase = merged;
    mBaseDigest = digest(encoded.bytes);
    mKnown = true;
    mFailure = {};
    SaveFailures::saved(where);
    list = merged;
    return true;
}
