#include "AgentAccess.h"

#include "AccessWindowBus.h"
#include "AccessWindowController.h"
#include "AgentProtectedNotes.h"
#include "AnswerEngine.h"
#include "AnswerFamilies.h"
#include "ApplicationLauncher.h"
#include "ClipboardOffer.h"
#include "CommonKorvaleClass.h"
#include "CursorHighlight.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "DesktopSearchRows.h"
#include "DesktopSearchSwitches.h"
#include "ItemCell.h"
#include "ItemOpener.h"
#include "ItemRecord.h"
#include "KorvaleLog.h"
#include "MainWindow.h"
#include "OfferedSearch.h"
#include "QOR_StringUtils.h"
#include "RunnerBus.h"
#include "SearchBus.h"
#include "SearchController.h"
#include "SearchField.h"
#include "SearchProviderBus.h"
#include "SelectionPresenter.h"
#include "SystemActionAnswers.h"
#include "SystemActionRunner.h"
#include "TableView.h"
#include "WindowFocus.h"
#include "platform/FrontWindowPaste.h"
#include "platform/KeyboardGrab.h"
#include "platform/UserEventTime.h"
#include "platform/WaylandToplevels.h"
#include "platform/Workspace.h"
#include "platform/X11Windows.h"

#include <QApplication>
#include <QDBusConnection>
#include <QEvent>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtConcurrent/QtConcurrentRun>

#include <chrono>

namespace {

qint64 steadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The window takes the focus within a few frames; past this the keys are handed over anyway.
constexpr int GrabLimitMs = 500;
constexpr int TitlesInState = 20;

// Filters the paint and activation events of the access window, to note when an opening became
// visible and when it had the keyboard.
class PaintWatcher final : public QObject
{
public:
    PaintWatcher(std::function<void()> painted, std::function<void()> activated, QObject *parent)
        : QObject(parent)
        , mPainted(std::move(painted))
        , mActivated(std::move(activated))
    {
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            mPainted();
        else if (event->type() == QEvent::WindowActivate)
            mActivated();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> mPainted;
    std::function<void()> mActivated;
};

QString titleOf(const QVariantMap &record)
{
    const QString title = record.value(QStringLiteral("T")).toString();
    return title.isEmpty() ? QFileInfo(record.value(QStringLiteral("P")).toString()).fileName()
                           : title;
}

// The entries of the innermost pop-up menu open at this moment; empty when none is.
QStringList openMenuTitles()
{
    QStringList titles;
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        for (const QAction *action : menu->actions()) {
            if (!action->isSeparator())
                titles << action->text();
        }
    }
    return titles;
}

QString activeMenuEntry()
{
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    return menu && menu->activeAction() ? menu->activeAction()->text() : QString();
}

} // namespace

