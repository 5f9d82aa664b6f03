#include "ClipboardOffer.h"
#include "CommonKorvaleClass.h"
#include "PasteboardContents.h"
#include "QOR_DataUtils.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

void putOnClipboard(QMimeData *mime)
{
    QGuiApplication::clipboard()->setMimeData(mime);
}

QByteArray pngBytes()
{
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QVariantMap contentsOf(const QByteArray &packed)
{
    const std::optional<QVariantMap> contents = CommonKorvaleClass::getAllContentsFrom(packed);
    EXPECT_TRUE(contents.has_value());
    return contents.value_or(QVariantMap());
}

} // namespace

TEST(Pasteboard, CapturesKnownTypesUnderTheirStoredNamesAndDropsTheRest)
{
    auto *mime = new QMimeData;
    mime->setText(QStringLiteral("Grüße"));
    mime->setHtml(QStringLiteral("<b>Grüße</b>"));
    mime->setData(QStringLiteral("image/png"), pngBytes());
    mime->setData(QStringLiteral("application/x-unknown-thing"), "zzz");
    putOnClipboard(mime);

    const QVariantMap contents = contentsOf(CommonKorvaleClass::getPasteboardContents());
    EXPECT_EQ(
        contents.keys(),
        (QStringList{"NSPasteboardTypeHTML", "NSPasteboardTypePNG", "NSPasteboardTypeString"}));
    EXPECT_EQ(contents.value("NSPasteboardTypeString").toMap().value("string"), "Grüße");
    EXPECT_EQ(contents.value("NSPasteboardTypePNG").toMap().value("data").toByteArray(),
              pngBytes());
    // The picture comes first when the entry is shown; the text stays for the transforms.
    const QVariantMap preferred =
        CommonKorvaleClass::getContentsFrom(CommonKorvaleClass::getPasteboardContents());
    EXPECT_EQ(preferred.value("key"), "NSPasteboardTypePNG");
    EXPECT_EQ(CommonKorvaleClass::getTypeForPasteboardType("NSPasteboardTypePNG"), "PNG");
    EXPECT_EQ(CommonKorvaleClass::getTypeForPasteboardType("NSPasteboardTypeString"), "STR");
    EXPECT_EQ(CommonKorvaleClass::getTypeForPasteboardType("NSPasteboardTypeColor"),
              "NSPasteboardTypeColor");

    auto *unknown = new QMimeData;
    unknown->setData(QStringLiteral("application/x-unknown-thing"), "zzz");
    putOnClipboard(unknown);
    const QByteArray empty = CommonKorvaleClass::getPasteboardContents();
    EXPECT_FALSE(empty.isEmpty());
    EXPECT_TRUE(contentsOf(empty).isEmpty());
    EXPECT_TRUE(CommonKorvaleClass::getContentsFrom(empty).isEmpty());
}

TEST(Pasteboard, WritingBackRestoresEveryTypeAndDataWinsOverText)
{
    const QVariantMap stored{
        {"NSPasteboardTypeString", QVariantMap{{"string", "plain"}}},
        {"NSPasteboardTypeHTML",
         QVariantMap{{"string", "<i>as text</i>"}, {"data", "<i>as data</i>"}}},
        {"NSPasteboardTypeTabularText", QVariantMap{{"data", "a\tb\n"}}}};
    ASSERT_TRUE(CommonKorvaleClass::writeContentsToPasteBoard(PasteboardContents::pack(stored)));
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(mime->text(), "plain");
    EXPECT_EQ(mime->data("text/html"), "<i>as data</i>");
    EXPECT_EQ(mime->data("text/tab-separated-values"), "a\tb\n");

    // What was written reads back as it was stored.
    const QVariantMap again = contentsOf(CommonKorvaleClass::getPasteboardContents());
    EXPECT_EQ(again.value("NSPasteboardTypeString").toMap().value("string"), "plain");
    EXPECT_EQ(again.value("NSPasteboardTypeTabularText").toMap().value("data").toByteArray(),
              "a\tb\n");

    // A damaged blob leaves the clipboard as it was.
    EXPECT_FALSE(CommonKorvaleClass::writeContentsToPasteBoard("not zlib at all"));
    EXPECT_FALSE(CommonKorvaleClass::writeContentsToPasteBoard(
        QOR_DataUtils::compressedData("\xff\xff not an archive")));
    EXPECT_FALSE(CommonKorvaleClass::writeContentsToPasteBoard({}));
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->text(), "plain");
    EXPECT_FALSE(CommonKorvaleClass::getAllContentsFrom({}).has_value());
}

