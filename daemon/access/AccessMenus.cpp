#include "AccessMenus.h"

#include "ItemRecord.h"
#include "QOR_StringUtils.h"
#include "SearchFilter.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

using namespace ItemRecord;

namespace {
QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}
} // namespace

AccessMenus::AccessMenus(QWidget *window)
    : QObject(window)
    , mWindow(window)
    , mFilterMenu(new QMenu(window))
    , mActionMenu(new QMenu(window))
    , mFilterGroup(new QActionGroup(this))
{
    mFilterGroup->setExclusive(true);
    for (const SearchFilterEntry &entry : SearchFilter::menuEntries()) {
        QAction *action = mFilterMenu->addAction(localized(entry.titleKey));
        action->setCheckable(true);
        action->setData(entry.value);
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + entry.key));
        mFilterGroup->addAction(action);
        mWindow->addAction(action);
        const int value = entry.value;
        connect(action, &QAction::triggered, this, [this, value] { emit filterChosen(value); });
    }

    // Return belongs to the search field and the table; the menu only shows it.
    QAction *open =
        addEntry(Entry::OpenItem, KORVALE_KEY("PopupMenuOpenItem"), QKeySequence(Qt::Key_Return));
    open->setShortcutContext(Qt::WidgetShortcut);
    addEntry(Entry::RevealItem, KORVALE_KEY("PopupMenuRevealItem"), QKeySequence("Ctrl+R"));
    addEntry(Entry::EditItem, KORVALE_KEY("PopupMenuEditItem"), QKeySequence("Ctrl+E"));
    addEntry(Entry::SendEmail, KORVALE_KEY("PopupMenuSendEmail"), QKeySequence("Ctrl+@"));
    addEntry(Entry::OpenBrowser, KORVALE_KEY("PopupMenuOpenBrowser"), QKeySequence("Ctrl+B"));
    addEntry(Entry::HighlightCursor, KORVALE_KEY("PopupMenuHighlightCursor"),
             QKeySequence("Ctrl+<"));
    mActionMenu->addSeparator();
    addEntry(Entry::Copy, KORVALE_KEY("PopupMenuCopy"), QKeySequence("Ctrl+C"));
    addEntry(Entry::Paste, KORVALE_KEY("PopupMenuPaste"), QKeySequence("Ctrl+V"));
    addEntry(Entry::SelectAll, KORVALE_KEY("PopupMenuSelectAll"), QKeySequence("Ctrl+A"));
    addEntry(Entry::Search, KORVALE_KEY("PopupMenuSearch"), QKeySequence("Ctrl+F"));
    mActionMenu->addSeparator();
    addEntry(Entry::ShowClipboard, KORVALE_KEY("PopupMenuShowClipboard"), QKeySequence("Ctrl+P"));
    mActionMenu->addSeparator();
    addEntry(Entry::OpenMainApp, KORVALE_KEY("PopupMenuOpenMainApp"), QKeySequence("Ctrl+,"));
    addEntry(Entry::ShowCalendar, KORVALE_KEY("PopupMenuShowCalendar"), QKeySequence("Ctrl+K"));
    addEntry(Entry::ShowToDo, KORVALE_KEY("PopupMenuShowToDo"), QKeySequence("Ctrl+T"));
    addEntry(Entry::ShowReminder, KORVALE_KEY("PopupMenuShowReminder"), QKeySequence());
    addEntry(Entry::UpdateListApps, KORVALE_KEY("PopupMenuUpdateListApps"), QKeySequence("Ctrl+U"));
    addEntry(Entry::ShowInvisible, KORVALE_KEY("PopupMenuShowInvisible"),
             QKeySequence("Ctrl+Alt+I"))
        ->setCheckable(true);
    addEntry(Entry::ShowPackageContents, KORVALE_KEY("PopupMenuShowPackageContents"),
             QKeySequence("Ctrl+Alt+M"))
        ->setCheckable(true);
    mActionMenu->addSeparator();
    addEntry(Entry::Close, KORVALE_KEY("PopupMenuClose"), QKeySequence("Ctrl+W"));
    addEntry(Entry::Help, KORVALE_KEY("PopupMenuHelp"), QKeySequence("Ctrl+?"));
    mActionMenu->addSeparator();
    addEntry(Entry::Quit, KORVALE_KEY("PopupMenuQuit"), QKeySequence("Ctrl+Q"));
    update(State());
}

QAction *AccessMenus::addEntry(Entry entry, const QString &key, const QKeySequence &shortcut)
{
    QAction *action = mActionMenu->addAction(localized(key));
    action->setShortcut(shortcut);
    action->setData(key);
    if (entry != Entry::OpenItem)
        mWindow->addAction(action);
    connect(action, &QAction::triggered, this, [this, entry] { emit triggered(entry); });
    mActions.insert(entry, action);
    return action;
}

QAction *AccessMenus::filterAction(int value) const
{
    for (QAction *action : mFilterGroup->actions()) {
        if (action->data().toInt() == value)
            return action;
    }
    return nullptr;
}

void AccessMenus::showFilter(int value)
{
    for (QAction *action : mFilterGroup->actions())
        action->setChecked(action->data().toInt() == value);
}

QString AccessMenus::openTitleKey(int kind)
{
    switch (kind) {
    case KindApplication:
        return KORVALE_KEY("PopupMenuOpenApplication");
    case KindBookmark:
        return KORVALE_KEY("PopupMenuOpenBookmark");
    case KindContact:
    case KindNote:
    case KindProtectedNote:
        return KORVALE_KEY("PopupMenuOpenCopy");
    default:
        return KORVALE_KEY("PopupMenuOpenItem");
    }
}

QString AccessMenus::emailAddress(const QVariantMap &record)
{
    const QStringList lines = string(record, KeyEmail).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && !lines.first().trimmed().isEmpty())
        return lines.first().trimmed();
    if (lines.size() > 1 && !lines.at(1).trimmed().isEmpty())
        return lines.at(1).trimmed();
    return {};
}

void AccessMenus::update(const State &state)
{
    const int kind = state.selected ? ItemRecord::kind(*state.selected) : 0;

    QAction *open = action(Entry::OpenItem);
    open->setEnabled(state.selected.has_value());
    open->setText(localized(openTitleKey(kind)));

    action(Entry::RevealItem)
        ->setEnabled(state.selected && kind != KindBookmark && kind != KindContact
                     && kind != KindNote && kind != KindProtectedNote);

    // What the agent edits itself and what the manager edits for it.
    action(Entry::EditItem)
        ->setEnabled(state.selected
                     && (kind == KindApplication || kind == KindFile || kind == KindNote
                         || kind == KindProtectedNote || kind == KindStock));

    const QString address = kind == KindContact ? emailAddress(*state.selected) : QString();
    QAction *email = action(Entry::SendEmail);
    email->setEnabled(!address.isEmpty());
    const QString emailTitle = localized(QStringLiteral("PopupMenuSendEmail"));
    email->setText(emailTitle.contains(QLatin1String("%1"))
                       ? emailTitle.arg(address.isEmpty() ? QStringLiteral("...") : address)
                       : emailTitle);

    action(Entry::UpdateListApps)->setEnabled(!state.scanning);
    action(Entry::ShowInvisible)->setChecked(state.showInvisible);
    action(Entry::ShowPackageContents)->setChecked(state.showPackageContents);
}
