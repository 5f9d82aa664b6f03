#include "ItemClipboardCell.h"

#include "ClipboardList.h"
#include "ClipboardView.h"
#include "ItemRecord.h"
#include "QOR_StringUtils.h"
#include "RecordListModel.h"

#include <QApplication>
#include <QPainter>

using namespace ItemRecord;

ItemClipboardCell::Drawn ItemClipboardCell::setClipboard(const QVariantMap &entry)
{
    Drawn drawn;
    drawn.title = entry.value(KeyTitle).toString();
    if (drawn.title.isEmpty())
        drawn.title = QStringLiteral("---");
    const ClipboardView::Shown shown =
        ClipboardView::describe(entry.value(KeyClipboardContents).toByteArray());
    drawn.image = shown.image;
    drawn.label = shown.label;
    drawn.detail = shown.messageKey.isEmpty()
        ? ClipboardList::oneLine(shown.text)
        : QOR_StringUtils::getLocalizedStringForKey(shown.messageKey);
    return drawn;
}

ItemClipboardCell::Drawn ItemClipboardCell::drawnFor(const QVariantMap &entry) const
{
    // Each paint of a row would unpack its contents and decode its picture again.
    const QByteArray key = entry.value(KeyClipboardContents).toByteArray() + '\0'
        + entry.value(KeyTitle).toString().toUtf8();
    if (const Drawn *cached = mDrawn.object(key))
        return *cached;
    const Drawn drawn = setClipboard(entry);
    mDrawn.insert(key, new Drawn(drawn));
    return drawn;
}

void ItemClipboardCell::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    QStyleOptionViewItem base = option;
    initStyleOption(&base, index);
    base.text.clear();
    base.icon = QIcon();
    QStyle *style = base.widget ? base.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &base, painter, base.widget);

    const Drawn drawn = drawnFor(index.data(RecordListModel::RecordRole).toMap());
    const bool selected = option.state & QStyle::State_Selected;
    const QColor grey = selected ? option.palette.highlightedText().color() : QColor(Qt::gray);
    const QColor ink = selected ? option.palette.highlightedText().color() : QColor(Qt::black);
    const QRect row = option.rect;
    const QRect square(row.left() + 2, row.top(), int(row.height() * 1.2), row.height());

    painter->save();
    if (!drawn.image.isNull()) {
        QSize size = drawn.image.size().scaled(square.size() - QSize(4, 4), Qt::KeepAspectRatio);
        if (drawn.image.width() <= size.width() && drawn.image.height() <= size.height())
            size = drawn.image.size();
        QRect target(QPoint(0, 0), size);
        target.moveCenter(square.center());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, drawn.image);
    } else if (!drawn.label.isEmpty()) {
        QFont labelFont = option.font;
        labelFont.setPointSizeF(9);
        painter->setFont(labelFont);
        painter->setPen(grey);
        // The kind in words, on as many lines as the square holds.
        painter->drawText(square.adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextWordWrap,
                          drawn.label);
    }

    const QRect text = row.adjusted(square.width() + 8, 2, -4, -2);
    QFont titleFont = option.font;
    titleFont.setPointSizeF(13);
    QFont small = option.font;
    small.setPointSizeF(10);
    const QFontMetrics titleMetrics(titleFont);
    painter->setFont(titleFont);
    painter->setPen(ink);
    const QRect titleRect(text.left(), text.top(), text.width(), titleMetrics.height());
    painter->drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
                      titleMetrics.elidedText(drawn.title, Qt::ElideRight, text.width()));
    painter->setFont(small);
    painter->setPen(grey);
    const QRect detailRect(text.left(), titleRect.bottom(), text.width(),
                           text.bottom() - titleRect.bottom());
    painter->drawText(detailRect, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetrics(small).elidedText(drawn.detail, Qt::ElideRight, text.width()));
    painter->restore();
}

QSize ItemClipboardCell::sizeHint(const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    QFont titleFont = option.font;
    titleFont.setPointSizeF(13);
    QFont small = option.font;
    small.setPointSizeF(10);
    const int needed = QFontMetrics(titleFont).height() + QFontMetrics(small).height() + 6;
    size.setHeight(std::max({size.height(), RowHeight, needed}));
    return size;
}
