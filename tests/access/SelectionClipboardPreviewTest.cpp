#include "SelectionPreview.h"

#include "ClipboardOffer.h"
#include "ClipboardSecret.h"
#include "ItemCell.h"
#include "ItemRecord.h"
#include "PasteboardContents.h"
#include "QOR_StringUtils.h"

#include <QLocale>

#include <QBuffer>
#include <QMimeData>

#include <memory>

#include <gtest/gtest.h>

using namespace ItemRecord;

namespace {

QVariantMap entry(const QString &title, const QByteArray &packed)
{
    return {{KeyKind, int(KindClipboard)}, {KeyTitle, title}, {KeyClipboardContents, packed}};
}

TEST(SelectionClipboardPreview, TitleTypeLabelAndText)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
    QMimeData text;
    text.setText(QStringLiteral("hello\nworld"));
    const SelectionPreviewContent content = SelectionPreview::build(
        entry(QStringLiteral("Greeting"), PasteboardContents::capture(&text)));
    EXPECT_EQ(content.text, QStringLiteral("Greeting (Text)\nhello\nworld"));
    EXPECT_TRUE(content.image.isNull());
}

// Every kind the clipboard keeps is said in words in each language, never as a code.
TEST(SelectionClipboardPreview, TheKindIsSaidInWords)
{
    using P = PasteboardContents;
    const QStringList types = {P::TypeString, P::TypeRTF, P::TypeRTFD, P::TypeHTML,
                               P::TypePDF,    P::TypePNG, P::TypeTIFF};
    for (const char *language : {"en", "fr"}) {
        SCOPED_TRACE(language);
        QOR_StringUtils::installTranslations(QLocale(QString::fromLatin1(language)));
        QStringList seen;
        for (const QString &type : types) {
            const QString words = P::descriptionForPasteboardType(type);
            EXPECT_FALSE(words.startsWith(QLatin1String("Clipboard"))) << words.toStdString();
            EXPECT_NE(words, P::labelForPasteboardType(type));
            EXPECT_FALSE(seen.contains(words)) << words.toStdString();
            seen << words;
        }
        EXPECT_EQ(P::descriptionForPasteboardType("x-korvale/none"),
                  QOR_StringUtils::getLocalizedStringForKey("ClipboardUnknowType"));
        EXPECT_FALSE(P::descriptionForPasteboardType("text/uri-list").contains('/'))
            << "a MIME type by its description";
    }
    QOR_StringUtils::installTranslations(QLocale("en"));
}

TEST(SelectionClipboardPreview, PictureEntriesBringTheirPicture)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
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
    EXPECT_TRUE(content.text.startsWith(QStringLiteral("Logo (PNG picture)")))
        << qPrintable(content.text);
    ASSERT_FALSE(content.image.isNull()) << "PNG comes first and is shown";
    EXPECT_EQ(content.image.size(), QSize(40, 20));
    EXPECT_EQ(content.image.pixelColor(5, 5), QColor(Qt::magenta));
    EXPECT_EQ(SelectionPreview::previewText(record), content.text);
}

TEST(SelectionClipboardPreview, AnEntryWithoutContentsStillShowsItsTitle)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
    const SelectionPreviewContent content =
        SelectionPreview::build(entry(QStringLiteral("Old"), {}));
    EXPECT_EQ(content.text, QStringLiteral("Old (Unknown type)"));
    EXPECT_TRUE(content.image.isNull());
}

// The one-space query on a password manager's copy: one row, masked in the row and the preview,
// which puts the password back with its mark when opened; no case variants that would show it.
TEST(SelectionClipboardPreview, APasswordManagersSecretIsMaskedInTheRowAndThePreview)
{
    const QString secret = QStringLiteral("Tr0ub4dor&3");
    QMimeData mime;
    mime.setText(secret);
    mime.setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    const QVariantList offer = ClipboardOffer::build(&mime);
    ASSERT_EQ(offer.size(), 1);
    const QVariantMap row = offer.at(0).toMap();
    const QString masked = ClipboardSecret::maskedText();
    EXPECT_TRUE(masked.startsWith(QString(8, QChar(0x2022)))) << qPrintable(masked);
    EXPECT_EQ(ItemCell::secondLineFor(row), masked);
    const SelectionPreviewContent content = SelectionPreview::build(row);
    EXPECT_TRUE(content.text.endsWith(QStringLiteral("\n") + masked)) << qPrintable(content.text);
    EXPECT_FALSE(content.text.contains(secret));
    EXPECT_TRUE(content.image.isNull());

    const std::unique_ptr<QMimeData> back(
        PasteboardContents::toMimeData(row.value(KeyClipboardContents).toByteArray()));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text(), secret);
    EXPECT_TRUE(ClipboardSecret::isSecret(back.get()));

    // Any other value of the mark is no secret: the text shows, with its variants.
    mime.setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("public"));
    const QVariantList plain = ClipboardOffer::build(&mime);
    ASSERT_EQ(plain.size(), 5);
    EXPECT_EQ(ItemCell::secondLineFor(plain.at(0).toMap()), secret);
}

} // namespace
