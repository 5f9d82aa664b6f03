#pragma once

#include <QList>
#include <QWidget>

class QToolButton;

// The row of seven filter buttons; each button's tag is the filter value it sets.
class FilterButtons : public QWidget
{
    Q_OBJECT
public:
    static const QList<int> &tags(); // 1, 2, 3, 4, 5, 6, 9

    explicit FilterButtons(QWidget *parent = nullptr);

    // The on image for every button whose list the filter value searches, the off image else.
    void showFilter(int value);
    bool isOn(int tag) const;
    QToolButton *button(int tag) const;

signals:
    void groupChanged(int tag);

protected:
    void changeEvent(QEvent *event) override;

private:
    QList<QToolButton *> mButtons;
    int mValue = -1;
};
