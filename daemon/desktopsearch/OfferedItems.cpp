#include "OfferedItems.h"

#include "ItemRecord.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QMimeDatabase>

using namespace ItemRecord;

namespace {

// A line of a longer text, as a description shows it.
QString firstLine(const QString &text)
{
    const QString line = text.section(QLatin1Char('\n'), 0, 0).simplified();
    return line.size() > 120 ? line.left(119) + QChar(0x2026) : line;
}

} // namespace

bool OfferedItems::isOffered(const QVariantMap &record)
{
    switch (kind(record)) {
    case KindFile:
    case KindBookmark:
    case KindContact:
    case KindNote:
    case KindToDo:
    case KindClipboard:
    case KindPasteboardPath:
    case KindReminder:
        return true;
    default:
        return false;
    }
}

QString OfferedItems::idOf(const QVariantMap &record)
{
    // Not the text: a note keeps its id while it is edited.
    QByteArray identity = QByteArray::number(kind(record));
    for (const QString &key : {KeyTitle, KeyPath, KeyAddress, KeyUID, KeyDate})
        identity += '\n' + record.value(key).toString().toUtf8();
    return QStringLiteral("%1-%2")
        .arg(kind(record))
        .arg(QString::fromLatin1(
            QCryptographicHash::hash(identity, QCryptographicHash::Sha256).left(12).toHex()));
}

OfferedItems::Meta OfferedItems::metaOf(const QVariantMap &record)
{
    Meta meta;
    const QString path = string(record, KeyPath);
    meta.name = string(record, KeyTitle);
    if (meta.name.isEmpty())
        meta.name = QFileInfo(path).fileName();
    switch (kind(record)) {
    case KindFile:
    case KindPasteboardPath: {
        meta.description = path;
        // By the name only: the file is not read to describe it.
        const QMimeType type = QMimeDatabase().mimeTypeForFile(path,
                                                               record.value(KeyIsFolder).toInt()
                                                                   ? QMimeDatabase::MatchDefault
                                                                   : QMimeDatabase::MatchExtension);
        meta.iconName = type.isValid() ? type.iconName() : QStringLiteral("text-x-generic");
        break;
    }
    case KindBookmark:
        meta.description = string(record, KeyAddress);
        meta.iconName = QStringLiteral("text-html");
        break;
    case KindContact: {
        const QString phone = firstLine(string(record, KeyPhone));
        meta.description = phone.isEmpty() ? firstLine(string(record, KeyEmail)) : phone;
        meta.iconName = QStringLiteral("x-office-address-book");
        break;
    }
    case KindToDo:
    case KindReminder:
        meta.description = record.value(KeyDate).toDateTime().toString(Qt::ISODate);
        meta.iconName = QStringLiteral("appointment-soon");
        break;
    case KindClipboard:
        meta.description = firstLine(string(record, KeyText));
        meta.iconName = QStringLiteral("edit-paste");
        break;
    default:
        meta.description = firstLine(string(record, KeyText));
        meta.iconName = QStringLiteral("text-x-generic");
        break;
    }
    return meta;
}

QStringList OfferedItems::remember(const QList<QVariantMap> &records)
{
    QStringList ids;
    ids.reserve(records.size());
    for (const QVariantMap &record : records) {
        const QString id = idOf(record);
        if (!mRecords.contains(id))
            mOrder.append(id);
        mRecords.insert(id, record);
        ids.append(id);
    }
    while (mOrder.size() > kKept)
        mRecords.remove(mOrder.takeFirst());
    return ids;
}

std::optional<QVariantMap> OfferedItems::record(const QString &id) const
{
    const auto it = mRecords.constFind(id);
    if (it == mRecords.cend())
        return std::nullopt;
    return *it;
}
