#include "AddressBookReader.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"
#include "VCardTestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using AddressBookReaderTest = EnglishLabels;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void exec(sqlite3 *db, const QByteArray &sql)
{
    char *error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "") << " in " << sql.constData();
}

QByteArray card(const char *uid, const char *name, const char *phone)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:") + uid + "\r\nFN:" + name + "\r\nN:;"
        + name + ";;;\r\nTEL;TYPE=CELL:" + phone + "\r\nEND:VCARD";
}

QByteArray quotedSql(QByteArray text)
{
    return "'" + text.replace("'", "''") + "'";
}

// The store as Evolution Data Server's EBookSqlite lays it out: the folders table names the
// table of contacts, whose vcard column holds each card.
void createEvolutionStore(sqlite3 *db, const QList<QByteArray> &cards)
{
    exec(db,
         "CREATE TABLE folders (folder_id TEXT PRIMARY KEY, version INTEGER, multivalues TEXT,"
         " lc_collate TEXT, countrycode VARCHAR(2));"
         "CREATE TABLE keys (key TEXT PRIMARY KEY, value TEXT,"
         " folder_id TEXT REFERENCES folders);"
         "CREATE TABLE folder_id (uid TEXT PRIMARY KEY, Rev TEXT, file_as TEXT,"
         " file_as_localized TEXT, nickname TEXT, full_name TEXT, given_name TEXT,"
         " family_name TEXT, email TEXT, is_list INTEGER, list_show_addresses INTEGER,"
         " wants_html INTEGER, x509Cert INTEGER, pgpCert INTEGER, vcard TEXT, bdata TEXT);"
         "CREATE TABLE folder_id_email_list (uid TEXT NOT NULL REFERENCES folder_id(uid)"
         " ON DELETE CASCADE, value TEXT);"
         "INSERT INTO folders VALUES ('folder_id', 12, 'email', 'en_US.UTF-8', 'FR');");
    int row = 0;
    for (const QByteArray &vcard : cards) {
        exec(db,
             "INSERT INTO folder_id (uid, Rev, full_name, vcard) VALUES ('uid-"
                 + QByteArray::number(++row) + "', '2026-12-01T10:00:00Z(1)', 'x', "
                 + quotedSql(vcard) + ");");
    }
}

QStringList titles(const QVariantList &records)
{
    QStringList list;
    for (const QVariant &record : records)
        list.append(record.toMap().value("T").toString());
    return list;
}

} // namespace

// The address book's own server keeps its store open and in the middle of a write: the reader
// takes no lock, reads what is committed, and leaves the file as it was, so the write goes on.
TEST_F(AddressBookReaderTest, EvolutionStoreIsReadWithoutDisturbingItsWriter)
{
    TemporaryHome home;
    const QString store = home.path() + "/.local/share/evolution/addressbook/system/contacts.db";
    QDir().mkpath(QFileInfo(store).absolutePath());
    sqlite3 *writer = nullptr;
    ASSERT_EQ(sqlite3_open(store.toUtf8().constData(), &writer), SQLITE_OK);
    createEvolutionStore(
        writer, {card("a1", "Alice", "+33 6 11 11 11 11"), card("b2", "Bob", "+33 6 22 22 22 22")});
    exec(writer,
         "BEGIN EXCLUSIVE; INSERT INTO folder_id (uid, vcard) VALUES ('c3', "
             + quotedSql(card("c3", "Carol", "+33 6 33 33 33 33")) + ");");
    const QByteArray before =
        QCryptographicHash::hash(fileBytes(store), QCryptographicHash::Sha256);
    const QDateTime modified = QFileInfo(store).lastModified();

    const QVariantList records = AddressBookReader::readAll();

    EXPECT_EQ(titles(records), QStringList({"Alice", "Bob"}));
    EXPECT_EQ(records.at(0).toMap().value("Phone").toString(), "mobile\t+33 6 11 11 11 11");
    EXPECT_EQ(QCryptographicHash::hash(fileBytes(store), QCryptographicHash::Sha256), before);
    EXPECT_EQ(QFileInfo(store).lastModified(), modified);
    exec(writer, "COMMIT;");
    EXPECT_EQ(sqlite3_close(writer), SQLITE_OK);
    EXPECT_EQ(titles(AddressBookReader::readAll()), QStringList({"Alice", "Bob", "Carol"}));
}

