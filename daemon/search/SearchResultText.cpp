#include "SearchResultText.h"

#include "ItemRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>

namespace {

// Appends the text in UTF-8 with tabs and line breaks made spaces: in UTF-8 those bytes only
// ever stand for themselves, so the bytes can be mended after encoding.
void appendField(QByteArray &out, QStringEncoder &encoder, const QString &text)
{
    const qsizetype start = out.size();
    out.resize(start + encoder.requiredSpace(text.size()));
    char *end = encoder.appendToBuffer(out.data() + start, text);
    out.truncate(end - out.constData());
    for (char *c = out.data() + start; c != end; ++c) {
        if (*c == '\t' || *c == '\n' || *c == '\r')
            *c = ' ';
    }
}

QString field(const QVariantMap &record, const QString &key)
{
    const auto it = record.constFind(key);
    return it == record.cend() ? QString() : it->toString();
}

} // namespace

QByteArray SearchResultText::lines(const FoundItems &items)
{
    QByteArray out;
    out.reserve(items.size() * 96);
    QStringEncoder encoder(QStringEncoder::Utf8);
    for (const FoundItem &item : items) {
        const QVariantMap record = item.record();
        out += QByteArray::number(ItemRecord::kind(record));
        out += '\t';
        appendField(out, encoder, field(record, ItemRecord::KeyTitle));
        out += '\t';
        const QString path = field(record, ItemRecord::KeyPath);
        appendField(out, encoder, path.isEmpty() ? field(record, ItemRecord::KeyAddress) : path);
        out += '\n';
    }
    return out;
}

QByteArray SearchResultText::json(const FoundItems &items)
{
    QJsonArray array;
    for (const FoundItem &item : items) {
        QJsonObject object;
        const QVariantMap record = item.record();
        object.insert(QStringLiteral("x"), ItemRecord::kind(record));
        for (const QString &key : {ItemRecord::KeyTitle, ItemRecord::KeyPath,
                                   ItemRecord::KeyAddress, ItemRecord::KeyText}) {
            if (record.contains(key))
                object.insert(key, record.value(key).toString());
        }
        object.insert(QStringLiteral("a"), item.abbreviationHit ? 1 : 0);
        object.insert(QStringLiteral("B"), item.beginsWith ? 1 : 0);
        object.insert(QStringLiteral("p"), item.priority);
        object.insert(QStringLiteral("L"), item.recentRank);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}
