#pragma once

#include <QStringList>
#include <QTreeView>

// The browser's outline: one column of icon and name, several rows selectable, keyboard first.
// Space toggles the file preview; a right click (selecting the clicked row first when it is not
// selected) or the menu key asks for the contextual menu; rows drag out as file names, and file
// names dropped on it re-root the browser.
class OutlineView : public QTreeView
{
    Q_OBJECT
public:
    explicit OutlineView(QWidget *parent = nullptr);

signals:
    void spacePressed();
    // Tab: on to the information panel's text.
    void tabPressed();
    void contextMenuWanted(const QPoint &globalPosition);
    void filesDropped(const QStringList &paths);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

// The local paths of dropped file names, in order; none when the data carries none.
QStringList droppedPaths(const class QMimeData *data);
