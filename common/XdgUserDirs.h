#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The desktop's user folders ("user-dirs.dirs" in the configuration folder, as xdg-user-dirs
// writes it): lines such as XDG_DOCUMENTS_DIR="$HOME/Documents". A folder set to the home folder
// itself is turned off: the callers leave it out.
namespace XdgUserDirs {

// Name (DESKTOP, DOWNLOAD, DOCUMENTS...) to absolute path, from the file's bytes; the home folder
// expands "$HOME". Lines that are not of that form are ignored.
QHash<QString, QString> parse(const QByteArray &contents, const QString &home);

// The file of this user (read through BoundedFile), or nothing when it is missing or unread.
QHash<QString, QString> read();

} // namespace XdgUserDirs
