#include "OutlineView.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

QStringList droppedPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

OutlineView::OutlineView(QWidget *parent)
    : QTreeView(parent)
{
    setObjectName(QStringLiteral("browserOutline"));
    setHeaderHidden(true);
    setUniformRowHeights(true); // keeps folders of thousands of rows fast to lay out
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideMiddle);
    setIconSize(QSize(16, 16));
    setExpandsOnDoubleClick(false); // a double click re-roots instead
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setDropIndicatorShown(false);
    setAllColumnsShowFocus(true);
}

void OutlineView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        // Space would also move the current row by keyboard search; here it only previews.
        event->accept();
        emit spacePressed();
        return;
    }
    QTreeView::keyPressEvent(event);
}

bool OutlineView::focusNextPrevChild(bool next)
{
    // The window has no other field to tab to: Tab leads into the information text.
    if (next)
        emit tabPressed();
    return true;
}

void OutlineView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex clicked = indexAt(event->pos());
        if (clicked.isValid() && !selectionModel()->isSelected(clicked))
            selectionModel()->setCurrentIndex(clicked, QItemSelectionModel::ClearAndSelect);
        emit contextMenuWanted(event->globalPos());
        return;
    }
    // From the keyboard: at the current row.
    const QRect row = visualRect(currentIndex());
    emit contextMenuWanted(viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint()));
}

void OutlineView::dragEnterEvent(QDragEnterEvent *event)
{
    // Our own rows dragged back in are no re-rooting.
    if (event->source() != this && !droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void OutlineView::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->source() != this && !droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void OutlineView::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedPaths(event->mimeData());
    if (event->source() == this || paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(paths);
}
