#include "ArchiveFile.h"

#include "AtomicFile.h"
#include "KorvaleArchive.h"
#include "KorvaleLog.h"

#include <QFile>
#include <QFileInfo>

namespace {

struct RawRead {
    QByteArray bytes;
    QString error; // why a file that exists could not be read
};

RawRead readBytes(const QString &path)
{
    RawRead raw;
    // False for a dangling link too: a file yet to be made.
    if (!QFileInfo::exists(path))
        return raw;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        raw.error = file.errorString();
        return raw;
    }
    raw.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        raw.error = file.errorString();
    return raw;
}

bool isFolder(const QString &path)
{
    return QFileInfo(path).isDir();
}

void reportUnreadable(const QString &path, const QString &name, const QString &reason)
{
    // A folder in a data file's place holds no list, and no save can replace it.
    if (isFolder(path)) {
        KorvaleLog::line(QStringLiteral("Exception reading file %1: %2: %3").arg(path, name, reason));
        return;
    }
    const QString aside = AtomicFile::keepAside(path);
    const QString where = aside.isEmpty() ? QStringLiteral("; it could not be moved aside")
                                          : QStringLiteral("; kept aside as %1").arg(aside);
    KorvaleLog::line(QStringLiteral("Exception reading file %1: %2: %3%4").arg(path, name, reason, where));
}

// Decodes and checks the shape. A file that cannot be opened, read or decoded reads as empty and
// is moved aside, so that the save that follows an empty read cannot destroy what it held.
QVariant readShaped(const QString &path, QMetaType::Type shape)
{
    const RawRead raw = readBytes(path);
    if (!raw.error.isEmpty()) {
        reportUnreadable(path, QStringLiteral("FileReadError"), raw.error);
        return {};
    }
    if (raw.bytes.isEmpty())
        return {};
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(raw.bytes);
    if (!decoded.error.isEmpty()) {
        reportUnreadable(path, QStringLiteral("ArchiveDecodeError"), decoded.error);
        return {};
    }
    if (decoded.value.typeId() != shape) {
        reportUnreadable(path, QStringLiteral("ArchiveShapeError"),
                         shape == QMetaType::QVariantList ? QStringLiteral("the archive does not hold a list")
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
    if (!QFileInfo::exists(file.fileName()) || isFolder(file.fileName()) || file.open(QIODevice::ReadOnly))
        return true;
    const QString error = file.errorString();
    const QString aside = AtomicFile::keepAside(path);
    if (aside.isEmpty()) {
        why = QStringLiteral("the file there cannot be read (%1) nor moved aside, so it is left as it is")
                  .arg(error);
        return false;
    }
    KorvaleLog::line(QStringLiteral("Exception reading file %1: FileReadError: %2; kept aside as %3")
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
    const RawRead raw = readBytes(path);
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

bool ArchiveFile::write(const QString &path, const QVariant &value)
{
    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(value);
    QString why = encoded.error;
    if (why.isEmpty() && protectUnreadable(path, why) && AtomicFile::write(path, encoded.bytes, &why))
        return true;
    KorvaleLog::line(QStringLiteral("Unable saving data in file %1: %2").arg(path, why));
    return false;
}
