#include "PasteboardContents.h"

#include "ClipboardSecret.h"
#include "KorvaleArchive.h"
#include "QOR_DataUtils.h"
#include "QOR_StringUtils.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QMimeDatabase>
#include <QMimeType>
#include <QTextBoundaryFinder>

const QString PasteboardContents::TypeString = QStringLiteral("NSPasteboardTypeString");
const QString PasteboardContents::TypePDF = QStringLiteral("NSPasteboardTypePDF");
const QString PasteboardContents::TypeTIFF = QStringLiteral("NSPasteboardTypeTIFF");
const QString PasteboardContents::TypePNG = QStringLiteral("NSPasteboardTypePNG");
const QString PasteboardContents::TypeRTF = QStringLiteral("NSPasteboardTypeRTF");
const QString PasteboardContents::TypeRTFD = QStringLiteral("NSPasteboardTypeRTFD");
const QString PasteboardContents::TypeHTML = QStringLiteral("NSPasteboardTypeHTML");

namespace {

const QString KeyData = QStringLiteral("data");
const QString KeyString = QStringLiteral("string");
const QString PlainTextUtf8 = QStringLiteral("text/plain;charset=utf-8");

struct TypeMapping {
    const char *type;
    const char *mime;
};

// Where Linux desktops have a common type it is used; the rest get types of our own, so a
// clipboard entry written back by the agent is still read back whole by the suite.
constexpr TypeMapping Mappings[] = {
    {"NSPasteboardTypeString", "text/plain;charset=utf-8"},
    {"NSPasteboardTypePDF", "application/pdf"},
    {"NSPasteboardTypeTIFF", "image/tiff"},
    {"NSPasteboardTypePNG", "image/png"},
    {"NSPasteboardTypeRTF", "text/rtf"},
    {"NSPasteboardTypeRTFD", "application/x-korvale-rtfd"},
    {"NSPasteboardTypeHTML", "text/html"},
    {"NSPasteboardTypeTabularText", "text/tab-separated-values"},
    {"NSPasteboardTypeFont", "application/x-korvale-font"},
    {"NSPasteboardTypeRuler", "application/x-korvale-ruler"},
    {"NSPasteboardTypeColor", "application/x-color"},
    {"NSPasteboardTypeSound", "audio/x-wav"},
    {"NSPasteboardTypeMultipleTextSelection", "application/x-korvale-multiple-text-selection"},
    {"NSPasteboardTypeFindPanelSearchOptions", "application/x-korvale-find-panel-search-options"},
};

QByteArray pngOf(const QImage &image)
{
    QByteArray png;
    if (image.isNull())
        return png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// Other names the same content goes by on X11 clipboards.
QStringList alternativeMimeTypes(const QString &type)
{
    if (type == PasteboardContents::TypeString)
        return {QStringLiteral("text/plain"), QStringLiteral("UTF8_STRING")};
    if (type == PasteboardContents::TypeRTF)
        return {QStringLiteral("application/rtf")};
    return {};
}

// Words are Unicode's (UAX #29): an apostrophe between letters stays inside the word, so "don't"
// and "l'été" keep their second part small, while a hyphen or a slash separates two words. The
// first letter takes its title case, which differs from the upper case for digraphs such as "ǆ".
QString capitalized(const QString &text)
{
    QString result;
    result.reserve(text.size());
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = words.toNextBoundary();
        const bool isWord = words.boundaryReasons() & QTextBoundaryFinder::EndOfItem;
        const QString piece = text.mid(start, (end < 0 ? text.size() : end) - start);
        start = end < 0 ? text.size() : end;
        if (!isWord) {
            result += piece;
            continue;
        }
        const QString lower = piece.toLower();
        const char32_t first = lower.at(0).isHighSurrogate() && lower.size() > 1
            ? QChar::surrogateToUcs4(lower.at(0), lower.at(1))
            : char32_t(lower.at(0).unicode());
        const qsizetype firstLength = QChar::requiresSurrogates(first) ? 2 : 1;
        if (QChar::isLetter(first)) {
            const char32_t title = QChar::toTitleCase(first);
            result += QString::fromUcs4(&title, 1);
            result += lower.mid(firstLength);
        } else {
            // "3d" stays as it is: only a word that starts with a letter is capitalised.
            result += lower;
        }
    }
    return result;
}

} // namespace

const QStringList &PasteboardContents::captureSet()
{
    static const QStringList types = [] {
        QStringList list;
        for (const TypeMapping &m : Mappings)
            list << QString::fromLatin1(m.type);
        return list;
    }();
    return types;
}

QString PasteboardContents::mimeTypeForPasteboardType(const QString &type)
{
    for (const TypeMapping &m : Mappings) {
        if (type == QLatin1String(m.type))
            return QString::fromLatin1(m.mime);
    }
    return {};
}

