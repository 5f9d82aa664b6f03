#include "MenuBarMenu.h"

#include "AccessIcons.h"
#include "FolderListing.h"
#include "FolderMenus.h"
#include "ItemRecord.h"
#include "NativeFileName.h"
#include "PasteboardContents.h"
#include "QOR_StringUtils.h"

#include <QFileInfo>
#include <QMenu>

using namespace ItemRecord;

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

void connectEntry(QAction *entry, QMenu *menu, const std::function<void()> &action)
{
    QObject::connect(entry, &QAction::triggered, menu, [action] {
        if (action)
            action();
    });
}

void addClipboardVariants(QMenu *menu, const QString &clipboardText,
                          const MenuBarMenu::Actions &actions)
{
    static const QString labels[] = {KORVALE_KEY("PlainText"), KORVALE_KEY("UpperCaseText"),
                                     KORVALE_KEY("LowerCaseText"), KORVALE_KEY("CapitalizedText")};
    QMenu *variants = menu->addMenu(AccessIcons::icon(QStringLiteral("icon_Clipboard_2")),
                                    localized(QStringLiteral("PopupMenuClipboardItems")));
    variants->menuAction()->setData(-1);
    for (int tag = 1; tag <= 4; ++tag) {
        QAction *entry = variants->addAction(QStringLiteral("%1: %2").arg(
            localized(labels[tag - 1]), MenuBarMenu::clipboardSample(clipboardText, tag)));
        entry->setData(tag);
        connectEntry(entry, menu, [paste = actions.pasteText, tag] {
            if (paste)
                paste(tag);
        });
    }
    menu->addSeparator();
}

// Never the icon of the mount point itself: a share that stopped answering would hang the menu.
QIcon volumeIcon(const QVariantMap &record)
{
    QStringList names;
    if (record.value(QStringLiteral("isServer")).toInt() == 1)
        names << QStringLiteral("folder-remote") << QStringLiteral("network-server");
    else if (!record.value(QStringLiteral("internal"), true).toBool())
        names << QStringLiteral("drive-removable-media");
    names << QStringLiteral("drive-harddisk");
    for (const QString &name : names) {
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull())
            return icon;
    }
    return FolderMenus::menuIcon(QStringLiteral("/"), true);
}

void addVolumes(QMenu *menu, const QVariantList &volumes, FolderMenus &folders)
{
    QMenu *list = menu->addMenu(FolderMenus::menuIcon(QStringLiteral("/"), true),
                                localized(QStringLiteral("PopupMenuVolumes")));
    list->menuAction()->setData(-1);
    for (const QVariant &volume : volumes) {
        const QVariantMap record = volume.toMap();
        const QString path = record.value(QStringLiteral("volPath")).toString();
        if (path.isEmpty())
            continue;
        QString name = record.value(QStringLiteral("volName")).toString();
        if (name.isEmpty())
            name = QOR_StringUtils::localizedNameAtPath(path);
        folders.addFolderEntry(list, path, name, volumeIcon(record), true);
    }
}

void addRecentItems(QMenu *menu, const QVariantList &recentItems,
                    const MenuBarMenu::Actions &actions)
{
    QMenu *list = menu->addMenu(localized(QStringLiteral("PopupMenuRecentItems")));
    list->menuAction()->setData(-1);
    for (qsizetype index = 0;
         index < recentItems.size() && list->actions().size() < MenuBarMenu::RecentItemsShown;
         ++index) {
        const QString path = recentItems.at(index).toMap().value(KeyPath).toString();
        if (path.isEmpty() || !NativeFileName::exists(path))
            continue;
        QAction *entry = list->addAction(FolderMenus::menuIcon(path),
                                         QOR_StringUtils::localizedNameAtPath(path));
        const int tag = int(index);
        entry->setData(tag);
        connectEntry(entry, menu, [open = actions.openRecentItem, tag] {
            if (open)
                open(tag);
        });
    }
}

} // namespace

QString MenuBarMenu::clipboardSample(const QString &clipboardText, int tag)
{
    QString sample = clipboardText;
    for (QChar &c : sample) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    if (sample.size() > SampleLength)
        sample = sample.left(SampleLength) + QStringLiteral("...");
    return PasteboardContents::transformText(sample, tag);
}

void MenuBarMenu::clear(QMenu *menu)
{
    // Later: the entry that asked for the clearing may be running in one of them.
    for (QMenu *submenu : menu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly)) {
        menu->removeAction(submenu->menuAction());
        submenu->deleteLater();
    }
    menu->clear();
}

void MenuBarMenu::build(QMenu *menu, const Sources &sources, FolderMenus &folders,
                        const Actions &actions)
{
    folders.paths().clear();

    if (sources.clipboardText && !sources.clipboardText->isEmpty())
        addClipboardVariants(menu, *sources.clipboardText, actions);

    if (!sources.clipboardFile.isEmpty()) {
        const QString &path = sources.clipboardFile;
        const bool folder = QFileInfo(path).isDir();
        QAction *entry =
            folders.addFolderEntry(menu, path, QOR_StringUtils::localizedNameAtPath(path),
                                   FolderMenus::menuIcon(path), true);
        // A file's submenu holds only its editor entry; a folder's fills itself.
        if (!folder)
            folders.addEditorEntry(entry->menu(), entry->data().toInt());
        menu->addSeparator();
    }

    addVolumes(menu, sources.volumes, folders);

    menu->addSeparator();
    for (const QVariant &file : sources.files) {
        const QString path = file.toMap().value(KeyPath).toString();
        if (!path.isEmpty())
            folders.addPathEntry(menu, path);
    }

    menu->addSeparator();
    if (!sources.recentItems.isEmpty())
        addRecentItems(menu, sources.recentItems, actions);

    connectEntry(menu->addAction(localized(QStringLiteral("PopupMenuOpenAccessWindow"))), menu,
                 actions.openAccessWindow);
    connectEntry(menu->addAction(localized(QStringLiteral("PopupMenuOpenBrowser"))), menu,
                 actions.openBrowser);
    connectEntry(menu->addAction(localized(QStringLiteral("PopupMenuOpenMainApp"))), menu,
                 actions.openMainApp);
    // The tray and the menu-bar gesture are the agent's only window onto the desktop: its Quit
    // lives here, apart from the commands above.
    menu->addSeparator();
    connectEntry(menu->addAction(localized(QStringLiteral("PopupMenuQuit"))), menu, actions.quit);
}
