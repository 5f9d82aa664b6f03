#include "ListSectionView.h"

#include "ItemRowDelegate.h"
#include "QOR_StringUtils.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

ListSectionView::ListSectionView(RecordListModel::Display display, QWidget *parent)
    : QWidget(parent)
    , mTable(new QListView)
    , mModel(new RecordListModel(std::move(display), this))
    , mPage(new QWidget)
    , mLayout(new QVBoxLayout(this))
    , mButtons(new QHBoxLayout)
{
    mTable->setModel(mModel);
    mTable->setObjectName(QStringLiteral("table"));
    mTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mTable->setUniformItemSizes(true);
    mTable->setItemDelegate(new ItemRowDelegate(mTable));
    mTable->setIconSize(QSize(25, 16));
    mModel->setDropHandler([this](const QStringList &paths) { emit pathsDropped(paths); });
    connect(mTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListSectionView::selectionChanged);
    connect(mModel, &QAbstractItemModel::modelReset, this, &ListSectionView::selectionChanged);
    auto *pageLayout = new QVBoxLayout(mPage);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(mTable, 1);
    mButtons->addStretch(1);
    pageLayout->addLayout(mButtons);
    mLayout->addWidget(mPage, 1);
}

namespace {

// Every section's row starts Add, Edit, Remove, in that order; its own buttons follow in the
// order they were added.
int buttonRank(const QString &key)
{
    if (key == QLatin1String("ManagerAdd") || key == QLatin1String("NotesNew"))
        return 0;
    if (key == QLatin1String("ManagerEdit"))
        return 1;
    if (key == QLatin1String("ManagerRemove") || key == QLatin1String("NotesRemove"))
        return 2;
    return 3;
}

} // namespace

QPushButton *ListSectionView::addButton(const QString &key)
{
    auto *button = new QPushButton(QOR_StringUtils::getLocalizedStringForKey(key));
    button->setObjectName(key);
    if (buttonRank(key) == 0) {
        // The desktop's New key adds to the section shown: a hidden section's shortcut is idle.
        button->setShortcut(QKeySequence::New);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            button->text().remove(QChar(0x2026)).remove(QStringLiteral("...")).trimmed(),
            button->shortcut().toString(QKeySequence::NativeText)));
    }
    // After the stretch that keeps the row at the right, before the first of a later rank.
    int at = mButtons->count();
    for (int i = 0; i < mButtons->count(); ++i) {
        QWidget *other = mButtons->itemAt(i)->widget();
        if (other && buttonRank(other->objectName()) > buttonRank(key)) {
            at = i;
            break;
        }
    }
    mButtons->insertWidget(at, button);
    return button;
}

QStringList ListSectionView::buttonKeys() const
{
    QStringList keys;
    for (int i = 0; i < mButtons->count(); ++i) {
        if (QWidget *button = mButtons->itemAt(i)->widget())
            keys << button->objectName();
    }
    return keys;
}

QPushButton *ListSectionView::addEditButton()
{
    QPushButton *edit = addButton(QStringLiteral("ManagerEdit"));
    edit->setEnabled(false);
    connect(edit, &QPushButton::clicked, this, [this] {
        const QList<int> rows = selectedRows();
        if (!rows.isEmpty())
            emit editRequested(rows.first());
    });
    connect(mTable, &QListView::activated, this,
            [this](const QModelIndex &index) { emit editRequested(index.row()); });
    return edit;
}

void ListSectionView::acceptDroppedFiles(bool accept)
{
    mTable->setAcceptDrops(accept);
    mTable->setDropIndicatorShown(accept);
    mTable->setDragDropMode(accept ? QAbstractItemView::DropOnly : QAbstractItemView::NoDragDrop);
}

QList<int> ListSectionView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : mTable->selectionModel()->selectedIndexes())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<int> ListSectionView::selectedSourceIndexes() const
{
    QList<int> indexes;
    for (int row : selectedRows()) {
        const int source = mModel->sourceIndex(row);
        if (source >= 0)
            indexes << source;
    }
    return indexes;
}
