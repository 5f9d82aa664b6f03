#include "BrowserMenus.h"

#include "BrowserItem.h"
#include "BrowserListing.h"
#include "FileIcons.h"
#include "QOR_StringUtils.h"
#include "TextMatching.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>

namespace {

QIcon menuIcon(const QString &path, bool isDir)
{
    static FileTypeIcons icons;
    return icons.iconFor(path, isDir);
}

} // namespace

BrowserMenus::BrowserMenus(std::function<Options()> options,
                           std::function<void(const QString &)> reveal, QObject *parent)
    : QObject(parent)
    , mOptions(std::move(options))
    , mReveal(std::move(reveal))
{
}

bool BrowserMenus::holdsVolumes(const QString &folder)
{
    const QString user = qEnvironmentVariable("USER");
    QStringList holders{QStringLiteral("/Volumes"), QStringLiteral("/media"),
                        QStringLiteral("/run/media")};
    if (!user.isEmpty())
        holders << QStringLiteral("/media/") + user << QStringLiteral("/run/media/") + user;
    return holders.contains(QDir::cleanPath(folder));
}

void BrowserMenus::addEntry(QMenu *menu, const QString &path, const QString &title,
                            bool withSubmenu)
{
    const int tag = int(mPopupMenuContentsPaths.size());
    mPopupMenuContentsPaths.append(path);
    const QIcon icon = menuIcon(path, withSubmenu || QFileInfo(path).isDir());
    QAction *entry = nullptr;
    if (withSubmenu) {
        auto *submenu = new QMenu(title, menu);
        submenu->setIcon(icon);
        entry = menu->addMenu(submenu);
        // Filled when it first opens, not when its parent is built.
        connect(submenu, &QMenu::aboutToShow, this, [this, submenu, path] {
            if (submenu->isEmpty())
                addContentsOf(path, submenu);
        });
    } else {
        entry = menu->addAction(icon, title);
    }
    entry->setData(tag);
    connect(entry, &QAction::triggered, this, [this, path] { mReveal(path); });
}

void BrowserMenus::addContentsOf(const QString &folder, QMenu *menu)
{
    const Options options = mOptions();
    struct Record {
        QString path;
        QString name;
        bool folder;
    };
    QList<Record> records;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const BrowserListing::Entry &entry : BrowserListing::read(folder, options.showInvisible)) {
        const QString path = prefix + entry.name;
        const BrowserListing::Type type =
            entry.type == BrowserListing::Type::Unknown ? BrowserListing::typeAt(path) : entry.type;
        const bool isFolder = type == BrowserListing::Type::Directory
            && (options.showPackageContents || !BrowserListing::isPackageName(entry.name));
        records.append({path, BrowserItem::displayNameOf(path, entry.name), isFolder});
    }
    std::stable_sort(records.begin(), records.end(), [](const Record &a, const Record &b) {
        return TextMatching::compareTitles(QStringView(a.name), QStringView(b.name)) < 0;
    });
    for (const Record &record : records)
        addEntry(menu, record.path, record.name, record.folder);
    if (menu->isEmpty())
        menu->addAction(QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("Empty")))
            ->setEnabled(false);
}

void BrowserMenus::addAncestorsOf(const QString &path, QMenu *menu)
{
    QString current = QDir::cleanPath(path);
    while (current != QLatin1String("/")) {
        const QString parent = QFileInfo(current).path();
        if (parent == current || holdsVolumes(parent))
            break;
        addEntry(menu, parent, QOR_StringUtils::localizedNameAtPath(parent), true);
        current = parent;
    }
}
