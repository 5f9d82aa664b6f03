#include "MainWindowForDrop.h"

#include "OutlineView.h"
#include "QOR_StringUtils.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCompleter>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

MainWindowForDrop::MainWindowForDrop(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mPath(new QLineEdit)
    , mMenuButton(new QToolButton)
    , mActionMenu(new QMenu(this))
    , mOutline(new OutlineView)
{
    setObjectName(QStringLiteral("browserWindow"));
    setWindowTitle(QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("BrowserWindowTitle")));
    setAcceptDrops(true);

    mPath->setObjectName(QStringLiteral("browserPath"));
    // The keys belong to the outline until the field is clicked or Ctrl+L asks for it.
    mPath->setFocusPolicy(Qt::ClickFocus);
    mPath->installEventFilter(this);
    connect(mPath, &QLineEdit::returnPressed, this, [this] {
        QString typed = mPath->text().trimmed();
        if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
            typed = QDir::homePath() + typed.mid(1);
        emit locationEntered(typed);
    });
    auto *locationKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(locationKey, &QShortcut::activated, this, [this] {
        mPath->setFocus(Qt::ShortcutFocusReason);
        mPath->selectAll();
    });
    mMenuButton->setObjectName(QStringLiteral("browserActionMenu"));
    mMenuButton->setIcon(QIcon::fromTheme(QStringLiteral("open-menu-symbolic"),
                                          QIcon::fromTheme(QStringLiteral("application-menu"))));
    if (mMenuButton->icon().isNull())
        mMenuButton->setText(QStringLiteral("\u2630"));
    mMenuButton->setMenu(mActionMenu);
    mMenuButton->setPopupMode(QToolButton::InstantPopup);
    mMenuButton->setFocusPolicy(Qt::NoFocus);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(4);
    top->addWidget(mPath, 1);
    top->addWidget(mMenuButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(mOutline, 1);
    setFocusProxy(mOutline);
    resize(340, 420);

    // F10 opens the action menu from the keyboard, as it opens a menu bar elsewhere.
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, mMenuButton, &QToolButton::showMenu);

    connect(mOutline, &OutlineView::filesDropped, this, &MainWindowForDrop::filesDropped);
    connect(mOutline, &OutlineView::spacePressed, this, &MainWindowForDrop::spacePressed);
}

void MainWindowForDrop::showLocation(const QString &path)
{
    const QString home = QDir::homePath();
    mShownLocation = path;
    if (home.size() > 1 && (path == home || path.startsWith(home + QLatin1Char('/'))))
        mShownLocation = QLatin1Char('~') + path.mid(home.size());
    mPath->setText(mShownLocation);
    // The end of a long path names the folder: that part stays in sight.
    mPath->end(false);
}

void MainWindowForDrop::addCompletion()
{
    if (mPath->completer())
        return;
    // Made on first use: the file system model starts a thread of its own.
    auto *folders = new QFileSystemModel(this);
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders->setRootPath(QString());
    auto *completer = new QCompleter(folders, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    mPath->setCompleter(completer);
}

bool MainWindowForDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mPath && (event->type() == QEvent::FocusIn || event->type() == QEvent::KeyPress))
        addCompletion();
    if (watched == mPath && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
        && !(mPath->completer() && mPath->completer()->popup()->isVisible())) {
        // Escape gives up the typing: the field shows where the browser is again.
        mPath->setText(mShownLocation);
        mPath->end(false);
        mOutline->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindowForDrop::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void MainWindowForDrop::dragEnterEvent(QDragEnterEvent *event)
{
    if ((event->possibleActions() & Qt::CopyAction) && !droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void MainWindowForDrop::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedPaths(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(paths);
}

void MainWindowForDrop::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        event->accept();
        emit spacePressed();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindowForDrop::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    emit moved();
}

void MainWindowForDrop::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit moved();
}
