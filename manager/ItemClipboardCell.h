#pragma once

#include <QCache>
#include <QImage>
#include <QStyledItemDelegate>
#include <QVariantMap>

// A row of the clipboard table: at the left the picture scaled to fit or the type's short label,
// then the title ("---" without one) and, under it in small grey type, the text or the message
// the preview would show instead.
class ItemClipboardCell : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int RowHeight = 40;

    struct Drawn {
        QImage image;
        QString label;
        QString title;
        QString detail;
    };
    // setClipboard: what a row draws for an entry.
    static Drawn setClipboard(const QVariantMap &entry);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    Drawn drawnFor(const QVariantMap &entry) const;
    // The rows of about three screens.
    mutable QCache<QByteArray, Drawn> mDrawn{100};
};
