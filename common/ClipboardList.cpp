#include "ClipboardList.h"

#include "ClipboardSecret.h"
#include "ItemRecord.h"
#include "PasteboardContents.h"

#include <QTextDocumentFragment>

#include <algorithm>

using namespace ItemRecord;

QVariantMap ClipboardList::makeEntry(const QString &title, const QByteArray &packed)
{
    return {{KeyKind, int(KindClipboard)}, {KeyTitle, title}, {KeyClipboardContents, packed}};
}

void ClipboardList::sortList(QVariantList &list)
{
    std::stable_sort(list.begin(), list.end(), [](const QVariant &a, const QVariant &b) {
        const QVariantMap left = a.toMap();
        const QVariantMap right = b.toMap();
        const bool leftHas = left.contains(KeyTitle);
        const bool rightHas = right.contains(KeyTitle);
        if (!leftHas || !rightHas)
            return !leftHas && rightHas;
        return left.value(KeyTitle).toString().compare(right.value(KeyTitle).toString(),
                                                       Qt::CaseInsensitive)
            < 0;
    });
}

// A password manager's secret is never an entry (ClipboardSecret): neither added nor put in
// place of another.
bool ClipboardList::add(QVariantList &list, const QString &title, const QByteArray &packed)
{
    if (packed.isEmpty() || ClipboardSecret::isSecret(packed))
        return false;
    list.append(makeEntry(title, packed));
    sortList(list);
    return true;
}

bool ClipboardList::replace(QVariantList &list, const QVariantMap &original, const QString &title,
                            const QByteArray &packed)
{
    if (packed.isEmpty() || ClipboardSecret::isSecret(packed))
        return false;
    const qsizetype at = list.indexOf(QVariant(original));
    if (at >= 0)
        list.removeAt(at);
    return add(list, title, packed);
}

int ClipboardList::removeRecords(QVariantList &list, const QVariantList &records)
{
    int removed = 0;
    for (const QVariant &record : records) {
        if (list.removeOne(record))
            ++removed;
    }
    return removed;
}

QVariantList ClipboardList::recordsAt(const QVariantList &list, const QList<int> &positions)
{
    QVariantList records;
    for (int position : positions) {
        if (position >= 0 && position < list.size())
            records << list.at(position);
    }
    return records;
}

QString ClipboardList::plainText(const QVariantMap &contents)
{
    const QString key = QStringLiteral("string");
    const QString type = PasteboardContents::preferredType(contents);
    QString text = contents.value(type).toMap().value(key).toString();
    // Markup is no text to read: what a browser would show of it is.
    if (type == PasteboardContents::TypeHTML && !text.isEmpty())
        text = QTextDocumentFragment::fromHtml(text).toPlainText();
    if (text.isEmpty())
        text = contents.value(PasteboardContents::TypeString).toMap().value(key).toString();
    return text;
}

QString ClipboardList::textOf(const QVariantMap &entry)
{
    const std::optional<QVariantMap> contents =
        PasteboardContents::unpack(entry.value(KeyClipboardContents).toByteArray());
    if (!contents)
        return {};
    return oneLine(plainText(*contents));
}

QString ClipboardList::oneLine(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t')
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return text;
}
