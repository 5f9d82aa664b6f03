#pragma once

#include "FoundItem.h"
#include "SearchPass.h"

#include <QAbstractListModel>

class SearchController;

// The access window's rows: a view of the search engine's displayed list, never a copy of it.
// The list is replaced as a whole by each search, so the model resets when it is published.
// The view is given the rows a thousand at a time, as many as a pass hands over first (fetchMore,
// as it scrolls to the end): a list view lays out every row it has, which for 100,000 found
// records took 10 ms a keystroke.
class FoundItemsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { RecordRole = Qt::UserRole + 1, KindRole };
    static constexpr int kRowsAtOnce = int(SearchPass::kFirstRows);

    explicit FoundItemsModel(SearchController *search, QObject *parent = nullptr);

    // The rows given to the view so far.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    // The found item of a row, or nullptr outside the list (given to the view or not); valid
    // until the next publication.
    const FoundItem *itemAt(int row) const;

    // Called when the displayed list was replaced.
    void displayedListReplaced();

private:
    int listSize() const;
    // Gives the view the rows up to count (of the list's), if it has fewer.
    void showRowsUpTo(int count);

    SearchController *mSearch;
    int mShown = 0;
    bool mAppending = false;
};
