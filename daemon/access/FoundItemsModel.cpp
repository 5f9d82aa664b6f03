#include "FoundItemsModel.h"

#include "ItemRecord.h"
#include "SearchController.h"

FoundItemsModel::FoundItemsModel(SearchController *search, QObject *parent)
    : QAbstractListModel(parent)
    , mSearch(search)
{
    // Connected before the window's own handler, so the rows are current when it selects one.
    connect(mSearch, &SearchController::displayedListUpdated, this,
            &FoundItemsModel::displayedListReplaced);
    connect(mSearch, &SearchController::displayedRowsAboutToBeAppended, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(mSearch, &SearchController::displayedRowsAppended, this, [this] { endInsertRows(); });
    connect(mSearch, &SearchController::displayedRowChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, 0)); });
}

int FoundItemsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(mSearch->displayedList().size());
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
    endResetModel();
}