TEST(Pasteboard, TextTransformsAndTheTransformPaste)
{
    EXPECT_EQ(PasteboardContents::transformText("élan vital-ok", 2), "ÉLAN VITAL-OK");
    EXPECT_EQ(PasteboardContents::transformText("ÉLAN Vital", 3), "élan vital");
    // Words as Unicode cuts them: an apostrophe between letters joins, a full stop, a
    // hyphen, a slash or a space separates; digraphs take their title case; a word that starts
    // with a digit is only lower-cased.
    const std::pair<QString, QString> capitalised[] = {
        {"élan vITAL l'été", "Élan Vital L'été"},
        {"don't STOP", "Don't Stop"},
        {"rock\u2019n\u2019roll", "Rock\u2019n\u2019roll"},
        {"hello-world and/or x.y", "Hello-World And/Or X.Y"},
        {"'quoted' (word)", "'Quoted' (Word)"},
        {"\u01c6ungla \u01c4", "\u01c5ungla \u01c5"},
        {"3D model, 2ND try", "3d Model, 2nd Try"},
        {"  \u043f\u0440\u0438\u0432\u0435\u0442\tMIR\n",
         "  \u041f\u0440\u0438\u0432\u0435\u0442\tMir\n"},
        {"\U0001D41A\U0001D41B \U00010428x", "\U0001D41A\U0001D41B \U00010400x"},
        {"", ""},
    };
    for (const auto &[text, expected] : capitalised)
        EXPECT_EQ(PasteboardContents::transformText(text, 4), expected) << text.toStdString();
    EXPECT_EQ(PasteboardContents::transformText("as is", 1), "as is");

    auto *mime = new QMimeData;
    mime->setText("mixed Case");
    mime->setHtml("<b>mixed Case</b>");
    putOnClipboard(mime);
    EXPECT_FALSE(CommonKorvaleClass::pasteTextClipboard(0));
    ASSERT_TRUE(CommonKorvaleClass::pasteTextClipboard(2));
    const QMimeData *after = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(after->text(), "MIXED CASE");
    EXPECT_FALSE(after->hasHtml()); // the formatting is gone

    CommonKorvaleClass::copyPlainTextToPasteboard(QString());
    EXPECT_FALSE(CommonKorvaleClass::pasteTextClipboard(1));
}

TEST(ClipboardOffer, TextOffersTheClipboardAndFourVariantsAFileOffersItself)
{
    auto *mime = new QMimeData;
    mime->setText("hello World");
    putOnClipboard(mime);
    const QVariantList offer = ClipboardOffer::build();
    ASSERT_EQ(offer.size(), 5);
    const QStringList expected{"hello World", "hello World", "HELLO WORLD", "hello world",
                               "Hello World"};
    for (int i = 0; i < offer.size(); ++i) {
        const QVariantMap item = offer.at(i).toMap();
        EXPECT_EQ(item.value("x").toInt(), 9);
        const QVariantMap contents = contentsOf(item.value("cb").toByteArray());
        EXPECT_EQ(contents.value("NSPasteboardTypeString").toMap().value("string"), expected.at(i));
        if (i > 0) {
            EXPECT_EQ(contents.size(), 1);
        }
    }

    auto *file = new QMimeData;
    file->setUrls({QUrl::fromLocalFile("/tmp/Some Folder/report.pdf")});
    putOnClipboard(file);
    const QVariantList fileOffer = ClipboardOffer::build();
    ASSERT_EQ(fileOffer.size(), 1);
    EXPECT_EQ(fileOffer.first().toMap(),
              (QVariantMap{{"x", 10}, {"T", "report.pdf"}, {"P", "/tmp/Some Folder/report.pdf"}}));

    // Nothing but an unknown type: the clipboard entry alone, holding no representation.
    QMimeData unknown;
    unknown.setData("application/x-unknown-thing", "zzz");
    EXPECT_EQ(ClipboardOffer::build(&unknown).size(), 1);
}
