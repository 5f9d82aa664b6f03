#include "AccessWindowController.h"

#include "AnswerRecord.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "FilePreviewPanel.h"
#include "FilterButtons.h"
#include "FoundItemsModel.h"
#include "ItemCell.h"
#include "ItemOpener.h"
#include "ItemRecord.h"
#include "MainWindow.h"
#include "MessageWindow.h"
#include "NativeFileName.h"
#include "PreviewPanelWindow.h" // FilePreviewPanel::panelWindow() needs the whole type
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "RecentSearches.h"
#include "ScanningPanel.h"
#include "SearchController.h"
#include "SearchField.h"
#include "SearchFilter.h"
#include "SelectionPresenter.h"
#include "SelectionPreview.h"
#include "SharedPreferences.h"
#include "TableView.h"
#include "WindowFade.h"
#include "WindowFocus.h"
#include "platform/SessionClipboard.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace ItemRecord;

AccessWindowController::AccessWindowController(DaemonController &daemon, SearchController *search,
                                               Clock now, QObject *parent)
    : QObject(parent)
    , mDaemon(daemon)
    , mSearch(search)
    , mNow(now ? std::move(now) : Clock([&daemon] { return daemon.clock().now(); }))
{
    mShowInvisible = daemon.settings().mShowInvisible != 0;
    mShowPackageContents = daemon.settings().mShowPackageContents != 0;

    // The model first: its reset must come before the window selects row 0 of the new list.
    mModel = new FoundItemsModel(mSearch, this);
    mFilePreview = new FilePreviewPanel(this);

    // Until the window is built these only keep the model; building it shows where they are.
    connect(mSearch, &SearchController::displayedListUpdated, this,
            &AccessWindowController::publishDisplayedList);
    connect(mSearch, &SearchController::displayedListCompleted, this, [this] {
        setSelectionInformation();
        updateMenus();
    });
    connect(mSearch, &SearchController::searchRequested, this,
            &AccessWindowController::resetIdleCounter);
    // Rows of the desktop's search come below: the selection stays where the user put it.
    connect(mSearch, &SearchController::displayedRowsAppended, this,
            &AccessWindowController::publishAppendedRows);
    connect(mSearch, &SearchController::typeForSearchChanged, this,
            &AccessWindowController::showFilter);
    connect(mSearch, &SearchController::runningChanged, this, [this] { updateMenus(); });
    // setText, not clear(): the field's undo history would otherwise give the text back.
    connect(mSearch, &SearchController::protectedQueryEnded, this, [this] {
        if (mWindow)
            mWindow->searchField()->setText(QString());
    });
}

MainWindow *AccessWindowController::window() const
{
    if (!mWindow) {
        // Built on the first need, also from a query: the controller itself is never const.
        const_cast<AccessWindowController *>(this)->buildWindow();
    }
    return mWindow.get();
}

