#pragma once

#include <QMap>
#include <QObject>
#include <QVariantMap>

#include <optional>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

// The access window's two pull-down menus: the filter menu and the action menu, with their key
// equivalents (Control stands for the Command modifier). Their actions are also the window's, so
// the keys work while the menus are closed. Every entry is a signal: the controller connects
// what exists.
class AccessMenus : public QObject
{
    Q_OBJECT
public:
    enum class Entry {
        OpenItem,
        RevealItem,
        EditItem,
        SendEmail,
        OpenBrowser,
        HighlightCursor,
        Copy,
        Paste,
        SelectAll,
        Search,
        ShowClipboard,
        OpenMainApp,
        ShowCalendar,
        ShowToDo,
        ShowReminder,
        UpdateListApps,
        ShowInvisible,
        ShowPackageContents,
        Close,
        Help,
        Quit,
    };
    Q_ENUM(Entry)

    // What the action menu's enabling, titles and check marks depend on.
    struct State {
        std::optional<QVariantMap> selected;
        bool scanning = false;
        bool showInvisible = false;
        bool showPackageContents = false;
    };

    explicit AccessMenus(QWidget *window);

    QMenu *filterMenu() const { return mFilterMenu; }
    QMenu *actionMenu() const { return mActionMenu; }
    QAction *action(Entry entry) const { return mActions.value(entry); }
    QAction *filterAction(int value) const;

    // The check mark on the entry of the current filter value.
    void showFilter(int value);
    void update(const State &state);

    // The address the e-mail entry names: the first non-empty of the first two lines of "Email".
    static QString emailAddress(const QVariantMap &record);
    static QString openTitleKey(int kind);

signals:
    void filterChosen(int value);
    void triggered(AccessMenus::Entry entry);

private:
    QAction *addEntry(Entry entry, const QString &key, const QKeySequence &shortcut);

    QWidget *mWindow;
    QMenu *mFilterMenu;
    QMenu *mActionMenu;
    QActionGroup *mFilterGroup;
    QMap<Entry, QAction *> mActions;
};
