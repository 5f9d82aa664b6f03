#include "ItemOpener.h"

#include "AnswerRecord.h"
#include "ApplicationLauncher.h"
#include "CommonKorvaleClass.h"
#include "ContactsApplication.h"
#include "ItemRecord.h"
#include "KorvaleLog.h"
#include "LaunchableItems.h"
#include "NativeFileName.h"
#include "OpeningAddresses.h"
#include "OpeningView.h"
#include "QOR_StringUtils.h"
#include "RecentItems.h"
#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"
#include "platform/Workspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

const QString ItemOpener::BrowserProgramName = QStringLiteral("korvale-browser");

using namespace ItemRecord;

ItemOpener::ItemOpener(Environment environment, QObject *parent)
    : QObject(parent)
    , mEnvironment(std::move(environment))
{
    if (!mEnvironment.copyPlainText)
        mEnvironment.copyPlainText = CommonKorvaleClass::copyPlainTextToPasteboard;
    if (!mEnvironment.writeClipboardEntry)
        mEnvironment.writeClipboardEntry = CommonKorvaleClass::writeContentsToPasteBoard;
    if (!mEnvironment.optionKeyDown)
        mEnvironment.optionKeyDown = [] { return false; };
    if (!mEnvironment.applications)
        mEnvironment.applications = [] { return QVariantList(); };
    if (!mEnvironment.mounts)
        mEnvironment.mounts = [] { return MountTable::mounts(); };
}

QString ItemOpener::browserProgram() const
{
    if (!mEnvironment.browserProgram.isEmpty())
        return mEnvironment.browserProgram;
    return QDir(QCoreApplication::applicationDirPath()).filePath(BrowserProgramName);
}

void ItemOpener::openItem(const std::optional<QVariantMap> &record, bool openOnly)
{
    OpeningView &view = *mEnvironment.view;
    if (!record) {
        view.closeAccessWindowAfter(CloseDelayMs);
        return;
    }
    const bool optionHeld = !openOnly && mEnvironment.optionKeyDown();
    const int itemKind = kind(*record);
    if (itemKind == KindAnswer) {
        // Computed from the query: nothing to remember among the recent items.
        openAnswer(*record);
        view.closeAccessWindowAfter(CloseDelayMs);
        return;
    }
    if (itemKind != KindClipboard)
        recordOpening(*record);

    switch (itemKind) {
    case KindApplication:
    case KindFile:
    case KindPasteboardPath:
        openFileSystemItem(*record, itemKind, optionHeld);
        break;
    case KindBookmark:
        openBookmark(*record);
        break;
    case KindContact:
        openContact(*record, optionHeld);
        break;
    case KindStock:
        // The editor takes over; the list is stored with the next other opening.
        view.openItemEditor(*record);
        return;
    case KindClipboard:
        writeClipboardEntry(*record);
        break;
    default:
        copyPreviewText(*record);
        break;
    }

    storeRecentItems();
    view.clearMenuBarMenu();
    view.closeAccessWindowAfter(CloseDelayMs);
}

void ItemOpener::recordOpening(const QVariantMap &record)
{
    QVariantList &recent = *mEnvironment.recentItems;
    RecentItems::insert(recent, record);
    if (mEnvironment.menuOpenedItems)
        *mEnvironment.menuOpenedItems = RecentItems::menuOpenedSubset(recent);
}

void ItemOpener::storeRecentItems()
{
    QVariantList &recent = *mEnvironment.recentItems;
    RecentItems::trim(recent);
    if (mEnvironment.menuOpenedItems)
        *mEnvironment.menuOpenedItems = RecentItems::menuOpenedSubset(recent);
    mEnvironment.preferences->setValue(RecentItems::PreferenceKey, recent);
    mEnvironment.preferences->synchronize();
}

bool ItemOpener::pathExists(const QString &path, const char *action) const
{
    if (!path.isEmpty() && NativeFileName::exists(path))
        return true;
    KorvaleLog::line(
        QStringLiteral("Unable %1 %2: nothing at that path").arg(QLatin1String(action), path));
    return false;
}

void ItemOpener::openFileSystemItem(const QVariantMap &record, int itemKind, bool optionHeld)
{
    const QString path = string(record, KeyPath);
    if (!pathExists(path, optionHeld ? "revealing" : "opening"))
        return;
    OpeningView &view = *mEnvironment.view;
    // The confirmation follows what really happened: a launch that failed, or a document that
    // no application opens, says so instead.
    if (optionHeld) {
        if (revealPath(path))
            view.showMessageForOpening(path);
    } else if (itemKind == KindApplication
               || LaunchableItems::isProgram(path, mEnvironment.mounts())) {
        launchLater(path, true);
    } else if (mEnvironment.workspace->openPath(path)) {
        view.showMessageForOpening(path);
    } else if (QFileInfo(path).isDir()) {
        // No file manager takes folders here: the suite's own browser does.
        KorvaleLog::line(
            QStringLiteral("Unable opening %1: no file manager; shown in the browser").arg(path));
        if (showInBrowser(path))
            view.showMessageForOpening(path);
        else
            view.showMessageForFailedOpening(path, KORVALE_KEY("OpenFailedNoBrowser"));
    } else {
        KorvaleLog::line(QStringLiteral("Unable opening %1: no application opens it").arg(path));
        view.showMessageForFailedOpening(path, KORVALE_KEY("OpenFailedNoApplication"));
    }
}