void AccessWindowController::buildWindow()
{
    mWindow = std::make_unique<MainWindow>(&mDaemon.preferences());
    mScanningPanel = std::make_unique<ScanningPanel>();
    TableView *table = mWindow->tableView();
    table->setModel(mModel);
    mPresenter = new SelectionPresenter(mWindow.get());

    SearchField *field = mWindow->searchField();
    field->setRecentSearches(RecentSearches::read(mDaemon.preferences()));
    field->setCommandHandler([this](QKeyEvent *event) { return searchFieldCommand(event); });
    connect(field, &QLineEdit::textChanged, mSearch, &SearchController::controlTextDidChange);

    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AccessWindowController::selectionChanged);
    connect(table, &TableView::spacePressed, this, &AccessWindowController::toggleQuickLook);
    connect(table, &TableView::returnPressed, this, &AccessWindowController::openSelection);
    connect(table, &TableView::escapePressed, this, &AccessWindowController::escape);
    connect(table, &TableView::tabPressed, this, [this] {
        if (mPresenter->isPreviewVisible() && mPresenter->previewTextWidget())
            makeTextViewFirstResponder();
        else
            selectSearchField();
    });
    connect(table, &TableView::rightArrowPressed, this, [this] {
        const int row = tableView()->selectedRow();
        if (row >= 0)
            requestFloatingMenu(row, tableView()->menuPointForRow(row), true);
    });
    connect(table, &TableView::floatingMenuRequested, this,
            &AccessWindowController::requestFloatingMenu);
    connect(table, &QAbstractItemView::doubleClicked, this, &AccessWindowController::openSelection);

    connect(mPresenter, &SelectionPresenter::tabPressed, this,
            &AccessWindowController::makeSearchFieldFirstResponder);
    connect(mPresenter, &SelectionPresenter::escapePressed, this, &AccessWindowController::escape);
    connect(mPresenter, &SelectionPresenter::emailRequested, this, [this] {
        if (mOpener)
            mOpener->sendEmailTo(selectedRecord());
    });
    connect(mWindow.get(), &MainWindow::emailButtonClicked, this, [this] {
        if (mOpener)
            mOpener->sendEmailTo(selectedRecord());
    });
    connect(mWindow.get(), &MainWindow::windowWillClose, this,
            &AccessWindowController::windowClosedByOthers);

    connect(mWindow->filterButtons(), &FilterButtons::groupChanged, this, [this](int tag) {
        mSearch->groupChanged(tag);
        makeSearchFieldFirstResponder();
    });
    AccessMenus *menus = mWindow->menus();
    connect(menus, &AccessMenus::filterChosen, this, [this](int value) {
        mSearch->menuGroupChanged(value);
        makeSearchFieldFirstResponder();
    });
    connect(menus, &AccessMenus::triggered, this, &AccessWindowController::menuEntryTriggered);
    connect(menus->actionMenu(), &QMenu::aboutToShow, this, &AccessWindowController::updateMenus);

    showFilter(mSearch->typeForSearch());
    // Results found before the window existed are shown as if they had just come.
    if (mModel->rowCount() > 0) {
        publishDisplayedList();
    } else {
        setSelectionInformation();
        updateMenus();
    }
    emit windowBuilt(mWindow.get());
}

AccessWindowController::~AccessWindowController()
{
    // The presenter's windows hang on the access window; let them go first.
    if (mPresenter)
        mPresenter->hideAll();
}

void AccessWindowController::setItemOpener(ItemOpener *opener)
{
    mOpener = opener;
}

SearchField *AccessWindowController::searchField() const
{
    return window()->searchField();
}

TableView *AccessWindowController::tableView() const
{
    return window()->tableView();
}

SelectionPresenter *AccessWindowController::selectionPresenter() const
{
    window();
    return mPresenter;
}

ScanningPanel *AccessWindowController::scanningPanel() const
{
    window();
    return mScanningPanel.get();
}

bool AccessWindowController::showKeysDetection() const
{
    return mDaemon.settings().mShowKeysDetection != 0;
}

void AccessWindowController::resetIdleCounter()
{
    mDaemon.schedule().mLastTextEntry = 0;
}

void AccessWindowController::setWindowVisible(bool visible)
{
    const bool changed = mWindowVisible != visible;
    mWindowVisible = visible;
    if (!visible)
        mSurveyedStock.clear();
    mDaemon.flags().mWindowVisible = visible;
    // The window's quiet time is counted in ticks.
    if (visible)
        mDaemon.wakeTimer();
    if (changed)
        emit windowVisibilityChanged(visible);
}

void AccessWindowController::doOpenAccessWindow()
{
    ++mVisibilityGeneration;
    MainWindow *window = this->window();

    // 1. Activate; the quiet time starts now.
    resetIdleCounter();
    // 2.
    bool filterChanged = false;
    if (mDaemon.settings().mResetFilter)
        filterChanged = mSearch->setTypeForSearch(0);
    // 3. Otherwise the window keeps its saved place.
    if (mDaemon.settings().mCenterAccessWindow)
        QOR_WindowsUtils::placeWindow(window, 0.5, 0.6);
    // 4. A fade-out still running from the last closing must not dim and hide it again.
    WindowFade::cancelOn(window);
    window->setWindowOpacity(1.0);
    window->show();
    WindowFocus::bringToFront(window);
    if (mDaemon.lists().mListOfApplications.isEmpty())
        mDaemon.readData();
    // 5.
    selectSearchField();
    // 6.
    const qsizetype count = mSearch->displayedList().size();
    if (!filterChanged && count >= 1 && count <= ReusableResults) {
        if (!mPresenter->isPreviewVisible())
            selectList();
    } else {
        mSearch->searchFieldModified(searchText());
    }
    // 7.
    setWindowVisible(true);
    mOpenedTime = now();
    // 8.
    const int filter = mSearch->typeForSearch();
    if (mDaemon.lists().mListOfApplications.isEmpty() && (filter == 0 || filter == 1)) {
        QOR_WindowsUtils::placeWindow(mScanningPanel.get(), 0.5, 0.6);
        mScanningPanel->show();
        mScanningPanel->raise();
        window->raise();
    }
    updateMenus();
}

