#pragma once

#include "SearchTextFind.h"

#include <QByteArray>
#include <QStringView>

#include <string_view>

// The text a record is searched by, folded once (lower-cased, diacritics removed; see
// SearchTextFolding) and kept, so that each keystroke's match is a plain byte search with no
// allocation. Copies share the bytes.
class SearchText
{
public:
    SearchText() = default;
    explicit SearchText(QStringView text);

    qsizetype size() const { return mBytes.isEmpty() ? 0 : mBytes.size() - qsizetype(kPadding); }
    bool isEmpty() const { return mBytes.isEmpty(); }
    std::string_view folded() const { return {mBytes.constData(), std::size_t(size())}; }

    // The word must be folded the same way (QueryWords does it once per query).
    bool contains(std::string_view foldedWord) const
    {
        return SearchTextFind::contains(mBytes.constData(), std::size_t(size()), foldedWord.data(),
                                        foldedWord.size());
    }
    bool startsWith(std::string_view foldedWord) const { return folded().starts_with(foldedWord); }

    friend bool operator==(const SearchText &a, const SearchText &b)
    {
        return a.folded() == b.folded();
    }

private:
    static constexpr std::size_t kPadding = SearchTextFind::kPadding;

    // The folded UTF-8 text followed by kPadding zero bytes for the block-wise search; empty
    // for an empty text.
    QByteArray mBytes;
};
