#include "ClipboardSectionView.h"

#include "EmptyListHint.h"
#include "ItemClipboardCell.h"
#include "ItemRecord.h"
#include "QOR_StringUtils.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

ClipboardSectionView::ClipboardSectionView(QWidget *parent)
    : ListSectionView(
        [](const QVariant &entry) { return entry.toMap().value(ItemRecord::KeyTitle).toString(); },
        parent)
    , mSearch(new QLineEdit)
    , mCounter(new QLabel)
{
    table()->setItemDelegate(new ItemClipboardCell(table()));
    table()->setUniformItemSizes(true);
    mSearch->setPlaceholderText(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ManagerSearch")));
    mSearch->setClearButtonEnabled(true);
    mSearch->setObjectName(QStringLiteral("search"));
    mCounter->setObjectName(QStringLiteral("counter"));
    auto *bar = new QHBoxLayout;
    bar->addWidget(mSearch, 1);
    bar->addWidget(mCounter);
    mainLayout()->insertLayout(0, bar);

    connect(addButton(QStringLiteral("ManagerAdd")), &QPushButton::clicked, this,
            &ClipboardSectionView::addRequested);
    mRemove = addButton(QStringLiteral("ManagerRemove"));
    mEdit = addEditButton();
    mRemove->setEnabled(false);
    // clickClipboardTableView: the buttons act on a selection, so they wait for one.
    connect(this, &ListSectionView::selectionChanged, this, [this] {
        const bool any = !selectedRows().isEmpty();
        mRemove->setEnabled(any);
        mEdit->setEnabled(any);
    });
    connect(mRemove, &QPushButton::clicked, this, [this] { emit removeRequested(selectedRows()); });
    connect(mSearch, &QLineEdit::textChanged, this, &ClipboardSectionView::searchChanged);
    EmptyListHint::attach(table(), KORVALE_KEY("EmptyClipboardHint"), mSearch);
}

void ClipboardSectionView::setEntries(const QVariantList &list, const QList<int> &shown,
                                      const QString &counter)
{
    model()->setList(list, shown);
    mCounter->setText(counter);
}

void ClipboardSectionView::showFocusNote()
{
    if (mFocusNote)
        return;
    mFocusNote = new QLabel(
        QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("ClipboardWaylandFocusNote")));
    mFocusNote->setObjectName(QStringLiteral("focusNote"));
    mFocusNote->setWordWrap(true);
    mainLayout()->insertWidget(1, mFocusNote); // under the search bar
}

QString ClipboardSectionView::searchText() const
{
    return mSearch->text();
}
