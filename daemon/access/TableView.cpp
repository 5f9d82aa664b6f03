#include "TableView.h"

#include "ItemCell.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <limits>

TableView::TableView(QWidget *parent)
    : QListView(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    setTabKeyNavigation(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
}

void TableView::setEmptyText(const QString &text)
{
    mEmptyText = text;
    viewport()->update();
}

void TableView::setEmptyHint(const QString &text)
{
    mEmptyHint = text;
    viewport()->update();
}

int TableView::selectedRow() const
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel() && selectionModel()->isSelected(current))
        return current.row();
    const QModelIndexList rows =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TableView::selectRow(int row)
{
    if (!model() || row < 0 || !fetchRowsThrough(row))
        return;
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

bool TableView::fetchRowsThrough(int row)
{
    while (row >= model()->rowCount() && model()->canFetchMore({}))
        model()->fetchMore({});
    return row < model()->rowCount();
}

void TableView::reset()
{
    QListView::reset();
    verticalScrollBar()->setValue(0);
}

QPoint TableView::menuPointForRow(int row) const
{
    const QRect rect = model() ? visualRect(model()->index(row, 0)) : QRect();
    return viewport()->mapToGlobal(QPoint(viewport()->width() - 1, rect.center().y()));
}

bool TableView::event(QEvent *event)
{
    // Tab belongs to the window's focus rule, not to the widget chain.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            emit tabPressed();
            return true;
        }
    }
    return QListView::event(event);
}

void TableView::keyPressEvent(QKeyEvent *event)
{
    const bool plain =
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    switch (event->key()) {
    case Qt::Key_Space:
        if (plain) {
            emit spacePressed();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit returnPressed();
        return;
    case Qt::Key_Escape:
        emit escapePressed();
        return;
    case Qt::Key_Right:
        emit rightArrowPressed();
        return;
    case Qt::Key_End: // the last row, not the last one the view was given so far
        if (model())
            fetchRowsThrough(std::numeric_limits<int>::max());
        break;
    default:
        break;
    }
    QListView::keyPressEvent(event);
}

void TableView::mousePressEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    const QModelIndex index = indexAt(position);
    if (!index.isValid()) {
        QListView::mousePressEvent(event);
        return;
    }
    const bool rightBorder = position.x() >= viewport()->width() - ItemCell::MenuBorderWidth;
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (event->button() == Qt::RightButton) {
        if (!selectionModel()->isSelected(index))
            selectRow(index.row());
        emit floatingMenuRequested(index.row(), event->globalPosition().toPoint(), false);
        return;
    }
    if (event->button() == Qt::LeftButton && (rightBorder || control)) {
        if (!selectionModel()->isSelected(index))
            selectRow(index.row());
        emit floatingMenuRequested(index.row(), event->globalPosition().toPoint(), rightBorder);
        return;
    }
    QListView::mousePressEvent(event);
}

QRect TableView::emptyTextRect() const
{
    // Centred at a quarter of the visible height, where the eye looks for the first rows.
    const int centre = viewport()->height() / 4;
    return QRect(0, centre - 20, viewport()->width(), 40);
}

void TableView::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    if (!model() || model()->rowCount() > 0 || mEmptyText.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = this->font();
    font.setPixelSize(16);
    painter.setFont(font);
    const QRect rect = emptyTextRect();
    // A soft shadow below and right of the text: the text drawn small and scaled back up blurs
    // it by a few pixels at almost no cost.
    constexpr int Margin = 8;
    QImage shadow(rect.size() + QSize(2 * Margin, 2 * Margin), QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    {
        QPainter shadowPainter(&shadow);
        shadowPainter.setFont(font);
        shadowPainter.setPen(QColor(0, 0, 0, 120));
        shadowPainter.drawText(QRect(QPoint(Margin, Margin), rect.size()), Qt::AlignCenter,
                               mEmptyText);
    }
    const QImage blurred =
        shadow.scaled(shadow.size() / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .scaled(shadow.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(rect.topLeft() + QPoint(3 - Margin, 2 - Margin), blurred);
    painter.setPen(QColor(0x55, 0x55, 0x55));
    if (palette().color(QPalette::Base).lightness() < 128)
        painter.setPen(QColor(0xaa, 0xaa, 0xaa));
    painter.drawText(rect, Qt::AlignCenter, mEmptyText);
    if (mEmptyHint.isEmpty())
        return;
    QFont small = this->font();
    small.setPixelSize(13);
    painter.setFont(small);
    painter.drawText(QRect(24, rect.bottom() + 4, viewport()->width() - 48, viewport()->height()),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, mEmptyHint);
}
