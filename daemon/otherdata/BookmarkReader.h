#pragma once

#include <QVariantList>

// Every browser's bookmarks as one list of bookmark records: the Safari file a user carried over,
// then Firefox's newest backup, then each Chromium-family profile; a title already listed is not
// added again, so the first source read wins. Sorted by title.
namespace BookmarkReader {
QVariantList readAll();
}
