#pragma once

#include "DesktopIcons.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>

#include <map>

// An icon theme of flat colours, made the current theme for the object's lifetime: a test can
// tell which name an icon was found under by the colour it draws.
class TestIconTheme
{
public:
    explicit TestIconTheme(const std::map<QString, QColor> &icons)
        : mSavedPaths(QIcon::themeSearchPaths())
        , mSavedName(QIcon::themeName())
    {
        const QString root = mDir.path() + QStringLiteral("/KorvaleColours");
        QDir().mkpath(root + QStringLiteral("/48x48/apps"));
        QFile index(root + QStringLiteral("/index.theme"));
        if (index.open(QIODevice::WriteOnly))
            index.write("[Icon Theme]\nName=KorvaleColours\nDirectories=48x48/apps\n\n"
                        "[48x48/apps]\nSize=48\nType=Fixed\n");
        index.close();
        for (const auto &[name, colour] : icons) {
            QImage image(48, 48, QImage::Format_ARGB32);
            image.fill(colour);
            image.save(root + QStringLiteral("/48x48/apps/") + name + QStringLiteral(".png"));
        }
        QIcon::setThemeSearchPaths(QStringList{mDir.path()} + mSavedPaths);
        QIcon::setThemeName(QStringLiteral("KorvaleColours"));
        DesktopIcons::clearCache();
    }
    ~TestIconTheme()
    {
        QIcon::setThemeSearchPaths(mSavedPaths);
        QIcon::setThemeName(mSavedName);
        DesktopIcons::clearCache();
    }
    QString folder() const { return mDir.path(); }

    // The colour at (x, 8) of the icon drawn at the given size.
    static QColor centre(const QIcon &icon, int x = 8, QSize size = QSize(16, 16))
    {
        return icon.pixmap(size).toImage().pixelColor(x, 8);
    }

private:
    QTemporaryDir mDir;
    QStringList mSavedPaths;
    QString mSavedName;
};
