#include "ClipboardDetails.h"
#include "PasteboardContents.h"
#include "QOR_StringUtils.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QByteArray png(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(ClipboardDetails, ShowTheEntrysPictureBesideTheWindowAndEveryTypeBelowIt)
{
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    const QRect accessWindow(100, 50, 400, 300);
    const QVariantMap contents = {
        {PasteboardContents::TypePNG, QVariantMap{{"data", png(120, 80)}}},
        {PasteboardContents::TypeString, QVariantMap{{"string", "red square"}}},
    };
    ClipboardDetails details;
    details.show(PasteboardContents::pack(contents), accessWindow);

    ASSERT_TRUE(details.imageWindow() && details.imageWindow()->isVisible());
    const QRect image = details.imageWindow()->frameGeometry();
    EXPECT_EQ(image.left(), accessWindow.right() + 1 + ClipboardDetails::Gap);
    EXPECT_EQ(image.top(), accessWindow.top());
    EXPECT_EQ(details.imageWindow()->size(), QSize(120, 80));
    ASSERT_TRUE(details.textWindow() && details.textWindow()->isVisible());
    EXPECT_EQ(details.textWindow()->frameGeometry().top(),
              image.bottom() + 1 + ClipboardDetails::Gap);
    const QString size = QOR_StringUtils::getSizeBytes(png(120, 80).size());
    EXPECT_EQ(details.shownText(),
              "Type = NSPasteboardTypePNG\nData = " + size
                  + "\n\n=========\n"
                    "Type = NSPasteboardTypeString\nString = red square\n\n=========\n");

    // A window against the screen's right edge has them on its left.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect atTheEdge(screen.right() - 200, 50, 200, 300);
    details.show(PasteboardContents::pack(contents), atTheEdge);
    EXPECT_EQ(details.imageWindow()->frameGeometry().right() + 1 + ClipboardDetails::Gap,
              atTheEdge.left());
    EXPECT_LE(details.textWindow()->frameGeometry().right(), atTheEdge.left());

    // Without a picture the text stands at the window's top; PNG without bytes is no picture.
    details.show(PasteboardContents::pack(
                     {{PasteboardContents::TypePNG, QVariantMap{{"string", "x"}}},
                      {PasteboardContents::TypeTIFF, QVariantMap{{"data", png(5, 5)}}}}),
                 accessWindow);
    EXPECT_FALSE(details.imageWindow()->isVisible());
    EXPECT_EQ(details.textWindow()->frameGeometry().top(), accessWindow.top());

    // Contents that do not decode change nothing.
    details.hide();
    details.show("not packed", accessWindow);
    EXPECT_FALSE(details.textWindow()->isVisible());
}
