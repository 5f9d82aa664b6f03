// The login items read every entry of the user's autostart folder, most of them written by other
// programs; and an entry the suite writes must name its program again whatever the path holds.
#include "platform/AutostartEntry.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const AutostartEntry entry =
        AutostartEntry::fromContents(bytes, QStringLiteral("/autostart/entry.desktop"));
    if (entry.entryPath != QStringLiteral("/autostart/entry.desktop"))
        __builtin_trap();

    const QString program = QString::fromUtf8(bytes);
    const AutostartEntry written =
        AutostartEntry::fromContents(AutostartEntry::contentsFor(program), QString());
    if (written.program != program || !written.enabled || !written.writtenByKorvale)
        __builtin_trap();
    return 0;
}
