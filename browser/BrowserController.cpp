#include "BrowserController.h"

#include "BrowserItem.h"
#include "BrowserMenus.h"
#include "BrowserModel.h"
#include "DateChange.h"
#include "DateSheet.h"
#include "FilePreviewPanel.h"
#include "ItemInformation.h"
#include "KorvaleLog.h"
#include "MainWindowForDrop.h"
#include "NativeFileName.h"
#include "OutlineView.h"
#include "PreviewPanelWindow.h"
#include "QORWindowSoft.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "RenameSheet.h"
#include "SelectionWindow.h"
#include "SharedPreferences.h"
#include "WindowFocus.h"
#include "platform/NotificationCenter.h"
#include "platform/Workspace.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

const QString BrowserController::ShowPackageContentsKey = QStringLiteral("ShowPackageContents");
const QString BrowserController::ShowInvisibleKey = QStringLiteral("ShowInvisible");
const QString BrowserController::ShowRawPathKey = QStringLiteral("ShowRawPath");
const QString BrowserController::WindowFrameKey = QStringLiteral("browserWindow");

namespace {

BrowserController *gSharedInstance = nullptr;

constexpr int QuitDelayMs = 100;
constexpr int DropDelayMs = 100;
constexpr int HomeDelayMs = 1000;
constexpr int PanelGap = 2;
constexpr int PanelMinHeight = 40;
constexpr int PanelMaxHeight = 1000;
constexpr int PanelTextPadding = 12;
constexpr int ReportedFailuresLimit = 20;

QString localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

QString homeFolder()
{
    return QDir::homePath();
}

bool onSomeScreen(const QRect &frame)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersected(frame).width() >= 60
            && screen->availableGeometry().contains(frame.topLeft() + QPoint(20, 10)))
            return true;
    }
    return false;
}

// Rows of the tree from the top: an index's rows from the root down, compared in order.
QList<int> treeOrderKey(QModelIndex index)
{
    QList<int> key;
    while (index.isValid()) {
        key.prepend(index.row());
        index = index.parent();
    }
    return key;
}

} // namespace

BrowserController::BrowserController(Environment environment)
    : mEnvironment(std::move(environment))
{
    gSharedInstance = this;
    if (!mEnvironment.notifications) {
        mOwnNotifications = NotificationCenter::createSessionBusCenter();
        if (!mOwnNotifications->isAvailable())
            KorvaleLog::line(QStringLiteral("korvale-browser hears no notifications: %1")
                                 .arg(mOwnNotifications->why()));
        mEnvironment.notifications = mOwnNotifications.get();
    }
    if (!mEnvironment.workspace) {
        mOwnWorkspace = Workspace::createLinux();
        mEnvironment.workspace = mOwnWorkspace.get();
    }
    if (!mEnvironment.preferences) {
        mOwnPreferences = std::make_unique<SharedPreferences>(defaultPreferencesPath());
        mEnvironment.preferences = mOwnPreferences.get();
    }
    if (!mEnvironment.quit)
        mEnvironment.quit = [] { QCoreApplication::quit(); };
    connect(mEnvironment.notifications, &NotificationCenter::notificationReceived, this,
            &BrowserController::receiveNotification);
}

BrowserController::~BrowserController()
{
    mEnvironment.notifications->stopObservingAll();
    delete mWindow; // a top-level window: its panel and sheets go with it
    if (gSharedInstance == this)
        gSharedInstance = nullptr;
}

BrowserController *BrowserController::sharedInstance()
{
    return gSharedInstance;
}

QString BrowserController::defaultPreferencesPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Korvale/browser.cbor");
}

