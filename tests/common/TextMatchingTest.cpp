#include "TextMatching.h"
#include "ItemRecord.h"
#include "SearchText.h"
#include "SearchTextFields.h"
#include "SearchTextFolding.h"

#include <QList>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

[[maybe_unused]] static void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

[[maybe_unused]] static void PrintTo(const TextRange &range, std::ostream *out)
{
    *out << '(' << range.offset << ", " << range.length << ')';
}

namespace {

// The rule read literally, character by character, with none of the fast path's machinery:
// both sides lower-cased, each character reduced to its base characters through the canonical
// decomposition tables with the nonspacing and enclosing marks dropped, then compared position
// by position. Positions whose character reduces to nothing (a lone mark) hold nothing.
namespace Reference {

bool isDroppedMark(char32_t c)
{
    return QChar::category(c) == QChar::Mark_NonSpacing
        || QChar::category(c) == QChar::Mark_Enclosing;
}

QString reduce(char32_t c)
{
    if (QChar::decompositionTag(c) == QChar::Canonical) {
        QString reduced;
        for (char32_t part : QChar::decomposition(c).toUcs4())
            reduced += reduce(part);
        return reduced;
    }
    return isDroppedMark(c) ? QString() : QString::fromUcs4(&c, 1);
}

struct Unit {
    QString base;
    qsizetype start = 0; // of the original character
    qsizetype end = 0;
};

std::vector<Unit> textUnits(const QString &text)
{
    std::vector<Unit> units;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        for (char32_t lowered : text.mid(i, width).toLower().toUcs4()) {
            const QString base = reduce(lowered);
            if (!base.isEmpty())
                units.push_back({base, i, i + width});
        }
        i += width;
    }
    return units;
}

QStringList wordUnits(const QString &word)
{
    QStringList units;
    for (char32_t c : word.toLower().toUcs4()) {
        const QString base = reduce(c);
        if (!base.isEmpty())
            units.append(base);
    }
    return units;
}

std::optional<std::size_t> firstPosition(const std::vector<Unit> &text, const QStringList &word)
{
    for (std::size_t at = 0; at + std::size_t(word.size()) <= text.size(); ++at) {
        bool equal = true;
        for (qsizetype k = 0; k < word.size() && equal; ++k)
            equal = text[at + std::size_t(k)].base == word.at(k);
        if (equal)
            return at;
    }
    return std::nullopt;
}

MatchResult match(const QString &query, const QString &text)
{
    if (query.isEmpty())
        return {true, false};
    const std::vector<Unit> units = textUnits(text);
    const QStringList words = query.toLower().split(QLatin1Char(' '));
    MatchResult result;
    int found = 0;
    for (const QString &word : words)
        found += word.isEmpty() || firstPosition(units, wordUnits(word)).has_value();
    result.matched = found == words.size();
    const QStringList first = wordUnits(words.first());
    result.beginsWith = !first.isEmpty() && firstPosition(units, first) == 0u;
    return result;
}

// The occurrence covers the marks that follow its last character.
std::optional<TextRange> firstOccurrence(const QString &word, const QString &text)
{
    const QStringList wanted = wordUnits(word);
    const std::vector<Unit> units = textUnits(text);
    const std::optional<std::size_t> at =
        wanted.isEmpty() ? std::nullopt : firstPosition(units, wanted);
    if (!at)
        return std::nullopt;
    const qsizetype start = units[*at].start;
    const std::size_t lastUnit = *at + std::size_t(wanted.size()) - 1;
    qsizetype end = units[lastUnit].end;
    const qsizetype nextStart =
        lastUnit + 1 < units.size() ? units[lastUnit + 1].start : text.size();
    while (end < nextStart && isDroppedMark(text.at(end).unicode()))
        ++end;
    return TextRange{start, end - start};
}

} // namespace Reference

