#pragma once

#include <QString>
#include <QStringList>

// The profile folders of Firefox and Thunderbird, which keep them alike.
namespace MozillaProfiles {

// Every [Profile…] section's Path of each root's "profiles.ini" (relative to the root unless
// IsRelative=0), then every folder of the root ending in ".default" or ".default-release"; each
// folder once, by its canonical path.
QStringList folders(const QStringList &roots);

// Thunderbird's roots: the plain, Flatpak and Snap homes.
QStringList thunderbirdRoots();

} // namespace MozillaProfiles
