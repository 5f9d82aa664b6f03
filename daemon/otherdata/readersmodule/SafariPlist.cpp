#include "ReaderLibrariesModule.h"

#include <plist/plist.h>

#include <limits>
#include <memory>

namespace {

QString plistString(plist_t node)
{
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return {};
    // By pointer and length: the copying getter aborts on a string holding a NUL.
    uint64_t length = 0;
    const char *value = plist_get_string_ptr(node, &length);
    if (!value || length > uint64_t(std::numeric_limits<qsizetype>::max()))
        return {};
    return QString::fromUtf8(value, qsizetype(length));
}

void walkSafari(plist_t children, int depth, int maximumDepth, QList<Bookmark> &out)
{
    if (!children || plist_get_node_type(children) != PLIST_ARRAY || depth > maximumDepth)
        return;
    const uint32_t count = plist_array_get_size(children);
    for (uint32_t i = 0; i < count; ++i) {
        plist_t entry = plist_array_get_item(children, i);
        if (!entry || plist_get_node_type(entry) != PLIST_DICT)
            continue;
        if (plist_t address = plist_dict_get_item(entry, "URLString")) {
            const QString url = plistString(address);
            QString title;
            plist_t uri = plist_dict_get_item(entry, "URIDictionary");
            if (uri && plist_get_node_type(uri) == PLIST_DICT)
                title = plistString(plist_dict_get_item(uri, "title"));
            if (title.isEmpty())
                title = url;
            if (!title.isEmpty() && !url.isEmpty())
                out.append({title, url});
        } else {
            walkSafari(plist_dict_get_item(entry, "Children"), depth + 1, maximumDepth, out);
        }
    }
}

} // namespace

QList<Bookmark> ReaderLibrariesPlist::safariBookmarks(const QByteArray &bytes, int maximumDepth)
{
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<uint32_t>::max())
        return {};
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root)
        return {};
    const std::unique_ptr<void, void (*)(plist_t)> owner(root, plist_free);
    QList<Bookmark> out;
    if (plist_get_node_type(root) == PLIST_DICT)
        walkSafari(plist_dict_get_item(root, "Children"), 0, maximumDepth, out);
    return out;
}
