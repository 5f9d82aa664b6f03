#pragma once

#include "ActivityData.h"
#include "ApplicationNames.h"

#include <QDate>
#include <QWidget>

#include <memory>

class ActivityView;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;
class UseTableModel;

// The chart window: the day picker with its day before and after buttons, the day's chart, and
// the table of every use recorded.
class ActivityChartWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ActivityChartWindow(QWidget *parent = nullptr);
    ~ActivityChartWindow() override;

    void setData(const ActivityData &data, std::shared_ptr<const ApplicationNames> names);
    void setDay(const QDate &day);
    QDate day() const;
    // activityDateDidChange: the chart of the picked day.
    void activityDateDidChange();
    void activityDayBefore();
    void activityDayAfter();

    ActivityView *view() const { return mView; }
    QTableView *useTable() const { return mUseTable; }
    QLabel *dayLabel() const { return mDayLabel; }
    // While the file is read: the window says so and shows a busy pointer.
    void setLoading(bool loading);
    bool isLoading() const;
    QLabel *loadingLabel() const { return mLoading; }
    // The chart as a picture, at the chart's own size.
    bool savePng(const QString &path);

private:
    ActivityData mData;
    std::shared_ptr<const ApplicationNames> mNames;
    QDateEdit *mDateMin;
    QLabel *mDayLabel;
    QLabel *mLoading;
    ActivityView *mView;
    QTableView *mUseTable;
    UseTableModel *mUses;
};
