#pragma once

#include <QIcon>
#include <QPalette>
#include <QString>
#include <QStringList>

// The access window's own images (kinds, filter buttons, menus, the agent), drawn as SVG in two
// variants: dark strokes for light themes and light strokes for dark ones. Main thread only.
// Views that keep an icon ask again on QEvent::PaletteChange to follow a theme switch.
class AccessIcons
{
public:
    AccessIcons() = delete;

    enum class Theme { Light, Dark };

    // "icon_Arrow", "icon_Note_2", "icon_NoteProtected_2", "icon_Person_2", "icon_Clipboard_2",
    // "icon_URL_2", "icon_Menu", "icon_Agent", and for each filter button
    // ("Applications", "Files", "Bookmarks", "Contacts", "Notes", "ProtectedNotes", "Clipboard")
    // "filter_NAME_on" and "filter_NAME_off". An unknown name gives a null icon.
    static QIcon icon(const QString &name); // in the variant for the application's palette
    static QIcon icon(const QString &name, Theme theme);

    // Dark when the palette's window colour is dark.
    static Theme themeForPalette(const QPalette &palette);
    static QStringList names();
    // The filter button's image name for a button name and state ("filter_Files_on").
    static QString filterIconName(const QString &buttonName, bool on);
    static QString resourcePath(const QString &name, Theme theme);
};
