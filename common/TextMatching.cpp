#include "TextMatching.h"

#include "SearchTextFolding.h"

#include <algorithm>

std::optional<QueryWords> QueryWords::fromQuery(const QString &query)
{
    if (query.isEmpty())
        return std::nullopt;
    QueryWords result;
    result.mWords = query.toLower().split(QLatin1Char(' '), Qt::KeepEmptyParts);

    std::vector<std::string> folded;
    for (const QString &word : std::as_const(result.mWords)) {
        std::string bytes = SearchTextFolding::fold(word);
        if (!bytes.empty())
            folded.push_back(std::move(bytes));
    }
    std::string firstWord;
    if (!result.mWords.constFirst().isEmpty())
        firstWord = SearchTextFolding::fold(result.mWords.constFirst());

    std::stable_sort(folded.begin(), folded.end(), [](const std::string &a, const std::string &b) {
        return a.size() > b.size();
    });
    for (std::string &word : folded) {
        const bool implied = std::any_of(result.mRequired.begin(), result.mRequired.end(),
                                         [&word](const SearchTextFind::Needle &kept) {
                                             return kept.word().find(word) != std::string::npos;
                                         });
        if (!implied)
            result.mRequired.emplace_back(std::move(word));
    }
    const auto first = std::find_if(
        result.mRequired.begin(), result.mRequired.end(),
        [&firstWord](const SearchTextFind::Needle &word) { return word.word() == firstWord; });
    if (!firstWord.empty() && first != result.mRequired.end())
        result.mFirstWordIndex = int(first - result.mRequired.begin());
    result.mFirstWord = SearchTextFind::Needle(std::move(firstWord));
    return result;
}

MatchResult TextMatching::match(const std::optional<QueryWords> &words, QStringView text)
{
    if (!words)
        return {true, false};
    return words->match(SearchText(text));
}

std::optional<TextRange> TextMatching::firstOccurrence(QStringView word, QStringView text)
{
    const std::string foldedWord = SearchTextFolding::fold(word);
    if (foldedWord.empty())
        return std::nullopt;
    const SearchTextFolding::MappedFold mapped = SearchTextFolding::foldWithMap(text);
    const std::size_t at = mapped.folded.find(foldedWord);
    if (at == std::string::npos)
        return std::nullopt;
    const auto [start, end] =
        mapped.originalRange(qsizetype(at), qsizetype(at + foldedWord.size()));
    return TextRange{start, end - start};
}

std::optional<TextRange> TextMatching::previewSelection(const QString &query, QStringView text)
{
    QStringView rest(query);
    while (rest.startsWith(QLatin1Char(' ')))
        rest = rest.mid(1);
    const qsizetype space = rest.indexOf(QLatin1Char(' '));
    if (space >= 0)
        rest = rest.left(space);
    return firstOccurrence(rest, text);
}

std::optional<TextRange> TextMatching::previewSelection(const QString &query, QStringView text,
                                                        const QList<TextRange> &parts)
{
    if (parts.isEmpty())
        return previewSelection(query, text);
    std::optional<TextRange> first;
    for (const TextRange &part : parts) {
        if (part.offset < 0 || part.offset + part.length > text.size())
            continue;
        std::optional<TextRange> found =
            previewSelection(query, text.mid(part.offset, part.length));
        if (!found)
            continue;
        found->offset += part.offset;
        if (!first || found->offset < first->offset)
            first = found;
    }
    return first;
}

namespace {

char32_t nextCodePoint(QStringView text, qsizetype &i)
{
    const char16_t unit = text.utf16()[i++];
    if (QChar::isHighSurrogate(unit) && i < text.size() && QChar::isLowSurrogate(text.utf16()[i]))
        return QChar::surrogateToUcs4(unit, text.utf16()[i++]);
    return unit;
}

} // namespace

std::weak_ordering TextMatching::compareTitles(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = nextCodePoint(a, i);
        char32_t cb = nextCodePoint(b, j);
        if (ca == cb)
            continue;
        ca = QChar::toCaseFolded(ca);
        cb = QChar::toCaseFolded(cb);
        if (ca != cb)
            return ca < cb ? std::weak_ordering::less : std::weak_ordering::greater;
    }
    if (i < a.size())
        return std::weak_ordering::greater;
    if (j < b.size())
        return std::weak_ordering::less;
    return std::weak_ordering::equivalent;
}

std::weak_ordering TextMatching::compareTitles(const std::optional<QString> &a,
                                               const std::optional<QString> &b)
{
    if (!a || !b)
        return bool(a) <=> bool(b);
    return compareTitles(QStringView(*a), QStringView(*b));
}

void TextMatching::sortByTitle(QVariantList &records,
                               const std::function<std::optional<QString>(const QVariant &)> &key)
{
    struct Keyed {
        std::optional<QString> key;
        QVariant record;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(std::size_t(records.size()));
    for (const QVariant &record : std::as_const(records))
        keyed.push_back({key(record), record});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        return compareTitles(a.key, b.key) < 0;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        records[qsizetype(i)] = std::move(keyed[i].record);
}

QString TextMatching::replaceInString(const QString &text, const QString &oldString,
                                      const QString &newString)
{
    if (oldString.isEmpty())
        return text;
    // Searching on in the original text after each occurrence is the same as resuming after
    // the inserted text, and keeps a text with many occurrences linear.
    QString result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(oldString, from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        if (result.isNull())
            result.reserve(text.size());
        result += QStringView(text).mid(from, at - from);
        result += newString;
        from = at + oldString.size();
    }
    if (from == 0)
        return text;
    result += QStringView(text).mid(from);
    return result;
}
