#include "KorvaleArchive.h"

#include <QDateTime>
#include <QSize>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <limits>

namespace {

QVariant roundTrip(const QVariant &value)
{
    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(value);
    EXPECT_TRUE(encoded.error.isEmpty()) << encoded.error.toStdString();
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(encoded.bytes);
    EXPECT_TRUE(decoded.error.isEmpty()) << decoded.error.toStdString();
    return decoded.value;
}

QVariantMap everyValueType()
{
    QVariantMap nested;
    nested.insert(QStringLiteral("names"), QStringList {QStringLiteral("b"), QStringLiteral("a")});
    nested.insert(QStringLiteral("deeper"), QVariantMap {{QStringLiteral("k"), QVariantList {1, 2.5}}});
    return QVariantMap {
        {QStringLiteral("empty"), QString()},
        {QStringLiteral("text"), QStringLiteral("Café ﬁ 日本 🎉 \"quoted\"\n")},
        {QStringLiteral("int32"), int(-2147483647 - 1)},
        {QStringLiteral("int32max"), int(2147483647)},
        {QStringLiteral("int64"), qlonglong(9007199254740993LL)},
        {QStringLiteral("int64min"), qlonglong(std::numeric_limits<qint64>::min())},
        {QStringLiteral("real"), 0.1},
        {QStringLiteral("realWhole"), 3.0},
        {QStringLiteral("date"), QDateTime::fromMSecsSinceEpoch(1796776800123LL)},
        {QStringLiteral("oldDate"), QDateTime::fromMSecsSinceEpoch(-1234567890987LL)},
        {QStringLiteral("blob"), QByteArray("\x00\x01\xff binary", 10)},
        {QStringLiteral("emptyBlob"), QByteArray("")},
        {QStringLiteral("nested"), nested},
        {QStringLiteral("order"), QVariantList {QStringLiteral("z"), QStringLiteral("a"), 3, 1}},
    };
}

} // namespace

TEST(Archive, EveryValueTypeRoundTripsExactlyWithItsType)
{
    const QVariantMap original = everyValueType();
    const QVariantMap back = roundTrip(original).toMap();
    ASSERT_EQ(back.keys(), original.keys());
    for (auto it = original.constBegin(); it != original.constEnd(); ++it) {
        const QVariant &got = back.value(it.key());
        SCOPED_TRACE(it.key().toStdString());
        if (it.value().typeId() == QMetaType::QStringList) {
            EXPECT_EQ(got.toStringList(), it.value().toStringList());
            continue;
        }
        if (it.value().typeId() == QMetaType::QVariantMap)
            continue; // compared below
        EXPECT_EQ(got.typeId(), it.value().typeId());
        EXPECT_EQ(got, it.value());
    }
    EXPECT_EQ(back.value(QStringLiteral("nested")).toMap().value(QStringLiteral("deeper")),
              original.value(QStringLiteral("nested")).toMap().value(QStringLiteral("deeper")));
    // The empty string stays a string, not an absent value.
    EXPECT_TRUE(back.contains(QStringLiteral("empty")));
    EXPECT_EQ(back.value(QStringLiteral("empty")).typeId(), QMetaType::QString);
    EXPECT_EQ(back.value(QStringLiteral("date")).toDateTime().toMSecsSinceEpoch(), 1796776800123LL);
}

TEST(Archive, DatesKeepTheirInstantWhateverTheirZone)
{
    const QDateTime paris(QDate(2026, 3, 29), QTime(3, 30, 15, 7), QTimeZone("Europe/Paris"));
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(paris.toMSecsSinceEpoch(), QTimeZone::utc());
    EXPECT_EQ(roundTrip(paris).toDateTime().toMSecsSinceEpoch(), paris.toMSecsSinceEpoch());
    EXPECT_EQ(roundTrip(utc).toDateTime(), utc);
}

TEST(Archive, DamagedInputIsRefusedNotHalfRead)
{
    const QByteArray good = KorvaleArchive::encode(QVariantList {everyValueType(), everyValueType()}).bytes;
    ASSERT_FALSE(good.isEmpty());
    // Every truncation fails cleanly: no partial list comes back as if it were whole.
    for (qsizetype cut = 1; cut < good.size(); cut += 7) {
        const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(good.left(cut));
        EXPECT_FALSE(decoded.error.isEmpty()) << "cut at " << cut;
        EXPECT_FALSE(decoded.value.isValid());
    }
    EXPECT_FALSE(KorvaleArchive::decode(QByteArray("not an archive at all")).error.isEmpty());
    EXPECT_FALSE(KorvaleArchive::decode(good + "trailing").error.isEmpty());
}

TEST(Archive, OneNestingLimitHoldsForEveryKindOfValueAndHostileLengthsAllocateNothing)
{
    // Each opener wraps what follows it once: arrays, maps, dates (tag 1, whose content must be a
    // number) and tags that only annotate. 30 KB of any of them is refused without a crash.
    const struct {
        const char *what;
        QByteArray opener;
    } kinds[] = {{"array", QByteArray("\x81", 1)},
                 {"map", QByteArray("\xa1\x61k", 3)},
                 {"date", QByteArray("\xc1", 1)},
                 {"other tag", QByteArray("\xd8\x20", 2)},
                 {"array and date", QByteArray("\x81\xc1", 2)}};
    for (const auto &kind : kinds) {
        QByteArray hostile = kind.opener.repeated(30000 / kind.opener.size());
        hostile.append(char(0x01));
        EXPECT_FALSE(KorvaleArchive::decode(hostile).error.isEmpty()) << kind.what;
    }

    // Up to the limit, nesting is kept exactly, and encoding refuses what decoding would.
    QVariant nested = QDateTime::fromMSecsSinceEpoch(0, QTimeZone::utc());
    for (int depth = 0; depth < KorvaleArchive::MaxDepth; ++depth)
        nested = depth % 2 ? QVariant(QVariantList {nested}) : QVariant(QVariantMap {{QStringLiteral("k"), nested}});
    const KorvaleArchive::Encoded atLimit = KorvaleArchive::encode(nested);
    ASSERT_TRUE(atLimit.error.isEmpty()) << atLimit.error.toStdString();
    EXPECT_EQ(KorvaleArchive::decode(atLimit.bytes).value, nested);
    EXPECT_FALSE(KorvaleArchive::encode(QVariantList {nested}).error.isEmpty());
    EXPECT_FALSE(KorvaleArchive::decode(QByteArray("\x81", 1) + atLimit.bytes.mid(3)).error.isEmpty());

    // A date holds a number: a date inside a date is damage, not nesting.
    EXPECT_FALSE(KorvaleArchive::decode(QByteArray::fromHex("c1c101")).error.isEmpty());
    EXPECT_TRUE(KorvaleArchive::decode(QByteArray::fromHex("c1fb41d0000000000000")).error.isEmpty());

    // An array that claims 2^60 elements but holds none.
    const QByteArray huge = QByteArray::fromHex("9b1000000000000000");
    EXPECT_FALSE(KorvaleArchive::decode(huge).error.isEmpty());
}

TEST(Archive, MapKeysMustBeStrings)
{
    // {1: "a"}
    EXPECT_FALSE(KorvaleArchive::decode(QByteArray::fromHex("a1016161")).error.isEmpty());
}

TEST(Archive, ValuesThatCannotBeArchivedAreRefused)
{
    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(QVariantList {QVariant::fromValue(QSize(1, 2))});
    EXPECT_FALSE(encoded.error.isEmpty());
    EXPECT_TRUE(encoded.bytes.isEmpty());
}
