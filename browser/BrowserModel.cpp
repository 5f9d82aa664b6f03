#include "BrowserModel.h"

#include "FileIcons.h"

#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
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
        return item->localizedName();
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
    // A folder of thousands of files has a handful of types: each is looked up once.
    const QFileInfo info(item->getPath());
    const QString suffix = info.suffix().toLower();
    QString key;
    if (item->isDirectory())
        key = QStringLiteral("/");
    else if (BrowserListing::isPackageName(info.fileName()))
        key = QStringLiteral("/app");
    else
        key = QStringLiteral(".") + suffix;
    const auto found = mIconsByType.constFind(key);
    if (found != mIconsByType.constEnd())
        return *found;
    static const QMimeDatabase mimes;
    const QMimeType mime = item->isDirectory()
        ? mimes.mimeTypeForName(QStringLiteral("inode/directory"))
        : mimes.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    const QIcon icon(FileIcons::forType(info, mime).pixmap(16, 16));
    mIconsByType.insert(key, icon);
    return icon;
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
