#include "ItemRowDelegate.h"

#include "ItemRecord.h"
#include "KeyMap.h"
#include "QOR_StringUtils.h"
#include "RecordListModel.h"
#include "ShortcutCaptureSheet.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>

#include <algorithm>

using namespace ItemRecord;

namespace {

QVariantMap &documentsIndexStatus()
{
    static QVariantMap status;
    return status;
}

} // namespace

QList<ItemRowDelegate::Piece> ItemRowDelegate::annotations(const QVariantMap &record)
{
    QList<Piece> pieces;
    const QString abbreviation = record.value(KeyAbbreviation).toString();
    if (!abbreviation.isEmpty())
        pieces.append({QStringLiteral("  <%1>").arg(abbreviation), Line::Title});
    const QString keywords = record.value(KeyKeywords).toString();
    if (!keywords.isEmpty())
        pieces.append({QStringLiteral("  ") + keywords, Line::Title});

    const QString path = record.value(KeyPath).toString();
    if (!path.isEmpty())
        pieces.append({placeOf(path), Line::Detail});
    if (record.value(QStringLiteral("F")).toInt() != 0) {
        pieces.append(
            {QStringLiteral("  ")
                 + QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FilesScanFolder")),
             Line::Detail});
        const QString note = documentsIndexNote(path);
        if (!note.isEmpty())
            pieces.append({QLatin1Char(' ') + note, Line::Detail});
    }
    const QString comment = record.value(KeyText).toString();
    if (!comment.isEmpty())
        pieces.append({QStringLiteral("  ") + comment.simplified(), Line::Detail});
    return pieces;
}

QString ItemRowDelegate::placeOf(const QString &path)
{
    QString trimmed = QDir::cleanPath(path);
    const QString folder = QFileInfo(trimmed).path();
    const QString home = QDir::cleanPath(QDir::homePath());
    if (home.size() > 1 && (folder == home || folder.startsWith(home + QLatin1Char('/'))))
        return QLatin1Char('~') + folder.mid(home.size());
    return folder;
}

QColor ItemRowDelegate::secondaryColour(const QPalette &palette, bool selected)
{
    if (selected) {
        QColor colour = palette.color(QPalette::HighlightedText);
        colour.setAlphaF(0.8f);
        return colour;
    }
    return palette.color(QPalette::PlaceholderText);
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
        QString note =
            QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("FilesIndexedCount"))
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
    const QColor textColour =
        selected ? option.palette.highlightedText().color() : option.palette.text().color();
    const QColor quiet = secondaryColour(option.palette, selected);
    // Everything right of the icon: the style sizes its text rectangle for the (cleared) text.
    QRect text = option.rect.adjusted(4, 0, -2, 0);
    if (base.features & QStyleOptionViewItem::HasDecoration)
        text.setLeft(
            style->subElementRect(QStyle::SE_ItemViewItemDecoration, &base, base.widget).right()
            + 5);
    painter->save();
    const QFont titleFont = option.font;
    QFont small = option.font;
    small.setPointSizeF(option.font.pointSizeF() > 0 ? option.font.pointSizeF() * 0.9 : 9);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics smallMetrics(small);

    const QIcon trailing = index.data(RecordListModel::TrailingIconRole).value<QIcon>();
    const int trailingWidth = trailing.isNull() ? 0 : TrailingIconSize + 6;
    if (!trailing.isNull())
        trailing.paint(painter,
                       QRect(text.right() - TrailingIconSize - 2,
                             text.center().y() - TrailingIconSize / 2, TrailingIconSize,
                             TrailingIconSize));
    const QString shortcut = shortcutText(record);
    const int shortcutWidth =
        trailingWidth + (shortcut.isEmpty() ? 0 : smallMetrics.horizontalAdvance(shortcut) + 8);

    const QList<Piece> pieces = annotations(record);
    const bool twoLines = std::any_of(pieces.begin(), pieces.end(),
                                      [](const Piece &p) { return p.line == Line::Detail; });
    const int block = titleMetrics.height() + (twoLines ? smallMetrics.height() : 0);
    const int top = text.top() + (text.height() - block) / 2;
    QRect titleRoom(text.left() + 2, top, text.width() - 2 - shortcutWidth, titleMetrics.height());
    QRect detailRoom(titleRoom.left(), top + titleMetrics.height(), titleRoom.width(),
                     smallMetrics.height());

    const QString title = index.data(Qt::DisplayRole).toString();
    painter->setFont(titleFont);
    painter->setPen(textColour);
    const QString shownTitle = titleMetrics.elidedText(title, Qt::ElideRight, titleRoom.width());
    painter->drawText(titleRoom, Qt::AlignVCenter | Qt::AlignLeft, shownTitle);
    titleRoom.setLeft(titleRoom.left() + titleMetrics.horizontalAdvance(shownTitle));

    painter->setFont(small);
    for (const Piece &piece : pieces) {
        QRect &room = piece.line == Line::Title ? titleRoom : detailRoom;
        if (room.width() <= 0)
            continue;
        painter->setPen(quiet);
        const QString shown = smallMetrics.elidedText(piece.text, Qt::ElideRight, room.width());
        painter->drawText(room, Qt::AlignVCenter | Qt::AlignLeft, shown);
        room.setLeft(room.left() + smallMetrics.horizontalAdvance(shown));
    }
    if (!shortcut.isEmpty()) {
        painter->setPen(quiet);
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