// Texts in many scripts and spellings; deliberately left out are the cases where the fast path
// departs from the literal rule on purpose (tested one by one below): the final sigma,
// decomposed Hangul and spacing vowel signs that compose.
const QStringList &fragments()
{
    static const QStringList list = {
        QStringLiteral("Café Crème"),
        QStringLiteral(u"Cafe\u0301 Cre\u0300me"),
        QStringLiteral("CAFÉ"),
        QStringLiteral("Ångström"),
        QStringLiteral(u"A\u030Angstro\u0308m"),
        QStringLiteral("naïve"),
        QStringLiteral("Straße"),
        QStringLiteral("ẞ"),
        QStringLiteral("Ǖǖ"),
        QStringLiteral("Dvořák"),
        QStringLiteral("Łódź"),
        QStringLiteral("ç ñ å ø æ œ"),
        QStringLiteral("Ĳssel"),
        QStringLiteral("ǅemal"),
        QStringLiteral("Ελληνικά"),
        QStringLiteral("ΆΈΉΊΌΎΏ ΐΰ"),
        QStringLiteral("Ἀθῆναι"),
        QStringLiteral("Кириллица"),
        QStringLiteral("Ёлка"),
        QStringLiteral("йод ЙОД"),
        QStringLiteral("東京タワー"),
        QStringLiteral("日本語のテキスト"),
        QStringLiteral("がぎぐ"),
        QStringLiteral("한국어 각 가"),
        QStringLiteral("中文"),
        QStringLiteral("😀 emoji"),
        QStringLiteral("👍🏽"),
        QStringLiteral("❤️"),
        QStringLiteral("🇫🇷"),
        QStringLiteral("👨‍👩‍👧"),
        QStringLiteral("ﬁle ﬂow"),
        QStringLiteral("file flow"),
        QStringLiteral("İstanbul"),
        QStringLiteral("ISTANBUL"),
        QStringLiteral("ıi"),
        QStringLiteral(u"\u0301leading mark"),
        QStringLiteral(u"e\u0301\u0323\u0302"),
        QStringLiteral(u"\u212A\u212B\u2126"),
        QStringLiteral(u"\U00010400\U00010428"),
        QStringLiteral("Word Processor"),
        QStringLiteral("graphic"),
        QStringLiteral("mail new"),
        QStringLiteral("x"),
        QStringLiteral("1️⃣"),
        QStringLiteral("a"),
        QStringLiteral(" "),
    };
    return list;
}

// Canonical decomposition that leaves Hangul syllables whole: decomposed Hangul is one of the
// deliberate departures.
QString decomposed(const QString &text)
{
    QString result;
    for (char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        result += c >= 0xAC00 && c <= 0xD7A3 ? one : one.normalized(QString::NormalizationForm_D);
    }
    return result;
}

class Generator
{
public:
    explicit Generator(quint32 seed)
        : mGen(seed)
    {
    }

    int bounded(int n) { return int(mGen.bounded(n)); }

    QString text()
    {
        QString text;
        const int parts = 1 + bounded(5);
        for (int i = 0; i < parts; ++i) {
            QString part = fragments().at(bounded(int(fragments().size())));
            if (bounded(4) == 0)
                part = part.toUpper();
            if (bounded(5) == 0)
                part = decomposed(part);
            text += part;
            if (bounded(3) != 0)
                text += QLatin1Char(' ');
        }
        return text;
    }

    // A piece of text as a user might type it: cut anywhere, in any case, with or without its
    // accents, precomposed or not.
    QString word(const QString &source)
    {
        const QList<uint> codePoints = source.toUcs4();
        for (int attempt = 0; attempt < 20; ++attempt) {
            const int start = bounded(int(codePoints.size()));
            const int length = 1 + bounded(std::min(6, int(codePoints.size()) - start));
            QString word = QString::fromUcs4(
                reinterpret_cast<const char32_t *>(codePoints.constData()) + start, length);
            word.remove(QLatin1Char(' '));
            switch (bounded(5)) {
            case 0:
                word = word.toUpper();
                break;
            case 1:
                word = withoutMarks(word);
                break;
            case 2:
                word = decomposed(word);
                break;
            case 3:
                word = word.normalized(QString::NormalizationForm_C);
                break;
            default:
                break;
            }
            // A word of marks alone is one of the deliberate departures.
            if (!word.isEmpty() && !Reference::wordUnits(word).isEmpty())
                return word;
        }
        return QStringLiteral("e");
    }

