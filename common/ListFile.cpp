#include "ListFile.h"

#include "ArchiveFile.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "KorvaleLog.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

struct Bytes {
    QByteArray bytes;
    bool readable = true;
};

Bytes fileBytes(const QString &path)
{
    Bytes result;
    if (!QFileInfo::exists(path))
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.readable = false;
        return result;
    }
    result.bytes = file.readAll();
    result.readable = file.error() == QFileDevice::NoError;
    return result;
}

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
    const Bytes current = fileBytes(where);
    std::optional<QVariantList> list;
    if (current.readable)
        list = KorvaleArchive::decodeList(current.bytes);
    if (!list) {
        list = ArchiveFile::readList(where); // logs it and keeps it aside
        mBaseDigest = digest(fileBytes(where).bytes);
    } else {
        mBaseDigest = digest(current.bytes);
    }
    mBase = *list;
    mKnown = true;
    return *list;
}

bool ListFile::changedOnDisk() const
{
    if (!mKnown)
        return true;
    const Bytes current = fileBytes(path());
    return !current.readable || digest(current.bytes) != mBaseDigest;
}

bool ListFile::save(QVariantList &list)
{
    const QString where = path();
    const Bytes current = fileBytes(where);
    QVariantList merged = list;
    if (current.readable && (!mKnown || digest(current.bytes) != mBaseDigest)) {
        const std::optional<QVariantList> theirs = KorvaleArchive::decodeList(current.bytes);
        if (theirs)
            merged = ListMerge::merge(mBase, list, *theirs, mIdentity);
        else
            ArchiveFile::readList(where); // what cannot be read goes aside, not under our list
    } else if (!current.readable) {
        ArchiveFile::readList(where);
    }
    if (mSort)
        mSort(merged);

    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(merged);
    QString error = encoded.error;
    if (error.isEmpty() && AtomicFile::write(where, encoded.bytes, &error)) {
        mBase = merged;
        mBaseDigest = digest(encoded.bytes);
        mKnown = true;
        list = merged;
        return true;
    }
    KorvaleLog::line(QStringLiteral("Unable saving data in file %1: %2").arg(where, error));
    return false;
}