void BrowserController::awakeFromNib()
{
    mWindow = new MainWindowForDrop;
    mModel = new BrowserModel(mWindow);
    OutlineView *view = mWindow->outline();
    view->setModel(mModel);

    // Centred on the point at 80 % of the screen's width and 90 % of its height; a frame the
    // user left wins.
    QOR_WindowsUtils::placeWindow(mWindow, 0.8, 0.9);
    if (const auto saved = QOR_WindowsUtils::parseFrameString(
            mEnvironment.preferences->stringValue(WindowFrameKey).value_or(QString()));
        saved && onSomeScreen(*saved))
        mWindow->setGeometry(*saved);
    // The default place is high on the screen: the title bar must not end above it.
    QOR_WindowsUtils::keepFrameOnScreen(mWindow);

    const auto option = [this](const QString &key) {
        return mEnvironment.preferences->intValue(key).value_or(0) != 0;
    };
    mShowPackageContents = option(ShowPackageContentsKey);
    mShowInvisible = option(ShowInvisibleKey);
    mShowRawPath = option(ShowRawPathKey);

    connect(view, &QAbstractItemView::doubleClicked, this, [this] { doOpenItem(); });
    connect(view, &OutlineView::contextMenuWanted, this, [this](const QPoint &at) {
        std::unique_ptr<QMenu> menu(getFloatingPopupMenu());
        if (menu)
            menu->exec(at);
    });
    connect(mWindow, &MainWindowForDrop::spacePressed, this, &BrowserController::toggleQL);
    connect(view, &OutlineView::tabPressed, this, &BrowserController::makeTextViewFirstResponder);
    connect(mWindow, &MainWindowForDrop::locationEntered, this, [this](const QString &path) {
        if (path.isEmpty() || !QFileInfo::exists(path)) {
            // Left as typed, so that one mistyped letter is mended rather than typed again.
            QApplication::beep();
            return;
        }
        createBrowserForPath(path, false);
        mWindow->outline()->setFocus(Qt::OtherFocusReason);
    });
    connect(mWindow, &MainWindowForDrop::filesDropped, this,
            [this](const QStringList &paths) { createBrowserForPathLater(paths.first()); });
    connect(mWindow, &MainWindowForDrop::moved, this, [this] {
        if (mSelectionWindow->isVisible())
            placeInformationPanel();
    });
    connect(mWindow, &MainWindowForDrop::closed, this, [this] {
        hideInformationPanel();
        quitSoon();
    });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateInformationPanel(); });
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { updateInformationPanel(); });

    buildActionMenu();

    mSelectionWindow = new SelectionWindow(mWindow);
    mSelectionWindow->setObjectName(QStringLiteral("browserInformation"));
    SelectionTextView *text = mSelectionWindow->textView();
    connect(text, &SelectionTextView::tabPressed, this, [this] {
        WindowFocus::activate(mWindow);
        mWindow->outline()->setFocus();
    });
    connect(text, &SelectionTextView::escapePressed, this, &BrowserController::browserQuit);

    mRenameSheet = new RenameSheet(mWindow);
    mDateSheet = new DateSheet(mWindow);
    mMenus = new BrowserMenus(
        [this] {
            return BrowserMenus::Options{mShowInvisible, mShowPackageContents};
        },
        [this](const QString &path) { doRevealItemInPopupMenu(path); }, this);
    mPreview = std::make_unique<FilePreviewPanel>();
}

void BrowserController::applicationDidFinishLaunching()
{
    mEnvironment.notifications->observe(NotificationChannel::Browser);
    QTimer::singleShot(HomeDelayMs, this, [this] {
        if (!rootItem())
            createBrowserForPath(QString(), false);
    });
}

QAction *BrowserController::addMenuAction(QMenu *menu, const QString &titleKey,
                                          void (BrowserController::*slot)(),
                                          const QKeySequence &shortcut)
{
    QAction *entry = menu->addAction(QOR_StringUtils::getLocalizedStringForKey(titleKey));
    entry->setShortcut(shortcut);
    entry->setShortcutContext(Qt::WindowShortcut);
    connect(entry, &QAction::triggered, this, slot);
    // On the window too, so that the keys work with the menu closed.
    mWindow->addAction(entry);
    mActions.insert(titleKey, entry);
    return entry;
}

