#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>

class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// The agent's small editor for a file or folder reached from a menu: its modification date,
// and a duplicate under a new name in the same folder.
class FileEditorWindow : public QWidget
{
    Q_OBJECT
public:
    explicit FileEditorWindow(QWidget *parent = nullptr);

    // Fills the window for an existing path and brings it up, centred; false (and nothing
    // shown) when nothing is at the path.
    bool edit(const QString &path);
    QString editorPath() const { return mPath; }

    // "name 2.txt" for "name.txt", "name 3.txt" for "name 2.txt", "name 2" for "name 9"...
    static QString proposedDuplicateName(const QString &fileName);
    // False when nothing is at the path or the date cannot be set.
    static bool setModificationDate(const QString &path, const QDateTime &date);
    // Copies a file, or a folder with its contents, to a target that does not exist yet;
    // false, with nothing copied, when the target exists or a copy fails (a partial folder copy
    // is removed again).
    static bool duplicate(const QString &path, const QString &target);

    QLineEdit *nameField() const { return mName; }
    QDateTimeEdit *dateField() const { return mDate; }

public slots:
    void changeDate(); // doEditorChangeDate
    void changeDuplicate(); // doEditorChangeDuplicate

private:
    QString mPath;
    QLineEdit *mName;
    QLabel *mFolder;
    QDateTimeEdit *mDate;
    QPushButton *mChangeDate;
    QPushButton *mDuplicate;
};
