#include "ItemRowDelegate.h"

#include "ItemRecord.h"
#include "KeyMap.h"
#include "QOR_StringUtils.h"
#include "RecordListModel.h"
#include "ShortcutCaptureSheet.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>

using namespace ItemRecord;

namespace {

const QColor Red(200, 30, 30);
const QColor Blue(30, 60, 200);
const QColor DarkGrey(90, 90, 90);

QVariantMap &documentsIndexStatus()
{
    static QVariantMap status;
    return status;
}

} // namespace

QList<ItemRowDelegate::Piece> ItemRowDelegate::annotations(const QVariantMap &record)
{
    QList<Piece> pieces;
    if (record.value(QStringLiteral("F")).toInt() != 0)
        pieces.append(
            {QLatin1Char(' ')
                 + QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FilesScanFolder")),
             Red});
    if (record.value(QStringLiteral("F")).toInt() != 0) {
        const QString note = documentsIndexNote(record.value(KeyPath).toString());
        if (!note.isEmpty())
            pieces.append({QLatin1Char(' ') + note, DarkGrey});
    }
    const QString abbreviation = record.value(KeyAbbreviation).toString();
    if (!abbreviation.isEmpty())
        pieces.append({QStringLiteral(" <%1>").arg(abbreviation), Red});
    const QString path = record.value(KeyPath).toString();
    if (!path.isEmpty())
        pieces.append({QLatin1Char(' ') + QFileInfo(QFileInfo(path).path()).fileName(), Blue});
    const QString keywords = record.value(KeyKeywords).toString();
    if (!keywords.isEmpty())
        pieces.append({QLatin1Char(' ') + keywords, Red});
    const QString comment = record.value(KeyText).toString();
    if (!comment.isEmpty())
        pieces.append({QLatin1Char(' ') + comment.simplified(), DarkGrey});
    return pieces;
}

void ItemRowDelegate::setDocumentsIndexStatus(const QVariantMap &status)
{
    documentsIndexStatus() = status;
}

QString ItemRowDelegate::documentsIndexNote(const QString &folder)
{
    const QVariantMap &status = documentsIndexStatus();
    if (status.isEmpty())
        return {};
    const QLocale locale;
    // The first index gives no count per folder until it ends: its running total is shown.
    if (status.value(QStringLiteral("indexing")).toBool()
        && !status.value(QStringLiteral("indexed")).toBool())
        return QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FilesIndexing"))
            .arg(locale.toString(status.value(QStringLiteral("progress")).toInt()));
    for (const QVariant &item : status.value(QStringLiteral("folders")).toList()) {
        const QVariantMap report = item.toMap();
        if (report.value(KeyPath).toString() != folder)
            continue;
        QString note = QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FilesIndexedCount"))
                           .arg(locale.toString(report.value(QStringLiteral("entries")).toInt()));
        const QString cut = report.value(QStringLiteral("cut")).toString();
        if (!cut.isEmpty())
            note += QStringLiteral(" (%1)").arg(cut);
        return note;
    }
    return {};
}

QString ItemRowDelegate::shortcutText(const QVariantMap &record)
{
    const std::optional<KeyMap> map = KeyMap::fromData(record.value(KeyShortcut).toByteArray());
    if (!map || map->isEmpty())
        return {};
    return QStringLiteral("[%1]").arg(ShortcutCaptureSheet::keyNames(*map));
}

void ItemRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    QStyleOptionViewItem base = option;
    initStyleOption(&base, index);
    base.text.clear();
    QStyle *style = base.widget ? base.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &base, painter, base.widget);

    const QVariantMap record = index.data(RecordListModel::RecordRole).toMap();
    const bool selected = option.state & QStyle::State_Selected;
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &base, base.widget);
    painter->save();
    QFont titleFont = option.font;
    QFont small = option.font;
    small.setPointSizeF(10);
    const QIcon trailing = index.data(RecordListModel::TrailingIconRole).value<QIcon>();
    const int trailingWidth = trailing.isNull() ? 0 : TrailingIconSize + 6;
    if (!trailing.isNull())
        trailing.paint(painter,
                       QRect(text.right() - TrailingIconSize - 2,
                             text.center().y() - TrailingIconSize / 2, TrailingIconSize,
                             TrailingIconSize));
    const QString shortcut = shortcutText(record);
    const int shortcutWidth = trailingWidth
        + (shortcut.isEmpty() ? 0 : QFontMetrics(small).horizontalAdvance(shortcut) + 8);
    QRect room = text.adjusted(2, 0, -shortcutWidth, 0);

    const QString title = index.data(Qt::DisplayRole).toString();
    painter->setFont(titleFont);
    painter->setPen(selected ? option.palette.highlightedText().color()
                             : option.palette.text().color());
    const QString shownTitle =
        QFontMetrics(titleFont).elidedText(title, Qt::ElideRight, room.width());
    painter->drawText(room, Qt::AlignVCenter | Qt::AlignLeft, shownTitle);
    room.setLeft(room.left() + QFontMetrics(titleFont).horizontalAdvance(shownTitle));

    painter->setFont(small);
    const QFontMetrics smallMetrics(small);
    for (const Piece &piece : annotations(record)) {
        if (room.width() <= 0)
            break;
        painter->setPen(selected ? option.palette.highlightedText().color() : piece.colour);
        const QString shown = smallMetrics.elidedText(piece.text, Qt::ElideRight, room.width());
        painter->drawText(room, Qt::AlignVCenter | Qt::AlignLeft, shown);
        room.setLeft(room.left() + smallMetrics.horizontalAdvance(shown));
    }
    if (!shortcut.isEmpty()) {
        painter->setPen(selected ? option.palette.highlightedText().color() : DarkGrey);
        painter->drawText(text.adjusted(0, 0, -4 - trailingWidth, 0),
                          Qt::AlignVCenter | Qt::AlignRight, shortcut);
    }
    painter->restore();
}

QSize ItemRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), RowHeight));
    return size;
}
