#include "ActivityChartWindow.h"

#include "ActivityView.h"
#include "DateFields.h"
#include "QOR_DateUtils.h"
#include "QOR_StringUtils.h"

#include <QAbstractTableModel>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

} // namespace

// Every use of the file, oldest first: the application, and when.
class UseTableModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setUses(const QList<ActivityData::Use> &uses,
                 std::shared_ptr<const ApplicationNames> names)
    {
        beginResetModel();
        mUses = uses;
        mNames = std::move(names);
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(mUses.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : 2;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= mUses.size())
            return {};
        const ActivityData::Use &use = mUses.at(index.row());
        if (index.column() == 0) {
            if (role == Qt::DisplayRole)
                return mNames ? mNames->title(use.name) : use.name;
            if (role == Qt::DecorationRole && mNames)
                return mNames->shown(use.name).icon;
            if (role == Qt::ToolTipRole)
                return use.name;
            return {};
        }
        if (role != Qt::DisplayRole)
            return {};
        return QStringLiteral("%1 - %2").arg(
            QOR_StringUtils::getShortTimeDate(
                QOR_DateUtils::fromReferenceSeconds(double(use.start))),
            QOR_StringUtils::getShortTime(QOR_DateUtils::fromReferenceSeconds(double(use.end))));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return localized(section == 0 ? QStringLiteral("ActivityApplication")
                                      : QStringLiteral("ActivityPeriod"));
    }

private:
    QList<ActivityData::Use> mUses;
    std::shared_ptr<const ApplicationNames> mNames;
};

ActivityChartWindow::ActivityChartWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mDateMin(new QDateEdit)
    , mDayLabel(new QLabel)
    , mLoading(new QLabel(localized(QStringLiteral("ActivityLoading"))))
    , mView(new ActivityView)
    , mUseTable(new QTableView)
    , mUses(new UseTableModel(this))
{
    setObjectName(QStringLiteral("activityChartWindow"));
    setWindowTitle(localized(QStringLiteral("ActivityChartTitle")));
    mDateMin->setObjectName(QStringLiteral("day"));
    mDateMin->setCalendarPopup(true);
    DateFields::useFormatter(mDateMin, QOR_StringUtils::getShortDateFormatter());
    mDayLabel->setObjectName(QStringLiteral("dayLabel"));
    auto *before = new QPushButton(localized(QStringLiteral("ActivityDayBefore")));
    before->setObjectName(QStringLiteral("dayBefore"));
    auto *after = new QPushButton(localized(QStringLiteral("ActivityDayAfter")));
    after->setObjectName(QStringLiteral("dayAfter"));
    auto *save = new QPushButton(localized(QStringLiteral("ActivitySavePng")));
    auto *bar = new QHBoxLayout;
    bar->addWidget(before);
    bar->addWidget(mDateMin);
    bar->addWidget(after);
    bar->addWidget(mDayLabel, 1);
    mLoading->setObjectName(QStringLiteral("loading"));
    mLoading->hide();
    bar->addWidget(mLoading);
    bar->addWidget(save);

    auto *scroll = new QScrollArea;
    scroll->setWidget(mView);
    scroll->setWidgetResizable(true);
    mUseTable->setModel(mUses);
    mUseTable->setObjectName(QStringLiteral("uses"));
    mUseTable->verticalHeader()->hide();
    // Thousands of rows: one line each, no more.
    mUseTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    mUseTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    // Measured on one period rather than on the rows: years of them take long to format.
    const QDateTime sample(QDate(2026, 12, 28), QTime(23, 58));
    mUseTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    mUseTable->horizontalHeader()->resizeSection(
        1,
        fontMetrics().horizontalAdvance(QStringLiteral("%1 - %2").arg(
            QOR_StringUtils::getShortTimeDate(sample), QOR_StringUtils::getShortTime(sample)))
            + 4 * fontMetrics().averageCharWidth());
    mUseTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mUseTable->setIconSize(QSize(16, 16));
    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(scroll);
    splitter->addWidget(mUseTable);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    connect(mDateMin, &QDateEdit::dateChanged, this, &ActivityChartWindow::activityDateDidChange);
    connect(before, &QPushButton::clicked, this, &ActivityChartWindow::activityDayBefore);
    connect(after, &QPushButton::clicked, this, &ActivityChartWindow::activityDayAfter);
    connect(save, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QString(),
            QDir::home().filePath(
                QStringLiteral("activity-%1.png").arg(day().toString(Qt::ISODate))),
            QStringLiteral("PNG (*.png)"));
        if (!path.isEmpty())
            savePng(path);
    });
    // Wide enough for every hour of a full day with its time whole.
    resize(std::max(820, mView->sizeHint().width() + 40), 560);
    setDay(QOR_DateUtils::todayAt0h00().date());
}

ActivityChartWindow::~ActivityChartWindow() = default;

void ActivityChartWindow::setData(const ActivityData &data,
                                  std::shared_ptr<const ApplicationNames> names)
{
    mData = data;
    mNames = std::move(names);
    mUses->setUses(mData.uses(), mNames);
    mUseTable->scrollToBottom();
    activityDateDidChange();
}

void ActivityChartWindow::setDay(const QDate &day)
{
    if (mDateMin->date() == day)
        activityDateDidChange();
    else
        mDateMin->setDate(day);
}

QDate ActivityChartWindow::day() const
{
    return mDateMin->date();
}

void ActivityChartWindow::activityDateDidChange()
{
    const QDateTime start = QOR_DateUtils::dayAt0h00(mDateMin->date().startOfDay());
    const QDateTime end = QOR_DateUtils::nextDay(start);
    const ActivityData::Chart chart = mData.chart(qint64(QOR_DateUtils::referenceSeconds(start)),
                                                  qint64(QOR_DateUtils::referenceSeconds(end)));
    QStringList titles;
    for (qsizetype lane = 1; lane < chart.lanes.size(); ++lane)
        titles << (mNames ? mNames->title(chart.lanes.at(lane).name) : chart.lanes.at(lane).name);
    mView->setData(chart, titles);
    mDayLabel->setText(QOR_StringUtils::getShortDate(start));
}

void ActivityChartWindow::activityDayBefore()
{
    mDateMin->setDate(QOR_DateUtils::previousDay(mDateMin->date().startOfDay()).date());
}

void ActivityChartWindow::activityDayAfter()
{
    mDateMin->setDate(QOR_DateUtils::nextDay(mDateMin->date().startOfDay()).date());
}

bool ActivityChartWindow::savePng(const QString &path)
{
    QSize size = mView->size();
    if (size.width() < mView->sizeHint().width()
        || size.height() < mView->minimumSizeHint().height())
        size = size.expandedTo(QSize(mView->sizeHint().width(), mView->minimumSizeHint().height()));
    QPixmap picture(size);
    const QSize old = mView->size();
    mView->resize(size);
    mView->render(&picture);
    mView->resize(old);
    return picture.save(path, "PNG");
}

void ActivityChartWindow::setLoading(bool loading)
{
    mLoading->setVisible(loading);
    if (loading)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

bool ActivityChartWindow::isLoading() const
{
    return !mLoading->isHidden();
}
