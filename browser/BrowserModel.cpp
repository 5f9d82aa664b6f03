#include "BrowserModel.h"

#include "FileIcons.h"
#include "NativeFileName.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

BrowserModel::BrowserModel(QObject *parent)
    : QAbstractItemModel(parent)
{
}

BrowserModel::~BrowserModel() = default;

void BrowserModel::setRoot(std::unique_ptr<BrowserItem> root)
{
    beginResetModel();
    mFetched.clear();
    mRoot = std::move(root);
    if (mRoot && mRoot->isDirectory()) {
        mRoot->children();
        mFetched.insert(mRoot.get());
    }
    endResetModel();
}

BrowserItem *BrowserModel::itemAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<BrowserItem *>(index.internalPointer());
}

BrowserItem *BrowserModel::itemOrRoot(const QModelIndex &index) const
{
    return index.isValid() ? itemAt(index) : mRoot.get();
}

QModelIndex BrowserModel::indexOf(const BrowserItem *item) const
{
    if (!item || item == mRoot.get())
        return {};
    return createIndex(item->row(), 0, const_cast<BrowserItem *>(item));
}

QModelIndex BrowserModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0)
        return {};
    const BrowserItem *folder = itemOrRoot(parent);
    if (!folder || !mFetched.contains(folder))
        return {};
    BrowserItem *child = folder->childAtIndex(row);
    return child ? createIndex(row, 0, child) : QModelIndex();
}

QModelIndex BrowserModel::parent(const QModelIndex &child) const
{
    const BrowserItem *item = itemAt(child);
    if (!item || !item->parent() || item->parent() == mRoot.get())
        return {};
    return indexOf(item->parent());
}

int BrowserModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    BrowserItem *folder = itemOrRoot(parent);
    if (!folder || !mFetched.contains(folder))
        return 0;
    return folder->numberOfChildren();
}

int BrowserModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool BrowserModel::hasChildren(const QModelIndex &parent) const
{
    // A folder shows its arrow before it is read; reading it is left to fetchMore.
    const BrowserItem *folder = itemOrRoot(parent);
    return folder && folder->isDirectory()
        && (!mFetched.contains(folder)
            || const_cast<BrowserItem *>(folder)->numberOfChildren() > 0);
}

bool BrowserModel::canFetchMore(const QModelIndex &parent) const
{
    const BrowserItem *folder = itemOrRoot(parent);
    return folder && folder->isDirectory() && !mFetched.contains(folder);
}

void BrowserModel::fetchMore(const QModelIndex &parent)
{
    BrowserItem *folder = itemOrRoot(parent);
    if (!folder || !folder->isDirectory() || mFetched.contains(folder))
        return;
    const int count = folder->numberOfChildren();
    if (count == 0) {
        mFetched.insert(folder);
        return;
    }
    beginInsertRows(parent, 0, count - 1);
    mFetched.insert(folder);
    endInsertRows();
}

QVariant BrowserModel::data(const QModelIndex &index, int role) const
{
    const BrowserItem *item = itemAt(index);
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return NativeFileName::forDisplay(item->localizedName());
    case Qt::DecorationRole:
        return iconFor(item);
    case PathRole:
        return item->getPath();
    default:
        return {};
    }
}

QIcon BrowserModel::iconFor(const BrowserItem *item) const
{
    const QString path = item->getPath();
    return mIcons.iconFor(path, item->isDirectory(),
                          BrowserListing::isPackageName(QFileInfo(path).fileName()));
}

Qt::ItemFlags BrowserModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList BrowserModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData *BrowserModel::mimeData(const QModelIndexList &indexes) const
{
    // Only paths that still exist are dragged; without any, nothing is.
    QList<QUrl> urls;
    for (const QModelIndex &index : indexes) {
        const BrowserItem *item = itemAt(index);
        if (item && BrowserListing::typeAt(item->getPath()) != BrowserListing::Type::Unknown)
            urls << QUrl::fromLocalFile(item->getPath());
    }
    if (urls.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions BrowserModel::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

void BrowserModel::resort()
{
    if (!mRoot)
        return;
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QList<BrowserItem *> items;
    items.reserve(before.size());
    for (const QModelIndex &index : before)
        items << itemAt(index);
    mRoot->sortChildren();
    for (qsizetype i = 0; i < before.size(); ++i)
        changePersistentIndex(before.at(i), items.at(i) ? indexOf(items.at(i)) : QModelIndex());
    emit layoutChanged();
}
