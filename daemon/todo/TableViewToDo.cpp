#include "TableViewToDo.h"

#include "QOR_StringUtils.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TableViewToDo::TableViewToDo(QWidget *parent)
    : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
}

void TableViewToDo::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit commonKeyPressed(event->key());
        return;
    default:
        QListView::keyPressEvent(event);
    }
}

void TableViewToDo::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        if (index.isValid() && !selectionModel()->isSelected(index))
            setCurrentIndex(index);
        emit contextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    QListView::mousePressEvent(event);
    if (event->modifiers() & Qt::ControlModifier)
        emit contextMenuRequested(event->globalPosition().toPoint());
}

QString TableViewToDo::emptyText()
{
    // The list of every task, not a search: "no results" would say nothing was found.
    return QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("NoToDoItem"));
}

void TableViewToDo::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    if (model() && model()->rowCount() > 0)
        return;
    QPainter painter(viewport());
    QFont font = painter.font();
    font.setPointSize(16);
    painter.setFont(font);
    // Raised by a quarter of the height, over a soft shadow.
    const QRect area = viewport()->rect().translated(0, -viewport()->height() / 4);
    const QString text = emptyText();
    painter.setPen(QColor(0, 0, 0, 60));
    painter.drawText(area.translated(3, 2), Qt::AlignCenter, text);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawText(area, Qt::AlignCenter, text);
}