    QString query(const QString &source)
    {
        QString query;
        if (bounded(8) == 0)
            query += QLatin1Char(' ');
        const int words = 1 + bounded(3);
        for (int i = 0; i < words; ++i) {
            if (i > 0)
                query += bounded(6) == 0 ? QStringLiteral("  ") : QStringLiteral(" ");
            query += word(bounded(3) == 0 ? text() : source);
        }
        return query;
    }

private:
    static QString withoutMarks(const QString &word)
    {
        QString stripped;
        for (char32_t c : decomposed(word).toUcs4()) {
            if (!Reference::isDroppedMark(c))
                stripped += QString::fromUcs4(&c, 1);
        }
        return stripped;
    }

    QRandomGenerator mGen;
};

TEST(TextMatchingTest, FastPathAgreesWithTheLiteralRuleOnAMultiScriptCorpus)
{
    Generator generator(8123);
    std::vector<QString> texts;
    std::vector<SearchText> prepared;
    for (int i = 0; i < 600; ++i) {
        texts.push_back(generator.text());
        prepared.emplace_back(texts.back());
    }
    int matches = 0;
    for (int q = 0; q < 1500; ++q) {
        const std::size_t source = std::size_t(generator.bounded(int(texts.size())));
        const QString query = generator.query(texts[source]);
        const std::optional<QueryWords> words = QueryWords::fromQuery(query);
        ASSERT_TRUE(words.has_value());
        for (int k = 0; k < 12; ++k) {
            const std::size_t t =
                k == 0 ? source : std::size_t(generator.bounded(int(texts.size())));
            const MatchResult expected = Reference::match(query, texts[t]);
            const MatchResult actual = words->match(prepared[t]);
            ASSERT_EQ(actual.matched, expected.matched)
                << query.toStdString() << " in " << texts[t].toStdString();
            ASSERT_EQ(actual.beginsWith, expected.beginsWith)
                << query.toStdString() << " in " << texts[t].toStdString();
            matches += actual.matched;

            const QString first = words->words().constFirst();
            ASSERT_EQ(TextMatching::firstOccurrence(first, texts[t]),
                      Reference::firstOccurrence(first, texts[t]))
                << first.toStdString() << " in " << texts[t].toStdString();
        }
    }
    // Guard against a generator that only ever produces misses.
    EXPECT_GT(matches, 1500);
}

TEST(TextMatchingTest, BlockWiseSearchFindsWordsAtEveryPositionUpToTheLastByte)
{
    Generator generator(77);
    for (int length = 1; length <= 70; ++length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += QChar(u'a' + generator.bounded(3));
        const SearchText prepared(text);
        const std::string bytes = text.toStdString();
        for (int start = 0; start < length; ++start) {
            for (int size = 1; start + size <= length && size <= 20; ++size) {
                const std::string word = bytes.substr(std::size_t(start), std::size_t(size));
                ASSERT_TRUE(prepared.contains(word)) << word << " in " << bytes;
            }
        }
        // Where a word first occurs, found or not, as a plain search says: candidates whose
        // first and last bytes agree but whose middle differs are common in three letters.
        for (int trial = 0; trial < 40; ++trial) {
            std::string word;
            const int size = 1 + generator.bounded(14);
            for (int i = 0; i < size; ++i)
                word += char('a' + generator.bounded(3));
            const std::size_t expected = std::min(bytes.find(word), bytes.size());
            const SearchTextFind::Needle needle(word);
            ASSERT_EQ(needle.find(prepared.folded().data(), bytes.size()), expected)
                << word << " in " << bytes;
            ASSERT_EQ(prepared.contains(word), expected != bytes.size());
            ASSERT_EQ(needle.starts(prepared.folded().data(), bytes.size()),
                      bytes.starts_with(word));
        }
        // Words running past the end must not be completed by the padding.
        EXPECT_FALSE(prepared.contains(bytes.substr(bytes.size() - 1) + std::string(1, '\0')));
        EXPECT_FALSE(prepared.contains(bytes + "a"));
        EXPECT_FALSE(prepared.contains(std::string(std::size_t(length) + 1, 'a')));
        EXPECT_FALSE(prepared.contains("d"));
    }
    EXPECT_FALSE(SearchText().contains("a"));
    EXPECT_TRUE(SearchText(QString()).isEmpty());
}

