#pragma once

#include "ListSectionView.h"

class QLabel;
class QLineEdit;

// The clipboard entries, filtered by the words of the search field.
class ClipboardSectionView : public ListSectionView
{
    Q_OBJECT
public:
    explicit ClipboardSectionView(QWidget *parent = nullptr);

    void setEntries(const QVariantList &list, const QList<int> &shown, const QString &counter);
    QString searchText() const;
    QLineEdit *searchField() const { return mSearch; }
    QLabel *counterLabel() const { return mCounter; }
    QPushButton *removeButton() const { return mRemove; }
    // Says, above the entries, that the clipboard is current only while one of the suite's
    // windows has the focus (a Wayland desktop without data control).
    void showFocusNote();
    bool showsFocusNote() const { return mFocusNote != nullptr; }

signals:
    void searchChanged();
    void addRequested();
    void removeRequested(const QList<int> &rows);

private:
    QLineEdit *mSearch;
    QLabel *mCounter;
    QPushButton *mRemove;
    QPushButton *mEdit;
    QLabel *mFocusNote = nullptr;
};
