// What the browser reads of other programs' files: a bundle's Info.plist (binary or XML property
// list, any program's) for its version, a folder's ".hidden" file (the file manager's), and the
// bytes of file names, which must come back from their decoded form exactly as they were.
#include "BrowserListing.h"
#include "BundleVersion.h"
#include "NativeFileName.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QString> version = BundleVersion::fromPropertyList(bytes);
    if (version && !version->contains(QLatin1Char('.')))
        __builtin_trap();
    for (const QString &name : BrowserListing::hiddenNamesFromBytes(bytes)) {
        if (name.isEmpty() || name.contains(QLatin1Char('\n')))
            __builtin_trap();
    }
    const QString name = NativeFileName::fromNative(bytes);
    if (NativeFileName::toNative(name) != bytes
        || NativeFileName::hasEscapes(NativeFileName::forDisplay(name)))
        __builtin_trap();
    return 0;
}
