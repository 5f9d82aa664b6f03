#include "FolderMenus.h"

#include "FolderListing.h"
#include "ItemCell.h"
#include "ItemRecord.h"
#include "QOR_StringUtils.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>

namespace {

const char *const PathProperty = "korvalePath";

} // namespace

FolderMenus::FolderMenus(QStringList &paths, std::function<Settings()> settings, Actions actions,
                         QObject *parent)
    : QObject(parent)
    , mPaths(paths)
    , mSettings(std::move(settings))
    , mActions(std::move(actions))
{
}

QIcon FolderMenus::menuIcon(const QString &path)
{
    return menuIcon(path, QFileInfo(path).isDir());
}

QIcon FolderMenus::menuIcon(const QString &path, bool isDir)
{
    // A folder of thousands of files has a handful of types: their icons are looked up and
    // drawn once. Files without an extension and desktop entries have icons of their own.
    const QString suffix = QFileInfo(path).suffix().toLower();
    QString key;
    if (isDir)
        key = QStringLiteral("/");
    else if (!suffix.isEmpty() && suffix != QLatin1String("desktop"))
        key = suffix;
    static QHash<QString, QIcon> byType;
    if (!key.isEmpty()) {
        const auto found = byType.constFind(key);
        if (found != byType.constEnd())
            return *found;
    }
    const QIcon icon(ItemCell::iconForPath(path, ItemRecord::KindFile).pixmap(IconSize, IconSize));
    if (!key.isEmpty())
        byType.insert(key, icon);
    return icon;
}

QAction *FolderMenus::addFolderEntry(QMenu *menu, const QString &path, const QString &title,
                                     const QIcon &icon, bool withSubmenu)
{
    // Highlighting the entry (by pointer or keys) fills its submenu before it opens.
    watch(menu);
    return addEntry(menu, path, title, icon, withSubmenu);
}

QAction *FolderMenus::addEntry(QMenu *menu, const QString &path, const QString &title,
                               const QIcon &icon, bool withSubmenu)
{
    const int tag = int(mPaths.size());
    mPaths.append(path);
    QAction *entry = nullptr;
    if (withSubmenu) {
        auto *submenu = new QMenu(title, menu);
        submenu->setIcon(icon);
        entry = menu->addMenu(submenu);
        watch(submenu);
    } else {
        entry = menu->addAction(icon, title);
    }
    entry->setData(tag);
    entry->setProperty(PathProperty, path);
    connect(entry, &QAction::triggered, this, [this, path] {
        if (mActions.reveal)
            mActions.reveal(path);
    });
    return entry;
}

QAction *FolderMenus::addPathEntry(QMenu *menu, const QString &path)
{
    const bool folder = FolderListing::isFolderToDescend(path, mSettings().showPackageContents);
    return addFolderEntry(menu, path, QOR_StringUtils::localizedNameAtPath(path), menuIcon(path),
                          folder);
}

void FolderMenus::addContentsOf(const QString &folder, QMenu *menu, int editorTag)
{
    const Settings settings = mSettings();
    static const QFileIconProvider provider;
    const QIcon genericFolder = provider.icon(QFileIconProvider::Folder);
    const QIcon genericFile = provider.icon(QFileIconProvider::File);
    watch(menu);
    for (const FolderListing::Child &child :
         FolderListing::read(folder, settings.showPackageContents)) {
        const QIcon icon = settings.showIcons ? menuIcon(child.path, child.directory)
                                              : (child.directory ? genericFolder : genericFile);
        addEntry(menu, child.path, child.name, icon, child.folder);
    }
    if (menu->isEmpty())
        menu->addAction(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("Empty")))
            ->setEnabled(false);
    menu->addSeparator();
    addEditorEntry(menu, editorTag);
}

QAction *FolderMenus::addEditorEntry(QMenu *menu, int tag)
{
    QAction *entry = menu->addAction(
        QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("PopupMenuOpenEditorItem")));
    entry->setData(tag);
    connect(entry, &QAction::triggered, this, [this, path = mPaths.value(tag)] {
        if (mActions.openEditor && !path.isEmpty())
            mActions.openEditor(path);
    });
    return entry;
}

void FolderMenus::fillSubmenu(QAction *entry)
{
    QMenu *submenu = entry ? entry->menu() : nullptr;
    if (!submenu || !submenu->isEmpty())
        return;
    const QString path = entry->property(PathProperty).toString();
    if (path.isEmpty())
        return;
    addContentsOf(path, submenu, entry->data().toInt());
}

void FolderMenus::watch(QMenu *menu)
{
    // Once per menu: the property marks a menu already watched.
    if (menu->property("korvaleFolderMenus").toBool())
        return;
    menu->setProperty("korvaleFolderMenus", true);
    connect(menu, &QMenu::hovered, this, &FolderMenus::fillSubmenu);
    // A submenu opened without a highlight first (a tray host, a test) fills itself too.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { fillSubmenu(menu->menuAction()); });
}
