#include "MainWindow.h"

#include "AccessIcons.h"
#include "AccessMenus.h"
#include "FilterButtons.h"
#include "ItemCell.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "SearchField.h"
#include "SharedPreferences.h"
#include "TableView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

const QString MainWindow::FrameKey = QStringLiteral("korvaleDaemonWindow");

namespace {
constexpr QSize DefaultSize(460, 520);
}

MainWindow::MainWindow(SharedPreferences *preferences, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , mPreferences(preferences)
{
    setObjectName(QStringLiteral("korvaleDaemonWindow"));
    ItemCell::useDesktopIconTheme();
    setWindowTitle(QStringLiteral("Korvale"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(320, 260);
    resize(DefaultSize);

    mSearchField = new SearchField(this);
    mSearchField->setObjectName(QStringLiteral("SearchField"));

    mMenus = new AccessMenus(this);
    mActionMenuButton = new QToolButton(this);
    mActionMenuButton->setIcon(AccessIcons::icon(QStringLiteral("icon_Menu")));
    mActionMenuButton->setIconSize(QSize(20, 20));
    mActionMenuButton->setMenu(mMenus->actionMenu());
    mActionMenuButton->setPopupMode(QToolButton::InstantPopup);
    mActionMenuButton->setAutoRaise(true);
    mActionMenuButton->setFocusPolicy(Qt::NoFocus);
    mActionMenuButton->setStyleSheet(
        QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));

    mFilterButtons = new FilterButtons(this);
    mFilterMenuButton = new QToolButton(this);
    mFilterMenuButton->setMenu(mMenus->filterMenu());
    mFilterMenuButton->setPopupMode(QToolButton::InstantPopup);
    mFilterMenuButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    mFilterMenuButton->setAutoRaise(true);
    mFilterMenuButton->setStyleSheet(
        QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    mFilterMenuButton->setFocusPolicy(Qt::NoFocus);

    mTable = new TableView(this);
    mTable->setObjectName(QStringLiteral("TableView"));
    mTable->setItemDelegate(new ItemCell(mTable));
    mTable->setEmptyText(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("NoResultAvailable")));

    mCounter = new QLabel(this);
    mCounter->setObjectName(QStringLiteral("CounterLine"));
    QFont small = mCounter->font();
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.85);
    mCounter->setFont(small);
    mCounter->setForegroundRole(QPalette::PlaceholderText);

    mEmailButton = new QToolButton(this);
    mEmailButton->setObjectName(QStringLiteral("EmailButton"));
    mEmailButton->setIcon(
        ItemCell::desktopIcon({QStringLiteral("mail-send"), QStringLiteral("mail-message-new")}));
    mEmailButton->setText(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("SendEmail")));
    mEmailButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mEmailButton->setAutoRaise(true);
    mEmailButton->setFocusPolicy(Qt::NoFocus);
    mEmailButton->setVisible(false);
    connect(mEmailButton, &QToolButton::clicked, this, &MainWindow::emailButtonClicked);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 8);
    layout->setSpacing(8);
    auto *top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(mSearchField, 1);
    top->addWidget(mActionMenuButton);
    layout->addLayout(top);
    auto *filters = new QHBoxLayout;
    filters->setSpacing(4);
    filters->addWidget(mFilterButtons);
    filters->addStretch(1);
    filters->addWidget(mFilterMenuButton);
    layout->addLayout(filters);
    layout->addWidget(mTable, 1);
    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(4, 0, 0, 0);
    bottom->addWidget(mCounter, 1);
    bottom->addWidget(mEmailButton);
    layout->addLayout(bottom);

    setFocusProxy(mSearchField);

    mSaveFrameTimer.setSingleShot(true);
    mSaveFrameTimer.setInterval(400);
    connect(&mSaveFrameTimer, &QTimer::timeout, this, &MainWindow::saveFrame);
    // The first time, the upper right of the screen, out of the way of the work underneath.
    if (!restoreFrame()) {
        QOR_WindowsUtils::placeWindow(this, 0.8, 0.9);
        // A window taller than a fifth of the screen would have its centre's place push its
        // top above the screen, where no window manager lets the user reach it.
        const QRect screen = QOR_WindowsUtils::getScreenRect();
        if (!screen.isEmpty()) {
            QRect frame = geometry();
            frame.moveTop(std::clamp(frame.top(), screen.top(),
                                     std::max(screen.top(), screen.bottom() - frame.height())));
            frame.moveLeft(std::clamp(frame.left(), screen.left(),
                                      std::max(screen.left(), screen.right() - frame.width())));
            move(frame.topLeft());
        }
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::setSelectionInformation(const QString &text)
{
    mCounter->setText(text);
}

void MainWindow::showFilterTitle(const QString &title)
{
    mFilterMenuButton->setText(title + QStringLiteral("  \u25BE"));
}

QString MainWindow::frameString() const
{
    return QOR_WindowsUtils::frameString(geometry());
}

std::optional<QRect> MainWindow::parseFrameString(const QString &text)
{
    return QOR_WindowsUtils::parseFrameString(text);
}

void MainWindow::saveFrame()
{
    QOR_WindowsUtils::storeFrame(mPreferences, FrameKey, geometry());
}

void MainWindow::savePendingFrame()
{
    if (!mSaveFrameTimer.isActive())
        return;
    mSaveFrameTimer.stop();
    saveFrame();
}

bool MainWindow::restoreFrame()
{
    const auto saved = QOR_WindowsUtils::storedFrame(mPreferences, FrameKey);
    if (!saved)
        return false;
    // A frame left on a screen that is gone would open the window out of sight.
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersected(*saved).width() >= 60
            && screen->availableGeometry().contains(saved->topLeft() + QPoint(20, 10))) {
            setGeometry(QRect(saved->topLeft(), saved->size().expandedTo(minimumSize())));
            return true;
        }
    }
    return false;
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF panel = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(panel, CornerRadius, CornerRadius);
    const QColor window = palette().color(QPalette::Window);
    const bool dark = window.lightness() < 128;
    QLinearGradient gradient(panel.topLeft(), panel.bottomLeft());
    gradient.setColorAt(0, dark ? window.lighter(118) : window.lighter(104));
    gradient.setColorAt(1, dark ? window : window.darker(102));
    painter.fillPath(path, gradient);
    QColor outline = palette().color(QPalette::Shadow);
    outline.setAlpha(dark ? 200 : 90);
    painter.setPen(QPen(outline, 1));
    painter.drawPath(path);

    // The table sits on the base colour, in a rounded well of its own.
    const QRectF well = QRectF(mTable->geometry()).adjusted(-1.5, -1.5, 1.5, 1.5);
    QPainterPath wellPath;
    wellPath.addRoundedRect(well, 6, 6);
    painter.fillPath(wellPath, palette().color(QPalette::Base));
    QColor wellLine = palette().color(QPalette::Mid);
    wellLine.setAlpha(120);
    painter.setPen(QPen(wellLine, 1));
    painter.drawPath(wellPath);
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The window manager moves it when it can, so edge snapping and the like keep working.
    if (windowHandle() && windowHandle()->startSystemMove()) {
        event->accept();
        return;
    }
    mDragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (mDragOffset && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *mDragOffset);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (mDragOffset) {
        mDragOffset.reset();
        saveFrame();
    }
    QWidget::mouseReleaseEvent(event);
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (isVisible())
        mSaveFrameTimer.start();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    emit windowWillClose();
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        mActionMenuButton->setIcon(AccessIcons::icon(QStringLiteral("icon_Menu")));
    QWidget::changeEvent(event);
}
