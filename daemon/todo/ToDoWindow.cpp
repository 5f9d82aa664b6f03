#include "ToDoWindow.h"

#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "SharedPreferences.h"
#include "TableViewToDo.h"
#include "ToDoRowDelegate.h"

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

const QString ToDoWindow::FrameKey = QStringLiteral("todoWindow");

void ToDoListModel::setRecords(const QVariantList &records)
{
    beginResetModel();
    mRecords = records;
    endResetModel();
}

int ToDoListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(mRecords.size());
}

QVariant ToDoListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= mRecords.size())
        return {};
    if (role == RecordRole)
        return mRecords.at(index.row());
    if (role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
        return mRecords.at(index.row()).toMap().value(QStringLiteral("T"));
    return {};
}

ToDoWindow::ToDoWindow(SharedPreferences *preferences, std::function<QDateTime()> now,
                       QWidget *parent)
    // A normal window: it comes up by itself, so the taskbar and Alt+Tab must be able to find it.
    : QWidget(parent, Qt::Window)
    , mPreferences(preferences)
    , mTable(new TableViewToDo(this))
    , mModel(new ToDoListModel(this))
    , mMenu(new QMenu(this))
{
    setObjectName(QStringLiteral("todoWindow"));
    setWindowTitle(QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("ToDo")));
    mTable->setModel(mModel);
    mTable->setItemDelegate(
        new ToDoRowDelegate(ToDoListModel::RecordRole, true, std::move(now), mTable));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mTable);

    const auto add = [this](const QString &key, void (ToDoWindow::*signal)()) {
        QAction *action = mMenu->addAction(QOR_StringUtils::getLocalizedStringForKey(key));
        connect(action, &QAction::triggered, this, signal);
    };
    add(KORVALE_KEY("PopupMenuToDoDoneItem"), &ToDoWindow::doneRequested);
    add(KORVALE_KEY("PopupMenuToDoNextDayItem"), &ToDoWindow::nextDayRequested);
    add(KORVALE_KEY("PopupMenuToDoNextWeekItem"), &ToDoWindow::nextWeekRequested);
    add(KORVALE_KEY("PopupMenuToDoNextMonthItem"), &ToDoWindow::nextMonthRequested);
    connect(mTable, &TableViewToDo::contextMenuRequested, this, [this](const QPoint &at) {
        if (QMenu *menu = contextMenu())
            menu->popup(at);
    });
    // Keyboard first: Space or Return opens the selected row's menu under the row.
    connect(mTable, &TableViewToDo::commonKeyPressed, this, [this](int) {
        const int row = selectedRow();
        QMenu *menu = contextMenu();
        if (row < 0 || !menu)
            return;
        const QRect cell = mTable->visualRect(mModel->index(row));
        menu->popup(mTable->viewport()->mapToGlobal(cell.bottomLeft() + QPoint(24, 0)));
    });

    mSaveFrameTimer.setSingleShot(true);
    mSaveFrameTimer.setInterval(500);
    connect(&mSaveFrameTimer, &QTimer::timeout, this, &ToDoWindow::saveFrame);
    if (!restoreFrame()) {
        resize(420, 260);
        QOR_WindowsUtils::placeWindow(this, 0.5, 0.6);
    }
    QOR_WindowsUtils::keepFrameOnScreen(this);
}

void ToDoWindow::setRecords(const QVariantList &records)
{
    mTable->clearSelection();
    mModel->setRecords(records);
}

int ToDoWindow::selectedRow() const
{
    const QModelIndexList rows = mTable->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        return rows.first().row();
    // The keyboard's row: the table makes its first row current when it takes the focus, and
    // with a single row the arrows cannot move to select it.
    const QModelIndex current = mTable->currentIndex();
    return current.isValid() && mTable->hasFocus() ? current.row() : -1;
}

QMenu *ToDoWindow::contextMenu()
{
    return selectedRow() < 0 ? nullptr : mMenu;
}

void ToDoWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (isVisible())
        mSaveFrameTimer.start();
}

void ToDoWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isVisible())
        mSaveFrameTimer.start();
}

void ToDoWindow::savePendingFrame()
{
    if (!mSaveFrameTimer.isActive())
        return;
    mSaveFrameTimer.stop();
    saveFrame();
}

void ToDoWindow::saveFrame()
{
    QOR_WindowsUtils::storeFrame(mPreferences, FrameKey, geometry());
}

bool ToDoWindow::restoreFrame()
{
    const std::optional<QRect> saved = QOR_WindowsUtils::storedFrame(mPreferences, FrameKey);
    if (!saved)
        return false;
    // A frame left on a screen that is gone would open the window out of sight.
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersected(*saved).width() >= 60) {
            setGeometry(*saved);
            return true;
        }
    }
    return false;
}
