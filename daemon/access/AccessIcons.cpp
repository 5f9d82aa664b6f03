#include "AccessIcons.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QHash>

// Outside any namespace, as Q_INIT_RESOURCE requires: the icons live in a static library, whose
// resources the linker would otherwise leave out.
static void initAccessIconResources()
{
    Q_INIT_RESOURCE(access_icons);
}

namespace {

const QStringList &filterButtonNames()
{
    static const QStringList buttons{"Applications", "Files",          "Bookmarks", "Contacts",
                                     "Notes",        "ProtectedNotes", "Clipboard"};
    return buttons;
}

} // namespace

QStringList AccessIcons::names()
{
    QStringList all{"icon_Arrow",    "icon_Note_2",      "icon_NoteProtected_2",
                    "icon_Person_2", "icon_Clipboard_2", "icon_URL_2",
                    "icon_Menu",     "icon_Agent"};
    for (const QString &button : filterButtonNames())
        all << filterIconName(button, true) << filterIconName(button, false);
    return all;
}

QString AccessIcons::filterIconName(const QString &buttonName, bool on)
{
    return QStringLiteral("filter_%1_%2")
        .arg(buttonName, on ? QStringLiteral("on") : QStringLiteral("off"));
}

AccessIcons::Theme AccessIcons::themeForPalette(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128 ? Theme::Dark : Theme::Light;
}

QString AccessIcons::resourcePath(const QString &name, Theme theme)
{
    return QStringLiteral(":/access/icons/%1-%2.svg")
        .arg(name, theme == Theme::Dark ? QStringLiteral("dark") : QStringLiteral("light"));
}

QIcon AccessIcons::icon(const QString &name)
{
    return icon(name, themeForPalette(QGuiApplication::palette()));
}

QIcon AccessIcons::icon(const QString &name, Theme theme)
{
    // Cleared with the application object, while the SVG icon engine is still there.
    static QHash<QString, QIcon> loaded;
    static bool ready = false;
    if (!ready) {
        initAccessIconResources();
        qAddPostRoutine([] { loaded.clear(); });
        ready = true;
    }
    const QString path = resourcePath(name, theme);
    if (auto found = loaded.constFind(path); found != loaded.constEnd())
        return *found;
    if (!QFile::exists(path))
        return {};
    const QIcon image(path);
    loaded.insert(path, image);
    return image;
}
