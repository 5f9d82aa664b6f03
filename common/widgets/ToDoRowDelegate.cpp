#include "ToDoRowDelegate.h"

#include "ItemRecord.h"
#include "PersonalDataIcons.h"
#include "QOR_DateUtils.h"
#include "QOR_StringUtils.h"
#include "ToDoItems.h"

#include <QApplication>
#include <QPainter>

ToDoRowDelegate::ToDoRowDelegate(int recordRole, bool timeAloneForToday,
                                 std::function<QDateTime()> now, QObject *parent)
    : QStyledItemDelegate(parent)
    , mRecordRole(recordRole)
    , mTimeAloneForToday(timeAloneForToday)
    , mNow(std::move(now))
{
}

QString ToDoRowDelegate::dueText(const QVariantMap &record, bool timeAloneForToday,
                                 const QDateTime &now)
{
    const std::optional<QDateTime> due = ToDoItems::dueDate(record);
    if (due && timeAloneForToday && QOR_DateUtils::sameDayDate2(*due, now))
        return QOR_StringUtils::getShortTime(*due);
    return QOR_StringUtils::getShortTimeDate(due.value_or(QDateTime()));
}

void ToDoRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    opt.icon = QIcon();
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const QVariantMap record = index.data(mRecordRole).toMap();
    const QDateTime now = mNow();
    const QString icon = PersonalDataIcons::toDoIconName(ToDoItems::isDone(record),
                                                         ToDoItems::isOverdue(record, now));
    const QRect area = opt.rect.adjusted(4, 0, -4, 0);
    const int side = std::min(16, area.height() - 2);
    const QRect iconRect(area.left(), area.top() + (area.height() - side) / 2, side, side);
    PersonalDataIcons::icon(icon).paint(painter, iconRect);

    const QString date = dueText(record, mTimeAloneForToday, now) + QStringLiteral(" - ");
    const QString title = record.value(ItemRecord::KeyTitle).toString();
    QRect textRect = area.adjusted(side + 6, 0, 0, 0);
    const QFontMetrics metrics(opt.font);
    const QString whole = metrics.elidedText(date + title, Qt::ElideMiddle, textRect.width());
    const bool selected = opt.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(opt.font);
    const int split = whole.startsWith(date) ? int(date.size()) : 0;
    painter->setPen(selected ? QColor(Qt::white) : QColor(0x55, 0x55, 0x55));
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, whole.left(split));
    textRect.setLeft(textRect.left() + metrics.horizontalAdvance(whole.left(split)));
    painter->setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, whole.mid(split));
    painter->restore();
}

QSize ToDoRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), 22));
    return size;
}
