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
    QAction *open = addEntry(Entry::OpenItem, QStringLiteral("PopupMenuOpenItem"),
                             QKeySequence(Qt::Key_Return));
    open->setShortcutContext(Qt::WidgetShortcut);
    addEntry(Entry::RevealItem, QStringLiteral("PopupMenuRevealItem"), QKeySequence("Ctrl+R"));
    addEntry(Entry::SendEmail, QStringLiteral("PopupMenuSendEmail"), QKeySequence("Ctrl+@"));
    addEntry(Entry::OpenBrowser, QStringLiteral("PopupMenuOpenBrowser"), QKeySequence("Ctrl+B"));
    addEntry(Entry::HighlightCursor, QStringLiteral("PopupMenuHighlightCursor"),
             QKeySequence("Ctrl+<"));
    mActionMenu->addSeparator();
    addEntry(Entry::Copy, QStringLiteral("PopupMenuCopy"), QKeySequence("Ctrl+C"));
    addEntry(Entry::Paste, QStringLiteral("PopupMenuPaste"), QKeySequence("Ctrl+V"));
    addEntry(Entry::SelectAll, QStringLiteral("PopupMenuSelectAll"), QKeySequence("Ctrl+A"));
    addEntry(Entry::Search, QStringLiteral("PopupMenuSearch"), QKeySequence("Ctrl+F"));
    mActionMenu->addSeparator();
    addEntry(Entry::ShowClipboard, QStringLiteral("PopupMenuShowClipboard"),
             QKeySequence("Ctrl+P"));
    mActionMenu->addSeparator();
    addEntry(Entry::OpenMainApp, QStringLiteral("PopupMenuOpenMainApp"), QKeySequence("Ctrl+,"));
    addEntry(Entry::ShowCalendar, QStringLiteral("PopupMenuShowCalendar"), QKeySequence("Ctrl+K"));
    addEntry(Entry::ShowToDo, QStringLiteral("PopupMenuShowToDo"), QKeySequence("Ctrl+T"));
    addEntry(Entry::ShowReminder, QStringLiteral("PopupMenuShowReminder"), QKeySequence());
    addEntry(Entry::UpdateListApps, QStringLiteral("PopupMenuUpdateListApps"),
             QKeySequence("Ctrl+U"));
    addEntry(Entry::ShowInvisible, QStringLiteral("PopupMenuShowInvisible"),
             QKeySequence("Ctrl+Alt+I"))
        ->setCheckable(true);
    addEntry(Entry::ShowPackageContents, QStringLiteral("PopupMenuShowPackageContents"),
             QKeySequence("Ctrl+Alt+M"))
        ->setCheckable(true);
    mActionMenu->addSeparator();
    addEntry(Entry::Close, QStringLiteral("PopupMenuClose"), QKeySequence("Ctrl+W"));
    addEntry(Entry::Help, QStringLiteral("PopupMenuHelp"), QKeySequence("Ctrl+?"));
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
        return QStringLiteral("PopupMenuOpenApplication");
    case KindBookmark:
        return QStringLiteral("PopupMenuOpenBookmark");
    case KindContact:
    case KindNote:
    case KindProtectedNote:
        return QStringLiteral("PopupMenuOpenCopy");
    default:
        return QStringLiteral("PopupMenuOpenItem");
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
