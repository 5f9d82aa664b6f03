// "user-dirs.dirs" is written by the desktop's tools, or by hand.
#include "XdgUserDirs.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const QHash<QString, QString> folders = XdgUserDirs::parse(text, QStringLiteral("/home/u"));
    for (const QString &path : folders) {
        if (!path.startsWith(QLatin1Char('/')))
            __builtin_trap();
    }
    return 0;
}
