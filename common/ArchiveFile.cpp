#include "ArchiveFile.h"

#include "AtomicFile.h"
#include "KorvaleArchive.h"
#include "KorvaleLog.h"

#include <QFile>

namespace {

struct RawRead {
    QByteArray bytes;
    bool exists = false;
};

RawRead readBytes(const QString &path)
{
    RawRead raw;
    QFile file(path);
    if (!file.exists())
        return raw;
    raw.exists = true;
    if (file.open(QIODevice::ReadOnly))
        raw.bytes = file.readAll();
    return raw;
}

void reportDamaged(const QString &path, const QString &name, const QString &reason)
{
    const QString aside = AtomicFile::keepAside(path);
    const QString where = aside.isEmpty() ? QStringLiteral("; it could not be moved aside")
                                          : QStringLiteral("; kept aside as %1").arg(aside);
    KorvaleLog::line(QStringLiteral("Exception reading file %1: %2: %3%4").arg(path, name, reason, where));
}

// Decodes and checks the shape; a damaged file is reported and moved aside.
QVariant readShaped(const QString &path, QMetaType::Type shape)
{
    const RawRead raw = readBytes(path);
    if (raw.bytes.isEmpty())
        return {};
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(raw.bytes);
    if (!decoded.error.isEmpty()) {
        reportDamaged(path, QStringLiteral("ArchiveDecodeError"), decoded.error);
        return {};
    }
    if (decoded.value.typeId() != shape) {
        reportDamaged(path, QStringLiteral("ArchiveShapeError"),
                      shape == QMetaType::QVariantList ? QStringLiteral("the archive does not hold a list")
                                                       : QStringLiteral("the archive does not hold a dictionary"));
        return {};
    }
    return decoded.value;
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
    QFile file(path);
    if (!file.exists())
        return content;
    if (!file.open(QIODevice::ReadOnly)) {
        content.error = file.errorString();
        return content;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return content;
    KorvaleArchive::Decoded decoded = KorvaleArchive::decode(bytes);
    content.value = decoded.value;
    content.error = decoded.error;
    return content;
}

bool ArchiveFile::write(const QString &path, const QVariant &value)
{
    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(value);
    QString why = encoded.error;
    if (why.isEmpty() && AtomicFile::write(path, encoded.bytes, &why))
        return true;
    KorvaleLog::line(QStringLiteral("Unable saving data in file %1: %2").arg(path, why));
    return false;
}
