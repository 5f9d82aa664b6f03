// Reading 10,000 bookmarks: a Firefox backup (mozLz4) and a Chromium "Bookmarks" file, each in
// 100 folders of 100, in a private temporary home; then both together as the agent reads them
// (titles made unique, sorted). 11 runs each, the first one cold.
#include "BenchUtils.h"

#include "BookmarkReader.h"
#include "BrowserBookmarks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>

#include <lz4.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

QByteArray mozLz4(const QByteArray &json)
{
    QByteArray block(LZ4_compressBound(int(json.size())), Qt::Uninitialized);
    const int size =
        LZ4_compress_default(json.constData(), block.data(), int(json.size()), int(block.size()));
    QByteArray out("mozLz40\0", 8);
    char length[4];
    qToLittleEndian<quint32>(quint32(json.size()), length);
    return out + QByteArray(length, 4) + block.left(size);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);

    QJsonArray firefoxFolders;
    QJsonArray chromiumFolders;
    for (int folder = 0; folder < 100; ++folder) {
        QJsonArray firefox;
        QJsonArray chromium;
        for (int i = 0; i < 100; ++i) {
            const QString title = QStringLiteral("Site %1 page %2 about things").arg(folder).arg(i);
            const QString url =
                QStringLiteral("https://site%1.example/page/%2?ref=bookmark").arg(folder).arg(i);
            firefox.append(QJsonObject{{"title", title},
                                       {"uri", url},
                                       {"type", "text/x-moz-place"},
                                       {"guid", QStringLiteral("g%1x%2").arg(folder).arg(i)},
                                       {"dateAdded", 1700000000000000.0}});
            chromium.append(QJsonObject{{"type", "url"},
                                        {"name", title + " (Chromium)"},
                                        {"url", url},
                                        {"date_added", "13300000000000000"}});
        }
        firefoxFolders.append(QJsonObject{{"title", QStringLiteral("Folder %1").arg(folder)},
                                          {"type", "text/x-moz-place-container"},
                                          {"children", firefox}});
        chromiumFolders.append(QJsonObject{{"type", "folder"},
                                           {"name", QStringLiteral("Folder %1").arg(folder)},
                                           {"children", chromium}});
    }
    const QByteArray firefoxJson =
        QJsonDocument(
            QJsonObject{{"title", ""},
                        {"children",
                         QJsonArray{QJsonObject{{"title", "menu"}, {"children", firefoxFolders}}}}})
            .toJson(QJsonDocument::Compact);
    const QByteArray chromiumJson =
        QJsonDocument(QJsonObject{{"roots",
                                   QJsonObject{{"bookmark_bar",
                                                QJsonObject{{"type", "folder"},
                                                            {"children", chromiumFolders}}}}}})
            .toJson();
    const QString backup = home.path()
        + "/.mozilla/firefox/b.default-release/bookmarkbackups/"
          "bookmarks-2026-12-08.jsonlz4";
    write(backup, mozLz4(firefoxJson));
    const QString chromiumFile = home.path() + "/.config/chromium/Default/Bookmarks";
    write(chromiumFile, chromiumJson);

    std::size_t found = 0;
    const auto firefox = Bench::timeRuns(11, [&] {
        QFile file(FirefoxBookmarks::newestBackup(FirefoxBookmarks::profileFolders()));
        file.open(QIODevice::ReadOnly);
        found = std::size_t(
            FirefoxBookmarks::parse(*FirefoxBookmarks::decodeBackup(file.readAll())).size());
    });
    Bench::print("bookmarks_firefox_10000_count", double(found), "bookmarks");
    Bench::print("bookmarks_firefox_10000_median", Bench::stats(firefox).median, "ms");
    Bench::print("bookmarks_firefox_10000_p95", Bench::stats(firefox).p95, "ms");
    const auto chromium = Bench::timeRuns(11, [&] {
        QFile file(ChromiumBookmarks::bookmarkFiles().value(0));
        file.open(QIODevice::ReadOnly);
        found = std::size_t(ChromiumBookmarks::parse(file.readAll()).size());
    });
    Bench::print("bookmarks_chromium_10000_count", double(found), "bookmarks");
    Bench::print("bookmarks_chromium_10000_median", Bench::stats(chromium).median, "ms");
    Bench::print("bookmarks_chromium_10000_p95", Bench::stats(chromium).p95, "ms");
    const auto both =
        Bench::timeRuns(11, [&] { found = std::size_t(BookmarkReader::readAll().size()); });
    Bench::print("bookmarks_all_20000_count", double(found), "bookmarks");
    Bench::print("bookmarks_all_20000_median", Bench::stats(both).median, "ms");
    Bench::print("bookmarks_all_20000_p95", Bench::stats(both).p95, "ms");
    return 0;
}
