#pragma once

#include <QString>
#include <QStringList>

// Where applications are looked for on this system.
namespace ApplicationsFolders {

// The default of "AppsFoldersList": the existing XDG application folders in their order of
// precedence ($XDG_DATA_HOME, each of $XDG_DATA_DIRS, Flatpak's and Snap's exports), then the
// existing ones of the classic bundle folders, without duplicates.
QStringList defaultApplicationsFolders();

} // namespace ApplicationsFolders
