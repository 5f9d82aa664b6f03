#pragma once

#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>

class FolderMenus;
class QMenu;

// The menu-bar menu: the clipboard text in four variants, the file on the clipboard, the
// volumes, the user's files and folders, the recent items, three commands and Quit.
class MenuBarMenu
{
public:
    MenuBarMenu() = delete;

    struct Sources {
        std::optional<QString> clipboardText;
        QString clipboardFile; // a local path, or empty
        QVariantList volumes; // records with "volName" and "volPath"
        QVariantList files; // "FilesList"
        QVariantList recentItems; // "LastItemsLaunched"
    };
    struct Actions {
        std::function<void(int tag)> pasteText; // doPasteTextClipboard
        std::function<void(int tag)> openRecentItem; // doOpenRecentItem
        std::function<void()> openAccessWindow;
        std::function<void()> openBrowser;
        std::function<void()> openMainApp;
        // quitDaemon: asks first.
        std::function<void()> quit;
    };

    static constexpr int RecentItemsShown = 35;
    static constexpr int SampleLength = 35;

    // Fills an empty menu; the path list is emptied first.
    static void build(QMenu *menu, const Sources &sources, FolderMenus &folders,
                      const Actions &actions);
    // Removes every entry and submenu of a built menu.
    static void clear(QMenu *menu);

    // The text as an entry shows it for the tag's transformation: one line, cut after 35
    // characters with "...".
    static QString clipboardSample(const QString &text, int tag);
};