void AccessWindowController::doCloseAccessWindow()
{
    if (!mWindow) {
        setWindowVisible(false);
        return;
    }
    mPresenter->hideAll();
    hideScanningPanel();
    mWindow->saveFrame();
    if (mWindow->isVisible())
        QORWindowSoftClose::closeWindow(mWindow.get(), FadeOutSeconds);
    setWindowVisible(false);
    if (!showKeysDetection()) {
        const int generation = mVisibilityGeneration;
        QTimer::singleShot(HideAgentDelayMs, this, [this, generation] {
            if (generation == mVisibilityGeneration && !mWindowVisible)
                hideAgent();
        });
    }
}

void AccessWindowController::windowClosedByOthers()
{
    setWindowVisible(false);
    if (mPresenter)
        mPresenter->hideAll();
    if (!showKeysDetection() && !(mToDoWindowVisible && mToDoWindowVisible()))
        hideAgent();
}

void AccessWindowController::hideAgent()
{
    // Hidden now: a hide still scheduled by the closing has nothing left to do.
    ++mVisibilityGeneration;
    if (mPresenter)
        mPresenter->hideAll();
    hideScanningPanel();
    if (mFilePreview->isVisible())
        mFilePreview->hide();
    if (mWindow && !mWindowVisible) {
        WindowFade::cancelOn(mWindow.get());
        mWindow->hide();
        mWindow->setWindowOpacity(1.0);
    }
    emit agentHidden();
}

void AccessWindowController::finishClosing()
{
    // Whether or not the fade has ended, the hide still scheduled by the closing must not come.
    if (!mWindowVisible)
        hideAgent();
}

void AccessWindowController::hideScanningPanel()
{
    if (mScanningPanel && mScanningPanel->isVisible())
        mScanningPanel->hide();
}

void AccessWindowController::escape()
{
    doCloseAccessWindow();
    if (!showKeysDetection())
        hideAgent();
}

void AccessWindowController::insertPendingText(const QString &text)
{
    if (text.isEmpty())
        return;
    SearchField *field = searchField();
    // insert() replaces the selection, as typing would.
    field->insert(text);
    field->setFocus(Qt::OtherFocusReason);
}

void AccessWindowController::selectSearchText()
{
    if (!mWindowVisible || !mWindow || !mWindow->isActiveWindow())
        return;
    const QWidget *focus = QApplication::focusWidget();
    if (focus && (focus == tableView() || tableView()->isAncestorOf(focus)))
        return;
    if (focus && focus == mPresenter->previewTextWidget())
        return;
    resetIdleCounter();
    searchField()->selectAll();
}

QString AccessWindowController::searchText() const
{
    return mWindow ? mWindow->searchField()->text() : QString();
}

bool AccessWindowController::isReturnGuarded() const
{
    return mWindowVisible && now() - mOpenedTime < ReturnGuardSeconds;
}

std::optional<QVariantMap> AccessWindowController::selectedRecord() const
{
    if (!mWindow)
        return std::nullopt;
    const FoundItem *item = mModel->itemAt(mWindow->tableView()->selectedRow());
    if (!item)
        return std::nullopt;
    return item->record();
}

void AccessWindowController::recordRecentSearch(const QString &fieldText)
{
    const QString text = fieldText.toLower();
    // What finds a protected note says something of it: not kept in the preferences.
    if (text.isEmpty() || mSearch->typeForSearch() == ItemRecord::KindProtectedNote)
        return;
    const QStringList searches = RecentSearches::recorded(searchField()->recentSearches(), text);
    searchField()->setRecentSearches(searches);
    RecentSearches::store(mDaemon.preferences(), searches);
}

void AccessWindowController::openSelection()
{
    if (isReturnGuarded())
        return;
    if (mOpener)
        mOpener->doOpenItem(selectedRecord());
}

