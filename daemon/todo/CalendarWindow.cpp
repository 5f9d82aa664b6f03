#include "CalendarWindow.h"

#include "ItemRecord.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "ToDoItems.h"

#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

std::optional<QDate> dayOf(const QVariant &event)
{
    const std::optional<QDateTime> start = ToDoItems::dueDate(event.toMap());
    if (!start)
        return std::nullopt;
    return start->toLocalTime().date();
}

} // namespace

CalendarEventsView::CalendarEventsView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("calendarEvents"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void CalendarEventsView::setCalendarEvents(const QVariantList &events)
{
    mEvents = events;
    setMinimumHeight(contentHeight());
    updateGeometry();
    update();
}

int CalendarEventsView::contentHeight() const
{
    int height = 0;
    std::optional<QDate> previous;
    for (const QVariant &event : mEvents) {
        const std::optional<QDate> day = dayOf(event);
        if (day != previous)
            height += BandHeight;
        previous = day;
        height += RowHeight;
    }
    return height;
}

QSize CalendarEventsView::sizeHint() const
{
    return {360, contentHeight()};
}

void CalendarEventsView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QFont bandFont = painter.font();
    bandFont.setPixelSize(12);
    QFont rowFont = painter.font();
    rowFont.setPixelSize(15);
    const QFontMetrics rowMetrics(rowFont);
    // Wide enough for the longest time of the locale ("11:30 PM"), which 65 points are not at
    // every font size.
    const int timeColumn = std::max(int(TimeColumn),
                                    rowMetrics.horizontalAdvance(QOR_StringUtils::getShortTime(
                                        QDateTime(QDate(2000, 12, 20), QTime(23, 58))))
                                        + 4);
    const QColor ink = QColor::fromRgbF(0.25, 0.25, 0.25);
    int y = 0;
    std::optional<QDate> previous;
    for (const QVariant &item : mEvents) {
        const QVariantMap event = item.toMap();
        const std::optional<QDateTime> start = ToDoItems::dueDate(event);
        const std::optional<QDate> day = dayOf(item);
        if (day != previous) {
            const QRect band(0, y, width(), BandHeight);
            painter.fillRect(band, QColor::fromRgbF(0.75, 0.75, 0.75));
            painter.setFont(bandFont);
            painter.setPen(QColor::fromRgbF(0.5, 0.5, 0.5));
            painter.drawText(band, Qt::AlignCenter,
                             start ? QOR_StringUtils::getLongDate(*start) : QString());
            y += BandHeight;
        }
        previous = day;
        painter.setFont(rowFont);
        painter.setPen(ink);
        const QRect timeBox(0, y, timeColumn, RowHeight);
        painter.drawText(timeBox, Qt::AlignVCenter | Qt::AlignRight,
                         start ? QOR_StringUtils::getShortTime(*start) : QString());
        const QRect titleBox(timeColumn + 8, y, width() - timeColumn - 16, RowHeight);
        painter.drawText(titleBox, Qt::AlignVCenter | Qt::AlignLeft,
                         rowMetrics.elidedText(event.value(ItemRecord::KeyTitle).toString(),
                                               Qt::ElideMiddle, titleBox.width()));
        y += RowHeight;
    }
}

CalendarWindow::CalendarWindow(QWidget *parent)
    // A normal window, found again in the taskbar and with Alt+Tab: it can come up by itself.
    : QWidget(parent, Qt::Window)
    , mView(new CalendarEventsView)
    , mScroll(new QScrollArea(this))
{
    setObjectName(QStringLiteral("calendarWindow"));
    setWindowTitle(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("CalendarWindowTitle")));
    mScroll->setWidget(mView);
    mScroll->setWidgetResizable(true);
    mScroll->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mScroll);
    resize(380, 420);
    // Left of the middle, where the to-do window does not open.
    QOR_WindowsUtils::placeWindow(this, 0.3, 0.5);
    QOR_WindowsUtils::keepFrameOnScreen(this);
}

void CalendarWindow::setCalendarEvents(const QVariantList &events)
{
    mView->setCalendarEvents(events);
}
