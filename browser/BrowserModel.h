#pragma once

#include "BrowserItem.h"
#include "FileIcons.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QSet>

#include <memory>

// The outline's item model over a tree of BrowserItem. A folder's rows come through
// canFetchMore/fetchMore, so a folder is read only when its row is expanded (or its rows are
// otherwise asked for), and once; expanding the root's neighbour never lists anything else.
class BrowserModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    static constexpr int PathRole = Qt::UserRole + 1;

    explicit BrowserModel(QObject *parent = nullptr);
    ~BrowserModel() override;

    // Replaces the whole tree; the root's own rows are listed at once (they are the top level).
    void setRoot(std::unique_ptr<BrowserItem> root);
    BrowserItem *root() const { return mRoot.get(); }

    BrowserItem *itemAt(const QModelIndex &index) const;
    QModelIndex indexOf(const BrowserItem *item) const;
    // Re-sorts every loaded folder after renames, keeping expansion and selection on the same
    // items.
    void resort();

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    // The icon the outline draws for a path, 16 by 16; looked up once per file type.
    QIcon iconFor(const BrowserItem *item) const;

private:
    BrowserItem *itemOrRoot(const QModelIndex &index) const;

    std::unique_ptr<BrowserItem> mRoot;
    // Folders whose rows the view was told about; a listed folder not in here shows none yet.
    QSet<const BrowserItem *> mFetched;
    mutable FileTypeIcons mIcons;
};
