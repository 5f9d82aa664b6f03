#include "SelectionPreview.h"

#include "ApplicationVersion.h"
#include "ClipboardSecret.h"
#include "CommonKorvaleClass.h"
#include "ItemRecord.h"
#include "PasteboardContents.h"
#include "PreviewPdf.h"
#include "QOR_StringUtils.h"
#include "SearchTextFields.h"

#include <QDir>

using namespace ItemRecord;

namespace {

SelectionPreview::ContactPictureLookup &contactPictureLookup()
{
    static SelectionPreview::ContactPictureLookup lookup;
    return lookup;
}

SelectionPreview::StockRecordLookup &stockRecordLookup()
{
    static SelectionPreview::StockRecordLookup lookup;
    return lookup;
}

// Appends "\n" and the value when the value is not empty.
void appendLine(QString &text, const QString &value)
{
    if (!value.isEmpty())
        text += QLatin1Char('\n') + value;
}

// The picture a clipboard entry's preferred representation draws, largest side at most this.
constexpr int ClipboardPictureSide = 512;

} // namespace

void SelectionPreview::setContactPictureLookup(ContactPictureLookup lookup)
{
    contactPictureLookup() = std::move(lookup);
}

void SelectionPreview::setStockRecordLookup(StockRecordLookup lookup)
{
    stockRecordLookup() = std::move(lookup);
}

QString SelectionPreview::displayPath(const QString &path)
{
    if (path.isEmpty())
        return path;
    const QString clean = QDir::cleanPath(path);
    const QString shown = QOR_StringUtils::localizedPath(clean);
    // Component names may be translated, so the home folder is looked for in the path itself
    // and as many components dropped from the shown one.
    const QString home = QDir::cleanPath(QDir::homePath());
    if (home.isEmpty() || home == QLatin1String("/"))
        return shown;
    if (clean == home)
        return QStringLiteral("~");
    if (!clean.startsWith(home + QLatin1Char('/')))
        return shown;
    const qsizetype homeDepth = home.count(QLatin1Char('/'));
    const QStringList components = shown.split(QLatin1Char('/'));
    // shown is "/a/b/...": its first element is empty, so home's components end at homeDepth.
    if (components.size() <= homeDepth + 1)
        return shown;
    return QStringLiteral("~/") + components.mid(homeDepth + 1).join(QLatin1Char('/'));
}