AgentAccess::AgentAccess(DaemonController &daemon, Environment environment, QObject *parent)
    : QObject(parent)
    , mDaemon(daemon)
    , mEnvironment(std::move(environment))
{
    if (!mEnvironment.workspace)
        mEnvironment.workspace = Workspace::createLinux();
    // On XWayland the access window may take the keyboard by a grab of its own: the keys held
    // since the gesture go into the field first.
    WindowFocus::setKeyboardHandOver([this] { finishKeyboardGrab(); });
    mLauncher = std::make_unique<ApplicationLauncher>(*mEnvironment.workspace);

    mSearch = std::make_unique<SearchController>([&daemon] {
        const DaemonLists &lists = daemon.lists();
        const DaemonSettings &settings = daemon.settings();
        SearchSources sources;
        sources.applications = lists.mListOfApplications;
        sources.files = lists.mListOfFiles;
        sources.documents = lists.mListOfFilesInFolders;
        sources.bookmarks = lists.mListOfBookMarks;
        sources.stocks = lists.mListOfStocksSurvey;
        sources.contacts = lists.mListOfAddressBook;
        sources.notes = lists.mListOfNotes;
        sources.protectedNotes = lists.mListOfProtectedNotes;
        sources.clipboard = lists.mListOfClipboard;
        sources.recentItems = lists.mLatestItems;
        sources.priorityForApplications = settings.mPriorityForApplications;
        sources.priorityForFiles = settings.mPriorityForFiles;
        sources.priorityForBookmarks = settings.mPriorityForBookmarks;
        sources.priorityForAddresses = settings.mPriorityForAddresses;
        sources.priorityForNotes = settings.mPriorityForNotes;
        return sources;
    });
    mSearch->setClipboardOfferProvider([] { return ClipboardOffer::build(); });
    mAnswers = std::make_unique<AnswerEngine>();
    mAnswerFamilies = std::make_unique<AnswerFamilies>(*mAnswers);
    mAnswerFamilies->applyPreferences(daemon.preferences());
    mSearch->setAnswerAsker([this](const QString &query) { mAnswers->ask(query); });
    connect(mAnswers.get(), &AnswerEngine::answered, mSearch.get(), &SearchController::showAnswers);
    mDesktopRows = std::make_unique<DesktopSearchRows>(QDBusConnection::sessionBus());
    applyDesktopSearchPreferences();
    mSearch->setDesktopSearchAsker([this](const QString &query) { mDesktopRows->ask(query); });
    connect(mDesktopRows.get(), &DesktopSearchRows::answered, mSearch.get(),
            &SearchController::showDesktopRows);
    findDesktopSearchSources();
    // The data reload stays away from the lists while a pass reads them.
    connect(mSearch.get(), &SearchController::runningChanged, this,
            [&daemon](bool running) { daemon.flags().mSearchThreadIsRunning = running; });

    mWindow = std::make_unique<AccessWindowController>(daemon, mSearch.get());
    mProtectedNotes =
        std::make_unique<AgentProtectedNotes>(daemon.lists().mListOfProtectedNotes, mSearch.get());
    mSearch->setProtectedPasswordAsker(
        [this] { return mProtectedNotes->askPassword(mWindow->window()); });
    connect(mSearch.get(), &SearchController::typeForSearchChanged, this, [this](int type) {
        if (type == 6)
            mProtectedNotes->extendDeadline();
    });
    ItemCell::setFaviconLookup([this](const QString &address) { return favicon(address); });

    ItemOpener::Environment opening;
    opening.workspace = mEnvironment.workspace.get();
    opening.launcher = mLauncher.get();
    opening.preferences = &daemon.preferences();
    opening.notifications = &daemon.notifications();
    opening.view = mWindow.get();
    opening.recentItems = &daemon.lists().mLatestItems;
    opening.menuOpenedItems = &daemon.lists().mLatestItemsFromPopupContents;
    opening.applications = [&daemon] { return daemon.lists().mListOfApplications; };
    opening.optionKeyDown = mEnvironment.optionKeyDown;
    opening.now = [&daemon] { return daemon.clock().now(); };
    opening.copyPlainText = &CommonKorvaleClass::copyPlainTextToPasteboard;
    opening.writeClipboardEntry = &CommonKorvaleClass::writeContentsToPasteBoard;
    mSystemActions = std::make_unique<SystemActionRunner>(
        mAnswerFamilies->sessionActions(),
        [this](SessionActions::Action action, const QStringList &holding) {
            return confirmSystemAction(action, holding);
        });
    opening.systemAction = [this](const QString &id) { mSystemActions->run(id); };
    opening.activateWindow = [](unsigned long window) { X11Windows::activateWindow(window); };
    opening.closeWindow = [](unsigned long window) { X11Windows::closeWindow(window); };
    // Asked at the paste: whether the session can take keys costs a connection to the display.
    opening.pasteIntoFrontWindow = [] {
        if (FrontWindowPaste::canPaste())
            FrontWindowPaste::start(qApp);
    };
    opening.desktopSearch = [this](const QVariantMap &row, const QString &action) {
        mDesktopRows->activate(row, action, UserEventTime::last());
    };
    opening.activateNativeWindow = [](quint32 window) {
        if (WaylandToplevels *toplevels = WaylandToplevels::session())
            toplevels->activate(window);
    };
    mOpener = std::make_unique<ItemOpener>(std::move(opening));
    mWindow->setItemOpener(mOpener.get());
    UserEventTime::watch(qobject_cast<QGuiApplication *>(QCoreApplication::instance()));
    // A session of questions ends with the window: DBus2 runners may let go of what they kept.
    connect(mWindow.get(), &AccessWindowController::windowVisibilityChanged, this,
            [this](bool visible) {
                if (!visible)
                    mDesktopRows->endSession();
            });

    mCursorHighlight = std::make_unique<CursorHighlight>();
    connect(mWindow.get(), &AccessWindowController::actionRequested, this,
            [this](AccessMenus::Entry entry) {
                if (entry == AccessMenus::Entry::HighlightCursor)
                    highlightCursor();
            });

    // The window is built when it is first needed; the paint watch comes with it.
    connect(mWindow.get(), &AccessWindowController::windowBuilt, this, [this](MainWindow *window) {
        window->installEventFilter(
            new PaintWatcher([this] { notePainted(); }, [this] { noteActivated(); }, this));
        window->tableView()->viewport()->installEventFilter(new PaintWatcher(
            [this] {
                if (!mAwaitingResultsPaint)
                    return;
                mAwaitingResultsPaint = false;
                mResultsPaintedAt = steadyNanoseconds();
            },
            [] {}, this));
    });
    connect(mSearch.get(), &SearchController::displayedListUpdated, this, [this] {
        mAwaitingResultsPaint = mWindow->isWindowVisible();
        mResultsPassNs = mSearch->displayedPassNanoseconds();
        mResultsTextAt = mSearch->displayedTextArrivedAt();
    });

    mBus = std::make_unique<AccessWindowBus>();
    mBus->setStateProvider([this] { return state(); });
    connect(mBus.get(), &AccessWindowBus::toggleRequested, this, &AgentAccess::toggleAccessWindow);
    connect(mBus.get(), &AccessWindowBus::openRequested, this, &AgentAccess::openAccessWindow);
    connect(mBus.get(), &AccessWindowBus::closeRequested, this, &AgentAccess::closeAccessWindow);
    connect(mBus.get(), &AccessWindowBus::menuRequested, this, &AgentAccess::menuBarMenuRequested);
    if (!mBus->publish())
        KorvaleLog::line(QStringLiteral("The access window is not reachable on the session bus"));
    mSearchBus = std::make_unique<SearchBus>(*mSearch);
    if (!mSearchBus->publish())
        KorvaleLog::line(QStringLiteral("korvale-search cannot ask the agent on the session bus"));

    mOfferedSearch = std::make_unique<OfferedSearch>(*mSearch, [&daemon] {
        QVariantList personal = daemon.lists().mListOfToDo;
        // The reminder list also holds the to-dos falling due and the calendar's events.
        for (const QVariant &entry : std::as_const(daemon.lists().mListOfReminder))
            if (ItemRecord::kind(entry.toMap()) == ItemRecord::KindReminder)
                personal.append(entry);
        return personal;
    });
    OfferedActions offered;
    offered.open = [this](const QVariantMap &record) { mOpener->openItem(record, true); };
    offered.launchSearch = [this](const QString &text) { openAccessWindowWithText(text); };
    mSearchProviderBus = std::make_unique<SearchProviderBus>(*mOfferedSearch, offered);
    mRunnerBus = std::make_unique<RunnerBus>(*mOfferedSearch, offered);
    if (!mSearchProviderBus->publish() || !mRunnerBus->publish())
        KorvaleLog::line(QStringLiteral("The desktop's search cannot ask the agent on the bus"));
}

