#include "FloatingMenu.h"

#include "AnswerRecord.h"

#include "AccessMenus.h"
#include "DesktopIcons.h"
#include "FolderListing.h"
#include "FolderMenus.h"
#include "ItemRecord.h"
#include "QOR_StringUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

using namespace ItemRecord;

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

void addAction(QMenu *menu, const QString &key, const std::function<void()> &action)
{
    QAction *entry = menu->addAction(localized(key));
    QObject::connect(entry, &QAction::triggered, menu, [action] {
        if (action)
            action();
    });
}

// Where the Linux desktop mounts the volumes that are not the system's own.
bool isUserVolumeMountPoint(const QString &point)
{
    for (const char *parent : {"/media/", "/run/media/", "/mnt/"}) {
        if (point.startsWith(QLatin1String(parent)))
            return true;
    }
    return false;
}

void addFileSystemEntries(QMenu *menu, const QVariantMap &record, bool rightBorder,
                          FolderMenus &folders, const FloatingMenu::Actions &actions,
                          const QList<MountTable::Mount> &mounts, bool showPackageContents)
{
    const QString path = record.value(KeyPath).toString();
    const bool folder = FolderListing::isFolderToDescend(path, showPackageContents);
    const bool withActions = !(rightBorder && folder);
    if (withActions) {
        addAction(menu, KORVALE_KEY("PopupMenuOpenItem"), actions.open);
        addAction(menu, KORVALE_KEY("PopupMenuRevealItem"), actions.reveal);
        // The suite's own browser is made for folders; a file would show only its parent.
        if (folder)
            addAction(menu, KORVALE_KEY("PopupMenuOpenInBrowser"), actions.openInBrowser);
        if (record.value(KeyKind).toInt() != KindPasteboardPath)
            addAction(menu, KORVALE_KEY("PopupMenuEditItem"), actions.edit);
        const int tag = int(folders.paths().size());
        folders.paths().append(path);
        folders.addEditorEntry(menu, tag);
    }
    if (folder) {
        const int tag = int(folders.paths().size());
        folders.paths().append(path);
        if (withActions) {
            menu->addSeparator();
            folders.addContentsOf(
                path, menu->addMenu(localized(QStringLiteral("PopupMenuContents"))), tag);
        } else {
            folders.addContentsOf(path, menu, tag);
        }
    }
    const QStringList enclosing = FloatingMenu::enclosingFolders(path, mounts);
    if (enclosing.isEmpty())
        return;
    QMenu *pathMenu = menu;
    if (withActions)
        pathMenu = menu->addMenu(localized(QStringLiteral("PopupMenuAccessPath")));
    else
        menu->addSeparator();
    for (const QString &parent : enclosing) {
        folders.addFolderEntry(pathMenu, parent, QOR_StringUtils::localizedNameAtPath(parent),
                               FolderMenus::menuIcon(parent), true);
    }
}

} // namespace

QStringList FloatingMenu::enclosingFolders(const QString &path,
                                           const QList<MountTable::Mount> &mounts)
{
    const QString clean = QDir::cleanPath(path);
    if (clean == QLatin1String("/") || !clean.startsWith(QLatin1Char('/')))
        return {};
    QString root = QStringLiteral("/");
    if (const std::optional<MountTable::Mount> mount = MountTable::mountOf(clean, mounts);
        mount && isUserVolumeMountPoint(mount->mountPoint))
        root = mount->mountPoint;
    QStringList folders;
    QString current = clean;
    while (current != root && current != QLatin1String("/")) {
        current = QFileInfo(current).path();
        folders.append(current);
    }
    return folders;
}

std::unique_ptr<QMenu> FloatingMenu::build(const QVariantMap &record, bool rightBorder,
                                           FolderMenus &folders, const Actions &actions,
                                           const QList<MountTable::Mount> &mounts)
{
    auto menu = std::make_unique<QMenu>();
    switch (record.value(KeyKind).toInt()) {
    case KindApplication:
    case KindFile:
    case KindPasteboardPath:
        if (record.value(KeyPath).toString().isEmpty())
            return nullptr;
        addFileSystemEntries(menu.get(), record, rightBorder, folders, actions, mounts,
                             folders.settings().showPackageContents);
        break;
    case KindBookmark:
        addAction(menu.get(), KORVALE_KEY("PopupMenuOpenItem"), actions.open);
        break;
    case KindContact: {
        addAction(menu.get(), KORVALE_KEY("PopupMenuOpenItem"), actions.open);
        const QString address = AccessMenus::emailAddress(record);
        if (!address.isEmpty()) {
            QAction *email =
                menu->addAction(localized(QStringLiteral("PopupMenuSendEmail")).arg(address));
            QObject::connect(email, &QAction::triggered, menu.get(), [action = actions.sendEmail] {
                if (action)
                    action();
            });
        }
        break;
    }
    case KindNote:
    case KindProtectedNote:
        addAction(menu.get(), KORVALE_KEY("PopupMenuOpenItem"), actions.open);
        addAction(menu.get(), KORVALE_KEY("PopupMenuEditItem"), actions.edit);
        break;
    case KindAnswer: {
        if (record.contains(AnswerRecord::KeyDesktopSource)) {
            // Return's own entry, then the runner's actions under the texts it gave them.
            addAction(menu.get(), KORVALE_KEY("PopupMenuOpenItem"), actions.open);
            for (const QVariant &entry : record.value(AnswerRecord::KeyDesktopActions).toList()) {
                const QStringList action = entry.toStringList();
                if (action.size() < 2)
                    continue;
                QAction *item =
                    menu->addAction(DesktopIcons::themed({action.value(2)}), action.at(1));
                QObject::connect(item, &QAction::triggered, menu.get(),
                                 [run = actions.desktopAction, id = action.at(0)] {
                                     if (run)
                                         run(id);
                                 });
            }
            break;
        }
        if (record.contains(AnswerRecord::KeyWindow)) {
            addAction(menu.get(), KORVALE_KEY("AnswerMenuShowWindow"), actions.open);
            addAction(menu.get(), KORVALE_KEY("AnswerMenuCloseWindow"), actions.closeWindow);
            break;
        }
        // A calculation: its result, as Return copies it, and the expression as understood.
        const QString result = record.value(AnswerRecord::KeyCopy).toString();
        if (result.isEmpty()) {
            addAction(menu.get(), KORVALE_KEY("PopupMenuOpenItem"), actions.open);
            break;
        }
        const auto copy = [&actions](const QString &text) {
            return [copyText = actions.copyText, text] {
                if (copyText)
                    copyText(text);
            };
        };
        addAction(menu.get(), KORVALE_KEY("AnswerMenuCopyResult"), copy(result));
        if (actions.pasteText)
            addAction(menu.get(), KORVALE_KEY("AnswerMenuPasteResult"),
                      [paste = actions.pasteText, result] { paste(result); });
        const QString expression = record.value(KeyText).toString();
        if (!expression.isEmpty())
            addAction(menu.get(), KORVALE_KEY("AnswerMenuCopyExpression"), copy(expression));
        break;
    }
    default:
        return nullptr;
    }
    return menu;
}
