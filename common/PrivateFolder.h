#pragma once

#include <QString>

// The suite's own folders (the settings, the data and what it caches there) hold the user's
// notes and clipboard: only the user may enter them. The writers ask for their folder here
// rather than each setting modes of its own.
class PrivateFolder
{
public:
    // Creates `path` and its missing parents with mode 0700. A folder of the user's that is
    // already there and open to others is closed to them (0700, and the files in it 0600 at
    // most), and the log says so once, as it happens. False when no folder is there afterwards.
    static bool ensure(const QString &path);
};
