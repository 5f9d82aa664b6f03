// The icons the desktop's providers send, on the rows of the access window: a stand-in provider
// on the session bus answers with pixel data for one result and a serialized themed icon for the
// other; the rows draw them, and the row without an icon of its own draws the application's.
#include "AnswerRecord.h"
#include "DesktopSearchRows.h"
#include "DesktopSearchStandIns.h"
#include "ItemCell.h"
#include "QOR_StringUtils.h"
#include "ResultIcons.h"
#include "TestIconTheme.h"

#include <QBuffer>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(DesktopSearchIcons, RowsDrawTheIconsTheProviderSent)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "needs a session bus (scripts/with-session.sh)";
    QOR_StringUtils::installTranslations(QLocale("en"));
    qDBusRegisterMetaType<QList<QVariantMap>>();
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "icons");
    auto disconnect = qScopeGuard([] { QDBusConnection::disconnectFromBus("icons"); });
    StandInProvider provider("icons", 0);
    ASSERT_TRUE(
        bus.registerObject("/org/example/Icons", &provider, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.example.Icons"));

    const TestIconTheme theme(
        {{StandInProvider::ThemedIcon, QColor(Qt::blue)}, {"zqxj-application", QColor(Qt::green)}});
    DesktopSearchSource source;
    source.key = "gnome/org.example.Icons.ini";
    source.busName = "org.example.Icons";
    source.objectPath = "/org/example/Icons";
    source.autoStart = false;
    source.name = "Icons";
    source.iconName = "zqxj-application";
    DesktopSearchRows rows(QDBusConnection::sessionBus());
    rows.setSources({source});
    QSignalSpy answered(&rows, &DesktopSearchRows::answered);
    rows.ask("zqxj");
    ASSERT_TRUE(answered.wait(5000));
    const QList<QVariantMap> shown = answered.at(0).at(2).value<QList<QVariantMap>>();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown.at(0).value(ItemRecord::KeyTitle), "Zqxj icons alpha");

    // Pixel data, rows padded past the pixels: red throughout.
    const QImage pixels = shown.at(0).value(AnswerRecord::KeyResultImage).value<QImage>();
    EXPECT_EQ(pixels.size(), QSize(StandInProvider::Side, StandInProvider::Side));
    EXPECT_EQ(TestIconTheme::centre(ItemCell::iconFor(shown.at(0))), QColor(Qt::red));
    // The first of the themed names the theme has.
    EXPECT_EQ(TestIconTheme::centre(ItemCell::iconFor(shown.at(1))), QColor(Qt::blue));
    // "Search in Icons" has no icon of its own.
    EXPECT_EQ(TestIconTheme::centre(ItemCell::iconFor(shown.at(2))), QColor(Qt::green));
}

// Pixel data is taken only when every row its sender states lies inside the data.
TEST(DesktopSearchIcons, PixelDataOutsideItsStatedBoundsIsRefused)
{
    ResultIcons::Pixels pixels;
    pixels.width = 3;
    pixels.height = 2;
    pixels.rowstride = 12;
    pixels.hasAlpha = false;
    pixels.bitsPerSample = 8;
    pixels.channels = 3;
    // The last row without its padding, as GdkPixbuf may give it.
    pixels.data = QByteArray(12 + 9, '\x40');
    EXPECT_EQ(ResultIcons::decodePixels(pixels).size(), QSize(3, 2));
    const auto refused = [&](auto change) {
        ResultIcons::Pixels changed = pixels;
        change(changed);
        return ResultIcons::decodePixels(changed).isNull();
    };
    EXPECT_TRUE(refused([](auto &p) { p.data.chop(1); }));
    EXPECT_TRUE(refused([](auto &p) { p.rowstride = 8; })); // rows overlapping
    EXPECT_TRUE(refused([](auto &p) { p.height = 0x40000001; }));
    EXPECT_TRUE(refused([](auto &p) { p.width = ResultIcons::MaxSide + 1; }));
    EXPECT_TRUE(refused([](auto &p) { p.bitsPerSample = 16; }));
    EXPECT_TRUE(refused([](auto &p) { p.hasAlpha = true; }));
}

// The other limits written for what providers send: an encoded image too large in bytes or in
// its stated size, and theme names past eight or naming a path.
TEST(DesktopSearchIcons, EncodedImagesAndThemeNamesPastTheirLimitsAreRefused)
{
    const auto png = [](QSize size) {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    };
    EXPECT_EQ(ResultIcons::decodeEncoded(png({512, 512})).size(),
              QSize(ResultIcons::MaxSide, ResultIcons::MaxSide));
    EXPECT_TRUE(ResultIcons::decodeEncoded(png({ResultIcons::MaxEncodedSide + 1, 4})).isNull());
    QByteArray padded = png({4, 4});
    padded.append(QByteArray(ResultIcons::MaxEncodedBytes, '\0'));
    EXPECT_TRUE(ResultIcons::decodeEncoded(padded).isNull());

    QStringList names{"a/b"};
    for (int i = 0; i < 12; ++i)
        names << QStringLiteral("name-%1").arg(i);
    const ResultIcons::Icon themed =
        ResultIcons::fromString(QStringLiteral(". GThemedIcon ") + names.join(' '));
    EXPECT_FALSE(themed.names.contains("a/b"));
    EXPECT_EQ(themed.names.size(), ResultIcons::MaxNames);
}