bool AccessWindowController::searchFieldCommand(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers()
        & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    TableView *table = tableView();
    const int selected = table->selectedRow();
    switch (event->key()) {
    case Qt::Key_Escape:
        escape();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (isReturnGuarded())
            return true;
        recordRecentSearch(searchText());
        openSelection();
        return true;
    case Qt::Key_Down:
        if (modifiers)
            return false;
        if (mModel->itemAt(selected + 1))
            table->selectRow(selected + 1);
        table->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Up:
        if (modifiers)
            return false;
        if (selected < 0)
            table->selectRow(0);
        else if (selected > 0)
            table->selectRow(selected - 1);
        table->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Right: {
        if (modifiers)
            return false;
        const std::optional<QVariantMap> record = selectedRecord();
        // A runner's row with actions has them in its menu, which the keys reach as a path's.
        const bool withActions = record && record->contains(AnswerRecord::KeyDesktopActions);
        if (!record || !(ItemCell::isPathKind(kind(*record)) || withActions))
            return false;
        table->setFocus(Qt::OtherFocusReason);
        requestFloatingMenu(selected, table->menuPointForRow(selected), true);
        return true;
    }
    default:
        return false;
    }
}

void AccessWindowController::requestFloatingMenu(int row, const QPoint &globalPosition,
                                                 bool rightBorder)
{
    const FoundItem *item = mModel->itemAt(row);
    if (!item)
        return;
    emit floatingMenuRequested(item->record(), globalPosition, rightBorder);
}

void AccessWindowController::publishDisplayedList()
{
    if (!mWindow)
        return;
    TableView *table = mWindow->tableView();
    if (mModel->rowCount() > 0) {
        table->selectRow(0); // the selection change shows the preview
        table->scrollToTop();
    } else {
        selectList();
    }
    setSelectionInformation();
    updateMenus();
}

void AccessWindowController::publishAppendedRows()
{
    if (!mWindow)
        return;
    if (!tableView()->currentIndex().isValid() && mModel->rowCount() > 0)
        tableView()->selectRow(0);
    setSelectionInformation();
    updateMenus();
}

void AccessWindowController::selectionChanged()
{
    selectList();
    updateMenus();
}

void AccessWindowController::selectList()
{
    if (!mWindow)
        return;
    const std::optional<QVariantMap> record = selectedRecord();
    if (record)
        tableView()->scrollTo(tableView()->currentIndex());
    mPresenter->selectList(record, searchText());
    // A search that ends keeps its selection: the entry is surveyed when it becomes the
    // selected one, not again at every letter typed, nor by a search ending in a closed window.
    const QString stock = mWindowVisible && record && kind(*record) == KindStock
        ? ItemRecord::string(*record, ItemRecord::KeyTitle)
        : QString();
    if (stock != mSurveyedStock) {
        mSurveyedStock = stock;
        if (!stock.isEmpty())
            emit stockSelected(stock);
    }
    const bool email =
        record && kind(*record) == KindContact && !AccessMenus::emailAddress(*record).isEmpty();
    mWindow->emailButton()->setVisible(email);
}

void AccessWindowController::setSelectionInformation()
{
    if (!mWindow)
        return;
    mWindow->setSelectionInformation(mSearch->selectionInformation());
}

void AccessWindowController::showFilter(int value)
{
    if (!mWindow)
        return;
    mWindow->filterButtons()->showFilter(value);
    mWindow->menus()->showFilter(value);
    // Bookmarks and stocks come from elsewhere, not from a command here: their empty filter says
    // from where.
    const QList<SearchFilter::Source> sources = SearchFilter::sources(value);
    mWindow->tableView()->setEmptyHint(
        sources.contains(SearchFilter::Stocks) && !sources.contains(SearchFilter::Applications)
            ? QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("EmptyStocksHint"))
            : QString());
    for (const SearchFilterEntry &entry : SearchFilter::menuEntries()) {
        if (entry.value == value)
            mWindow->showFilterTitle(QOR_StringUtils::getLocalizedStringForKey(entry.titleKey));
    }
}

void AccessWindowController::updateMenus()
{
    if (!mWindow)
        return;
    AccessMenus::State state;
    state.selected = selectedRecord();
    state.scanning = mDaemon.flags().mScanningForApplications;
    state.showInvisible = mShowInvisible;
    state.showPackageContents = mShowPackageContents;
    mWindow->menus()->update(state);
}

