#include "SelectionPreview.h"

#include "ItemRecord.h"
#include "PasteboardContents.h"

#include <QBuffer>
#include <QMimeData>

#include <gtest/gtest.h>

using namespace ItemRecord;

namespace {

QVariantMap entry(const QString &title, const QByteArray &packed)
{
    return {{KeyKind, int(KindClipboard)}, {KeyTitle, title}, {KeyClipboardContents, packed}};
}

TEST(SelectionClipboardPreview, TitleTypeLabelAndText)
{
    QMimeData text;
    text.setText(QStringLiteral("hello\nworld"));
    const SelectionPreviewContent content = SelectionPreview::build(
        entry(QStringLiteral("Greeting"), PasteboardContents::capture(&text)));
    EXPECT_EQ(content.text, QStringLiteral("Greeting [STR]\nhello\nworld"));
    EXPECT_TRUE(content.image.isNull());
}

TEST(SelectionClipboardPreview, PictureEntriesBringTheirPicture)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));
    QMimeData mime;
    mime.setData(QStringLiteral("image/png"), png);
    mime.setText(QStringLiteral("caption"));

    const QVariantMap record = entry(QStringLiteral("Logo"), PasteboardContents::capture(&mime));
    const SelectionPreviewContent content = SelectionPreview::build(record);
    EXPECT_TRUE(content.text.startsWith(QStringLiteral("Logo [PNG]"))) << qPrintable(content.text);
    ASSERT_FALSE(content.image.isNull()) << "PNG comes first and is shown";
    EXPECT_EQ(content.image.size(), QSize(40, 20));
    EXPECT_EQ(content.image.pixelColor(5, 5), QColor(Qt::magenta));
    EXPECT_EQ(SelectionPreview::previewText(record), content.text);
}

TEST(SelectionClipboardPreview, AnEntryWithoutContentsStillShowsItsTitle)
{
    const SelectionPreviewContent content =
        SelectionPreview::build(entry(QStringLiteral("Old"), {}));
    EXPECT_TRUE(content.text.startsWith(QStringLiteral("Old ["))) << qPrintable(content.text);
    EXPECT_FALSE(content.text.contains(QStringLiteral("[]")));
    EXPECT_TRUE(content.image.isNull());
}

} // namespace
