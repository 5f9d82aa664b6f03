#include "BundleVersion.h"

#include <plist/plist.h>

#include <cstring>
#include <memory>

namespace {

using BundleVersion::MaxPropertyListSize;

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistHandle = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistFree>;

std::optional<QString> stringValue(plist_t dictionary, const char *key)
{
    const plist_t node = plist_dict_get_item(dictionary, key);
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return std::nullopt;
    // Read in place with its length: plist_get_string_val asserts on a string holding a NUL,
    // which a binary property list can carry.
    uint64_t length = 0;
    const char *text = plist_get_string_ptr(node, &length);
    if (!text || length > uint64_t(MaxPropertyListSize) || std::memchr(text, 0, length))
        return std::nullopt;
    return QString::fromUtf8(text, qsizetype(length));
}

} // namespace

std::optional<QString> BundleVersion::fromPropertyList(const QByteArray &data)
{
    if (data.isEmpty() || data.size() > MaxPropertyListSize)
        return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(data.constData(), uint32_t(data.size()), &root);
    const PlistHandle owner(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT)
        return std::nullopt;
    for (const char *key : {"CFBundleVersion", "CFBundleShortVersionString"}) {
        const std::optional<QString> value = stringValue(root, key);
        if (value && value->contains(QLatin1Char('.')))
            return value;
    }
    return std::nullopt;
}

std::optional<QString> BundleVersion::ofFolder(const QString &folder)
{
    const BoundedFile::Result read =
        BoundedFile::read(folder + QStringLiteral("/Contents/Info.plist"), MaxPropertyListSize);
    if (!read.isRead())
        return std::nullopt;
    return fromPropertyList(read.bytes);
}
