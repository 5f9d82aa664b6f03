#pragma once

#include <QDate>
#include <QVariantList>
#include <QWidget>

// The reminder list drawn as rounded rows, 20 points each: dated records (to-do tasks,
// calendar events) on a background that says how near their day is, stored reminders in
// their own colour. A click shows the row's date and title in a disabled menu.
class ReminderListView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 20;
    static constexpr int Width = 260;

    explicit ReminderListView(QWidget *parent = nullptr);

    void setRemindersList(const QVariantList &list, const QDate &today);
    const QVariantList &remindersList() const { return mList; }
    // The text of a row and its menu title, as drawn.
    static QString rowText(const QVariantMap &record);
    static QString detailText(const QVariantMap &record);
    // The background of a row: nothing for a "Color" outside the four.
    static std::optional<QColor> rowColor(const QVariantMap &record, const QDate &today);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
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
