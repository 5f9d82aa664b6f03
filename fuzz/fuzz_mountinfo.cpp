// The mount table is read from /proc/self/mountinfo, whose paths come from whoever mounted them
// (a label, a FUSE file system's name).
#include "platform/MountTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<MountTable::Mount> mounts = MountTable::parseMountInfo(text);
    for (const MountTable::Mount &mount : mounts) {
        if (!mount.mountPoint.startsWith(QLatin1Char('/')))
            __builtin_trap();
    }
    if (MountTable::realFileSystems(mounts).size() > mounts.size())
        __builtin_trap();
    return 0;
}
