#pragma once

#include <QAbstractItemModel>
#include <QLabel>
#include <QPointer>
#include <QString>

class QAbstractItemView;
class QLineEdit;

// The line an empty list shows in place of a bare white box: what the list will hold and how to
// add the first entry. While the list's search field has text, an empty list says that nothing
// was found instead. It lies over the list's viewport, which owns it, and lets clicks through.
class EmptyListHint : public QLabel
{
    Q_OBJECT
public:
    static EmptyListHint *attach(QAbstractItemView *view, const QString &key,
                                 QLineEdit *search = nullptr);
    // The text the list shows now, empty while it has rows.
    QString shownText() const;
    // Shows the text the list's rows and search call for now.
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EmptyListHint(QAbstractItemView *view, const QString &key, QLineEdit *search);
    void watchModel();

    QAbstractItemView *mView;
    QString mKey;
    QPointer<QLineEdit> mSearch;
    QPointer<QAbstractItemModel> mWatched;
};
