#pragma once

#include <QStyledItemDelegate>

// A row of the applications or files table: icon, title, then in small type the abbreviation
// (red), the parent folder (blue), the keywords (red) and the comment (grey), and the shortcut's
// keys at the right end. A folder whose contents are included says so first.
class ItemRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int RowHeight = 22;
    // The activity picture at the right end of an application's row.
    static constexpr int TrailingIconSize = 16;

    // The pieces drawn after the title, in order, with their colours; for the tests.
    struct Piece {
        QString text;
        QColor colour;
    };
    static QList<Piece> annotations(const QVariantMap &record);

    // What the agent says of its index of the included folders (the "documents" map of its
    // status): each included folder's row shows it after the "included" mark.
    static void setDocumentsIndexStatus(const QVariantMap &status);
    static QString documentsIndexNote(const QString &folder);
    // "[Ctrl+Alt+K]", or empty without a shortcut.
    static QString shortcutText(const QVariantMap &record);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