void AccessWindowController::makeSearchFieldFirstResponder()
{
    window();
    if (QWidget *preview = mPresenter->previewTextWidget()) {
        if (auto *text = qobject_cast<QTextEdit *>(preview)) {
            QTextCursor cursor = text->textCursor();
            cursor.clearSelection();
            text->setTextCursor(cursor);
        } else if (auto *plain = qobject_cast<QPlainTextEdit *>(preview)) {
            QTextCursor cursor = plain->textCursor();
            cursor.clearSelection();
            plain->setTextCursor(cursor);
        }
    }
    WindowFocus::activate(mWindow.get());
    searchField()->setFocus(Qt::OtherFocusReason);
}

void AccessWindowController::floatingMenuClosed()
{
    if (!mWindowVisible || !mWindow)
        return;
    SearchField *field = searchField();
    field->setFocus(Qt::PopupFocusReason);
    field->deselect();
    field->end(false);
}

void AccessWindowController::selectSearchField()
{
    searchField()->setFocus(Qt::OtherFocusReason);
    searchField()->selectAll();
}

void AccessWindowController::makeTextViewFirstResponder()
{
    window();
    QWidget *preview = mPresenter->previewTextWidget();
    if (!preview)
        return;
    WindowFocus::activate(preview);
    preview->setFocus(Qt::TabFocusReason);
    if (auto *text = qobject_cast<QTextEdit *>(preview))
        text->selectAll();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(preview))
        plain->selectAll();
}

QStringList AccessWindowController::quickLookPaths() const
{
    QStringList paths;
    const QModelIndexList rows = tableView()->selectionModel()->selectedRows();
    for (const QModelIndex &index : rows) {
        const FoundItem *item = mModel->itemAt(index.row());
        if (!item || !ItemCell::isPathKind(kind(item->record())))
            continue;
        const QString path = string(item->record(), KeyPath);
        if (!path.isEmpty() && NativeFileName::exists(path))
            paths.append(path);
    }
    return paths;
}

void AccessWindowController::toggleQuickLook()
{
    mFilePreview->toggleQuickLook(quickLookPaths());
}

void AccessWindowController::copyCommand()
{
    QWidget *focus = QApplication::focusWidget();
    if (auto *line = qobject_cast<QLineEdit *>(focus)) {
        line->copy();
        return;
    }
    if (auto *text = qobject_cast<QTextEdit *>(focus)) {
        text->copy();
        return;
    }
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus)) {
        plain->copy();
        return;
    }
    // The table: the preview's text, or the part of it that is selected.
    QString copied;
    QWidget *preview = mPresenter->previewTextWidget();
    if (auto *text = qobject_cast<QTextEdit *>(preview)) {
        copied = text->textCursor().hasSelection() ? text->textCursor().selectedText()
                                                   : text->toPlainText();
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(preview)) {
        copied = plain->textCursor().hasSelection() ? plain->textCursor().selectedText()
                                                    : plain->toPlainText();
    } else if (const auto record = selectedRecord()) {
        copied = previewText(*record);
    }
    copied.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    if (copied.isEmpty())
        return;
    auto *mime = new QMimeData;
    mime->setText(copied);
    SessionClipboard::setMimeData(mime);
    showMessageForCopyingText();
}

void AccessWindowController::selectAllCommand()
{
    QWidget *focus = QApplication::focusWidget();
    if (auto *line = qobject_cast<QLineEdit *>(focus)) {
        line->selectAll();
        return;
    }
    QWidget *preview = mPresenter->previewTextWidget();
    if (auto *text = qobject_cast<QTextEdit *>(preview))
        text->selectAll();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(preview))
        plain->selectAll();
}

