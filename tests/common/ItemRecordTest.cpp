#include "ItemRecord.h"

#include <gtest/gtest.h>

using namespace ItemRecord;

namespace {
QVariantMap rec(int kind, std::initializer_list<std::pair<QString, QVariant>> fields)
{
    QVariantMap m {{KeyKind, kind}};
    for (const auto &[k, v] : fields)
        m.insert(k, v);
    return m;
}
} // namespace

TEST(ItemIdentity, ByKind)
{
    const QString p = QStringLiteral("/usr/share/applications/org.gnome.Calculator.desktop");
    // Paths for file-system kinds, whatever the titles.
    EXPECT_TRUE(isSameItem(rec(1, {{KeyPath, p}, {KeyTitle, QStringLiteral("A")}}), rec(1, {{KeyPath, p}})));
    EXPECT_FALSE(isSameItem(rec(1, {{KeyPath, p}}), rec(2, {{KeyPath, p}})));
    EXPECT_FALSE(isSameItem(rec(2, {{KeyTitle, QStringLiteral("same")}}), rec(2, {{KeyTitle, QStringLiteral("same")}})));
    EXPECT_FALSE(isSameItem(rec(10, {{KeyPath, QStringLiteral("/a")}}), rec(10, {{KeyPath, QStringLiteral("/A")}})));
    // Bookmarks by address.
    EXPECT_TRUE(isSameItem(rec(3, {{KeyAddress, QStringLiteral("example.org")}}), rec(3, {{KeyAddress, QStringLiteral("example.org")}})));
    // Notes and contacts by title, or else by text.
    EXPECT_TRUE(isSameItem(rec(5, {{KeyTitle, QStringLiteral("N")}}), rec(5, {{KeyTitle, QStringLiteral("N")}, {KeyText, QStringLiteral("x")}})));
    EXPECT_FALSE(isSameItem(rec(5, {{KeyTitle, QStringLiteral("N")}}), rec(6, {{KeyTitle, QStringLiteral("N")}})));
    EXPECT_TRUE(isSameItem(rec(4, {{KeyTitle, QStringLiteral("Ann")}, {KeyText, QStringLiteral("tel")}}),
                           rec(4, {{KeyTitle, QStringLiteral("Anne")}, {KeyText, QStringLiteral("tel")}})));
    EXPECT_FALSE(isSameItem(rec(4, {{KeyTitle, QStringLiteral("Ann")}}), rec(4, {{KeyText, QStringLiteral("Ann")}})));
    // Clipboard entries and the other kinds never.
    const QVariantMap clip = rec(9, {{KeyTitle, QStringLiteral("c")}});
    EXPECT_FALSE(isSameItem(clip, clip));
    EXPECT_FALSE(isSameItem(rec(8, {{KeyTitle, QStringLiteral("t")}}), rec(8, {{KeyTitle, QStringLiteral("t")}})));
}
