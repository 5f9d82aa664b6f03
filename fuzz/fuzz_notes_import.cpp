// A text file imported as notes: any bytes, in any encoding, with any line ends.
#include "NotesText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QVariantList notes = NotesText::importNotes(bytes, false);
    // Every note imported has a title or a text, and exports to exactly one line.
    for (const QVariant &note : notes) {
        const QVariantMap record = note.toMap();
        if (record.value(QStringLiteral("T")).toString().isEmpty()
            && record.value(QStringLiteral("t")).toString().isEmpty())
            __builtin_trap();
    }
    NotesText::exportNotes(notes);
    return 0;
}
