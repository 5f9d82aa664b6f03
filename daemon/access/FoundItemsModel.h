#pragma once

#include "FoundItem.h"

#include <QAbstractListModel>

class SearchController;

// The access window's rows: a view of the search engine's displayed list, never a copy of it.
// The list is replaced as a whole by each search, so the model resets when it is published.
class FoundItemsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { RecordRole = Qt::UserRole + 1, KindRole };

    explicit FoundItemsModel(SearchController *search, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The found item of a row, or nullptr outside the list; valid until the next publication.
    const FoundItem *itemAt(int row) const;

    // Called when the displayed list was replaced.
    void displayedListReplaced();

private:
    SearchController *mSearch;
};
