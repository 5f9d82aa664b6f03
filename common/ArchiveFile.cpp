#include "ArchiveFile.h"

#include "AtomicFile.h"
#include "BoundedFile.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "KorvaleLog.h"
#include "SaveFailures.h"
#include "SaveLock.h"

#include <cerrno>

#include <QFile>
#include <QFileInfo>

namespace {

bool isNotRegular(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

} // namespace

qint64 ArchiveFile::sizeLimitFor(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (name == DataFileName::Clipboard)
        return BoundedFile::Limit::ClipboardList;
    if (name.endsWith(QLatin1String(".cbor")))
        return BoundedFile::Limit::Preferences;
    return BoundedFile::Limit::List;
}

ArchiveFile::Raw ArchiveFile::readBytes(const QString &path)
{
    Raw raw;
    const BoundedFile::Result read = BoundedFile::read(path, sizeLimitFor(path));
    switch (read.status) {
    case BoundedFile::Status::Read:
        raw.bytes = read.bytes;
        break;
    case BoundedFile::Status::Missing:
        break;
    case BoundedFile::Status::NotRegular:
        raw.notRegular = true;
        raw.errorName = QStringLiteral("NotRegularFile");
        raw.error = read.reason;
        break;
    case BoundedFile::Status::TooLarge:
        raw.errorName = QStringLiteral("FileTooLarge");
        raw.error = read.reason;
        break;
    case BoundedFile::Status::Failed:
        raw.errorName = QStringLiteral("FileReadError");
        raw.error = read.reason;
        break;
    }
    return raw;
}

std::optional<QVariantList> ArchiveFile::decodeList(const QString &path, const QByteArray &bytes)
{
    quint64 inFile = 0;
    std::optional<QVariantList> list =
        KorvaleArchive::decodeList(bytes, BoundedFile::Limit::ListRecords, &inFile);
    if (list && inFile > quint64(list->size())) {
        const QString kept = AtomicFile::keepCopyAside(path, QStringLiteral("cut"));
        KorvaleLog::line(QStringLiteral("Exception reading file %1: TooManyRecords: %2 records, "
                                        "the first %3 read; %4")
                             .arg(path)
                             .arg(inFile)
                             .arg(list->size())
                             .arg(kept.isEmpty()
                                      ? QStringLiteral("the whole file could not be kept aside")
                                      : QStringLiteral("the whole file is kept as %1").arg(kept)));
    }
    return list;
}

void ArchiveFile::reportUnreadable(const QString &path, const QString &name, const QString &reason)
{
    // A folder, FIFO or device in a data file's place holds no list, and no save replaces it.
    if (isNotRegular(path)) {
        KorvaleLog::line(QStringLiteral("Exception reading file %1: %2: %3; it is left as it is "
                                        "and nothing is saved in its place")
                             .arg(path, name, reason));
        return;
    }
    const QString aside = AtomicFile::keepAside(path);
    const QString where = aside.isEmpty() ? QStringLiteral("; it could not be moved aside")
                                          : QStringLiteral("; kept aside as %1").arg(aside);
    KorvaleLog::line(
        QStringLiteral("Exception reading file %1: %2: %3%4").arg(path, name, reason, where));
}

namespace {

using ArchiveFile::Raw;
using ArchiveFile::readBytes;
using ArchiveFile::reportUnreadable;

// Decodes and checks the shape. A file that cannot be opened, read or decoded reads as empty and
// is moved aside, so that the save that follows an empty read cannot destroy what it held.
QVariant readShaped(const QString &path, QMetaType::Type shape)
{
    const Raw raw = readBytes(path);
    if (!raw.error.isEmpty()) {
        reportUnreadable(path, raw.errorName, raw.error);
        return {};
    }
    if (raw.bytes.isEmpty())
        return {};
    if (shape == QMetaType::QVariantList) {
        if (std::optional<QVariantList> list = ArchiveFile::decodeList(path, raw.bytes))
            return *list;
    }
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(raw.bytes);
    if (!decoded.error.isEmpty()) {
        reportUnreadable(path, QStringLiteral("ArchiveDecodeError"), decoded.error);
        return {};
    }
    if (decoded.value.typeId() != shape) {
        reportUnreadable(path, QStringLiteral("ArchiveShapeError"),
                         shape == QMetaType::QVariantList
                             ? QStringLiteral("the archive does not hold a list")
                             : QStringLiteral("the archive does not hold a dictionary"));
        return {};
    }
    return decoded.value;
}

// A file that is there but cannot be read was never loaded by anyone, so replacing it would lose
// it: it goes aside first, and when it cannot, nothing is written.
bool protectUnreadable(const QString &path, QString &why)
{
    // Opening is enough: a save must not cost a read of the whole list.
    // A dangling link is a file yet to be made, not one that cannot be read.
    QFile file(AtomicFile::resolveLinks(path));
    if (!QFileInfo::exists(file.fileName()) || isNotRegular(file.fileName()))
        return true; // AtomicFile refuses to replace what is not a file
    if (file.open(QIODevice::ReadOnly))
        return true;
    const QString error = file.errorString();
    const QString aside = AtomicFile::keepAside(path);
    if (aside.isEmpty()) {
        why = QStringLiteral(
                  "the file there cannot be read (%1) nor moved aside, so it is left as it is")
                  .arg(error);
        return false;
    }
    KorvaleLog::line(
        QStringLiteral("Exception reading file %1: FileReadError: %2; kept aside as %3")
            .arg(path, error, aside));
    return true;
}

} // namespace

QVariantList ArchiveFile::readList(const QString &path)
{
    return readShaped(path, QMetaType::QVariantList).toList();
}

QVariantMap ArchiveFile::readDictionary(const QString &path)
{
    return readShaped(path, QMetaType::QVariantMap).toMap();
}

ArchiveFile::Content ArchiveFile::readAny(const QString &path)
{
    Content content;
    const Raw raw = readBytes(path);
    if (!raw.error.isEmpty()) {
        content.error = raw.error;
        return content;
    }
    if (raw.bytes.isEmpty())
        return content;
    KorvaleArchive::Decoded decoded = KorvaleArchive::decode(raw.bytes);
    content.value = decoded.value;
    content.error = decoded.error;
    return content;
}

bool ArchiveFile::write(const QString &path, const QVariant &value, SaveFailure *failure)
{
    SaveFailure failed;
    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(value);
    QString why = encoded.error;
    if (!why.isEmpty()) {
        failed = SaveFailure::fromErrno(0, why);
    } else if (const SaveLock lock(path); !lock.held()) {
        failed = SaveFailure::fromErrno(lock.errorNumber());
    } else if (!protectUnreadable(path, why)) {
        failed = SaveFailure::fromErrno(EACCES, why);
    } else {
        int code = 0;
        if (AtomicFile::write(path, encoded.bytes, &why, &code)) {
            SaveFailures::saved(path);
            return true;
        }
        failed = code == EEXIST || code == EISDIR ? SaveFailure::notAFile(path)
                                                  : SaveFailure::fromErrno(code, why);
    }
    SaveFailures::report(path, failed);
    if (failure)
        *failure = failed;
    return false;
}
