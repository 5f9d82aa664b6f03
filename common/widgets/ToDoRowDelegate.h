#pragma once

#include <QDateTime>
#include <QStyledItemDelegate>

#include <functional>

// A to-do row: its icon (done, overdue, to do), the due date in dark grey, " - " and the title
// in black (white on a selected row), the whole truncated in the middle. The agent shows the
// time alone for a task due today; the manager always shows the date too.
class ToDoRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // The record of a row, as the model gives it under this role.
    ToDoRowDelegate(int recordRole, bool timeAloneForToday, std::function<QDateTime()> now,
                    QObject *parent = nullptr);

    // The date part of the row's text.
    static QString dueText(const QVariantMap &record, bool timeAloneForToday, const QDateTime &now);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int mRecordRole;
    bool mTimeAloneForToday;
    std::function<QDateTime()> mNow;
};