// The agent leaves a file's name out of the end of its search text when the text begins with
// it, which is sound only while no query word holds a space.
TEST(TextMatchingTest, NoCharacterButTheSpaceFoldsToASpace)
{
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c == U' ' || (c >= 0xD800 && c <= 0xDFFF))
            continue;
        const QString word = QString::fromUcs4(&c, 1).toLower();
        ASSERT_EQ(SearchTextFolding::fold(word).find(' '), std::string::npos) << quint32(c);
    }
}

TEST(TextMatchingTest, QueryWordsKeepEmptyWordsAndAnEmptyQueryIsNoFilter)
{
    EXPECT_FALSE(QueryWords::fromQuery(QString()).has_value());
    EXPECT_EQ(TextMatching::match(std::nullopt, SearchText(QStringLiteral("abc"))).matched, true);
    EXPECT_EQ(TextMatching::match(std::nullopt, SearchText(QStringLiteral("abc"))).beginsWith,
              false);

    EXPECT_EQ(QueryWords::fromQuery(QStringLiteral(" "))->words(), QStringList({"", ""}));
    const auto twoSpaces = QueryWords::fromQuery(QStringLiteral("  "));
    EXPECT_EQ(twoSpaces->words().size(), 3);
    EXPECT_TRUE(twoSpaces->match(SearchText(QStringLiteral("anything"))).matched);
    EXPECT_TRUE(twoSpaces->match(SearchText()).matched);
    EXPECT_FALSE(twoSpaces->match(SearchText(QStringLiteral("anything"))).beginsWith);

    const auto mailNew = QueryWords::fromQuery(QStringLiteral("Mail  NEW"));
    EXPECT_EQ(mailNew->words(), QStringList({"mail", "", "new"}));
    EXPECT_TRUE(mailNew->match(SearchText(QStringLiteral("New Mail Message"))).matched);
    EXPECT_FALSE(mailNew->match(SearchText(QStringLiteral("Mail only"))).matched);
    EXPECT_FALSE(mailNew->match(SearchText(QStringLiteral("news"))).matched);
}

TEST(TextMatchingTest, AccentsAndCaseAreIgnoredOnBothSides)
{
    const SearchText cafe(QStringLiteral("Café Crème"));
    for (const char *query : {"cafe", "CAFÉ", "café crème", "creme", "CRÈME CAF", "afé"})
        EXPECT_TRUE(QueryWords::fromQuery(QString::fromUtf8(query))->match(cafe).matched) << query;
    EXPECT_FALSE(QueryWords::fromQuery(QStringLiteral("cafes"))->match(cafe).matched);
    // No word boundaries, overlapping words allowed.
    EXPECT_TRUE(QueryWords::fromQuery(QStringLiteral("ph aph"))
                    ->match(SearchText(QStringLiteral("Graphic")))
                    .matched);
    const auto xy = QueryWords::fromQuery(QStringLiteral("x y"));
    EXPECT_FALSE(xy->match(SearchText(QStringLiteral("only y here"))).matched);
}

