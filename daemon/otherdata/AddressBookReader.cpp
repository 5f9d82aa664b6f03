#include "AddressBookReader.h"

#include "BoundedFile.h"
#include "ContactRecords.h"
#include "EdsData.h"
#include "ItemRecord.h"
#include "KorvaleLog.h"
#include "MozillaProfiles.h"
#include "OtherDataRecords.h"
#include "OtherDataSources.h"
#include "ReaderLibraries.h"
#include "ReaderLibrariesInterface.h"
#include "SharedPreferences.h"
#include "ThunderbirdStores.h"
#include "VCardParser.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>
#include <QUrl>

const QString AddressBookReader::ContactsPathsPreference = QStringLiteral("OtherDataContactsPaths");

namespace {

QMutex &picturesMutex()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, QByteArray> &currentPictures()
{
    static QHash<QString, QByteArray> pictures;
    return pictures;
}

QString recordKey(const QVariantMap &record)
{
    const QChar separator(0x1f);
    return record.value(ItemRecord::KeyTitle).toString() + separator
        + record.value(ItemRecord::KeyText).toString() + separator
        + record.value(ItemRecord::KeyUID).toString() + separator
        + record.value(ItemRecord::KeyPhone).toString() + separator
        + record.value(ItemRecord::KeyEmail).toString();
}

QByteArray pictureFileBytes(const QString &uri)
{
    // A card names any path it likes: only a regular file is read, never a device or a pipe.
    const QString path = QUrl(uri).toLocalFile();
    const BoundedFile::Result picture = BoundedFile::read(path, BoundedFile::Limit::ContactPicture);
    BoundedFile::logFailure(path, picture);
    return picture.bytes;
}

QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The first column's texts; null values are left out.
QStringList textColumn(const ReaderLibraryFunctions &sqlite, sqlite3 *db, const QString &sql)
{
    QStringList values;
    for (const QVariantList &row : sqlite.rows(db, sql)) {
        if (!row.isEmpty() && !row.first().isNull())
            values.append(row.first().toString());
    }
    return values;
}

// The column of the table that holds the cards: EBookSqlite's "vcard", or the object column
// of the caches Evolution keeps for remote books.
QString vCardColumn(const ReaderLibraryFunctions &sqlite, sqlite3 *db, const QString &table)
{
    const QStringList columns = textColumn(
        sqlite, db,
        QStringLiteral("SELECT name FROM pragma_table_info(%1)")
            .arg(QLatin1Char('\'') + QString(table).replace(QLatin1Char('\''), QStringLiteral("''"))
                 + QLatin1Char('\'')));
    for (const QString &column : columns) {
        if (column.compare(QLatin1String("vcard"), Qt::CaseInsensitive) == 0)
            return column;
    }
    for (const QString &column : columns) {
        if (column == QLatin1String("ECacheOBJ"))
            return column;
    }
    return {};
}

// Notes the source and the records it added since `before`.
void noteSource(AddressBookReader::AddressBook &book, SourcesRead::Origin origin,
                const QString &name, qsizetype before)
{
    book.sources.append({SourcesRead::Kind::Contacts, origin, name,
                         int(qMax<qsizetype>(0, book.records.size() - before))});
}

void addVCardFile(AddressBookReader::AddressBook &book, const QString &path)
{
    if (const std::optional<QByteArray> bytes =
            OtherDataSources::readFile(path, BoundedFile::Limit::VCards))
        AddressBookReader::addVCards(book, *bytes);
}

} // namespace

QVariantList AddressBookReader::readAll()
{
    AddressBook book = read(defaultSources());
    SourcesRead::replace(SourcesRead::Kind::Contacts, book.sources);
    if (!book.records.isEmpty()) {
        const QMutexLocker locker(&picturesMutex());
        currentPictures() = std::move(book.pictures);
    }
    return book.records;
}

QImage AddressBookReader::pictureForUid(const QString &uid)
{
    QByteArray bytes;
    {
        const QMutexLocker locker(&picturesMutex());
        bytes = currentPictures().value(uid);
    }
    if (uid.isEmpty() || bytes.isEmpty())
        return {};
    return QImage::fromData(bytes);
}

AddressBookReader::Sources AddressBookReader::defaultSources()
{
    Sources sources;
    const QString data = OtherDataSources::dataHome();
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    // EDS's own answer replaces its files: no contact is counted twice.
    std::optional<QList<EdsData::Book>> eds = EdsData::instance().contactBooks();
    const QStringList evolutionFolders = eds
        ? QStringList()
        : QStringList{data + QStringLiteral("/evolution/addressbook"),
                      cache + QStringLiteral("/evolution/addressbook")};
    for (const EdsData::Book &edsBook : eds.value_or(QList<EdsData::Book>()))
        sources.edsBooks.append({edsBook.name, edsBook.cards});
    for (const QString &base : evolutionFolders) {
        const QDir books(base);
        for (const QString &book : books.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QString store = books.filePath(book) + QStringLiteral("/contacts.db");
            if (QFileInfo(store).isFile())
                sources.databases.append(store);
        }
    }
    sources.vcardPaths.append(data + QStringLiteral("/contacts"));
    sources.vcardPaths += OtherDataSources::preferencePaths(ContactsPathsPreference);
    sources.thunderbirdBooks = ThunderbirdStores::addressBooks(
        MozillaProfiles::folders(MozillaProfiles::thunderbirdRoots()));
    return sources;
}

