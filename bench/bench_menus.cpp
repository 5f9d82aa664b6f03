// The pop-up menus: building the menu-bar menu with 100 files-list entries and 100 recent items,
// and filling the submenu of a folder of 10,000 entries.
#include "BenchUtils.h"

#include "FolderMenus.h"
#include "ItemRecord.h"
#include "MenuBarMenu.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tree;
    const auto touch = [](const QString &path) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
    };
    const QStringList extensions = {"txt", "pdf", "odt", "png", "desktop", "sh", "ods", "mp3"};

    MenuBarMenu::Sources sources;
    sources.clipboardText = QStringLiteral("A line of copied text that is long enough to be cut");
    for (int i = 0; i < 100; ++i) {
        const QString path = tree.filePath(QStringLiteral("files/item %1").arg(i));
        if (i % 2 == 0)
            QDir().mkpath(path);
        else {
            QDir().mkpath(tree.filePath("files"));
            touch(path + "." + extensions.at(i % extensions.size()));
        }
        sources.files << QVariantMap{
            {ItemRecord::KeyKind, 2},
            {ItemRecord::KeyPath,
             i % 2 == 0 ? path : path + "." + extensions.at(i % extensions.size())}};
        const QString recent = tree.filePath(
            QStringLiteral("recent %1.%2").arg(i).arg(extensions.at(i % extensions.size())));
        touch(recent);
        sources.recentItems << QVariantMap{{ItemRecord::KeyKind, 2}, {ItemRecord::KeyPath, recent}};
    }
    const QString big = tree.filePath("big");
    QDir().mkpath(big);
    for (int i = 0; i < 10000; ++i) {
        if (i % 10 == 0)
            QDir().mkdir(big + QStringLiteral("/folder %1").arg(i));
        else
            touch(big
                  + QStringLiteral("/file %1.%2").arg(i).arg(extensions.at(i % extensions.size())));
    }

    QStringList paths;
    FolderMenus folders(paths, [] { return FolderMenus::Settings{}; }, {});
    MenuBarMenu::Actions actions;

    // The first run warms the icon theme and the MIME database, as the agent's first menu does.
    const auto buildMenuBar = [&] {
        QMenu menu;
        MenuBarMenu::build(&menu, sources, folders, actions);
    };
    buildMenuBar();
    const Bench::Stats menuBar = Bench::stats(Bench::timeRuns(21, buildMenuBar));
    Bench::print("menubar_menu_100_files_100_recent_median", menuBar.median, "ms");
    Bench::print("menubar_menu_100_files_100_recent_p95", menuBar.p95, "ms");

    const auto fillBig = [&] {
        QMenu menu;
        paths = {big};
        folders.addContentsOf(big, &menu, 0);
    };
    fillBig();
    const Bench::Stats listing = Bench::stats(Bench::timeRuns(11, fillBig));
    Bench::print("folder_submenu_10000_entries_median", listing.median, "ms");
    Bench::print("folder_submenu_10000_entries_p95", listing.p95, "ms");
    return 0;
}
