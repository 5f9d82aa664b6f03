#include "RecentSearches.h"

#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

QStringList numbered(int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list.append(QStringLiteral("q%1").arg(i));
    return list;
}

TEST(RecentSearches, NewestFirstWithoutDuplicates)
{
    EXPECT_EQ(RecentSearches::recorded({}, QStringLiteral("mail")), QStringList{"mail"});
    const QStringList once = RecentSearches::recorded({"maps", "notes"}, "mail");
    EXPECT_EQ(once, (QStringList{"mail", "maps", "notes"}));
    EXPECT_EQ(RecentSearches::recorded(once, "mail"), once);
    EXPECT_EQ(RecentSearches::recorded(once, "notes"), (QStringList{"notes", "mail", "maps"}));
}

TEST(RecentSearches, TwentyAtMostTheOldestDroppedFirst)
{
    const QStringList full = numbered(20);
    const QStringList after = RecentSearches::recorded(full, "new");
    ASSERT_EQ(after.size(), 20);
    EXPECT_EQ(after.first(), "new");
    EXPECT_EQ(after.last(), "q19") << "the 21st entry is dropped";

    // The list is cut before the duplicate goes: a full list loses its oldest entry and the
    // repeated one moves to the front.
    const QStringList repeated = RecentSearches::recorded(full, "q5");
    EXPECT_EQ(repeated.size(), 19);
    EXPECT_EQ(repeated.first(), "q5");
    EXPECT_EQ(repeated.count("q5"), 1);
    EXPECT_FALSE(repeated.contains("q20"));
}

TEST(RecentSearches, StoredUnderTheirKeyAndReadBackAsStrings)
{
    TemporaryHome home;
    SharedPreferences preferences;
    RecentSearches::store(preferences, {"mail", "maps"});
    SharedPreferences other;
    EXPECT_EQ(other.listValue(RecentSearches::PreferenceKey).value_or(QVariantList()).size(), 2);
    EXPECT_EQ(RecentSearches::read(other), (QStringList{"mail", "maps"}));

    // Whatever another program left there, the field gets strings only, twenty at most.
    QVariantList odd{QStringLiteral("ok"), 12, QVariantMap(), QString()};
    for (const QString &entry : numbered(30))
        odd.append(entry);
    other.setValue(RecentSearches::PreferenceKey, odd);
    other.synchronize();
    const QStringList read = RecentSearches::read(other);
    EXPECT_EQ(read.size(), 20);
    EXPECT_EQ(read.first(), "ok");
    other.setValue(RecentSearches::PreferenceKey, QStringLiteral("not a list"));
    EXPECT_TRUE(RecentSearches::read(other).isEmpty());
}

} // namespace
