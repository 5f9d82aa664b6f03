#pragma once

#include "ActivityData.h"
#include "ApplicationNames.h"

#include <QDate>
#include <QWidget>

#include <memory>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

// The activity report: the time spent in each application between two dates, the total first.
class ActivityReportWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ActivityReportWindow(QWidget *parent = nullptr);

    void setData(const ActivityData &data, std::shared_ptr<const ApplicationNames> names);
    // The range from the first day's start to the second day's start (in either order).
    void setRange(const QDate &from, const QDate &to);
    // activityReportRecalc: the rows again, from the pickers.
    void activityReportRecalc();

    // While the file is read: the window says so and shows a busy pointer.
    void setLoading(bool loading);
    bool isLoading() const;
    QLabel *loadingLabel() const { return mLoading; }

    const QList<ActivityData::ReportRow> &rows() const { return mRows; }
    QTableWidget *table() const { return mTable; }
    QDateEdit *fromPicker() const { return mFrom; }
    QDateEdit *toPicker() const { return mTo; }
    // The rows as comma-separated values (RFC 4180), for timesheets: the name shown, the name
    // stored, the minutes, the time as hours and minutes, the share.
    QString csv() const;
    bool exportCsv(const QString &path) const;

private:
    QString shownName(const ActivityData::ReportRow &row) const;

    ActivityData mData;
    std::shared_ptr<const ApplicationNames> mNames;
    QList<ActivityData::ReportRow> mRows;
    QDateEdit *mFrom;
    QDateEdit *mTo;
    QTableWidget *mTable;
    QLabel *mLoading;
    QPushButton *mExport;
};
