#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

// What the item editor sheet shows and gives back for an application or file record.
struct ItemEditorFields {
    QString title;
    QString abbreviation; // "A"
    QString keywords; // "K"
    QString text; // "t"
    bool hideOthers = false; // "H"

    bool operator==(const ItemEditorFields &) const = default;
};

class ItemEditing
{
public:
    ItemEditing() = delete;

    // "T", or when there is none the last component of "P" without its extension.
    static QString initialTitle(const QVariantMap &record);
    static ItemEditorFields fieldsFor(const QVariantMap &record);

    // The record with the sheet's fields: the title only when it could be edited; the
    // abbreviation, keywords and text as they stand, empty ones included; "H" as 0 or 1.
    static QVariantMap applyFields(QVariantMap record, const ItemEditorFields &fields,
                                   bool titleEditable);

    // The applications found are kept by title, ignoring case, a record without title first.
    static void sortApplications(QVariantList &applications);

    // Removes the records at the selected rows, each once, from the highest down so that the
    // others keep their place; rows outside the list are ignored.
    static void removeRows(QVariantList &list, QList<int> rows);
};
