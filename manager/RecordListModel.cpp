#include "RecordListModel.h"

#include "ListIcons.h"

#include <QMimeData>
#include <QUrl>

RecordListModel::RecordListModel(Display display, QObject *parent)
    : QAbstractListModel(parent)
    , mDisplay(std::move(display))
{
}

void RecordListModel::setList(const QVariantList &list, const std::optional<QList<int>> &shown)
{
    beginResetModel();
    mList = list;
    mShown = shown;
    endResetModel();
}

int RecordListModel::sourceIndex(int row) const
{
    if (row < 0)
        return -1;
    if (mShown) {
        if (row >= mShown->size())
            return -1;
        const int index = mShown->at(row);
        return index >= 0 && index < mList.size() ? index : -1;
    }
    return row < mList.size() ? row : -1;
}

int RecordListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(mShown ? mShown->size() : mList.size());
}

QVariant RecordListModel::data(const QModelIndex &index, int role) const
{
    const int source = sourceIndex(index.row());
    if (source < 0)
        return {};
    const QVariant &value = mList.at(source);
    switch (role) {
    case Qt::DisplayRole:
        return mDisplay ? mDisplay(value) : value.toString();
    case Qt::ToolTipRole:
        return mToolTip ? QVariant(mToolTip(value)) : QVariant();
    case Qt::DecorationRole:
        if (!mRowIcon.isNull())
            return mRowIcon;
        return ListIcons::iconForPath(value.typeId() == QMetaType::QString
                                          ? value.toString()
                                          : value.toMap().value(QStringLiteral("P")).toString());
    case TrailingIconRole:
        return mTrailingIcon ? QVariant(mTrailingIcon(value)) : QVariant();
    case RecordRole:
        return value;
    case SourceIndexRole:
        return source;
    default:
        return {};
    }
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractListModel::flags(index);
    return index.isValid() ? flags : flags | Qt::ItemIsDropEnabled;
}

QStringList RecordListModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

bool RecordListModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int,
                                      const QModelIndex &) const
{
    return mDropHandler && data && data->hasUrls();
}

bool RecordListModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                   int column, const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    mDropHandler(paths);
    return true;
}

Qt::DropActions RecordListModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}