void BrowserController::buildActionMenu()
{
    QMenu *menu = mWindow->actionMenu();
    menu->clear();
    const auto ctrl = [](int key) { return QKeySequence(Qt::CTRL | key); };
    const auto ctrlAlt = [](int key) { return QKeySequence(Qt::CTRL | Qt::ALT | key); };
    addMenuAction(menu, KORVALE_KEY("PopupMenuOpenItem"), &BrowserController::doubleClickBrowser,
                  QKeySequence(Qt::Key_Return));
    addMenuAction(menu, KORVALE_KEY("PopupMenuBrowserOpenItem"), &BrowserController::doOpenItem,
                  ctrl(Qt::Key_O));
    addMenuAction(menu, KORVALE_KEY("PopupMenuRevealItem"), &BrowserController::doRevealItem,
                  ctrl(Qt::Key_R));
    addMenuAction(menu, KORVALE_KEY("PopupMenuShowParent"), &BrowserController::doShowParent,
                  ctrl(Qt::Key_B));
    menu->addSeparator();
    addMenuAction(menu, KORVALE_KEY("PopupMenuCopy"), &BrowserController::browserCopy,
                  ctrl(Qt::Key_C));
    addMenuAction(menu, KORVALE_KEY("PopupMenuSelectAll"), &BrowserController::browserSelectAll,
                  ctrl(Qt::Key_A));
    menu->addSeparator();
    QMenu *modify = menu->addMenu(localized("PopupMenuModify"));
    mActions.insert(QStringLiteral("PopupMenuModify"), modify->menuAction());
    addMenuAction(modify, KORVALE_KEY("PopupMenuModifyDate"), &BrowserController::browserModifyDate,
                  ctrlAlt(Qt::Key_D));
    addMenuAction(modify, KORVALE_KEY("PopupMenuModifyName"), &BrowserController::browserModifyName,
                  ctrlAlt(Qt::Key_R));
    menu->addSeparator();
    for (QAction *option :
         {addMenuAction(menu, KORVALE_KEY("PopupMenuShowInvisible"),
                        &BrowserController::browserShowInvisible, ctrlAlt(Qt::Key_I)),
          addMenuAction(menu, KORVALE_KEY("PopupMenuShowPackageContents"),
                        &BrowserController::browserShowPackageContents, ctrlAlt(Qt::Key_M)),
          addMenuAction(menu, KORVALE_KEY("PopupMenuShowRawPath"),
                        &BrowserController::browserShowRawPath, ctrl(Qt::Key_U))})
        option->setCheckable(true);
    menu->addSeparator();
    addMenuAction(menu, KORVALE_KEY("PopupMenuQuit"), &BrowserController::browserQuit,
                  ctrl(Qt::Key_Q));
    connect(menu, &QMenu::aboutToShow, this, &BrowserController::validateMenus);
    validateMenus();
    // Keys reach the actions also between openings of the menu: revalidate on selection.
    connect(mWindow->outline()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BrowserController::validateMenus);
}

void BrowserController::validateMenus()
{
    const bool selected = selectedItem() != nullptr;
    for (const char *key : {"PopupMenuOpenItem", "PopupMenuBrowserOpenItem", "PopupMenuRevealItem",
                            "PopupMenuModify", "PopupMenuModifyDate", "PopupMenuModifyName"})
        mActions.value(QString::fromLatin1(key))->setEnabled(selected);
    // Copy acts on the information text, which is there only with a selected row.
    mActions.value(QStringLiteral("PopupMenuCopy"))->setEnabled(selected);
    const BrowserItem *root = rootItem();
    bool parentAllowed = true;
    if (root) {
        const QString rootPath = QDir::cleanPath(root->getPath());
        parentAllowed = rootPath != QLatin1String("/")
            && !BrowserMenus::holdsVolumes(QFileInfo(rootPath).path());
    }
    mActions.value(QStringLiteral("PopupMenuShowParent"))->setEnabled(parentAllowed);
    mActions.value(QStringLiteral("PopupMenuShowInvisible"))->setChecked(mShowInvisible);
    mActions.value(QStringLiteral("PopupMenuShowPackageContents"))
        ->setChecked(mShowPackageContents);
    mActions.value(QStringLiteral("PopupMenuShowRawPath"))->setChecked(mShowRawPath);
}

QAction *BrowserController::action(const QString &titleKey) const
{
    return mActions.value(titleKey);
}

OutlineView *BrowserController::outline() const
{
    return mWindow ? mWindow->outline() : nullptr;
}

BrowserItem *BrowserController::rootItem() const
{
    return mModel ? mModel->root() : nullptr;
}

QString BrowserController::localizedPath(const QString &path)
{
    if (path.isNull())
        return {};
    return QOR_StringUtils::localizedPath(path);
}

void BrowserController::createBrowserForPath(const QString &requested, bool forceUpdate)
{
    QString path = requested.isEmpty() ? homeFolder() : requested;
    if (path.startsWith(QLatin1String("~/")) || path == QLatin1String("~"))
        path = homeFolder() + path.mid(1);
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        path = info.absolutePath();

    OutlineView *view = mWindow->outline();
    view->clearSelection();
    if (!mWindow->isVisible())
        QORWindowSoftShow::showWindow(mWindow);

    if (!forceUpdate && rootItem() && rootItem()->getPath() == path) {
        bringToFront();
        return;
    }
    mWindow->showLocation(path);
    mModel->setRoot(
        std::make_unique<BrowserItem>(path, std::nullopt, mShowInvisible, mShowPackageContents));
    if (mModel->rowCount() == 1)
        view->expand(mModel->index(0, 0));
    if (mModel->rowCount() > 0)
        view->selectionModel()->setCurrentIndex(mModel->index(0, 0), QItemSelectionModel::NoUpdate);
    validateMenus();
    bringToFront();
}

