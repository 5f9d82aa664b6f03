#pragma once

#include <QStyledItemDelegate>

// A row of the applications or files table: the icon; the title followed in small type by the
// abbreviation and the keywords; below it, quieter, the folder the item is in, whether a folder's
// contents are included, and the comment; the shortcut's keys at the right end. Nothing is red:
// red is kept for what is wrong.
class ItemRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int RowHeight = 36;
    // The activity picture at the right end of an application's row.
    static constexpr int TrailingIconSize = 16;

    // The pieces drawn after the title and on the second line, in order; for the tests.
    enum class Line { Title, Detail };
    struct Piece {
        QString text;
        Line line = Line::Title;
    };
    static QList<Piece> annotations(const QVariantMap &record);

    // What the agent says of its index of the included folders (the "documents" map of its
    // status): each included folder's row shows it after the "included" mark.
    static void setDocumentsIndexStatus(const QVariantMap &status);
    static QString documentsIndexNote(const QString &folder);
    // "[Ctrl+Alt+K]", or empty without a shortcut.
    static QString shortcutText(const QVariantMap &record);
    // The folder an item is in, the home folder as "~".
    static QString placeOf(const QString &path);
    // The colour of the quieter pieces: the palette's secondary text.
    static QColor secondaryColour(const QPalette &palette, bool selected);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
