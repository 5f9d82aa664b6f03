#include "BookmarkReader.h"
#include "BrowserBookmarks.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <lz4.h>
#include <plist/plist.h>

#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &bytes, int ageSeconds = 0)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    if (ageSeconds > 0) {
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                         QFileDevice::FileModificationTime);
    }
}

// As Firefox writes its backups: "mozLz40\0", the size, one LZ4 block.
QByteArray mozLz4(const QByteArray &json)
{
    QByteArray block(LZ4_compressBound(int(json.size())), Qt::Uninitialized);
    const int size =
        LZ4_compress_default(json.constData(), block.data(), int(json.size()), int(block.size()));
    QByteArray out("mozLz40\0", 8);
    char length[4];
    qToLittleEndian<quint32>(quint32(json.size()), length);
    out.append(length, 4);
    out.append(block.constData(), size);
    return out;
}

QByteArray firefoxBackup(const QString &folderTitle, const QString &first, const QString &second)
{
    return QStringLiteral(
               R"({"guid":"root________","title":"","children":[{"guid":"menu________",)"
               R"("title":"menu","children":[{"title":"%1","type":"text/x-moz-place-container",)"
               R"("children":[{"title":%2,"uri":"https://first.example/","type":"text/x-moz-place"},)"
               R"({"title":"%3","uri":"https://second.example/?q=\"x\"","type":"text/x-moz-place"},)"
               R"({"title":"No address","type":"text/x-moz-place"}]}]}]})")
        .arg(folderTitle, first, second)
        .toUtf8();
}

QByteArray safariPlist(bool binary)
{
    plist_t root = plist_new_dict();
    plist_t children = plist_new_array();
    plist_t folder = plist_new_dict();
    plist_t inner = plist_new_array();
    plist_t titled = plist_new_dict();
    plist_dict_set_item(titled, "URLString", plist_new_string("https://shared.example/"));
    plist_t uri = plist_new_dict();
    plist_dict_set_item(uri, "title", plist_new_string("Shared"));
    plist_dict_set_item(titled, "URIDictionary", uri);
    plist_array_append_item(inner, titled);
    plist_dict_set_item(folder, "Children", inner);
    plist_array_append_item(children, folder);
    plist_t untitled = plist_new_dict();
    plist_dict_set_item(untitled, "URLString", plist_new_string("https://untitled.example/"));
    plist_array_append_item(children, untitled);
    plist_dict_set_item(root, "Children", children);
    char *data = nullptr;
    uint32_t length = 0;
    if (binary)
        plist_to_bin(root, &data, &length);
    else
        plist_to_xml(root, &data, &length);
    const QByteArray bytes(data, qsizetype(length));
    free(data);
    plist_free(root);
    return bytes;
}

QStringList titles(const QVariantList &records)
{
    QStringList out;
    for (const QVariant &record : records)
        out << record.toMap().value("T").toString();
    return out;
}

} // namespace

// Each browser's file where the browser keeps it; the first title read wins and the list is
// sorted. Firefox's JSON is parsed, so a folder's first bookmark keeps its own title and an
// escaped quote stays in the text.
TEST(BookmarkReader, ReadsEveryBrowserWhereItKeepsItsBookmarks)
{
    TemporaryHome home;
    const QString h = home.path();
    write(h + "/Library/Safari/Bookmarks.plist", safariPlist(true));

    // Two profiles: the snap one named in profiles.ini has the newest backup of all.
    const QString plain = h + "/.mozilla/firefox/abcd.default-release/bookmarkbackups/";
    write(plain + "bookmarks-2026-12-01.jsonlz4",
          mozLz4(firefoxBackup("Old", "\"Stale\"", "Stale too")), 7200);
    const QString snap = h + "/snap/firefox/common/.mozilla/firefox/";
    write(snap + "profiles.ini",
          "[General]\nStartWithLastProfile=1\n\n[Profile0]\nName=me\n"
          "IsRelative=1\nPath=xyz.me\nDefault=1\n");
    write(snap + "xyz.me/bookmarkbackups/bookmarks-2026-12-08.jsonlz4",
          mozLz4(firefoxBackup("Folder", "\"Say \\\"hi\\\"\"", "Second")), 60);

    write(
        h + "/.config/google-chrome/Default/Bookmarks",
        R"({"roots":{"bookmark_bar":{"type":"folder","children":[{"type":"url","name":"Chrome page",)"
        R"("url":"https://chrome.example/"},{"type":"folder","name":"F","children":[{"type":"url",)"
        R"("name":"Nested","url":"https://nested.example/"}]}]},"other":{"type":"folder",)"
        R"("children":[{"type":"url","name":"Shared","url":"https://other.example/"}]}}})");

    const QVariantList records = BookmarkReader::readAll();
    EXPECT_EQ(titles(records),
              (QStringList{"Chrome page", "https://untitled.example/", "Nested", "Say \"hi\"",
                           "Second", "Shared"}))
        << titles(records).join(" | ").toStdString();
    for (const QVariant &record : records) {
        const QVariantMap map = record.toMap();
        EXPECT_EQ(map.value("x"), 3);
        if (map.value("T") == "Shared") {
            EXPECT_EQ(map.value("U"), "https://shared.example/") << "Safari was read first";
        } else if (map.value("T") == "Second") {
            EXPECT_EQ(map.value("U"), "https://second.example/?q=\"x\"");
        }
    }
    EXPECT_EQ(SafariBookmarks::parse(safariPlist(false)), SafariBookmarks::parse(safariPlist(true)))
        << "XML and binary lists read alike";
    EXPECT_EQ(FirefoxBookmarks::decodeBackup(mozLz4("{}").left(14)), std::nullopt)
        << "a cut backup is no backup";
    // Found by fuzzing: a title holding a NUL aborted the whole program inside libplist.
    const QByteArray nul = QByteArray::fromBase64(
        "YnBsaXN0MDDRAQJYQ2hpbGRyZW6iAwzRAQShBdIGBwgLXVVSSURpY3Rpb25hcnlZVVJMU3RyaW5n0QkKVXRpdGxl"
        "VlMvOTxCSWNmAAAAAAAAAQEAAAAAcmVkLmV4YW1wbGUv0QcNXxAZaHR0cHM6Ly91bnRpdGxlZC5leGFtcGxlLwgLFB"
        "ca"
        "HCEvOTxCSWNmAAAAAAAAAQEAAAAAAAAADgAAAAAAAAAAAAAAAAAAAII=");
    EXPECT_LE(SafariBookmarks::parse(nul).size(), 2);
}
