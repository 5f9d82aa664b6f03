#pragma once

#include <QVariantList>
#include <QWidget>

class QScrollArea;

// The month's events on 20-point rows, each day's first event under a grey band with the day's
// long date; the start time right-aligned in its column, then the title.
class CalendarEventsView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 20;
    static constexpr int BandHeight = 17;
    static constexpr int TimeColumn = 65;

    explicit CalendarEventsView(QWidget *parent = nullptr);
    void setCalendarEvents(const QVariantList &events);
    const QVariantList &calendarEvents() const { return mEvents; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int contentHeight() const;
    QVariantList mEvents;
};

class CalendarWindow : public QWidget
{
    Q_OBJECT
public:
    explicit CalendarWindow(QWidget *parent = nullptr);
    CalendarEventsView *eventsView() const { return mView; }
    void setCalendarEvents(const QVariantList &events);

private:
    CalendarEventsView *mView;
    QScrollArea *mScroll;
};
