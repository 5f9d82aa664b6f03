// vCard files come from other programs: phones' exports, Apple's and Google's address books,
// Evolution's store and KDE's folder. The reader parses them and makes contact records.
#include "ContactRecords.h"
#include "VCardParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const VCard &card : VCardParser::parse(bytes)) {
        const QVariantMap record = ContactRecords::contactRecord(card);
        // A listed contact always has card text, which holds its phones and e-mails.
        if (!record.isEmpty()) {
            const QString text = record.value(QStringLiteral("t")).toString();
            if (text.isEmpty() || !text.contains(record.value(QStringLiteral("Phone")).toString())
                || !text.contains(record.value(QStringLiteral("Email")).toString()))
                __builtin_trap();
        }
        (void)ContactRecords::picture(card);
        for (const VCardProperty &property : card.properties) {
            (void)ContactRecords::rawLabel(card, property);
            // Splitting never loses text: the parts and their separators make the value again.
            if (VCardParser::splitStructured(property.rawValue).join(QLatin1Char(';'))
                != property.rawValue)
                __builtin_trap();
        }
    }
    return 0;
}