void BrowserController::createBrowserForPathLater(const QString &path)
{
    QTimer::singleShot(DropDelayMs, this, [this, path] { createBrowserForPath(path, true); });
}

void BrowserController::receiveNotification(const QString &channel, const QString &object,
                                            const QVariantMap &userInfo)
{
    if (channel != NotificationChannel::Browser || mQuitting)
        return;
    if (object == QLatin1String("PathToBrowser")) {
        if (!mWindow->isVisible()) {
            if (const auto frame = QOR_WindowsUtils::parseFrameString(
                    userInfo.value(QStringLiteral("WindowFrame")).toString())) {
                // Of the access window's size, but beside it: on its place the two windows'
                // information strips would lie on each other.
                const QRect placed = frameBesideAccessWindow(
                    *frame, frame->size(), QOR_WindowsUtils::availableRoomFor(*frame));
                mWindow->move(placed.topLeft());
                mWindow->resize(placed.size());
                QOR_WindowsUtils::keepFrameOnScreen(mWindow);
            }
        }
        createBrowserForPath(userInfo.value(QStringLiteral("Path")).toString(), false);
    } else if (object == QLatin1String("QuitBrowser")) {
        mEnvironment.notifications->stopObserving(NotificationChannel::Browser);
        quitSoon();
    }
}

QList<BrowserItem *> BrowserController::selectedItems() const
{
    if (!mWindow)
        return {};
    QModelIndexList rows = mWindow->outline()->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) {
        return treeOrderKey(a) < treeOrderKey(b);
    });
    QList<BrowserItem *> items;
    for (const QModelIndex &row : rows) {
        if (BrowserItem *item = mModel->itemAt(row))
            items << item;
    }
    return items;
}

BrowserItem *BrowserController::selectedItem() const
{
    if (!mWindow)
        return nullptr;
    QItemSelectionModel *selection = mWindow->outline()->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return mModel->itemAt(current);
    const QList<BrowserItem *> items = selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

bool BrowserController::optionKeyPressed()
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
}

void BrowserController::doubleClickBrowser()
{
    const BrowserItem *item = selectedItem();
    if (!item)
        return;
    if (optionKeyPressed())
        mEnvironment.workspace->revealPath(item->getPath());
    else
        mEnvironment.workspace->openPath(item->getPath());
}

void BrowserController::doOpenItem()
{
    if (const BrowserItem *item = selectedItem())
        createBrowserForPath(item->getPath(), true);
}

void BrowserController::doRevealItem()
{
    if (const BrowserItem *item = selectedItem())
        mEnvironment.workspace->revealPath(item->getPath());
}

void BrowserController::doShowParent()
{
    const BrowserItem *root = rootItem();
    if (!root)
        return;
    const QString rootPath = QDir::cleanPath(root->getPath());
    const QString parent = QFileInfo(rootPath).path();
    if (rootPath == QLatin1String("/") || BrowserMenus::holdsVolumes(parent))
        return;
    createBrowserForPath(parent, true);
}

void BrowserController::browserCopy()
{
    SelectionTextView *text = mSelectionWindow->textView();
    if (text->document()->isEmpty())
        return;
    if (!text->textCursor().hasSelection())
        text->selectAll();
    QGuiApplication::clipboard()->setText(text->selectedPlainText());
}

void BrowserController::browserSelectAll()
{
    if (mSelectionWindow->isActiveWindow())
        mSelectionWindow->textView()->selectAll();
    else
        mWindow->outline()->selectAll();
}

void BrowserController::toggleOption(bool &option, const QString &key)
{
    option = !option;
    mEnvironment.preferences->setValue(key, option ? 1 : 0);
    mEnvironment.preferences->synchronize();
}

void BrowserController::browserShowInvisible()
{
    toggleOption(mShowInvisible, ShowInvisibleKey);
    if (rootItem())
        createBrowserForPath(rootItem()->getPath(), true);
    validateMenus();
}

void BrowserController::browserShowPackageContents()
{
    toggleOption(mShowPackageContents, ShowPackageContentsKey);
    if (rootItem())
        createBrowserForPath(rootItem()->getPath(), true);
    validateMenus();
}