bool ItemOpener::revealPath(const QString &path)
{
    if (mEnvironment.workspace->revealPath(path))
        return true;
    // Without a file manager the enclosing folder is shown in the suite's own browser.
    if (showInBrowser(QFileInfo(path).absolutePath()))
        return true;
    mEnvironment.view->showMessageForFailedOpening(path, KORVALE_KEY("OpenFailedNoBrowser"));
    return false;
}

void ItemOpener::openBookmark(const QVariantMap &record)
{
    const QString address = string(record, KeyAddress);
    if (address.isEmpty())
        return;
    // An address that no form makes valid is ignored without a word, and without a message
    // claiming that something opens.
    const std::optional<QUrl> url = OpeningAddresses::urlForBookmarkAddress(address);
    if (!url)
        return;
    mEnvironment.view->showMessageForOpeningURL();
    mEnvironment.workspace->openUrl(*url);
}

void ItemOpener::openContact(const QVariantMap &record, bool optionHeld)
{
    copyPreviewText(record);
    if (optionHeld)
        return;
    const std::optional<QString> contacts =
        ContactsApplication::findInApplications(mEnvironment.applications());
    if (contacts)
        launchLater(*contacts, false);
}

void ItemOpener::openAnswer(const QVariantMap &record)
{
    if (record.contains(AnswerRecord::KeyDesktopSource)) {
        if (mEnvironment.desktopSearch)
            mEnvironment.desktopSearch(record, {});
        return;
    }
    if (record.contains(AnswerRecord::KeyNativeWindow)) {
        if (mEnvironment.activateNativeWindow)
            mEnvironment.activateNativeWindow(record.value(AnswerRecord::KeyNativeWindow).toUInt());
        return;
    }
    if (record.contains(AnswerRecord::KeyWindow)) {
        if (mEnvironment.activateWindow)
            mEnvironment.activateWindow(record.value(AnswerRecord::KeyWindow).toULongLong());
        return;
    }
    const QString action = string(record, AnswerRecord::KeySystemAction);
    if (!action.isEmpty()) {
        if (mEnvironment.systemAction)
            mEnvironment.systemAction(action);
        return;
    }
    const QString address = string(record, AnswerRecord::KeyOpenAddress);
    if (!address.isEmpty()) {
        mEnvironment.view->showMessageForOpeningURL();
        mEnvironment.workspace->openUrl(QUrl(address, QUrl::StrictMode));
        return;
    }
    const QString text = string(record, AnswerRecord::KeyCopy);
    if (text.isEmpty())
        return;
    mEnvironment.copyPlainText(text);
    mEnvironment.view->showMessageForCopyingText();
}

void ItemOpener::copyText(const QString &text)
{
    if (!text.isEmpty()) {
        mEnvironment.copyPlainText(text);
        mEnvironment.view->showMessageForCopyingText();
    }
    mEnvironment.view->closeAccessWindowAfter(CloseDelayMs);
}

void ItemOpener::pasteText(const QString &text)
{
    if (text.isEmpty())
        return;
    mEnvironment.copyPlainText(text);
    mEnvironment.view->closeAccessWindowAfter(CloseDelayMs);
    if (mEnvironment.pasteIntoFrontWindow)
        QTimer::singleShot(CloseDelayMs, this, [this] { mEnvironment.pasteIntoFrontWindow(); });
}

void ItemOpener::closeAnswerWindow(const QVariantMap &record)
{
    const qulonglong window = record.value(AnswerRecord::KeyWindow).toULongLong();
    if (window != 0 && mEnvironment.closeWindow)
        mEnvironment.closeWindow(window);
    mEnvironment.view->closeAccessWindowAfter(CloseDelayMs);
}

void ItemOpener::runDesktopAction(const QVariantMap &record, const QString &action)
{
    if (mEnvironment.desktopSearch)
        mEnvironment.desktopSearch(record, action);
    mEnvironment.view->closeAccessWindowAfter(CloseDelayMs);
}

void ItemOpener::writeClipboardEntry(const QVariantMap &record)
{
    if (!record.contains(KeyClipboardContents))
        return;
    if (mEnvironment.writeClipboardEntry(record.value(KeyClipboardContents).toByteArray()))
        mEnvironment.view->showMessageWithText(QStringLiteral("MessageCopyToPasteboard"));
}

