#include "ReminderWindow.h"

#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "SharedPreferences.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QToolButton>

const QString ReminderWindow::FrameKey = QStringLiteral("reminderWindow");

ReminderWindow::ReminderWindow(SharedPreferences *preferences, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , mPreferences(preferences)
    , mClose(new QToolButton(this))
{
    setWindowTitle(QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("ReminderListTitle")));
    setObjectName(QStringLiteral("reminderWindow"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setToolTip(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ReminderShowList")));
    resize(120, 26);
    mClose->setText(QStringLiteral("×"));
    mClose->setAutoRaise(true);
    mClose->setToolTip(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ReminderHideWindow")));
    mClose->setGeometry(width() - 22, 2, 20, 22);
    connect(mClose, &QToolButton::clicked, this, &ReminderWindow::hideRequested);

    mSaveFrameTimer.setSingleShot(true);
    mSaveFrameTimer.setInterval(500);
    connect(&mSaveFrameTimer, &QTimer::timeout, this, &ReminderWindow::saveFrame);
    const std::optional<QRect> saved = QOR_WindowsUtils::storedFrame(mPreferences, FrameKey);
    if (saved) {
        move(saved->topLeft());
    } else {
        move(defaultFrame(QOR_WindowsUtils::availableRoomFor(QOR_WindowsUtils::getScreenRect()),
                          size())
                 .topLeft());
    }
}

QRect ReminderWindow::defaultFrame(const QRect &room, const QSize &size)
{
    // The lower right corner, clear of the access window's first place (the upper right); the
    // note's list then opens on its left.
    QRect frame(QPoint(), size);
    frame.moveBottomRight(room.bottomRight() - QPoint(EdgeMargin, EdgeMargin));
    return QOR_WindowsUtils::frameKeptInside(frame, room);
}

void ReminderWindow::setCount(int count)
{
    mCount = count;
    update();
}

void ReminderWindow::moveInsideScreen()
{
    const QScreen *screen = QGuiApplication::screenAt(geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    if (area.contains(geometry()))
        return;
    QPoint at = pos();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    move(at);
}

void ReminderWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), CornerRadius, CornerRadius);
    painter.fillPath(path, QColor::fromRgbF(1, 1, 0.45));
    painter.setPen(QColor(0, 0, 0, 60));
    painter.drawPath(path);
    QFont font = painter.font();
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    // A small clock face, then the number of reminders.
    const QColor ink(0x50, 0x50, 0x20);
    const QRectF face(7, (height() - 14) / 2.0, 14, 14);
    painter.setPen(QPen(ink, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(face);
    painter.drawLine(face.center(), face.center() + QPointF(0, -4.5));
    painter.drawLine(face.center(), face.center() + QPointF(3.5, 0));
    painter.drawText(rect().adjusted(27, 0, -24, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QString::number(mCount));
}

void ReminderWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    mPressedAt = event->globalPosition().toPoint() - frameGeometry().topLeft();
    mDragged = false;
}

void ReminderWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!mPressedAt)
        return;
    const QPoint target = event->globalPosition().toPoint() - *mPressedAt;
    if ((target - pos()).manhattanLength() > 2 || mDragged) {
        mDragged = true;
        move(target);
    }
}

void ReminderWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && mPressedAt && !mDragged)
        emit listToggleRequested();
    mPressedAt.reset();
}

void ReminderWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (isVisible())
        mSaveFrameTimer.start();
    emit moved();
}

void ReminderWindow::savePendingFrame()
{
    if (!mSaveFrameTimer.isActive())
        return;
    mSaveFrameTimer.stop();
    saveFrame();
}

void ReminderWindow::saveFrame()
{
    QOR_WindowsUtils::storeFrame(mPreferences, FrameKey, geometry());
}
