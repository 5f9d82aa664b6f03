#pragma once

#include "platform/Workspace.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>

// Builds application folders for the scanner tests.
namespace ScannerFixtures {

inline void makeFolder(const QString &path)
{
    QDir().mkpath(path);
}

inline void writeFile(const QString &path, const QByteArray &contents)
{
    makeFolder(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents);
}

// A desktop entry whose program exists; extra lines go into the [Desktop Entry] group.
inline void writeDesktopEntry(const QString &path, const QString &name,
                              const QByteArray &extraLines = {})
{
    writeFile(path,
              "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() + "\nExec=true\n"
                  + extraLines);
}

} // namespace ScannerFixtures

// The session's X11 workspace where a window manager runs, or nothing and why (to skip a test).
inline std::unique_ptr<Workspace> windowManagedWorkspace(QString *why)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        *why = QStringLiteral("needs an X display with a window manager: run under scripts/with-session.sh");
        return nullptr;
    }
    std::unique_ptr<Workspace> workspace = Workspace::createLinux();
    if (!workspace->canBringToFront(why))
        return nullptr;
    return workspace;
}