void AccessWindowController::menuEntryTriggered(AccessMenus::Entry entry)
{
    using Entry = AccessMenus::Entry;
    switch (entry) {
    case Entry::OpenItem:
        openSelection();
        return;
    case Entry::RevealItem:
        if (mOpener)
            mOpener->doRevealItem(selectedRecord());
        return;
    case Entry::EditItem:
        if (const std::optional<QVariantMap> record = selectedRecord())
            openItemEditor(*record);
        return;
    case Entry::SendEmail:
        if (mOpener)
            mOpener->sendEmailTo(selectedRecord());
        return;
    case Entry::OpenBrowser:
        if (mOpener)
            mOpener->doOpenBrowser(selectedRecord());
        return;
    case Entry::Copy:
        copyCommand();
        return;
    case Entry::Paste:
        if (auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
            line->paste();
        return;
    case Entry::SelectAll:
        selectAllCommand();
        return;
    case Entry::Search:
        selectSearchField();
        return;
    case Entry::ShowClipboard:
        // A query of one space lists the clipboard and its plain-text variants.
        searchField()->setText(QStringLiteral(" "));
        selectSearchField();
        return;
    case Entry::OpenMainApp:
        mDaemon.openMainApp();
        return;
    case Entry::UpdateListApps:
        mDaemon.hooks().rescanApplications();
        return;
    case Entry::ShowInvisible:
        mShowInvisible = !mShowInvisible;
        updateMenus();
        emit showFlagsChanged(mShowInvisible, mShowPackageContents);
        return;
    case Entry::ShowPackageContents:
        mShowPackageContents = !mShowPackageContents;
        updateMenus();
        emit showFlagsChanged(mShowInvisible, mShowPackageContents);
        return;
    case Entry::Close:
        doCloseAccessWindow();
        return;
    case Entry::Quit:
        // Once the menu has closed: the alert runs a loop of its own.
        QTimer::singleShot(0, &mDaemon, [this] { mDaemon.quitDaemon(); });
        return;
    case Entry::Help:
    case Entry::HighlightCursor:
    case Entry::ShowCalendar:
    case Entry::ShowToDo:
    case Entry::ShowReminder:
        emit actionRequested(entry);
        return;
    }
}

QString AccessWindowController::previewText(const QVariantMap &record)
{
    return SelectionPreview::previewText(record);
}

void AccessWindowController::showMessageForOpening(const QString &path)
{
    const int kind = path.endsWith(QLatin1String(".desktop")) ? KindApplication : KindFile;
    MessageWindow::showMessageWithText(QStringLiteral("MessageOpenItem"),
                                       ItemCell::iconForPath(path, kind));
}

void AccessWindowController::showMessageForFailedOpening(const QString &path, const QString &reason)
{
    // An alert of its own, not a passing message: it names the item and stays until read, after
    // the access window has gone.
    auto *alert =
        new QMessageBox(QMessageBox::Warning,
                        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("OpenFailedTitle"))
                            .arg(QOR_StringUtils::localizedNameAtPath(path)),
                        QOR_StringUtils::getLocalizedStringForKey(reason), QMessageBox::Ok);
    alert->setObjectName(QStringLiteral("OpenFailedAlert"));
    alert->setInformativeText(path);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowFlag(Qt::WindowStaysOnTopHint);
    const int kind = path.endsWith(QLatin1String(".desktop")) ? KindApplication : KindFile;
    alert->setIconPixmap(ItemCell::iconForPath(path, kind).pixmap(48, 48));
    alert->show();
    WindowFocus::bringToFront(alert);
}

void AccessWindowController::showMessageForOpeningURL()
{
    MessageWindow::showMessageWithText(QStringLiteral("MessageOpenURL"));
}

void AccessWindowController::showMessageForCopyingText()
{
    MessageWindow::showMessageWithText(QStringLiteral("MessageCopyItem"));
}

void AccessWindowController::showMessageWithText(const QString &key)
{
    MessageWindow::showMessageWithText(key);
}

void AccessWindowController::closeAccessWindowAfter(int milliseconds)
{
    const int generation = mVisibilityGeneration;
    QTimer::singleShot(milliseconds, this, [this, generation] {
        // A window opened again meanwhile is the user's new request: leave it.
        if (generation == mVisibilityGeneration && mWindowVisible)
            doCloseAccessWindow();
    });
}

QString AccessWindowController::accessWindowFrame() const
{
    return window()->frameString();
}

void AccessWindowController::clearMenuBarMenu()
{
    mDaemon.hooks().discardMenuBarMenu();
    emit menuBarMenuCleared();
}

void AccessWindowController::openItemEditor(const QVariantMap &record)
{
    emit itemEditorRequested(record);
}

void AccessWindowController::replaceShownRecord(const QVariantMap &original,
                                                const QVariantMap &edited)
{
    const FoundItems &items = mSearch->displayedList();
    for (int row = 0; row < items.size(); ++row) {
        const QVariantMap shown = items.at(row).record();
        if (kind(shown) != kind(original) || string(shown, KeyTitle) != string(original, KeyTitle)
            || string(shown, KeyText) != string(original, KeyText))
            continue;
        mSearch->replaceDisplayedRecord(row, edited);
        if (tableView()->selectedRow() == row)
            selectList();
        return;
    }
}
