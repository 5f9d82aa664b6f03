#pragma once

#include <QAbstractListModel>
#include <QDateTime>
#include <QTimer>
#include <QVariantList>
#include <QWidget>

#include <functional>

class SharedPreferences;
class TableViewToDo;

// The rows of the agent's to-do table: every record, done ones included, in list order.
class ToDoListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int RecordRole = Qt::UserRole + 1;
    using QAbstractListModel::QAbstractListModel;

    void setRecords(const QVariantList &records);
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QVariantList mRecords;
};

// The agent's to-do window: the table of tasks and its menu. It remembers its frame under
// "todoWindow".
class ToDoWindow : public QWidget
{
    Q_OBJECT
public:
    static const QString FrameKey;

    ToDoWindow(SharedPreferences *preferences, std::function<QDateTime()> now,
               QWidget *parent = nullptr);

    TableViewToDo *table() const { return mTable; }
    ToDoListModel *model() const { return mModel; }
    void setRecords(const QVariantList &records);
    // The selected row, else the focused table's current row; -1 without either.
    int selectedRow() const;
    // The menu of the selected row, or none without one.
    QMenu *contextMenu();
    // A move or resize still waiting to be saved is saved now (the agent is ending).
    void savePendingFrame();

signals:
    void doneRequested();
    void nextDayRequested();
    void nextWeekRequested();
    void nextMonthRequested();

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void saveFrame();
    bool restoreFrame();

    SharedPreferences *mPreferences;
    TableViewToDo *mTable;
    ToDoListModel *mModel;
    QMenu *mMenu;
    QTimer mSaveFrameTimer;
};
