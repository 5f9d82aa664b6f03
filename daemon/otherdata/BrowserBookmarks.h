#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The web browsers' bookmark files, each read the way its browser writes it; a file that cannot
// be read or parsed yields no bookmark and no message. Only bookmarks with a title and an address
// are kept, in the browser's order, title and address as stored.
struct Bookmark {
    QString title;
    QString address;
    bool operator==(const Bookmark &) const = default;
};

namespace SafariBookmarks {
// "~/Library/Safari/Bookmarks.plist": only there when a user carried it over.
QString path();
// Any property-list format: "Children" walked depth first; a bookmark's title is the "title" of
// its "URIDictionary", else its address.
QList<Bookmark> parse(const QByteArray &bytes);
} // namespace SafariBookmarks

namespace FirefoxBookmarks {
// The profiles named in each "profiles.ini" and every folder ending in ".default" or
// ".default-release", in the plain, Snap and Flatpak locations.
QStringList profileFolders();
// The newest backup of every profile's "bookmarkbackups" (".jsonlz4" or ".json"); a later file
// replaces the chosen one only when it is strictly newer.
QString newestBackup(const QStringList &profiles);
// The JSON of a backup: a "mozLz40" file decompressed, a plain one as it is.
std::optional<QByteArray> decodeBackup(const QByteArray &bytes);
QList<Bookmark> parse(const QByteArray &json);
} // namespace FirefoxBookmarks

namespace ChromiumBookmarks {
// The "Bookmarks" file of every profile of Chromium, Google Chrome, Brave, Vivaldi and
// Microsoft Edge, in the plain, Snap and Flatpak locations.
QStringList bookmarkFiles();
QList<Bookmark> parse(const QByteArray &json);
} // namespace ChromiumBookmarks
