#pragma once

#include <QDate>
#include <QPalette>
#include <QVariantList>
#include <QWidget>

// The reminder list as a small panel of the desktop: a title, then one row of 20 points per
// record, each with a mark of its kind (a stored reminder's own colour), its title and, for to-do
// tasks and calendar events, their time today or their date in the suite's formats. A click shows
// the row's date and title in a disabled menu.
class ReminderListView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 20;
    // Wide enough for its rows between the two: elided only when really short of room.
    static constexpr int MinWidth = 320;
    static constexpr int MaxWidth = 520;
    static constexpr int Margin = 6;
    static constexpr int TitleHeight = 24;

    explicit ReminderListView(QWidget *parent = nullptr);

    void setRemindersList(const QVariantList &list, const QDate &today);
    const QVariantList &remindersList() const { return mList; }
    // The height of the panel for that many records (an empty list shows one row saying so).
    static int heightFor(int count);
    // The width its rows need, drawn with `metrics`, within MinWidth and MaxWidth.
    static int widthFor(const QVariantList &list, const QDate &today, const QFontMetrics &metrics);
    // The date of a row as drawn: the time alone for today, else date and time; empty for a
    // stored reminder.
    static QString rowDate(const QVariantMap &record, const QDate &today);
    // The title of a row as drawn, then its menu title.
    static QString rowText(const QVariantMap &record);
    static QString detailText(const QVariantMap &record);
    // The mark of a row: a stored reminder's colour (nothing for a "Color" outside the four), the
    // highlight for a task, grey for an event.
    static std::optional<QColor> rowColor(const QVariantMap &record, const QPalette &palette);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect rowRect(int row) const;

    QVariantList mList;
    QDate mToday;
};

// The window that holds the list, next to the reminder window or the access window.
class ReminderListWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ReminderListWindow(QWidget *parent = nullptr);
    ReminderListView *listView() const { return mView; }

private:
    ReminderListView *mView;
};