QByteArray PasteboardContents::capture(const QMimeData *mime)
{
    QVariantMap contents;
    if (mime) {
        const QStringList offered = mime->formats();
        for (const QString &type : captureSet()) {
            QStringList candidates{mimeTypeForPasteboardType(type)};
            candidates << alternativeMimeTypes(type);
            QVariantMap value;
            if (type == TypeString) {
                if (mime->hasText())
                    value.insert(KeyString, mime->text());
            } else if (type == TypeHTML && mime->hasHtml()) {
                value.insert(KeyString, mime->html());
                value.insert(KeyData, mime->data(candidates.first()));
            } else {
                for (const QString &candidate : std::as_const(candidates)) {
                    if (offered.contains(candidate)) {
                        value.insert(KeyData, mime->data(candidate));
                        break;
                    }
                }
            }
            // An image offered only as Qt's own image (a program of ours, a screenshot tool)
            // is stored as PNG.
            if (type == TypePNG && value.isEmpty() && mime->hasImage()) {
                QByteArray png = mime->data(QStringLiteral("image/png"));
                // A clipboard of this process holds the image itself, which no one has
                // converted yet: left alone, the picture was dropped.
                if (png.isEmpty())
                    png = pngOf(qvariant_cast<QImage>(mime->imageData()));
                if (!png.isEmpty())
                    value.insert(KeyData, png);
            }
            if (!value.isEmpty())
                contents.insert(type, value);
        }
        // Kept so that the rule can be asked of the blob, and the mark offered again with it.
        if (ClipboardSecret::isSecret(mime))
            contents.insert(ClipboardSecret::HintType, ClipboardSecret::mark());
    }
    return pack(contents);
}

QByteArray PasteboardContents::pack(const QVariantMap &contents)
{
    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(contents);
    return QOR_DataUtils::compressedData(encoded.bytes);
}

std::optional<QVariantMap> PasteboardContents::unpack(const QByteArray &packed)
{
    if (packed.isEmpty())
        return std::nullopt;
    const QByteArray bytes = QOR_DataUtils::decompressedData(packed);
    if (bytes.isNull())
        return std::nullopt;
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(bytes);
    if (!decoded.error.isEmpty() || decoded.value.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return decoded.value.toMap();
}

QMimeData *PasteboardContents::toMimeData(const QByteArray &packed)
{
    const std::optional<QVariantMap> contents = unpack(packed);
    if (!contents)
        return nullptr;
    auto *mime = new QMimeData;
    for (auto it = contents->cbegin(); it != contents->cend(); ++it) {
        // Types of other platforms' clipboards are carried under their own name.
        QString mimeType = mimeTypeForPasteboardType(it.key());
        // A password put back stays marked, so that no clipboard history keeps it.
        if (it.key() == ClipboardSecret::HintType)
            mimeType = it.key();
        else if (mimeType.isEmpty())
            mimeType = QStringLiteral("application/x-korvale-") + it.key();
        const QVariantMap value = it.value().toMap();
        if (value.contains(KeyString)) {
            const QByteArray text = value.value(KeyString).toString().toUtf8();
            mime->setData(mimeType, text);
            if (it.key() == TypeString)
                mime->setText(value.value(KeyString).toString());
        }
        // The bytes are set after the text and win when both exist.
        if (value.contains(KeyData))
            mime->setData(mimeType, value.value(KeyData).toByteArray());
    }
    return mime;
}

QString PasteboardContents::transformText(const QString &text, int tag)
{
    switch (tag) {
    case 2:
        return text.toUpper();
    case 3:
        return text.toLower();
    case 4:
        return capitalized(text);
    default:
        return text;
    }
}

QString PasteboardContents::preferredType(const QVariantMap &contents)
{
    for (const QString &type :
         {TypePNG, TypePDF, TypeTIFF, TypeRTFD, TypeRTF, TypeHTML, TypeString}) {
        if (contents.contains(type))
            return type;
    }
    return {};
}

QString PasteboardContents::descriptionForPasteboardType(const QString &type)
{
    const auto words = [](const QString &key) {
        return QOR_StringUtils::getLocalizedStringForKey(key);
    };
    if (type == TypeString)
        return words(KORVALE_KEY("ClipboardKindText"));
    if (type == TypeRTF)
        return words(KORVALE_KEY("ClipboardKindRichText"));
    if (type == TypeRTFD)
        return words(KORVALE_KEY("ClipboardKindRichTextPictures"));
    if (type == TypeHTML)
        return words(KORVALE_KEY("ClipboardKindHTML"));
    if (type == TypePDF)
        return words(KORVALE_KEY("ClipboardKindPDF"));
    if (type == TypePNG)
        return words(KORVALE_KEY("ClipboardKindPNG"));
    if (type == TypeTIFF)
        return words(KORVALE_KEY("ClipboardKindTIFF"));
    static const QMimeDatabase mimes;
    const QMimeType mime = mimes.mimeTypeForName(type);
    if (mime.isValid() && !mime.comment().isEmpty())
        return mime.comment();
    return words(KORVALE_KEY("ClipboardUnknowType"));
}

QString PasteboardContents::labelForPasteboardType(const QString &type)
{
    if (type == TypePDF)
        return QStringLiteral("PDF");
    if (type == TypeTIFF)
        return QStringLiteral("TIFF");
    if (type == TypePNG)
        return QStringLiteral("PNG");
    if (type == TypeRTF)
        return QStringLiteral("RTF");
    if (type == TypeRTFD)
        return QStringLiteral("RTFD");
    if (type == TypeString)
        return QStringLiteral("STR");
    return type;
}
