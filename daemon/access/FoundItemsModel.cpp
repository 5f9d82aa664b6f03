#include "FoundItemsModel.h"

#include "ItemRecord.h"
#include "SearchController.h"

#include <algorithm>

FoundItemsModel::FoundItemsModel(SearchController *search, QObject *parent)
    : QAbstractListModel(parent)
    , mSearch(search)
{
    // Connected before the window's own handler, so the rows are current when it selects one.
    connect(mSearch, &SearchController::displayedListUpdated, this,
            &FoundItemsModel::displayedListReplaced);
    // The rows shown stay: the view is given more of the others as it would have been.
    connect(mSearch, &SearchController::displayedListCompleted, this,
            [this] { showRowsUpTo(kRowsAtOnce); });
    // Rows added below the list reach the view now only when it has every row before them.
    connect(mSearch, &SearchController::displayedRowsAboutToBeAppended, this,
            [this](int first, int last) {
                mAppending = first == mShown && last >= first;
                if (mAppending)
                    beginInsertRows({}, first, last);
            });
    connect(mSearch, &SearchController::displayedRowsAppended, this, [this] {
        if (!mAppending)
            return;
        mAppending = false;
        mShown = listSize();
        endInsertRows();
    });
    connect(mSearch, &SearchController::displayedRowChanged, this, [this](int row) {
        if (row < mShown)
            emit dataChanged(index(row, 0), index(row, 0));
    });
}

int FoundItemsModel::listSize() const
{
    return int(mSearch->displayedList().size());
}

int FoundItemsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mShown;
}

bool FoundItemsModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && mShown < listSize();
}

void FoundItemsModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        showRowsUpTo(mShown + kRowsAtOnce);
}

void FoundItemsModel::showRowsUpTo(int count)
{
    count = std::min(count, listSize());
    if (count <= mShown)
        return;
    beginInsertRows({}, mShown, count - 1);
    mShown = count;
    endInsertRows();
}

const FoundItem *FoundItemsModel::itemAt(int row) const
{
    const FoundItems &items = mSearch->displayedList();
    if (row < 0 || row >= items.size())
        return nullptr;
    return &items.at(row);
}

QVariant FoundItemsModel::data(const QModelIndex &index, int role) const
{
    const FoundItem *item = index.isValid() ? itemAt(index.row()) : nullptr;
    if (!item)
        return {};
    switch (role) {
    case RecordRole:
        return item->record(); // implicitly shared
    case KindRole:
        return ItemRecord::kind(item->record());
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return item->record().value(ItemRecord::KeyTitle);
    default:
        return {};
    }
}

void FoundItemsModel::displayedListReplaced()
{
    beginResetModel();
    mShown = std::min(listSize(), kRowsAtOnce);
    endResetModel();
}
