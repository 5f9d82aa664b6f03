// AppStream metadata (/usr/share/metainfo/*.xml and external releases files) is written by every
// package; the preview reads it for an application's version.
#include "AppStreamComponent.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray xml(reinterpret_cast<const char *>(data), qsizetype(size));
    const AppStreamComponent component = AppStreamComponent::fromBytes(xml);
    // The order of versions must be one: antisymmetric, and each version equal to itself.
    const QStringList &versions = component.stableVersions;
    for (qsizetype i = 0; i < versions.size() && i < 16; ++i) {
        if (AppStreamComponent::compareVersions(versions[i], versions[i]) != 0)
            __builtin_trap();
        for (qsizetype j = i + 1; j < versions.size() && j < 16; ++j) {
            if (AppStreamComponent::compareVersions(versions[i], versions[j])
                != -AppStreamComponent::compareVersions(versions[j], versions[i]))
                __builtin_trap();
        }
    }
    const QString newest = component.newestStableVersion();
    if (newest.isEmpty() != versions.isEmpty())
        __builtin_trap();
    return 0;
}