TEST(TextMatchingTest, BeginsWithOnlyForTheFirstWordAtTheStart)
{
    const auto word = QueryWords::fromQuery(QStringLiteral("word"));
    EXPECT_EQ(word->match(SearchText(QStringLiteral("Word Processor"))).beginsWith, true);
    EXPECT_EQ(word->match(SearchText(QStringLiteral("My Word"))).beginsWith, false);
    EXPECT_EQ(word->match(SearchText(QStringLiteral("My Word"))).matched, true);
    const auto later = QueryWords::fromQuery(QStringLiteral("proc word"));
    EXPECT_EQ(later->match(SearchText(QStringLiteral("Word Processor"))).beginsWith, false);
    // A leading space makes the first word empty: nothing can begin with it.
    const auto leading = QueryWords::fromQuery(QStringLiteral(" word"));
    EXPECT_EQ(leading->match(SearchText(QStringLiteral("Word Processor"))).beginsWith, false);

    // A first word left out of the search because a longer word contains it still decides
    // where the match begins.
    const auto implied = QueryWords::fromQuery(QStringLiteral("ban banana"));
    EXPECT_EQ(implied->match(SearchText(QStringLiteral("Banana split"))).beginsWith, true);
    EXPECT_EQ(implied->match(SearchText(QStringLiteral("Banana split"))).matched, true);
    EXPECT_EQ(implied->match(SearchText(QStringLiteral("my banana"))).beginsWith, false);
    EXPECT_EQ(implied->match(SearchText(QStringLiteral("my banana"))).matched, true);
    EXPECT_EQ(implied->match(SearchText(QStringLiteral("ban"))).matched, false);
    EXPECT_EQ(implied->match(SearchText(QStringLiteral("ban"))).beginsWith, true);
}

TEST(TextMatchingTest, DeliberateDeparturesFromTheLiteralRule)
{
    // Lower-casing "İ" adds a dot above (one more code unit); ranges still refer to the text
    // as shown, not to its lower-cased copy.
    EXPECT_EQ(TextMatching::firstOccurrence(QStringLiteral("bul"), QStringLiteral("İSTANBUL")),
              (TextRange{5, 3}));
    EXPECT_EQ(TextMatching::firstOccurrence(QStringLiteral("İst"), QStringLiteral("x İSTANBUL")),
              (TextRange{2, 3}));
    EXPECT_TRUE(QueryWords::fromQuery(QStringLiteral("istanbul"))
                    ->match(SearchText(QStringLiteral("İstanbul")))
                    .beginsWith);

    // Canonically equivalent texts match alike: Korean stored decomposed (as some file systems
    // write names) is found by the composed syllables, and a syllable is never split.
    const QString decomposedGak = QStringLiteral(u"\u1100\u1161\u11A8");
    EXPECT_TRUE(
        QueryWords::fromQuery(QStringLiteral("각"))->match(SearchText(decomposedGak)).matched);
    EXPECT_FALSE(
        QueryWords::fromQuery(QStringLiteral("가"))->match(SearchText(decomposedGak)).matched);
    EXPECT_FALSE(QueryWords::fromQuery(QStringLiteral("가"))
                     ->match(SearchText(QStringLiteral("각")))
                     .matched);
    EXPECT_EQ(
        TextMatching::firstOccurrence(QStringLiteral("각"), QStringLiteral("x ") + decomposedGak),
        (TextRange{2, 3}));

    // The final sigma is the same letter as sigma.
    EXPECT_TRUE(QueryWords::fromQuery(QStringLiteral("οδος"))
                    ->match(SearchText(QStringLiteral("ΟΔΟΣ")))
                    .matched);
    EXPECT_TRUE(QueryWords::fromQuery(QStringLiteral("ΟΔΟΣ"))
                    ->match(SearchText(QStringLiteral("οδός")))
                    .matched);

    // Nothing visible precedes the word, so the match begins the text.
    const auto leading = QueryWords::fromQuery(QStringLiteral("abc"))
                             ->match(SearchText(QStringLiteral(u"\u0301abc")));
    EXPECT_TRUE(leading.matched);
    EXPECT_TRUE(leading.beginsWith);

    // A word of marks alone is like an empty word: found, but it begins nothing.
    const auto marks = QueryWords::fromQuery(QStringLiteral(u"\u0301 abc"))
                           ->match(SearchText(QStringLiteral("abc")));
    EXPECT_TRUE(marks.matched);
    EXPECT_FALSE(marks.beginsWith);
    EXPECT_FALSE(TextMatching::firstOccurrence(QStringLiteral(u"\u0301"), QStringLiteral("abc")));
}

