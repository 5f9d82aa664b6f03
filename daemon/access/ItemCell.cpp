#include "ItemCell.h"

#include "AccessIcons.h"
#include "AnswerRecord.h"
#include "ClipboardSecret.h"
#include "CommonKorvaleClass.h"
#include "DesktopIcons.h"
#include "FoundItemsModel.h"
#include "ItemRecord.h"
#include "PreviewPdf.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

using namespace ItemRecord;

namespace {

constexpr int Margin = 8;
constexpr int TextGap = 8;
constexpr int ArrowSize = 14;

QString fileName(const QString &path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    return QFileInfo(trimmed).fileName();
}

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

QString kindImageName(int kind)
{
    switch (kind) {
    case KindBookmark:
    case KindStock:
        return QStringLiteral("icon_URL_2");
    case KindContact:
        return QStringLiteral("icon_Person_2");
    case KindNote:
        return QStringLiteral("icon_Note_2");
    case KindProtectedNote:
        return QStringLiteral("icon_NoteProtected_2");
    case KindClipboard:
        return QStringLiteral("icon_Clipboard_2");
    default:
        return {};
    }
}

} // namespace

ItemCell::ItemCell(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

void ItemCell::useDesktopIconTheme()
{
    DesktopIcons::useDesktopIconTheme();
}

QIcon ItemCell::desktopIcon(const QStringList &names)
{
    return DesktopIcons::themed(names);
}

bool ItemCell::hasFloatingMenu(int kind)
{
    return kind == KindApplication || kind == KindFile || kind == KindPasteboardPath
        || kind == KindClipboard;
}

bool ItemCell::isPathKind(int kind)
{
    return kind == KindApplication || kind == KindFile || kind == KindPasteboardPath;
}

QString ItemCell::titleFor(const QVariantMap &record)
{
    const QString title = string(record, KeyTitle);
    if (!title.isEmpty())
        return oneLine(title);
    const int kind = ItemRecord::kind(record);
    if (isPathKind(kind))
        return fileName(string(record, KeyPath));
    if (kind == KindBookmark)
        return string(record, KeyAddress);
    return {};
}

QString ItemCell::secondLineFor(const QVariantMap &record)
{
    switch (kind(record)) {
    case KindBookmark:
        return string(record, KeyTitle).isEmpty() ? QString() : string(record, KeyAddress);
    case KindContact:
        return oneLine(string(record, KeyPhone)).simplified();
    case KindNote:
    case KindProtectedNote:
        return oneLine(string(record, KeyText));
    case KindStock: {
        const QStringList fields = string(record, KeyValLast).split(QLatin1Char(','));
        return fields.size() > 1 ? fields.at(1).trimmed() : QString();
    }
    case KindAnswer:
        return oneLine(string(record, KeyText));
    case KindClipboard:
        return oneLine(clipboardSummary(record.value(KeyClipboardContents).toByteArray()).text)
            .simplified();
    default:
        return {};
    }
}

ItemCell::ClipboardSummary ItemCell::clipboardSummary(const QByteArray &packed)
{
    if (packed.isEmpty())
        return {};
    // Rows are painted again and again; unpacking is not cheap. The cache holds the packed bytes
    // themselves, so the address that keys an entry cannot be reused while the entry lives.
    struct Entry {
        QByteArray packed;
        ClipboardSummary summary;
    };
    static QHash<const char *, Entry> cache;
    const auto found = cache.constFind(packed.constData());
    if (found != cache.constEnd() && found->packed.size() == packed.size())
        return found->summary;

    ClipboardSummary summary;
    if (ClipboardSecret::isSecret(packed)) {
        summary.text = ClipboardSecret::maskedText();
        return summary;
    }
    const QVariantMap contents = CommonKorvaleClass::getContentsFrom(packed);
    summary.text = contents.value(QStringLiteral("string")).toString();
    const QString type = contents.value(QStringLiteral("key")).toString();
    const QByteArray data = contents.value(QStringLiteral("data")).toByteArray();
    const QSize thumbnail(IconSize * 2, IconSize * 2);
    if (type == QLatin1String("NSPasteboardTypePNG")
        || type == QLatin1String("NSPasteboardTypeTIFF")) {
        const QImage image = QImage::fromData(data);
        if (!image.isNull())
            summary.picture =
                image.scaled(thumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    } else if (type == QLatin1String("NSPasteboardTypePDF")) {
        summary.picture = PreviewPdf::renderFirstPage(data, thumbnail);
    }
    if (cache.size() > 256)
        cache.clear();
    cache.insert(packed.constData(), Entry{packed, summary});
    return summary;
}

QIcon ItemCell::iconForPath(const QString &path, int kind)
{
    return kind == KindApplication && path.endsWith(QLatin1String(".desktop"))
        ? DesktopIcons::forApplication(path)
        : DesktopIcons::forPath(path);
}

namespace {
std::function<QIcon(const QString &)> &faviconLookup()
{
    static std::function<QIcon(const QString &)> lookup;
    return lookup;
}
} // namespace

void ItemCell::setFaviconLookup(std::function<QIcon(const QString &address)> lookup)
{
    faviconLookup() = std::move(lookup);
}

QIcon ItemCell::iconFor(const QVariantMap &record)
{
    const int kind = ItemRecord::kind(record);
    if (kind == KindBookmark && faviconLookup()) {
        const QIcon favicon = faviconLookup()(record.value(QStringLiteral("U")).toString());
        if (!favicon.isNull())
            return favicon;
    }
    if (isPathKind(kind))
        return iconForPath(string(record, KeyPath), kind);
    if (kind == KindAnswer) {
        // A row of the desktop's search shows the result's own icon (decoded and bounded when
        // it came), else its application's: a name or a file.
        QImage image = record.value(AnswerRecord::KeyResultImage).value<QImage>();
        // A small picture fills the icon's place, as the desktop's own search draws it.
        if (!image.isNull() && image.width() < IconSize && image.height() < IconSize)
            image = image.scaled(IconSize, IconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (!image.isNull())
            return QIcon(QPixmap::fromImage(image));
        const QStringList names = record.value(AnswerRecord::KeyResultIconNames).toStringList();
        if (!names.isEmpty()) {
            const QIcon themed = DesktopIcons::themed(names);
            if (!themed.isNull())
                return themed;
        }
    }
    if (kind == KindAnswer && record.contains(AnswerRecord::KeyIcon)) {
        const QString icon = string(record, AnswerRecord::KeyIcon);
        const QIcon shown = icon.startsWith(QLatin1Char('/')) ? DesktopIcons::fromFile(icon)
                                                              : DesktopIcons::themed({icon});
        if (!shown.isNull())
            return shown;
    }
    const QString name = kindImageName(kind);
    return name.isEmpty() ? QIcon() : AccessIcons::icon(name);
}

QSize ItemCell::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width() > 0 ? option.rect.width() : 200, RowHeight);
}

void ItemCell::paint(QPainter *painter, const QStyleOptionViewItem &option,
                     const QModelIndex &index) const
{
    const QVariantMap record = index.data(FoundItemsModel::RecordRole).toMap();
    const int kind = ItemRecord::kind(record);
    const QRect rect = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &palette = option.palette;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (selected) {
        const bool active = option.state & QStyle::State_Active;
        QColor top =
            palette.color(active ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
        QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
        gradient.setColorAt(0, top.lighter(118));
        gradient.setColorAt(1, top.darker(112));
        QPainterPath path;
        path.addRoundedRect(QRectF(rect).adjusted(2, 1, -2, -1), 5, 5);
        painter->fillPath(path, gradient);
    }

    // The icon, or the copied picture of a clipboard entry.
    const QRect iconRect(rect.left() + Margin, rect.top() + (rect.height() - IconSize) / 2,
                         IconSize, IconSize);
    QImage picture;
    if (kind == KindClipboard)
        picture = clipboardSummary(record.value(KeyClipboardContents).toByteArray()).picture;
    if (!picture.isNull()) {
        const QSize size = picture.size().scaled(iconRect.size(), Qt::KeepAspectRatio);
        const QRect target(iconRect.center() - QPoint(size.width() / 2, size.height() / 2), size);
        painter->drawImage(target, picture);
    } else {
        iconFor(record).paint(painter, iconRect, Qt::AlignCenter, QIcon::Normal);
    }

    int textRight = rect.right() - Margin;
    if (hasFloatingMenu(kind)) {
        const QRect arrowRect(rect.right() - Margin - ArrowSize,
                              rect.top() + (rect.height() - ArrowSize) / 2, ArrowSize, ArrowSize);
        // On the selection the arrow takes the variant drawn for the highlight's brightness.
        const QColor behind =
            selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base);
        const auto theme =
            behind.lightness() < 150 ? AccessIcons::Theme::Dark : AccessIcons::Theme::Light;
        AccessIcons::icon(QStringLiteral("icon_Arrow"), theme)
            .paint(painter, arrowRect, Qt::AlignCenter, QIcon::Normal);
        textRight = arrowRect.left() - TextGap;
    }

    const int textLeft = iconRect.right() + 1 + TextGap;
    const int textWidth = std::max(0, textRight - textLeft);
    const QColor textColor = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    QColor secondColor = textColor;
    secondColor.setAlphaF(selected ? 0.85f : 0.6f);

    QFont titleFont = option.font;
    QFont secondFont = option.font;
    secondFont.setPointSizeF(option.font.pointSizeF() > 0 ? option.font.pointSizeF() * 0.85 : 9);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics secondMetrics(secondFont);
    const QString title = titleMetrics.elidedText(titleFor(record), Qt::ElideMiddle, textWidth);
    const QString second =
        secondMetrics.elidedText(secondLineFor(record), Qt::ElideRight, textWidth);

    painter->setPen(textColor);
    painter->setFont(titleFont);
    if (second.isEmpty()) {
        painter->drawText(QRect(textLeft, rect.top(), textWidth, rect.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, title);
    } else {
        const int block = titleMetrics.height() + secondMetrics.height();
        const int top = rect.top() + (rect.height() - block) / 2;
        painter->drawText(QRect(textLeft, top, textWidth, titleMetrics.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, title);
        painter->setFont(secondFont);
        painter->setPen(secondColor);
        painter->drawText(
            QRect(textLeft, top + titleMetrics.height(), textWidth, secondMetrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, second);
    }
    painter->restore();
}
