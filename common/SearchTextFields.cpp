#include "SearchTextFields.h"

#include "ItemRecord.h"

namespace SearchTextFields {
namespace {

void appendField(QString &text, const QString &field)
{
    if (field.isEmpty())
        return;
    text += QLatin1Char(' ');
    text += field;
}

} // namespace

QString lastPathElement(const QString &path)
{
    qsizetype end = path.size();
    if (end == 0)
        return {};
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    if (end == 1 && path.at(0) == QLatin1Char('/'))
        return QStringLiteral("/");
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

QString withoutExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return name;
    return name.left(dot);
}

namespace {

// The file name of a path or address field, without extension; empty when there is none.
QString nameIn(const QVariantMap &record, const QString &key)
{
    return withoutExtension(lastPathElement(ItemRecord::string(record, key)));
}

} // namespace

QString forAgentSearch(const QVariantMap &record)
{
    using namespace ItemRecord;
    QString text = string(record, KeyTitle);
    appendField(text, string(record, KeyKeywords));
    appendField(text, string(record, KeyText));
    appendField(text, nameIn(record, KeyPath));
    appendField(text, nameIn(record, KeyAddress));
    qsizetype leading = 0;
    while (leading < text.size() && text.at(leading) == QLatin1Char(' '))
        ++leading;
    return leading == 0 ? text : text.mid(leading);
}

QString lastAgentSearchName(const QVariantMap &record)
{
    const QString address = nameIn(record, ItemRecord::KeyAddress);
    return address.isEmpty() ? nameIn(record, ItemRecord::KeyPath) : address;
}

QString forManagerFilter(const QVariantMap &record)
{
    using namespace ItemRecord;
    QString text = string(record, KeyTitle);
    appendField(text, string(record, KeyKeywords));
    appendField(text, string(record, KeyText));
    appendField(text, string(record, KeyPath));
    appendField(text, string(record, KeyAddress));
    return text;
}

} // namespace SearchTextFields
