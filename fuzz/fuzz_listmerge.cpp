// The merge of a save reads what another program wrote: any list file's records, split into what
// this program read, wants to save and finds in the file.
#include "KorvaleArchive.h"
#include "ListMerge.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(bytes);
    if (!decoded.error.isEmpty() || decoded.value.typeId() != QMetaType::QVariantList)
        return 0;
    const QVariantList all = decoded.value.toList();
    const qsizetype third = all.size() / 3;
    const QVariantList base = all.mid(0, 2 * third);
    const QVariantList ours = all.mid(third, 2 * third);
    const QVariantList theirs = all.mid(third);
    for (const ListMerge::Identity &identity :
         {ListMerge::Identity(), ListMerge::Identity(&ListMerge::byPath)}) {
        ListMerge::merge(base, ours, theirs, identity);
        // Nothing changed elsewhere: what is saved is this program's list, record for record.
        if (ListMerge::merge(base, ours, base, identity).size() != ours.size())
            __builtin_trap();
        // Nothing changed here: what is saved is the file's list.
        if (ListMerge::merge(base, base, theirs, identity).size() != theirs.size())
            __builtin_trap();
    }
    return 0;
}
