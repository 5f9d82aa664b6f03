#pragma once

#include "ListFile.h"
#include "ListSectionView.h"

#include <QDateTime>
#include <QDialog>
#include <QObject>
#include <QVariantList>

#include <functional>
#include <optional>

class QCheckBox;
class QDateTimeEdit;
class QLineEdit;
class QPushButton;

// The to-do editor: title, due date and time, done box.
class ToDoEditorSheet : public QDialog
{
    Q_OBJECT
public:
    explicit ToDoEditorSheet(QWidget *parent = nullptr);
    // The record built from the fields on OK (kind, title, date, done only), nothing on Cancel.
    std::optional<QVariantMap> edit(const QString &title, const QDateTime &date, bool done);

    QLineEdit *titleField() const { return mTitle; }
    QDateTimeEdit *dateField() const { return mDate; }
    QCheckBox *doneBox() const { return mDone; }

signals:
    // Each run, once the fields are filled: where tests step in.
    void running();

private:
    QLineEdit *mTitle;
    QDateTimeEdit *mDate;
    QCheckBox *mDone;
};

// Section 6: the to-do items with a search field, Add, Edit and Remove.
class ToDoSectionView : public ListSectionView
{
    Q_OBJECT
public:
    explicit ToDoSectionView(std::function<QDateTime()> now, QWidget *parent = nullptr);
    QLineEdit *searchField() const { return mSearch; }
    QPushButton *removeButton() const { return mRemove; }

signals:
    void addRequested();
    void removeRequested();
    void searchChanged();

private:
    QLineEdit *mSearch;
    QPushButton *mRemove;
    QPushButton *mEdit;
};

// The manager's to-do list: read from "ToDo.krvdata", kept in order, saved whole after each
// change, and shown through the section's filter.
class ToDoSection : public QObject
{
    Q_OBJECT
public:
    explicit ToDoSection(std::function<QDateTime()> now = {}, QObject *parent = nullptr);
    ~ToDoSection() override;

    ToDoSectionView *view() const { return mView; }
    ToDoEditorSheet *editor() const { return mEditor; }
    const QVariantList &list() const { return mListOfToDo; }

    void readList();
    void addToDo() { editToDoAtIndex(-1); }
    void editToDo();
    void editToDoAtIndex(int position);
    void removeToDo();
    void searchToDo();

private:
    void save();

    std::function<QDateTime()> mNow;
    QVariantList mListOfToDo;
    ListFile mFile;
    ToDoSectionView *mView;
    ToDoEditorSheet *mEditor;
};
