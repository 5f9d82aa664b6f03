#pragma once

#include "RecordListModel.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QHBoxLayout;
class QListView;
class QPushButton;
class QVBoxLayout;

// A section built around one table: the table, with its buttons underneath. The table takes
// file names dropped from the file manager when the section wants them.
class ListSectionView : public QWidget
{
    Q_OBJECT
public:
    ListSectionView(RecordListModel::Display display, QWidget *parent = nullptr);

    QListView *table() const { return mTable; }
    RecordListModel *model() const { return mModel; }
    // The rows selected, in ascending order.
    QList<int> selectedRows() const;
    // The list indexes the selected rows show, in ascending order of rows.
    QList<int> selectedSourceIndexes() const;
    void acceptDroppedFiles(bool accept);
    // The keys of the row's buttons, left to right.
    QStringList buttonKeys() const;

signals:
    void pathsDropped(const QStringList &paths);
    void selectionChanged();
    void editRequested(int row);

protected:
    QPushButton *addButton(const QString &key);
    // Edit… for the first selected row; Return or a double click on a row edits it too.
    QPushButton *addEditButton();
    // The table and its buttons, in the section's layout.
    QWidget *page() const { return mPage; }
    QVBoxLayout *mainLayout() const { return mLayout; }

private:
    QListView *mTable;
    RecordListModel *mModel;
    QWidget *mPage;
    QVBoxLayout *mLayout;
    QHBoxLayout *mButtons;
};
