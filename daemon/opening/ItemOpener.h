#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include "platform/MountTable.h"

#include <functional>
#include <optional>

class ApplicationLauncher;
class NotificationCenter;
class OpeningView;
class SharedPreferences;
class Workspace;

// Opening is what every path of the agent ends in (Return, a menu entry, an item shortcut):
// launch or open by kind, copy text, write a clipboard entry back, reveal with Option held, and
// keep the recent-items list. Main thread only.
class ItemOpener : public QObject
{
    Q_OBJECT
public:
    // Borrowed pointers; each must outlive the opener.
    struct Environment {
        Workspace *workspace = nullptr;
        ApplicationLauncher *launcher = nullptr;
        SharedPreferences *preferences = nullptr;
        NotificationCenter *notifications = nullptr;
        OpeningView *view = nullptr;
        QVariantList *recentItems = nullptr; // the controller's mLatestItems
        QVariantList *menuOpenedItems = nullptr; // mLatestItemsFromPopupContents
        std::function<QVariantList()> applications;
        std::function<bool()> optionKeyDown;
        std::function<double()> now; // seconds since the reference date
        // Empty: "korvale-browser" beside this program.
        QString browserProgram;
        // The clipboard; empty: the general clipboard of the session.
        std::function<void(const QString &)> copyPlainText;
        std::function<bool(const QByteArray &)> writeClipboardEntry;
        // The mount table, for the file systems whose execute bits mean nothing; empty: this
        // machine's.
        std::function<QList<MountTable::Mount>()> mounts;
        // An answer's session action ("lock", "suspend"...); empty: none is done.
        std::function<void(const QString &)> systemAction;
        // A row of the desktop's search handed back to its provider or runner, with the action
        // of its menu chosen (empty for Return); empty: none is.
        std::function<void(const QVariantMap &, const QString &action)> desktopSearch;
        // An answer's window brought to the front; empty: none is.
        std::function<void(unsigned long)> activateWindow;
        // An answer's window asked to close (its program may still ask to save); empty: none is.
        std::function<void(unsigned long)> closeWindow;
        // The clipboard pasted into the window the user came from, once it is in front again;
        // empty: nothing is pasted (the text stays on the clipboard).
        std::function<void()> pasteIntoFrontWindow;
        // An answer's native Wayland window brought to the front; empty: none is.
        std::function<void(quint32)> activateNativeWindow;
    };

    static constexpr int CloseDelayMs = 150;
    static constexpr int LaunchDelayMs = 100;
    // Return pressed this soon after the window opened belongs to the gesture that opened it.
    static constexpr double OpenGuardSeconds = 0.5;
    static constexpr int BrowserFirstNoticeMs = 300;
    static constexpr int BrowserSecondNoticeMs = 800;
    static constexpr int BrowserCloseDelayMs = 500;
    static const QString BrowserProgramName;

    explicit ItemOpener(Environment environment, QObject *parent = nullptr);

    // Opens one record; with openOnly set (item shortcuts) the Option key is not consulted.
    void openItem(const std::optional<QVariantMap> &record, bool openOnly);
    // An item shortcut: opened whatever modifiers are held; with "H" set the windows of the other
    // applications are then minimised, those of the item's own running processes kept.
    void openItemFromShortcut(const QVariantMap &record);
    // Text to the clipboard, said, and the window closed (an answer's menu).
    void copyText(const QString &text);
    // Text to the clipboard, the access window closed, then pasted where the user was.
    void pasteText(const QString &text);
    // The window of an answer row asked to close, and the access window closed (the row's menu).
    void closeAnswerWindow(const QVariantMap &record);
    // A runner's action for its row (the row's menu), and the access window closed.
    void runDesktopAction(const QVariantMap &record, const QString &action);
    // Return in the access window.
    void doOpenItem(const std::optional<QVariantMap> &selected);
    // A recent-items menu entry; the tag indexes the recent-items list.
    void doOpenRecentItem(int tag);
    void doRevealItem(const std::optional<QVariantMap> &selected);
    // A folder entry of a floating menu; the tag indexes the paths set below.
    void doRevealItemInPopupMenu(int tag);
    // The same for the path an entry was built for.
    void doRevealPathInPopupMenu(const QString &path);
    void setPopupMenuPaths(QStringList paths);
    // The menus append the path of each entry they build; the entry's tag is its index.
    QStringList &popupMenuPaths() { return mPopupMenuPaths; }
    void sendEmailTo(const std::optional<QVariantMap> &selected);
    void doOpenBrowser(const std::optional<QVariantMap> &selected);
    // The folder in Korvale's own browser, started when it does not run. False when there is no
    // browser program to start.
    bool showInBrowser(const QString &folder);
    void sendNotificationToBrowser(const QString &path);

    QString browserProgram() const;

private:
    void recordOpening(const QVariantMap &record);
    void openAnswer(const QVariantMap &record);
    void storeRecentItems();
    // False, with a log line, when nothing is at the path: no "opened" message for it then.
    bool pathExists(const QString &path, const char *action) const;
    // In the file manager, else the enclosing folder in the browser; an alert when neither.
    bool revealPath(const QString &path);
    void openFileSystemItem(const QVariantMap &record, int kind, bool optionHeld);
    void openBookmark(const QVariantMap &record);
    void openContact(const QVariantMap &record, bool optionHeld);
    void writeClipboardEntry(const QVariantMap &record);
    void copyPreviewText(const QVariantMap &record);
    // Launches after LaunchDelayMs; with `report` set the outcome is shown to the user.
    void launchLater(const QString &path, bool report);

    Environment mEnvironment;
    QStringList mPopupMenuPaths;
};