void BrowserController::browserShowRawPath()
{
    toggleOption(mShowRawPath, ShowRawPathKey);
    updateInformationPanel();
    validateMenus();
}

void BrowserController::browserQuit()
{
    quitSoon();
}

void BrowserController::quitSoon()
{
    if (mQuitting)
        return;
    mQuitting = true;
    saveWindowFrame();
    mEnvironment.notifications->stopObservingAll();
    QTimer::singleShot(QuitDelayMs, this, [this] { mEnvironment.quit(); });
}

void BrowserController::saveWindowFrame()
{
    mEnvironment.preferences->setValue(WindowFrameKey,
                                       QOR_WindowsUtils::frameString(mWindow->geometry()));
    mEnvironment.preferences->synchronize();
}

void BrowserController::doRevealItemInPopupMenu(const QString &path)
{
    if (path.isEmpty())
        return;
    if (optionKeyPressed())
        mEnvironment.workspace->revealPath(path);
    else
        mEnvironment.workspace->openPath(path);
}

void BrowserController::toggleQL()
{
    QStringList paths;
    for (const BrowserItem *item : selectedItems()) {
        if (QFileInfo::exists(item->getPath()))
            paths << item->getPath();
    }
    mPreview->toggleQuickLook(paths);
}

QMenu *BrowserController::getFloatingPopupMenu()
{
    mMenus->clearPaths();
    const BrowserItem *item = selectedItem();
    if (!item || item->getPath().isEmpty())
        return nullptr;
    const QString path = item->getPath();
    auto *menu = new QMenu(mWindow);
    menu->setObjectName(QStringLiteral("browserContextMenu"));
    connect(menu->addAction(localized("PopupMenuOpenItem")), &QAction::triggered, this,
            &BrowserController::doubleClickBrowser);
    connect(menu->addAction(localized("PopupMenuBrowserOpenItem")), &QAction::triggered, this,
            &BrowserController::doOpenItem);
    connect(menu->addAction(localized("PopupMenuRevealItem")), &QAction::triggered, this,
            &BrowserController::doRevealItem);
    if (QFileInfo(path).isDir()) {
        menu->addSeparator();
        addContentsOf(path, menu->addMenu(localized("PopupMenuContents")));
    }
    mMenus->addAncestorsOf(path, menu->addMenu(localized("PopupMenuAccessPath")));
    return menu;
}

void BrowserController::addContentsOf(const QString &folder, QMenu *menu)
{
    mMenus->addContentsOf(folder, menu);
}

void BrowserController::bringToFront()
{
    mWindow->show();
    WindowFocus::bringToFront(mWindow);
    mWindow->outline()->setFocus();
}

QRect BrowserController::frameBesideAccessWindow(const QRect &access, const QSize &size,
                                                 const QRect &room)
{
    const QRect beside = QOR_WindowsUtils::frameBeside(access, size, room, AccessWindowGap);
    if (!beside.intersects(access))
        return beside;
    const QPoint step(QOR_WindowsUtils::CascadeOffset, QOR_WindowsUtils::CascadeOffset);
    return QOR_WindowsUtils::frameKeptInside(QRect(access.topLeft() + step, size), room);
}

QRect BrowserController::informationPanelFrame(const QRect &windowFrame, int textHeight,
                                               const QRect &screen)
{
    const int top = windowFrame.bottom() + 1 + PanelGap;
    int height = std::clamp(textHeight + PanelTextPadding, PanelMinHeight, PanelMaxHeight);
    if (screen.isValid() && top + height > screen.bottom() + 1)
        height = std::max(screen.bottom() + 1 - top, 0);
    return QRect(windowFrame.x(), top, windowFrame.width(), height);
}

void BrowserController::updateInformationPanel()
{
    const BrowserItem *item = selectedItem();
    if (!item) {
        hideInformationPanel();
        return;
    }
    const QString text = ItemInformation::textFor(item->getPath(), mShowRawPath);
    if (text == mShownInformation && mSelectionWindow->isVisible())
        return;
    mShownInformation = text;
    mSelectionWindow->textView()->setPlainText(text);
    placeInformationPanel();
    if (!mSelectionWindow->isVisible() && mWindow->isVisible())
        mSelectionWindow->show();
}

