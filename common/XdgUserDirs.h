#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The desktop's user folders ("user-dirs.dirs" in the configuration folder, as xdg-user-dirs
// writes it): lines such as XDG_DOCUMENTS_DIR="$HOME/Documents". A folder set to the home folder
// itself is turned off, as xdg-user-dir treats it.
namespace XdgUserDirs {

// Name (DESKTOP, DOWNLOAD, DOCUMENTS...) to absolute path, from the file's bytes; the home folder
// expands "$HOME". Lines that are not of that form are ignored; folders set to the home itself
// are left out.
QHash<QString, QString> parse(const QByteArray &contents, const QString &home);

// The file of this user (read through BoundedFile), or nothing when it is missing or unread.
QHash<QString, QString> read();

} // namespace XdgUserDirs