void AgentAccess::applyDesktopSearchPreferences()
{
    mDesktopRows->setEnabled(
        [switches = DesktopSearchSwitches::read(mDaemon.preferences())](
            const DesktopSearchSource &source) { return switches.isOn(source); });
}

void AgentAccess::findDesktopSearchSources()
{
    // Programs come and go: the files are read again at an opening a minute after the last.
    constexpr qint64 AgainAfterMs = 60 * 1000;
    const qint64 now = steadyNanoseconds() / 1000000;
    if (mDesktopSourcesFinding
        || (mDesktopSourcesFoundAt >= 0 && now - mDesktopSourcesFoundAt < AgainAfterMs))
        return;
    mDesktopSourcesFinding = true;
    auto *watcher = new QFutureWatcher<QList<DesktopSearchSource>>(this);
    connect(watcher, &QFutureWatcher<QList<DesktopSearchSource>>::finished, this, [this, watcher] {
        watcher->deleteLater();
        mDesktopSourcesFinding = false;
        mDesktopSourcesFoundAt = steadyNanoseconds() / 1000000;
        const QList<DesktopSearchSource> found = watcher->result();
        const QList<DesktopSearchSource> asked = mDesktopRows->sources();
        const auto same = [](const DesktopSearchSource &a, const DesktopSearchSource &b) {
            return a.key == b.key && a.busName == b.busName && a.objectPath == b.objectPath;
        };
        // Replacing them would forget which ones are resting.
        if (!std::equal(found.cbegin(), found.cend(), asked.cbegin(), asked.cend(), same))
            mDesktopRows->setSources(found);
    });
    watcher->setFuture(QtConcurrent::run([] { return SearchSourceFiles::find(); }));
}

