#pragma once

#include "SearchText.h"

#include <QString>
#include <QStringList>

#include <QVariantList>

#include <compare>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The one rule by which every list of the suite is searched: each query word must occur in the
// record's search text, both lower-cased, with diacritics ignored.
struct MatchResult {
    bool matched = false;
    // The first word was found at the start of the search text (meaningful when matched).
    bool beginsWith = false;
};

// A range of UTF-16 code units in a text.
struct TextRange {
    qsizetype offset = 0;
    qsizetype length = 0;
    friend bool operator==(const TextRange &, const TextRange &) = default;
};

// The typed query cut into words and folded once, ready to be matched against many records.
class QueryWords
{
public:
    // None for an empty query, which filters nothing (unlike a query of spaces, whose empty
    // words each count as found).
    static std::optional<QueryWords> fromQuery(const QString &query);

    // The lower-cased words in query order, empty words kept.
    const QStringList &words() const { return mWords; }

    // No allocation: safe and cheap to call for every record on every keystroke.
    MatchResult match(const SearchText &text) const
    {
        return match(text.folded().data(), std::size_t(text.size()));
    }
    // The same over folded bytes followed by at least SearchTextFind::kPadding readable bytes
    // (another record's text in an arena will do).
    // A word of requiredWords() already known to occur in the text can be named to skip it.
    MatchResult match(const char *folded, std::size_t size,
                      const SearchTextFind::Needle *known = nullptr) const
    {
        MatchResult result;
        result.beginsWith = !mFirstWord.word().empty() && mFirstWord.starts(folded, size);
        for (std::size_t i = 0; i < mRequired.size(); ++i) {
            if ((result.beginsWith && int(i) == mFirstWordIndex) || &mRequired[i] == known)
                continue;
            if (!mRequired[i].foundIn(folded, size))
                return result;
        }
        result.matched = true;
        return result;
    }
    // The folded non-empty words every match must contain (none: everything matches).
    const std::vector<SearchTextFind::Needle> &requiredWords() const { return mRequired; }

private:
    QStringList mWords;
    SearchTextFind::Needle mFirstWord; // folded; empty when the first word folds to nothing
    // The folded non-empty words that must be found, longest first; a word contained in
    // another is left out since finding the longer one finds it too.
    std::vector<SearchTextFind::Needle> mRequired;
    int mFirstWordIndex = -1; // of mFirstWord in mRequired
};

class TextMatching
{
public:
    static std::optional<QueryWords> queryWords(const QString &query)
    {
        return QueryWords::fromQuery(query);
    }

    // No word list matches everything, never at the start.
    static MatchResult match(const std::optional<QueryWords> &words, const SearchText &text)
    {
        return words ? words->match(text) : MatchResult{true, false};
    }
    static MatchResult match(const std::optional<QueryWords> &words, QStringView text);

    // Where the word first occurs in text under the matching rule, in code units of the
    // original text; a match covers whole characters with their marks.
    static std::optional<TextRange> firstOccurrence(QStringView word, QStringView text);

    // What the preview selects for a query: the first word after any leading spaces.
    static std::optional<TextRange> previewSelection(const QString &query, QStringView text);
    // The same, found only inside the given parts of text (all of it when there are none).
    static std::optional<TextRange> previewSelection(const QString &query, QStringView text,
                                                     const QList<TextRange> &parts);

    // Case-insensitive (simple case folding), code-point order, no locale, no diacritic
    // folding; a missing title comes first.
    static std::weak_ordering compareTitles(QStringView a, QStringView b);
    static std::weak_ordering compareTitles(const std::optional<QString> &a,
                                            const std::optional<QString> &b);
    // Sorts records in that order of a key computed once per record; stable, a missing key first.
    static void sortByTitle(QVariantList &records,
                            const std::function<std::optional<QString>(const QVariant &)> &key);

    // Every occurrence of oldString, found case-insensitively, replaced by newString; the
    // search resumes after each inserted text, so a newString containing oldString is safe.
    static QString replaceInString(const QString &text, const QString &oldString,
                                   const QString &newString);
};
