// The desktop-entry reader reads every *.desktop file of the application folders, and any entry
// the user keeps among their files.
#include "DesktopEntryReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static DesktopEntryReader reader;
    static const QList<QByteArray> languages = {"de_AT", "de", "sr@latin", "pt_BR", "fr"};
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const DesktopEntryReader::MainGroup group = DesktopEntryReader::readMainGroup(bytes, languages);
    const DesktopEntryReader::Entry entry =
        reader.readEntry(bytes, QStringLiteral("/apps/entry.desktop"));
    // A listed entry always has a title; a name found is never empty.
    if (entry.listable && entry.title.isEmpty())
        __builtin_trap();
    const std::optional<QString> name = DesktopEntryReader::nameInContents(bytes, languages);
    if (name && (name->isEmpty() || *name != group.name))
        __builtin_trap();
    return 0;
}
