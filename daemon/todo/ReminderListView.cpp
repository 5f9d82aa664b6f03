#include "ReminderListView.h"

#include "ItemRecord.h"
#include "PersonalDataIcons.h"
#include "QOR_StringUtils.h"
#include "ToDoItems.h"
#include "ToDoRowDelegate.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// A row: its mark, the title from here, the date at the right after a gap.
constexpr int RowTextIndent = 20;
constexpr int DateGap = 8;
constexpr int RowEndMargin = 6;
// Advances are rounded to pixels, and eliding measures the exact text: a row laid out to the
// pixel may still lose its last letters.
constexpr int RoundingSlack = 4;
} // namespace

using namespace ItemRecord;

ReminderListView::ReminderListView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("reminderList"));
}

void ReminderListView::setRemindersList(const QVariantList &list, const QDate &today)
{
    mList = list;
    mToday = today;
    updateGeometry();
    update();
}

int ReminderListView::heightFor(int count)
{
    return 2 * Margin + TitleHeight + RowHeight * std::max(1, count);
}

QString ReminderListView::rowText(const QVariantMap &record)
{
    return record.value(KeyTitle).toString();
}

QString ReminderListView::rowDate(const QVariantMap &record, const QDate &today)
{
    if (!ToDoItems::dueDate(record))
        return {};
    // The same words as the to-do lists': a time alone is today's.
    return ToDoRowDelegate::dueText(record, true, today.startOfDay());
}

QString ReminderListView::detailText(const QVariantMap &record)
{
    const std::optional<QDateTime> date = ToDoItems::dueDate(record);
    const QString title = record.value(KeyTitle).toString();
    if (!date)
        return title;
    return QStringLiteral("%1 - %2").arg(QOR_StringUtils::getShortTimeDate(*date), title);
}

std::optional<QColor> ReminderListView::rowColor(const QVariantMap &record, const QPalette &palette)
{
    if (!ToDoItems::dueDate(record))
        return PersonalDataIcons::reminderColor(record.value(KeyColor).toInt());
    if (ItemRecord::kind(record) == KindToDo)
        return palette.color(QPalette::Highlight);
    return palette.color(QPalette::PlaceholderText);
}

int ReminderListView::widthFor(const QVariantList &list, const QDate &today,
                               const QFontMetrics &metrics)
{
    int rows = 0;
    for (const QVariant &entry : list) {
        const QVariantMap record = entry.toMap();
        const QString date = rowDate(record, today);
        rows = std::max(rows,
                        RowTextIndent + metrics.horizontalAdvance(rowText(record))
                            + (date.isEmpty() ? 0 : DateGap + metrics.horizontalAdvance(date))
                            + RowEndMargin + RoundingSlack);
    }
    return std::clamp(2 * Margin + rows, int(MinWidth), int(MaxWidth));
}

QSize ReminderListView::sizeHint() const
{
    return {widthFor(mList, mToday, fontMetrics()), heightFor(int(mList.size()))};
}

QRect ReminderListView::rowRect(int row) const
{
    return QRect(Margin, Margin + TitleHeight + row * RowHeight, width() - 2 * Margin, RowHeight);
}

void ReminderListView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Window));
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));

    QFont titleFont = font();
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(colours.color(QPalette::WindowText));
    painter.drawText(QRect(Margin + 4, Margin, width() - 2 * Margin - 8, TitleHeight),
                     Qt::AlignVCenter | Qt::AlignLeft,
                     QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("ReminderListTitle")));

    const QRect rows(Margin, Margin + TitleHeight, width() - 2 * Margin,
                     RowHeight * std::max<int>(1, int(mList.size())));
    painter.fillRect(rows, colours.color(QPalette::Base));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    if (mList.isEmpty()) {
        painter.setPen(colours.color(QPalette::PlaceholderText));
        painter.drawText(rowRect(0).adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("NoReminder")));
        return;
    }
    for (int row = 0; row < mList.size(); ++row) {
        const QVariantMap record = mList.at(row).toMap();
        const QRect box = rowRect(row);
        if (row % 2 == 1)
            painter.fillRect(box, colours.color(QPalette::AlternateBase));
        // A colour the manager never makes gets no mark.
        if (const std::optional<QColor> mark = rowColor(record, colours)) {
            painter.setPen(QColor(0, 0, 0, 50));
            painter.setBrush(*mark);
            painter.drawEllipse(QRectF(box.left() + 6, box.center().y() - 4 + 0.5, 8, 8));
        }
        QRect text = box.adjusted(RowTextIndent, 0, -RowEndMargin, 0);
        const QString date = rowDate(record, mToday);
        if (!date.isEmpty()) {
            const std::optional<QDateTime> due = ToDoItems::dueDate(record);
            const bool late =
                ItemRecord::kind(record) == KindToDo && due->toLocalTime().date() < mToday;
            // Late is what is wrong: only then red.
            painter.setPen(late ? QColor(0xc0, 0x1c, 0x28)
                                : colours.color(QPalette::PlaceholderText));
            const int dateWidth = metrics.horizontalAdvance(date);
            painter.drawText(text, Qt::AlignVCenter | Qt::AlignRight, date);
            text.setRight(text.right() - dateWidth - DateGap);
        }
        painter.setPen(colours.color(QPalette::Text));
        painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                         metrics.elidedText(rowText(record), Qt::ElideRight, text.width()));
    }
}

void ReminderListView::mousePressEvent(QMouseEvent *event)
{
    const int y = int(event->position().y()) - Margin - TitleHeight;
    const int row = y < 0 ? -1 : y / RowHeight;
    if (row < 0 || row >= mList.size())
        return;
    QMenu menu(this);
    menu.addAction(detailText(mList.at(row).toMap()))->setEnabled(false);
    menu.exec(event->globalPosition().toPoint());
}

ReminderListWindow::ReminderListWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , mView(new ReminderListView(this))
{
    setObjectName(QStringLiteral("reminderListWindow"));
    // Named for the window manager's lists and the screen readers, as the panel's title reads.
    setWindowTitle(QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("ReminderListTitle")));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mView);
}
