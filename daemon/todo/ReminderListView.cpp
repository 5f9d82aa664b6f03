#include "ReminderListView.h"

#include "DaemonClock.h"
#include "ItemRecord.h"
#include "PersonalDataIcons.h"
#include "QOR_StringUtils.h"
#include "ToDoItems.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

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

QString ReminderListView::rowText(const QVariantMap &record)
{
    const QString title = record.value(KeyTitle).toString();
    const std::optional<QDateTime> date = ToDoItems::dueDate(record);
    if (!date)
        return title;
    const QDate day = date->toLocalTime().date();
    QString text = QStringLiteral("%1/%2 %3").arg(day.day()).arg(day.month()).arg(title);
    switch (ItemRecord::kind(record)) {
    case KindCalendarEvent:
        return QStringLiteral("© %1").arg(text);
    case KindToDo:
        return QStringLiteral("• %1").arg(text);
    default:
        return text;
    }
}

QString ReminderListView::detailText(const QVariantMap &record)
{
    const std::optional<QDateTime> date = ToDoItems::dueDate(record);
    const QString title = record.value(KeyTitle).toString();
    if (!date)
        return title;
    return QStringLiteral("%1 - %2").arg(QOR_StringUtils::getShortTimeDate(*date), title);
}

std::optional<QColor> ReminderListView::rowColor(const QVariantMap &record, const QDate &today)
{
    const std::optional<QDateTime> date = ToDoItems::dueDate(record);
    if (!date)
        return PersonalDataIcons::reminderColor(record.value(KeyColor).toInt());
    const qint64 days =
        DaemonClock::dayNumber(date->toLocalTime().date()) - DaemonClock::dayNumber(today);
    if (days == 0)
        return QColor(Qt::white);
    if (days == 1)
        return QColor::fromRgbF(0.9, 0.9, 0.9);
    if (days == 2)
        return QColor::fromRgbF(0.8, 0.8, 0.8);
    return QColor::fromRgbF(0.7, 0.7, 0.7);
}

QSize ReminderListView::sizeHint() const
{
    return {Width, RowHeight * int(std::max<qsizetype>(1, mList.size()))};
}

void ReminderListView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const auto drawRow = [&](int row, const QColor &fill, bool redOutline, const QColor &ink,
                             const QString &text) {
        const QRectF box(0.5, row * RowHeight + 0.5, width() - 1, RowHeight - 1.5);
        QPainterPath path;
        path.addRoundedRect(box, 3, 3);
        painter.fillPath(path, fill);
        if (redOutline) {
            painter.setPen(QPen(Qt::red, 1));
            painter.drawPath(path);
        }
        painter.setPen(ink);
        const QRect textBox = box.toRect().adjusted(5, 0, -5, 0);
        painter.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft,
                         metrics.elidedText(text, Qt::ElideRight, textBox.width()));
    };
    if (mList.isEmpty()) {
        drawRow(0, QColor::fromRgbF(0.7, 0.7, 0.7), false, Qt::black,
                QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("NoReminder")));
        return;
    }
    for (int row = 0; row < mList.size(); ++row) {
        const QVariantMap record = mList.at(row).toMap();
        const bool dated = ToDoItems::dueDate(record).has_value();
        const std::optional<QColor> fill = rowColor(record, mToday);
        QColor ink = Qt::black;
        if (dated && ItemRecord::kind(record) == KindCalendarEvent)
            ink = Qt::darkGray;
        else if (dated && ItemRecord::kind(record) == KindToDo)
            ink = Qt::blue;
        const bool today = dated && ToDoItems::dueDate(record)->toLocalTime().date() == mToday;
        // A colour the manager never makes is drawn on white.
        drawRow(row, fill.value_or(QColor(Qt::white)), today, ink, rowText(record));
    }
}

void ReminderListView::mousePressEvent(QMouseEvent *event)
{
    const int row = int(event->position().y()) / RowHeight;
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
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mView);
}
