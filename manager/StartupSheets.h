#pragma once

#include <QDialog>

class QLabel;
class QStackedWidget;
class QPushButton;

// The licence shown on the first start of each version: accepting it goes on, declining quits.
class AgreementSheet : public QDialog
{
    Q_OBJECT
public:
    // The licence text; the note says in one paragraph what it allows.
    AgreementSheet(const QString &licenceText, QWidget *parent = nullptr);
    static QString licenceText();
};

// The about box: name, version, the licence line, then the credits, what is new and the quick
// help.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    AboutBox(const QString &version, QWidget *parent = nullptr);
};

// The tour on the first start of a version: a few pages, each a picture of the access window
// and one sentence.
class TourWindow : public QDialog
{
    Q_OBJECT
public:
    explicit TourWindow(QWidget *parent = nullptr);
    int pageCount() const;
    int currentPage() const;
    // A page's picture in the language of the interface, the English one when it has none.
    static QString picturePath(const QString &name);

private:
    void showPage(int page);
    QStackedWidget *mPages;
    QPushButton *mBack;
    QPushButton *mNext;
};
