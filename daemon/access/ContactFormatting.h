#pragma once

#include <QColor>
#include <QString>

class QTextDocument;

// How the preview draws a contact's card text: "label<tab>value" lines with a grey label and a
// dark blue value, e-mail addresses as mailto: links; every other text is plain black.
class ContactFormatting
{
public:
    ContactFormatting() = delete;

    static inline const QColor LabelColor = QColor(128, 128, 128);
    static inline const QColor ValueColor = QColor(0, 0, 153);
    static inline const QColor TextColor = Qt::black;

    // Replaces the document's contents. The plain text keeps the length of `text` (the tab
    // after a label becomes one space), so ranges found in `text` hold in the document.
    static void fillDocument(QTextDocument &document, const QString &text);
    static void fillPlainDocument(QTextDocument &document, const QString &text);

    // The address of a line's value, as its link will carry it; empty without an "@".
    static QString mailtoTarget(const QString &value);
};