TEST(TextMatchingTest, OnlyCanonicalDecompositionsFold)
{
    // Compatibility characters stay themselves, as the rule says.
    const SearchText ligature(QStringLiteral("ﬁle"));
    EXPECT_FALSE(QueryWords::fromQuery(QStringLiteral("file"))->match(ligature).matched);
    EXPECT_TRUE(QueryWords::fromQuery(QStringLiteral("ﬁl"))->match(ligature).matched);
    EXPECT_FALSE(QueryWords::fromQuery(QStringLiteral("ss"))
                     ->match(SearchText(QStringLiteral("Straße")))
                     .matched);
    EXPECT_FALSE(QueryWords::fromQuery(QStringLiteral("2"))
                     ->match(SearchText(QStringLiteral("x²")))
                     .matched);
    // Dakuten are marks; dotless i is a letter of its own.
    EXPECT_TRUE(QueryWords::fromQuery(QStringLiteral("か"))
                    ->match(SearchText(QStringLiteral("が")))
                    .matched);
    EXPECT_FALSE(
        QueryWords::fromQuery(QStringLiteral("i"))->match(SearchText(QStringLiteral("ı"))).matched);
}

TEST(TextMatchingTest, FirstOccurrenceSelectsWholeCharactersOfTheOriginalText)
{
    EXPECT_EQ(TextMatching::firstOccurrence(QStringLiteral("cafe"), QStringLiteral(u"Cafe\u0301!")),
              (TextRange{0, 5}));
    EXPECT_EQ(TextMatching::firstOccurrence(QStringLiteral("e"), QStringLiteral("Crème brûlée")),
              (TextRange{2, 1}));
    EXPECT_EQ(TextMatching::firstOccurrence(QStringLiteral("👍"), QStringLiteral("ok 👍🏽")),
              (TextRange{3, 2}));
    EXPECT_FALSE(TextMatching::firstOccurrence(QString(), QStringLiteral("abc")));
    EXPECT_FALSE(TextMatching::firstOccurrence(QStringLiteral("z"), QStringLiteral("abc")));

    // A lone surrogate neither crashes nor matches a real character.
    const QString broken = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    EXPECT_EQ(TextMatching::firstOccurrence(QStringLiteral("b"), broken), (TextRange{2, 1}));

    EXPECT_EQ(TextMatching::previewSelection(QStringLiteral("  cafe noir"),
                                             QStringLiteral("Un CAFÉ noir")),
              (TextRange{3, 4}));
    EXPECT_FALSE(TextMatching::previewSelection(QStringLiteral("   "), QStringLiteral("a b")));
}

TEST(TextMatchingTest, TitleOrder)
{
    using std::weak_ordering;
    EXPECT_EQ(TextMatching::compareTitles(u"Firefox", u"FIREFOX"), weak_ordering::equivalent);
    EXPECT_EQ(TextMatching::compareTitles(u"Éclair", u"éCLAIR"), weak_ordering::equivalent);
    EXPECT_EQ(TextMatching::compareTitles(u"apple", u"Banana"), weak_ordering::less);
    EXPECT_EQ(TextMatching::compareTitles(u"Zebra", u"Éclair"), weak_ordering::less);
    EXPECT_EQ(TextMatching::compareTitles(u"e", u"é"), weak_ordering::less);
    EXPECT_EQ(TextMatching::compareTitles(u"ab", u"abc"), weak_ordering::less);
    EXPECT_EQ(TextMatching::compareTitles(u"Straße", u"STRASSE"), weak_ordering::greater);
    // Code-point order, not UTF-16 order: U+E000 comes before U+10400.
    EXPECT_EQ(TextMatching::compareTitles(QStringView(u"\uE000"), QStringView(u"\U00010400")),
              weak_ordering::less);
    EXPECT_EQ(TextMatching::compareTitles(QStringView(u"\U00010400"), QStringView(u"\U00010428")),
              weak_ordering::equivalent);

    const std::optional<QString> missing;
    EXPECT_EQ(TextMatching::compareTitles(missing, std::optional<QString>(QString())),
              weak_ordering::less);
    EXPECT_EQ(TextMatching::compareTitles(std::optional<QString>(QStringLiteral("a")), missing),
              weak_ordering::greater);
    EXPECT_EQ(TextMatching::compareTitles(missing, missing), weak_ordering::equivalent);
}

