#pragma once

#include "SourcesRead.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Reads the user's contacts from the address books of the desktop: GNOME's Evolution Data
// Server through its own libraries where it runs (EdsData), else its stores (SQLite, opened
// read-only and immutable, never locked), KDE's vCard folder and any vCard file or folder named
// in the preference "OtherDataContactsPaths". Nothing is ever written to those files. See
// docs/otherdata.md.
class AddressBookReader
{
public:
    AddressBookReader() = delete;

    static const QString ContactsPathsPreference;

    // Every contact of every source, without exact duplicates, in the suite's title order. When
    // the result is not empty it also replaces the pictures pictureForUid() offers; the sources
    // found are told to SourcesRead. Any thread.
    static QVariantList readAll();
    // The picture of the contact with that "UID" as last read by readAll(); a null image when it
    // has none. Fits SelectionPreview::setContactPictureLookup. Any thread.
    static QImage pictureForUid(const QString &uid);

    struct Sources {
        QStringList databases; // Evolution Data Server contacts.db files, when it does not
        QStringList vcardPaths; // .vcf files and folders searched for them
        QStringList thunderbirdBooks; // Thunderbird's abook.sqlite files
        struct EdsBook {
            QString name;
            QList<QByteArray> cards;
        };
        QList<EdsBook> edsBooks; // what Evolution Data Server gave, when it runs
    };
    // Evolution Data Server's cards when it runs, else its stores found under the data and cache
    // folders; KDE's folder, the preference, then Thunderbird's address books.
    static Sources defaultSources();

    struct AddressBook {
        QVariantList records;
        QHash<QString, QByteArray> pictures; // by "UID"
        QSet<QString> recordKeys; // one per record, to leave exact duplicates out
        // Each source found, with the records it added (exact duplicates of an earlier
        // source's left out).
        QList<SourcesRead::Source> sources;
    };
    static AddressBook read(const Sources &sources);

    // The vCards of one Evolution Data Server store, in table order; none when it is not one.
    static QList<QByteArray> vCardsInDatabase(const QString &path);
    // The cards of one vCard file's bytes added to the book (exact duplicates left out); the
    // records are not sorted.
    static void addVCards(AddressBook &book, const QByteArray &bytes);
};
