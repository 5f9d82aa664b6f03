#pragma once

#include <QListView>

// The agent's to-do table: Space and Return, a right click or a Control-click ask for the row's
// menu, and an empty table says so.
class TableViewToDo : public QListView
{
    Q_OBJECT
public:
    explicit TableViewToDo(QWidget *parent = nullptr);
    // What the empty list says.
    static QString emptyText();

signals:
    void commonKeyPressed(int key);
    void contextMenuRequested(const QPoint &globalPosition);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
