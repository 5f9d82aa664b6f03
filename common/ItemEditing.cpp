#include "ItemEditing.h"

#include "ItemRecord.h"
#include "SearchTextFields.h"
#include "TextMatching.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

QString ItemEditing::initialTitle(const QVariantMap &record)
{
    const QString title = ItemRecord::string(record, ItemRecord::KeyTitle);
    if (!title.isEmpty())
        return title;
    return SearchTextFields::withoutExtension(
        SearchTextFields::lastPathElement(ItemRecord::string(record, ItemRecord::KeyPath)));
}

ItemEditorFields ItemEditing::fieldsFor(const QVariantMap &record)
{
    using namespace ItemRecord;
    return {initialTitle(record), string(record, KeyAbbreviation), string(record, KeyKeywords),
            string(record, KeyText), record.value(KeyHideOthers).toInt() != 0};
}

QVariantMap ItemEditing::applyFields(QVariantMap record, const ItemEditorFields &fields,
                                     bool titleEditable)
{
    using namespace ItemRecord;
    if (titleEditable)
        record.insert(KeyTitle, fields.title);
    // Empty strings are stored too: clearing a field must clear what the record held.
    record.insert(KeyAbbreviation, fields.abbreviation);
    record.insert(KeyKeywords, fields.keywords);
    record.insert(KeyText, fields.text);
    record.insert(KeyHideOthers, fields.hideOthers ? 1 : 0);
    return record;
}

void ItemEditing::sortApplications(QVariantList &applications)
{
    TextMatching::sortByTitle(applications, [](const QVariant &item) -> std::optional<QString> {
        const QVariantMap record = item.toMap();
        const auto title = record.constFind(ItemRecord::KeyTitle);
        if (title == record.constEnd())
            return std::nullopt;
        return title->toString();
    });
}

void ItemEditing::removeRows(QVariantList &list, QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : std::as_const(rows)) {
        if (row >= 0 && row < list.size())
            list.removeAt(row);
    }
}
