#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

class QFileInfo;
class QMimeType;

// The one way every window of the suite finds an icon in the desktop's theme: an application by
// its desktop entry's Icon, a file by its MIME type, anything else by a list of names. Windows
// that show the same item thus show the same picture.
class DesktopIcons
{
public:
    DesktopIcons() = delete;

    // Without a desktop platform theme Qt looks only in hicolor, which holds few icons; Adwaita
    // is then the fallback. Every lookup below calls it first.
    static void useDesktopIconTheme();
    // The first of the names the theme has; many themes now ship only the "-symbolic" names,
    // which are tried too.
    static QIcon themed(const QStringList &names);
    // An image file another program named: only a regular file within the limit of an
    // application's icon, since Qt's image readers open whatever the path leads to (a FIFO there
    // would stall the window drawing the row). Null otherwise.
    static QIcon fromFile(const QString &path);
    // The icon a desktop entry names in its Icon key (a theme name, a theme name with an image
    // suffix, or an image file), else the theme's generic program icon. Cached by path.
    static QIcon forApplication(const QString &desktopEntryPath);
    // The type's own icon, else its generic one, else a plain folder or document.
    static QIcon forType(const QFileInfo &info, const QMimeType &mime);
    // A desktop entry as its application, anything else by its type (read by name and content).
    // Cached by path.
    static QIcon forPath(const QString &path);
    // Forgets the cached icons, for a theme change.
    static void clearCache();
};