void BrowserController::placeInformationPanel()
{
    const QRect frame = mWindow->frameGeometry();
    const QScreen *screen = mWindow->screen();
    const int textHeight = mSelectionWindow->fittedTextHeight(frame.width())
        + 2 * SelectionWindow::TextInset - PanelTextPadding;
    mSelectionWindow->setGeometry(informationPanelFrame(
        frame, std::max(textHeight, 0), screen ? screen->availableGeometry() : QRect()));
}

void BrowserController::makeTextViewFirstResponder()
{
    if (!mSelectionWindow->isVisible()) {
        WindowFocus::activate(mWindow);
        return;
    }
    WindowFocus::bringToFront(mSelectionWindow);
    mSelectionWindow->textView()->setFocus(Qt::TabFocusReason);
    mSelectionWindow->textView()->selectAll();
}

void BrowserController::hideInformationPanel()
{
    mShownInformation.clear();
    mSelectionWindow->textView()->clear();
    mSelectionWindow->hide();
}

void BrowserController::reportFailures(const char *titleKey,
                                       const QList<BatchRename::Failure> &failures)
{
    if (failures.isEmpty())
        return;
    QStringList lines;
    for (const BatchRename::Failure &failure : failures.mid(0, ReportedFailuresLimit))
        lines << QStringLiteral("%1: %2").arg(
            NativeFileName::forDisplay(QFileInfo(failure.path).fileName()), failure.reason);
    if (failures.size() > ReportedFailuresLimit)
        lines << QOR_StringUtils::getLocalizedStringForCount(
            QStringLiteral("BrowserMoreFailures"), int(failures.size() - ReportedFailuresLimit));
    const QString title = localized(titleKey);
    const QString text = lines.join(QLatin1Char('\n'));
    for (const BatchRename::Failure &failure : failures)
        KorvaleLog::line(QStringLiteral("%1 %2: %3").arg(title, failure.path, failure.reason));
    if (mEnvironment.reportFailures) {
        mEnvironment.reportFailures(title, text);
        return;
    }
    QMessageBox alert(QMessageBox::Warning, title, text, QMessageBox::Ok, mWindow);
    alert.setWindowModality(Qt::WindowModal);
    alert.exec();
}

void BrowserController::browserModifyName()
{
    const QList<BrowserItem *> items = selectedItems();
    if (items.isEmpty())
        return;
    const BrowserItem *reference = selectedItem();
    const std::optional<BatchRename::Scheme> scheme =
        mRenameSheet->ask(reference ? reference->getPath() : QString(), int(items.size()));
    if (!scheme)
        return;
    const QList<BatchRename::Failure> failures = BatchRename::run(items, *scheme);
    mModel->resort();
    updateInformationPanel();
    reportFailures("BrowserRenameFailedTitle", failures);
}

void BrowserController::browserModifyDate()
{
    const BrowserItem *reference = selectedItem();
    if (!reference)
        return;
    QDateTime referenceDate = DateChange::modificationDate(reference->getPath());
    if (!referenceDate.isValid())
        referenceDate = QDateTime::currentDateTime();
    const std::optional<DateSheet::Choice> choice = mDateSheet->ask(referenceDate);
    if (!choice)
        return;
    const QList<BatchRename::Failure> failures =
        DateChange::run(selectedItems(), choice->chosen, choice->absolute, choice->variation,
                        choice->insideFolders);
    mShownInformation.clear();
    updateInformationPanel();
    reportFailures("BrowserDateFailedTitle", failures);
}

QVariantMap BrowserController::status() const
{
    QVariantMap state;
    const BrowserItem *root = rootItem();
    state.insert(QStringLiteral("Root"), root ? root->getPath() : QString());
    state.insert(QStringLiteral("Visible"), mWindow && mWindow->isVisible());
    QStringList rows;
    if (mModel) {
        for (int row = 0; row < mModel->rowCount(); ++row)
            rows << mModel->index(row, 0).data().toString();
    }
    state.insert(QStringLiteral("Rows"), rows);
    QStringList selected;
    for (const BrowserItem *item : selectedItems())
        selected << item->getPath();
    state.insert(QStringLiteral("Selected"), selected);
    const QWidget *sheet = QApplication::activeModalWidget();
    state.insert(QStringLiteral("Sheet"), sheet ? sheet->objectName() : QString());
    if (mWindow) {
        state.insert(QStringLiteral("Frame"), QOR_WindowsUtils::frameString(mWindow->geometry()));
        state.insert(QStringLiteral("OuterFrame"),
                     QOR_WindowsUtils::frameString(mWindow->frameGeometry()));
    }
    return state;
}
