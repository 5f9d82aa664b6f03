// Evolution Data Server's address book store is an SQLite file another program writes; the
// reader opens it read-only and immutable and takes the cards from whichever table holds them.
#include "AddressBookReader.h"
#include "ContactRecords.h"
#include "ReaderLibraries.h"
#include "ReaderLibrariesInterface.h"
#include "VCardParser.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// libical, SQLite and libplist linked in: a fuzz target has no module folder to look in.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ReaderLibraries::useLinked(korvaleReadersModule());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/contacts.db");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    for (const QByteArray &card : AddressBookReader::vCardsInDatabase(path)) {
        for (const VCard &parsed : VCardParser::parse(card))
            (void)ContactRecords::contactRecord(parsed);
    }
    return 0;
}
