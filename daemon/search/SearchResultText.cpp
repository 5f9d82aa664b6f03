#include "SearchResultText.h"

#include "ItemRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

QString location(const QVariantMap &record)
{
    const QString path = record.value(ItemRecord::KeyPath).toString();
    return path.isEmpty() ? record.value(ItemRecord::KeyAddress).toString() : path;
}

} // namespace

QByteArray SearchResultText::lines(const FoundItems &items)
{
    QByteArray out;
    for (const FoundItem &item : items) {
        out += QByteArray::number(ItemRecord::kind(item.record));
        out += '\t';
        out += oneLine(item.record.value(ItemRecord::KeyTitle).toString()).toUtf8();
        out += '\t';
        out += oneLine(location(item.record)).toUtf8();
        out += '\n';
    }
    return out;
}

QByteArray SearchResultText::json(const FoundItems &items)
{
    QJsonArray array;
    for (const FoundItem &item : items) {
        QJsonObject object;
        object.insert(QStringLiteral("x"), ItemRecord::kind(item.record));
        for (const QString &key : {ItemRecord::KeyTitle, ItemRecord::KeyPath,
                                   ItemRecord::KeyAddress, ItemRecord::KeyText}) {
            if (item.record.contains(key))
                object.insert(key, item.record.value(key).toString());
        }
        object.insert(QStringLiteral("a"), item.abbreviationHit ? 1 : 0);
        object.insert(QStringLiteral("B"), item.beginsWith ? 1 : 0);
        object.insert(QStringLiteral("p"), item.priority);
        object.insert(QStringLiteral("L"), item.recentRank);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}