// Every source at once: Evolution's store, a store laid out otherwise (any table with a vcard
// column), KDE's folder (vCard files, with or without the suffix), a file named in the
// preference. A card found twice is listed once; the list is in title order; pictures come by
// UID, inline or from the file Evolution keeps them in.
TEST_F(AddressBookReaderTest, EverySourceMergedWithoutDuplicatesInTitleOrder)
{
    TemporaryHome home;
    const QString data = home.path() + "/.local/share";
    const QString photoFile = data + "/evolution/addressbook/system/photos/pic_a1.png";
    const QByteArray photo = pngPicture(qRgb(0, 128, 0));
    writeFile(photoFile, photo);
    const QByteArray alice = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:a1\r\nFN:Alice\r\nN:;Alice;;;\r\n"
                             "TEL;TYPE=CELL:+33 6 11 11 11 11\r\nPHOTO;VALUE=uri:"
        + QUrl::fromLocalFile(photoFile).toEncoded() + "\r\nEND:VCARD";
    {
        sqlite3 *db = nullptr;
        const QString store = data + "/evolution/addressbook/system/contacts.db";
        ASSERT_EQ(sqlite3_open(store.toUtf8().constData(), &db), SQLITE_OK);
        createEvolutionStore(db, {alice});
        sqlite3_close(db);
        const QString other = data + "/evolution/addressbook/1702-work/contacts.db";
        QDir().mkpath(QFileInfo(other).absolutePath());
        ASSERT_EQ(sqlite3_open(other.toUtf8().constData(), &db), SQLITE_OK);
        exec(db,
             "CREATE TABLE people (id INTEGER PRIMARY KEY, VCard TEXT);"
             "INSERT INTO people (VCard) VALUES ("
                 + quotedSql(card("d4", "Dora", "+1 555 0104")) + ");");
        sqlite3_close(db);
    }
    writeFile(data + "/contacts/personal/alice.vcf", alice);
    writeFile(data + "/contacts/personal/1702033401.R815",
              card("e5", "Émile", "+33 1 55 55 55 55"));
    writeFile(data + "/contacts/personal/notes.txt", "FN:Not a card\r\nTEL:0\r\n");
    // A card may name any path as its picture: a /proc entry is not read.
    writeFile(data + "/contacts/personal/dora.vcf",
              card("d4", "Dora", "+1 555 0104")
                  .replace("END:VCARD", "PHOTO;VALUE=uri:file:///proc/self/status\r\nEND:VCARD"));
    const QByteArray zed = pngPicture(qRgb(1, 2, 3));
    writeFile(home.path() + "/Exports/team.vcf",
              crlf("BEGIN:VCARD\nVERSION:4.0\nUID:z26\nFN:Zed\nEMAIL:zed@example.org\nPHOTO:data:"
                   "image/png;base64,")
                  + zed.toBase64() + crlf("\nEND:VCARD\n")
                  + card("b2", "bob", "+33 6 22 22 22 22"));
    SharedPreferences preferences;
    preferences.setValue(AddressBookReader::ContactsPathsPreference,
                         QVariantList{"~/Exports/team.vcf", "", "~/missing-folder"});
    ASSERT_TRUE(preferences.synchronize());

    const QVariantList records = AddressBookReader::readAll();

    // The suite's title order: case folded, accents not (É comes after Z).
    EXPECT_EQ(titles(records),
              QStringList({"Alice", "bob", "Dora", "Zed", QStringLiteral("Émile")}));
    EXPECT_EQ(AddressBookReader::pictureForUid("a1").pixel(0, 0), qRgb(0, 128, 0));
    EXPECT_EQ(AddressBookReader::pictureForUid("z26").pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_TRUE(AddressBookReader::pictureForUid("b2").isNull());
    EXPECT_FALSE(
        AddressBookReader::read(AddressBookReader::defaultSources()).pictures.contains("d4"));
    EXPECT_TRUE(AddressBookReader::pictureForUid("").isNull());
}