void AgentAccess::openAccessWindowWithText(const QString &text)
{
    openAccessWindow();
    SearchField *field = mWindow->searchField();
    field->selectAll();
    if (text.isEmpty())
        field->del();
    else
        mWindow->insertPendingText(text);
}

bool AgentAccess::confirmSystemAction(SessionActions::Action action, const QStringList &holding)
{
    const QString name = SystemActionAnswers::nameOf(action);
    QMessageBox box(
        QMessageBox::Question,
        QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerConfirmTitle")).arg(name),
        QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerConfirmText")),
        QMessageBox::Cancel, mWindow->builtWindow());
    QPushButton *confirm = box.addButton(name, QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    if (!holding.isEmpty())
        box.setInformativeText(
            QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerConfirmHolding"))
                .arg(holding.join(QStringLiteral("; "))));
    box.exec();
    return box.clickedButton() == confirm;
}

void AgentAccess::reloadProtectedNotes()
{
    mProtectedNotes->reload();
}

AgentAccess::~AgentAccess()
{
    WindowFocus::setKeyboardHandOver({});
    if (mEnvironment.keyboardGrab)
        mEnvironment.keyboardGrab->end();
}

bool AgentAccess::isWindowVisible() const
{
    return mWindow->isWindowVisible();
}

bool AgentAccess::isWindowKey() const
{
    return mWindow->isWindowVisible() && mWindow->builtWindow()
        && mWindow->builtWindow()->isActiveWindow();
}

QIcon AgentAccess::favicon(const QString &address)
{
    if (mDaemon.settings().mOtherDataBookmarksFavicons == 0)
        return {};
    if (!mFaviconsIndexed) {
        // The first record of an address counts; icons are decoded as rows need them.
        mFaviconsIndexed = true;
        for (const QVariant &record : std::as_const(mDaemon.lists().mListOfFavicons)) {
            const QVariantMap map = record.toMap();
            const QString url = map.value(QStringLiteral("U")).toString();
            if (mFavicons.contains(url))
                continue;
            QPixmap pixmap;
            pixmap.loadFromData(map.value(QStringLiteral("I")).toByteArray());
            mFavicons.insert(url, pixmap.isNull() ? QIcon() : QIcon(pixmap));
        }
    }
    return mFavicons.value(address);
}

void AgentAccess::faviconsChanged()
{
    mFavicons.clear();
    mFaviconsIndexed = false;
    if (MainWindow *window = mWindow->builtWindow())
        window->tableView()->viewport()->update();
}

QVariantMap AgentAccess::state() const
{
    // Any client of the session bus may ask: a protected note's title, and what is typed to
    // find one, stay in the window.
    QStringList titles;
    bool protectedShown = mSearch->typeForSearch() == ItemRecord::KindProtectedNote;
    const FoundItems &found = mSearch->displayedList();
    for (qsizetype i = 0; i < found.size() && i < TitlesInState; ++i) {
        if (ItemRecord::kind(found.at(i).record()) == ItemRecord::KindProtectedNote)
            protectedShown = true;
        else
            titles << titleOf(found.at(i).record());
    }
    return {
        {QStringLiteral("visible"), mWindow->isWindowVisible()},
        {QStringLiteral("active"), isWindowKey()},
        {QStringLiteral("query"), protectedShown ? QString() : mWindow->searchText()},
        {QStringLiteral("rows"), int(found.size())},
        {QStringLiteral("titles"), titles},
        {QStringLiteral("counter"), mSearch->selectionInformation()},
        {QStringLiteral("searchRunning"), mSearch->isSearchRunning()},
        {QStringLiteral("typeForSearch"), mSearch->typeForSearch()},
        {QStringLiteral("openedAt"), mOpenedAt},
        {QStringLiteral("paintedAt"), mPaintedAt},
        {QStringLiteral("resultsPaintedAt"), mResultsPaintedAt},
        {QStringLiteral("resultsPassNs"), mResultsPassNs},
        {QStringLiteral("resultsTextAt"), mResultsTextAt},
        {QStringLiteral("activatedAt"), mActivatedAt},
        {QStringLiteral("menu"), openMenuTitles()},
        {QStringLiteral("menuActive"), activeMenuEntry()},
        {QStringLiteral("preview"),
         mWindow->builtWindow() && mWindow->selectionPresenter()->isPreviewVisible()},
    };
}

void AgentAccess::openAccessWindow()
{
    // The manager may have switched a family or a provider since the last opening.
    mAnswerFamilies->applyPreferences(mDaemon.preferences());
    applyDesktopSearchPreferences();
    findDesktopSearchSources();
    if (mWindow->isWindowVisible()) {
        mWindow->doOpenAccessWindow();
        return;
    }
    KeyboardGrab *grab = mEnvironment.keyboardGrab.get();
    if (grab)
        grab->begin();
    mOpenedAt = steadyNanoseconds();
    mAwaitingPaint = true;
    mAwaitingActivation = true;
    mWindow->doOpenAccessWindow();
    if (isWindowKey())
        noteActivated();
    if (!grab || !grab->isActive())
        return;
    // Hand the held keys over as soon as the window has the focus.
    auto *limit = new QTimer(this);
    limit->setSingleShot(true);
    auto connection = std::make_shared<QMetaObject::Connection>();
    const auto finish = [this, limit, connection] {
        QObject::disconnect(*connection);
        limit->deleteLater();
        finishKeyboardGrab();
    };
    *connection = connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
                          [this, finish](QWindow *focused) {
                              if (focused && mWindow->builtWindow()
                                  && focused == mWindow->builtWindow()->windowHandle())
                                  finish();
                          });
    connect(limit, &QTimer::timeout, this, finish);
    limit->start(GrabLimitMs);
    if (isWindowKey())
        finish();
}

