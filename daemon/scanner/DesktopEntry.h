#pragma once

#include <QString>

#include <optional>

// One freedesktop desktop entry as the application list sees it.
namespace DesktopEntry {

// The localised Name of an entry that a launcher should list: Type=Application, neither Hidden
// nor NoDisplay, shown in the current desktop, TryExec and the Exec program found. Nothing for
// every other entry. Safe to call from the scan thread.
std::optional<QString> listedTitle(const QString &path);

// The desktop-file ID of an entry at `relativePath` below an applications folder:
// "kde/konsole.desktop" is "kde-konsole.desktop".
QString desktopFileId(const QString &relativePath);

} // namespace DesktopEntry
