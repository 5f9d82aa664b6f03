#include "ActivityReportWindow.h"

#include "AtomicFile.h"
#include "DateFields.h"
#include "QOR_DateUtils.h"
#include "QOR_StringUtils.h"

#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

qint64 dayStart(const QDate &date)
{
    return qint64(QOR_DateUtils::referenceSeconds(date.startOfDay()));
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

ActivityReportWindow::ActivityReportWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mFrom(new QDateEdit)
    , mTo(new QDateEdit)
    , mTable(new QTableWidget(0, 3))
    , mLoading(new QLabel(localized(QStringLiteral("ActivityLoading"))))
    , mExport(new QPushButton(localized(QStringLiteral("ActivityExportCsv"))))
{
    setObjectName(QStringLiteral("activityReportWindow"));
    setWindowTitle(localized(QStringLiteral("ActivityReportTitle")));
    for (QDateEdit *picker : {mFrom, mTo}) {
        picker->setCalendarPopup(true);
        DateFields::useFormatter(picker, QOR_StringUtils::getShortDateFormatter());
        connect(picker, &QDateEdit::dateChanged, this, &ActivityReportWindow::activityReportRecalc);
    }
    mFrom->setObjectName(QStringLiteral("from"));
    mTo->setObjectName(QStringLiteral("to"));
    auto *range = new QHBoxLayout;
    range->addWidget(new QLabel(localized(QStringLiteral("ActivityReportFrom"))));
    range->addWidget(mFrom);
    range->addWidget(new QLabel(localized(QStringLiteral("ActivityReportTo"))));
    range->addWidget(mTo);
    range->addStretch(1);
    mLoading->setObjectName(QStringLiteral("loading"));
    mLoading->hide();
    range->addWidget(mLoading);
    range->addWidget(mExport);
    mTable->setObjectName(QStringLiteral("report"));
    mTable->setHorizontalHeaderLabels({localized(QStringLiteral("ActivityApplication")),
                                       localized(QStringLiteral("ActivityTime")),
                                       localized(QStringLiteral("ActivityShare"))});
    mTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    mTable->verticalHeader()->hide();
    mTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    mTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setIconSize(QSize(16, 16));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(mTable, 1);
    connect(mExport, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QString(), QDir::home().filePath(QStringLiteral("activity.csv")),
            QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty())
            exportCsv(path);
    });
    resize(520, 420);
    // Today, to tomorrow.
    const QDate today = QOR_DateUtils::todayAt0h00().date();
    setRange(today, today.addDays(1));
}

void ActivityReportWindow::setData(const ActivityData &data,
                                   std::shared_ptr<const ApplicationNames> names)
{
    mData = data;
    mNames = std::move(names);
    activityReportRecalc();
}

void ActivityReportWindow::setRange(const QDate &from, const QDate &to)
{
    const QSignalBlocker blockFrom(mFrom);
    const QSignalBlocker blockTo(mTo);
    mFrom->setDate(from);
    mTo->setDate(to);
    activityReportRecalc();
}

QString ActivityReportWindow::shownName(const ActivityData::ReportRow &row) const
{
    if (row.isTotal)
        return localized(QStringLiteral("Activity"));
    return mNames ? mNames->title(row.name) : row.name;
}

void ActivityReportWindow::activityReportRecalc()
{
    mRows = mData.report(dayStart(mFrom->date()), dayStart(mTo->date()));
    const QLocale locale;
    mTable->setRowCount(int(mRows.size()));
    for (int i = 0; i < mRows.size(); ++i) {
        const ActivityData::ReportRow &row = mRows.at(i);
        auto *name = new QTableWidgetItem(shownName(row));
        if (!row.isTotal && mNames) {
            name->setIcon(mNames->shown(row.name).icon);
            name->setToolTip(row.name);
        }
        if (row.isTotal) {
            QFont bold = name->font();
            bold.setBold(true);
            name->setFont(bold);
        }
        mTable->setItem(i, 0, name);
        auto *time = new QTableWidgetItem(ActivityData::durationText(row.minutes * 60));
        time->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mTable->setItem(i, 1, time);
        auto *share = new QTableWidgetItem(locale.toString(row.share, 'f', 2));
        share->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mTable->setItem(i, 2, share);
    }
}

QString ActivityReportWindow::csv() const
{
    QString text = QStringLiteral("application,name,minutes,time,share\r\n");
    for (const ActivityData::ReportRow &row : mRows) {
        text +=
            QStringList{csvField(shownName(row)), csvField(row.name), QString::number(row.minutes),
                        ActivityData::durationText(row.minutes * 60),
                        QString::number(row.share, 'f', 2)}
                .join(QLatin1Char(','))
            + QStringLiteral("\r\n");
    }
    return text;
}

bool ActivityReportWindow::exportCsv(const QString &path) const
{
    return AtomicFile::write(path, csv().toUtf8());
}

void ActivityReportWindow::setLoading(bool loading)
{
    mLoading->setVisible(loading);
    if (loading)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

bool ActivityReportWindow::isLoading() const
{
    return !mLoading->isHidden();
}