void AgentAccess::finishKeyboardGrab()
{
    KeyboardGrab *grab = mEnvironment.keyboardGrab.get();
    if (!grab || !grab->isActive())
        return;
    const QString typed = grab->end();
    if (!typed.isEmpty() && mWindow->isWindowVisible())
        mWindow->insertPendingText(typed);
}

void AgentAccess::notePainted()
{
    if (!mAwaitingPaint)
        return;
    mAwaitingPaint = false;
    mPaintedAt = steadyNanoseconds();
}

void AgentAccess::noteActivated()
{
    if (!mAwaitingActivation || !mWindow->isWindowVisible())
        return;
    mAwaitingActivation = false;
    mActivatedAt = steadyNanoseconds();
}

void AgentAccess::closeAccessWindow()
{
    finishKeyboardGrab();
    if (mWindow->isWindowVisible())
        mWindow->doCloseAccessWindow();
}

void AgentAccess::toggleAccessWindow()
{
    if (mWindow->isWindowVisible())
        closeAccessWindow();
    else
        openAccessWindow();
}

void AgentAccess::highlightCursor()
{
    mCursorHighlight->highlightCursor();
}

void AgentAccess::selectSearchText()
{
    mWindow->selectSearchText();
}

void AgentAccess::openItemFromShortcut(const QVariantMap &record)
{
    mOpener->openItemFromShortcut(record);
}

void AgentAccess::rerunSearch()
{
    mSearch->searchFieldModified(mWindow->searchText());
}
