#pragma once

#include "TextMatching.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

// What the preview window and the detail window show for one record.
struct SelectionPreviewContent {
    QString text; // the preview text (plain)
    bool isContact = false; // drawn with the contact formatting
    QString detailText; // detail window's text (contact phone)
    QImage image; // detail window's picture
    bool showEmailButton = false;
    // The parts of the text that the search reads, where the typed word may be highlighted;
    // empty when it reads all of it.
    QList<TextRange> searched;
};

// Builds the preview of a record by its kind. Main thread: the lookups below are plain
// functions set once by the agent.
class SelectionPreview
{
public:
    SelectionPreview() = delete;

    static SelectionPreviewContent build(const QVariantMap &record);
    static QString previewText(const QVariantMap &record); // = build(record).text

    // A path as the preview shows it: each component by its displayed name (a desktop entry by
    // its Name), the home folder as "~".
    static QString displayPath(const QString &path);
    // A path as it is on disk, the home folder as "~": what a person can type or look for.
    static QString filePath(const QString &path);

    // The contact's picture by its "UID". Until an address-book reader offers pictures the
    // default finds none.
    using ContactPictureLookup = std::function<QImage(const QString &uid)>;
    static void setContactPictureLookup(ContactPictureLookup lookup);

    // The agent's own entry for a stock title, whose figures are newer than a search result's.
    // Without one the record itself is shown.
    using StockRecordLookup = std::function<std::optional<QVariantMap>(const QString &title)>;
    static void setStockRecordLookup(StockRecordLookup lookup);

    // Pieces of the kind table, open for the tests and for the menus that show the same texts.
    static QString applicationText(const QVariantMap &record);
    static QString fileText(const QVariantMap &record);
    static QString bookmarkText(const QVariantMap &record);
    static QString noteText(const QVariantMap &record);
    static QString stockText(const QVariantMap &record);
    static QString contactText(const QVariantMap &record);
    // The first line of "Phone", the second when the first is empty; tabs as spaces.
    static QString contactDetail(const QVariantMap &record);
    static QString clipboardText(const QVariantMap &record, QImage *picture = nullptr);
};