void ItemOpener::copyPreviewText(const QVariantMap &record)
{
    const QString text = mEnvironment.view->previewText(record);
    if (text.isEmpty())
        return;
    mEnvironment.copyPlainText(text);
    mEnvironment.view->showMessageForCopyingText();
}

void ItemOpener::launchLater(const QString &path, bool report)
{
    QTimer::singleShot(LaunchDelayMs, this, [this, path, report] {
        // The workspace logs why a launch failed.
        const bool launched = mEnvironment.launcher->launchApplication(path);
        if (!report)
            return;
        if (launched)
            mEnvironment.view->showMessageForOpening(path);
        else
            mEnvironment.view->showMessageForFailedOpening(path, KORVALE_KEY("OpenFailedLaunch"));
    });
}

void ItemOpener::openItemFromShortcut(const QVariantMap &record)
{
    openItem(record, true);
    if (record.value(KeyHideOthers).toInt() == 0)
        return;
    // An application that is already running is what the user asked for: its windows stay.
    const QString path = string(record, KeyPath);
    QList<qint64> kept;
    for (const WorkspaceProcess &process : mEnvironment.workspace->runningProcesses()) {
        if (!path.isEmpty() && process.bundlePath == path)
            kept.append(process.pid);
    }
    mEnvironment.workspace->hideOtherApplications(kept);
}

void ItemOpener::doOpenItem(const std::optional<QVariantMap> &selected)
{
    if (mEnvironment.now() - mEnvironment.view->accessWindowOpenedTime() < OpenGuardSeconds)
        return;
    openItem(selected, false);
}

void ItemOpener::doOpenRecentItem(int tag)
{
    const QVariantList &recent = *mEnvironment.recentItems;
    if (tag < 0 || tag >= recent.size())
        return;
    // A copy: opening reorders the list the entry lives in.
    const QVariantMap entry = recent.at(tag).toMap();
    openItem(entry, false);
}

void ItemOpener::doRevealItem(const std::optional<QVariantMap> &selected)
{
    if (selected && isFileSystemKind(kind(*selected))) {
        const QString path = string(*selected, KeyPath);
        if (pathExists(path, "revealing"))
            revealPath(path);
    }
    mEnvironment.view->closeAccessWindowAfter(0);
}

void ItemOpener::doRevealItemInPopupMenu(int tag)
{
    if (tag < 0 || tag >= mPopupMenuPaths.size())
        return;
    doRevealPathInPopupMenu(mPopupMenuPaths.at(tag));
}

void ItemOpener::doRevealPathInPopupMenu(const QString &path)
{
    if (path.isEmpty() || !NativeFileName::exists(path))
        return;
    openItem(RecentItems::menuOpenedRecord(path), false);
}

void ItemOpener::setPopupMenuPaths(QStringList paths)
{
    mPopupMenuPaths = std::move(paths);
}

void ItemOpener::sendEmailTo(const std::optional<QVariantMap> &selected)
{
    if (selected) {
        const std::optional<QUrl> url =
            OpeningAddresses::mailtoUrl(OpeningAddresses::emailAddressOf(*selected));
        if (url)
            mEnvironment.workspace->openUrl(*url);
    }
    mEnvironment.view->closeAccessWindowAfter(0);
}

void ItemOpener::doOpenBrowser(const std::optional<QVariantMap> &selected)
{
    QString path;
    if (selected && isFileSystemKind(kind(*selected)))
        path = string(*selected, KeyPath);
    showInBrowser(path);
    mEnvironment.view->closeAccessWindowAfter(BrowserCloseDelayMs);
}

bool ItemOpener::showInBrowser(const QString &folder)
{
    const QString program = browserProgram();
    const QFileInfo programInfo(program);
    const bool present = programInfo.isFile() && programInfo.isExecutable();
    if (!present) {
        KorvaleLog::line(
            QStringLiteral("Unable launching the browser %1: no such program").arg(program));
    } else if (!mEnvironment.launcher->isLaunchedProcess(program)) {
        // A running browser is only brought to the front; the notification shows the path.
        mEnvironment.launcher->launchApplication(program);
    }
    for (int delay : {BrowserFirstNoticeMs, BrowserSecondNoticeMs})
        QTimer::singleShot(delay, this, [this, folder] { sendNotificationToBrowser(folder); });
    return present;
}

void ItemOpener::sendNotificationToBrowser(const QString &path)
{
    mEnvironment.notifications->post(
        NotificationChannel::Browser, QStringLiteral("PathToBrowser"),
        {{QStringLiteral("Path"), path},
         {QStringLiteral("WindowFrame"), mEnvironment.view->accessWindowFrame()}});
}