QString SelectionPreview::filePath(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    const QString home = QDir::cleanPath(QDir::homePath());
    if (path.isEmpty() || home.isEmpty() || home == QLatin1String("/"))
        return path.isEmpty() ? path : clean;
    if (clean == home)
        return QStringLiteral("~");
    if (clean.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + clean.mid(home.size());
    return clean;
}

QString SelectionPreview::applicationText(const QVariantMap &record)
{
    const QString path = string(record, KeyPath);
    // The entry's own file: its Name is already the row's title, and a path built of names
    // would lead nowhere.
    QString text = filePath(path);
    if (const std::optional<QString> version = ApplicationVersion::versionForPath(path))
        text = QStringLiteral("%1\n(%2)").arg(text, *version);
    appendLine(text, string(record, KeyKeywords));
    appendLine(text, string(record, KeyText));
    return text;
}

QString SelectionPreview::fileText(const QVariantMap &record)
{
    const QString path = string(record, KeyPath);
    if (path.isEmpty())
        return {};
    return displayPath(path) + QStringLiteral("\n\n") + path;
}

QString SelectionPreview::bookmarkText(const QVariantMap &record)
{
    QString text = string(record, KeyAddress);
    appendLine(text, string(record, KeyTitle));
    return text;
}

QString SelectionPreview::noteText(const QVariantMap &record)
{
    QString text = string(record, KeyTitle);
    appendLine(text, string(record, KeyKeywords));
    appendLine(text, string(record, KeyText));
    return text;
}

QString SelectionPreview::stockText(const QVariantMap &shown)
{
    QVariantMap record = shown;
    if (stockRecordLookup()) {
        if (const auto own = stockRecordLookup()(string(shown, KeyTitle)))
            record = *own;
    }
    // The quote as the address answered it, without the line end that closes it.
    const QString last = string(record, KeyValLast).trimmed();
    const QStringList fields = last.split(QLatin1Char(','));
    const QString value = fields.size() >= 3 ? fields.at(1) : QStringLiteral("???");

    const QString key = KORVALE_KEY("SurveyStocksInfos");
    QString format = QOR_StringUtils::getLocalizedStringForKey(key);
    if (format == key || !format.contains(QLatin1String("%5")))
        // Until the tables carry it, a readable text rather than the bare key.
        format = QStringLiteral("%1\nLast shown: %2\nAlert below: %3\nAlert above: %4\n(%5)");
    return format.arg(value, string(record, KeyValLastShown), string(record, KeyValMax),
                      string(record, KeyValMin), last);
}

QString SelectionPreview::contactText(const QVariantMap &record)
{
    const QString text = string(record, KeyText);
    return text.isEmpty() ? string(record, KeyTitle) : text;
}

QString SelectionPreview::contactDetail(const QVariantMap &record)
{
    const QStringList lines = string(record, KeyPhone).split(QLatin1Char('\n'));
    QString line = lines.value(0);
    if (line.trimmed().isEmpty())
        line = lines.value(1);
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return line.trimmed();
}

QString SelectionPreview::clipboardText(const QVariantMap &record, QImage *picture)
{
    const QByteArray packed = record.value(KeyClipboardContents).toByteArray();
    const bool secret = ClipboardSecret::isSecret(packed);
    const QVariantMap contents = CommonKorvaleClass::getContentsFrom(packed);
    const QString type = contents.value(QStringLiteral("key")).toString();
    // In words: a code such as "STR" means nothing to the person reading it.
    const QString label = PasteboardContents::descriptionForPasteboardType(type);
    QString text = QStringLiteral("%1 (%2)").arg(string(record, KeyTitle), label);
    appendLine(text,
               secret ? ClipboardSecret::maskedText()
                      : contents.value(QStringLiteral("string")).toString());

    if (picture && secret) {
        *picture = QImage();
    } else if (picture) {
        const QByteArray data = contents.value(QStringLiteral("data")).toByteArray();
        const QSize box(ClipboardPictureSide, ClipboardPictureSide);
        QImage image;
        if (type == QLatin1String("NSPasteboardTypePNG")
            || type == QLatin1String("NSPasteboardTypeTIFF"))
            image = QImage::fromData(data);
        else if (type == QLatin1String("NSPasteboardTypePDF"))
            image = PreviewPdf::renderFirstPage(data, box);
        if (!image.isNull() && (image.width() > box.width() || image.height() > box.height()))
            image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        *picture = image;
    }
    return text;
}

namespace {

// Where the search's name of a path (its last element without extension) stands in text, looked
// for from `from` on.
void addSearchedName(QList<TextRange> &ranges, const QString &text, const QString &path,
                     qsizetype from)
{
    const QString name =
        SearchTextFields::withoutExtension(SearchTextFields::lastPathElement(path));
    if (name.isEmpty())
        return;
    const qsizetype at = text.indexOf(name, from);
    if (at >= 0)
        ranges.append({at, name.size()});
}

// Keywords and comment, which the search reads whole, as the last lines of text.
void addSearchedLines(QList<TextRange> &ranges, const QString &text, const QVariantMap &record)
{
    qsizetype end = text.size();
    for (const QString &key : {KeyText, KeyKeywords}) {
        const QString value = string(record, key);
        if (value.isEmpty() || !QStringView(text).left(end).endsWith(value))
            continue;
        ranges.append({end - value.size(), value.size()});
        end -= value.size() + 1;
    }
}

SelectionPreviewContent buildContent(const QVariantMap &record, bool withPictures)
{
    using P = SelectionPreview;
    SelectionPreviewContent content;
    switch (kind(record)) {
    case KindApplication:
        content.text = P::applicationText(record);
        // The search reads the entry's file name, not the folders above it.
        addSearchedName(content.searched, content.text, string(record, KeyPath), 0);
        addSearchedLines(content.searched, content.text, record);
        if (content.searched.isEmpty())
            content.searched.append({0, 0});
        break;
    case KindFile:
    case KindPasteboardPath:
        content.text = P::fileText(record);
        addSearchedName(content.searched, content.text, string(record, KeyPath),
                        content.text.lastIndexOf(QLatin1Char('\n')) + 1);
        if (content.searched.isEmpty())
            content.searched.append({0, 0});
        break;
    case KindBookmark:
        content.text = P::bookmarkText(record);
        break;
    case KindContact:
        content.text = P::contactText(record);
        content.isContact = true;
        content.detailText = P::contactDetail(record);
        if (withPictures && contactPictureLookup())
            content.image = contactPictureLookup()(string(record, KeyUID));
        content.showEmailButton = !string(record, KeyEmail).trimmed().isEmpty();
        break;
    case KindNote:
    case KindProtectedNote:
        content.text = P::noteText(record);
        break;
    case KindStock:
        content.text = P::stockText(record);
        break;
    case KindClipboard:
        content.text = P::clipboardText(record, withPictures ? &content.image : nullptr);
        break;
    default:
        break;
    }
    return content;
}

} // namespace

SelectionPreviewContent SelectionPreview::build(const QVariantMap &record)
{
    return buildContent(record, true);
}

QString SelectionPreview::previewText(const QVariantMap &record)
{
    return buildContent(record, false).text;
}
