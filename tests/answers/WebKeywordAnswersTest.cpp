#include "WebKeywordAnswers.h"
#include "AnswerRecord.h"
#include "QOR_StringUtils.h"

#include <gtest/gtest.h>

namespace {

QString addressFor(WebKeywordAnswers &family, const QString &query)
{
    const QList<QVariantMap> rows = family.answer(query, 50);
    if (rows.isEmpty())
        return QStringLiteral("(none)");
    EXPECT_EQ(rows.size(), 1);
    EXPECT_EQ(ItemRecord::kind(rows.first()), ItemRecord::KindAnswer);
    return rows.first().value(AnswerRecord::KeyOpenAddress).toString();
}

} // namespace

TEST(WebKeywordAnswers, AKeywordFirstSendsTheRestEncodedToItsSite)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
    WebKeywordAnswers family(QLocale("fr_FR"));
    EXPECT_EQ(addressFor(family, "g quokka"), "https://www.google.com/search?q=quokka");
    EXPECT_EQ(addressFor(family, "DDG  quokka   island "),
              "https://duckduckgo.com/?q=quokka+island");
    // Words that would end the query or the address stay part of it; letters stay as typed.
    EXPECT_EQ(addressFor(family, "w Notepad++ & Co #1 café"),
              "https://fr.wikipedia.org/w/index.php?search=Notepad%2B%2B+%26+Co+%231+caf%C3%A9");
    const QVariantMap row = family.answer("g quokka", 50).first();
    EXPECT_EQ(row.value(ItemRecord::KeyTitle).toString(), QString("Search Google for “quokka”"));

    EXPECT_EQ(addressFor(family, "g"), "(none)");
    EXPECT_EQ(addressFor(family, "g "), "(none)");
    EXPECT_EQ(addressFor(family, "gx quokka"), "(none)");
    EXPECT_EQ(addressFor(family, "quokka g"), "(none)");
}

TEST(WebKeywordAnswers, TheSitesComeFromThePreferenceWhenSetAndBadEntriesAreLeftOut)
{
    const QList<WebKeywordSites::Site> own = {
        {"mdn", "MDN", "https://developer.mozilla.org/search?q=<<QUERY>>"},
        {"bad", "No mark", "https://example.org/search"},
        {"ftp", "Not the web", "ftp://example.org/<<QUERY>>"},
        {"", "No keyword", "https://example.org/?q=<<QUERY>>"},
    };
    const QLocale english("en_US");
    const QList<WebKeywordSites::Site> read =
        WebKeywordSites::fromPreference(WebKeywordSites::toPreference(own), english);
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read.first(), own.first());
    EXPECT_EQ(WebKeywordSites::fromPreference(QVariant(), english),
              WebKeywordSites::defaults(english));
    // An empty list set by the user means no keywords, not the defaults.
    EXPECT_TRUE(WebKeywordSites::fromPreference(QVariantList(), english).isEmpty());

    WebKeywordAnswers family(english);
    family.setSites(read);
    EXPECT_EQ(addressFor(family, "mdn flex box"),
              "https://developer.mozilla.org/search?q=flex+box");
    EXPECT_EQ(addressFor(family, "g quokka"), "(none)");
}