AddressBookReader::AddressBook AddressBookReader::read(const Sources &sources)
{
    AddressBook book;
    for (const Sources::EdsBook &edsBook : sources.edsBooks) {
        const qsizetype before = book.records.size();
        for (const QByteArray &card : edsBook.cards)
            addVCards(book, card);
        noteSource(book, SourcesRead::Origin::Eds, edsBook.name, before);
    }
    for (const QString &database : sources.databases) {
        const qsizetype before = book.records.size();
        for (const QByteArray &card : vCardsInDatabase(database))
            addVCards(book, card);
        noteSource(book, SourcesRead::Origin::EdsFiles,
                   SourcesRead::displayPath(QFileInfo(database).path()), before);
    }
    const QStringList suffixes{QStringLiteral("vcf"), QStringLiteral("vcard")};
    const QString kdeFolder =
        QDir::cleanPath(OtherDataSources::dataHome() + QStringLiteral("/contacts"));
    for (const QString &named : sources.vcardPaths) {
        const QStringList files = OtherDataSources::filesIn({named}, suffixes, "BEGIN:VCARD");
        if (files.isEmpty())
            continue;
        const qsizetype before = book.records.size();
        for (const QString &path : files)
            addVCardFile(book, path);
        noteSource(book,
                   QDir::cleanPath(named) == kdeFolder ? SourcesRead::Origin::Kde
                                                       : SourcesRead::Origin::User,
                   SourcesRead::displayPath(named), before);
    }
    for (const QString &store : sources.thunderbirdBooks) {
        const qsizetype before = book.records.size();
        for (const QByteArray &card : ThunderbirdStores::vCardsInAddressBook(store))
            addVCards(book, card);
        noteSource(book, SourcesRead::Origin::Thunderbird, SourcesRead::thunderbirdName(store),
                   before);
    }
    OtherDataRecords::sortByTitle(book.records);
    return book;
}

QList<QByteArray> AddressBookReader::vCardsInDatabase(const QString &path)
{
    QList<QByteArray> cards;
    // SQLite would open a FIFO and wait on it.
    if (!BoundedFile::isRegularFile(path))
        return cards;
    // Immutable: no lock is taken and no journal read or made, so the address book's own
    // server is never disturbed; changes it has not yet moved out of its journal show later.
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded()
        + "?mode=ro&immutable=1";
    const ReaderLibraryFunctions *sqlite = ReaderLibraries::functions();
    if (!sqlite)
        return cards;
    QString error;
    sqlite3 *db = sqlite->openDatabase(uri, true, true, &error);
    if (!db) {
        KorvaleLog::line(QStringLiteral("Exception reading file %1: %2: %3")
                             .arg(path, QStringLiteral("SQLiteError"), error));
        return cards;
    }
    // The folders table names the tables of contacts; any table with a vCard column will do
    // when it does not.
    QStringList tables = textColumn(*sqlite, db, QStringLiteral("SELECT folder_id FROM folders"));
    QList<std::pair<QString, QString>> sourcesOfCards;
    for (const QString &table : tables) {
        const QString column = vCardColumn(*sqlite, db, table);
        if (!column.isEmpty())
            sourcesOfCards.append({table, column});
    }
    if (sourcesOfCards.isEmpty()) {
        tables = textColumn(*sqlite, db,
                            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        for (const QString &table : tables) {
            const QString column = vCardColumn(*sqlite, db, table);
            if (!column.isEmpty())
                sourcesOfCards.append({table, column});
        }
    }
    for (const auto &[table, column] : sourcesOfCards) {
        const QStringList values =
            textColumn(*sqlite, db,
                       QStringLiteral("SELECT %1 FROM %2")
                           .arg(quotedIdentifier(column), quotedIdentifier(table)));
        for (const QString &value : values)
            cards.append(value.toUtf8());
    }
    sqlite->closeDatabase(db);
    return cards;
}

void AddressBookReader::addVCards(AddressBook &book, const QByteArray &bytes)
{
    for (const VCard &card : VCardParser::parse(bytes)) {
        const QVariantMap record = ContactRecords::contactRecord(card);
        if (record.isEmpty())
            continue;
        const QString uid = record.value(ItemRecord::KeyUID).toString();
        if (!uid.isEmpty() && !book.pictures.contains(uid)) {
            const ContactRecords::Picture picture = ContactRecords::picture(card);
            const QByteArray pictureBytes = picture.bytes.isEmpty() && !picture.uri.isEmpty()
                ? pictureFileBytes(picture.uri)
                : picture.bytes;
            if (!pictureBytes.isEmpty())
                book.pictures.insert(uid, pictureBytes);
        }
        const QString key = recordKey(record);
        if (book.recordKeys.contains(key))
            continue;
        book.recordKeys.insert(key);
        book.records.append(record);
    }
}