TEST(TextMatchingTest, ReplaceInString)
{
    EXPECT_EQ(TextMatching::replaceInString("banana", "a", "aa"), QStringLiteral("baanaanaa"));
    EXPECT_EQ(TextMatching::replaceInString("Hello HELLO hello", "hello", "bye"),
              QStringLiteral("bye bye bye"));
    EXPECT_EQ(TextMatching::replaceInString("banana", "A", "Aa"), QStringLiteral("bAanAanAa"));
    EXPECT_EQ(TextMatching::replaceInString("aaa", "aa", "x"), QStringLiteral("xa"));
    EXPECT_EQ(TextMatching::replaceInString("abc", "", "x"), QStringLiteral("abc"));
    EXPECT_EQ(TextMatching::replaceInString("abc", "abcd", "x"), QStringLiteral("abc"));
    EXPECT_EQ(TextMatching::replaceInString("Éé", "é", "e"), QStringLiteral("ee"));
    // Case only, not accents.
    EXPECT_EQ(TextMatching::replaceInString("cafe café", "CAFÉ", "tea"),
              QStringLiteral("cafe tea"));
}

TEST(TextMatchingTest, SearchTextsOfTheAgentAndTheManager)
{
    using namespace ItemRecord;
    const QVariantMap file{{KeyTitle, QStringLiteral("Budget")},
                           {KeyKeywords, QString()},
                           {KeyText, QStringLiteral("Q3")},
                           {KeyPath, QStringLiteral("/home/u/Documents/budget.2024.ods")}};
    EXPECT_EQ(SearchTextFields::forAgentSearch(file), QStringLiteral("Budget Q3 budget.2024"));
    EXPECT_EQ(SearchTextFields::forManagerFilter(file),
              QStringLiteral("Budget Q3 /home/u/Documents/budget.2024.ods"));

    const QVariantMap untitled{{KeyKeywords, QStringLiteral("  tools")},
                               {KeyPath, QStringLiteral("/home/u/Projects/")},
                               {KeyAddress, QStringLiteral("https://example.org/docs/index.html")}};
    EXPECT_EQ(SearchTextFields::forAgentSearch(untitled), QStringLiteral("tools Projects index"));
    EXPECT_EQ(SearchTextFields::forManagerFilter(untitled),
              QStringLiteral("   tools /home/u/Projects/ https://example.org/docs/index.html"));
    EXPECT_TRUE(QueryWords::fromQuery(QStringLiteral("tool"))
                    ->match(SearchTextFields::agentSearchText(untitled))
                    .beginsWith);

    EXPECT_EQ(SearchTextFields::forAgentSearch({{KeyPath, QStringLiteral("/home/u/.bashrc")}}),
              QStringLiteral(".bashrc"));
    EXPECT_EQ(
        SearchTextFields::forAgentSearch({{KeyAddress, QStringLiteral("https://example.org")}}),
        QStringLiteral("example"));
    EXPECT_EQ(SearchTextFields::forAgentSearch({}), QString());
    EXPECT_EQ(SearchTextFields::lastPathElement(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(SearchTextFields::lastPathElement(QStringLiteral("name")), QStringLiteral("name"));
}

} // namespace
