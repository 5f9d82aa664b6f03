#include "ClipboardView.h"

#include "ClipboardList.h"
#include "ClipboardSecret.h"
#include "CommonKorvaleClass.h"
#include "PasteboardContents.h"
#include "QOR_StringUtils.h"

#include <QImage>
#include <QPainter>

namespace {

bool isImageType(const QString &type)
{
    return type == PasteboardContents::TypePNG || type == PasteboardContents::TypePDF
        || type == PasteboardContents::TypeTIFF;
}

} // namespace

ClipboardView::ClipboardView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("clipboardPreview"));
    setMinimumSize(200, 120);
    mShown = describe(std::nullopt);
}

ClipboardView::Shown ClipboardView::describe(const std::optional<QByteArray> &packed)
{
    Shown shown;
    if (!packed) {
        shown.messageKey = KORVALE_KEY("ClipboardEmpty");
        return shown;
    }
    const std::optional<QVariantMap> contents = PasteboardContents::unpack(*packed);
    if (contents && ClipboardSecret::isSecret(*contents)) {
        shown.text = ClipboardSecret::maskedText();
        return shown;
    }
    const QString type = contents ? PasteboardContents::preferredType(*contents) : QString();
    if (type.isEmpty()) {
        shown.messageKey = KORVALE_KEY("ClipboardUnknowType");
        return shown;
    }
    shown.label = PasteboardContents::descriptionForPasteboardType(type);
    if (isImageType(type)) {
        // PDF is drawn by the agent's preview; here Qt's image readers decide.
        shown.image = QImage::fromData(
            contents->value(type).toMap().value(QStringLiteral("data")).toByteArray());
        if (shown.image.isNull())
            shown.messageKey = KORVALE_KEY("ClipboardNoImageRep");
        return shown;
    }
    // RTF and its kin may come as bytes only: their plain text stands for them.
    shown.text = ClipboardList::plainText(*contents);
    if (shown.text.isEmpty())
        shown.messageKey = KORVALE_KEY("ClipboardUnknowType");
    return shown;
}

void ClipboardView::setPasteboard(const std::optional<QByteArray> &packed)
{
    mPacked = packed ? *packed : CommonKorvaleClass::getPasteboardContents();
    mShown = describe(mPacked);
    update();
}

void ClipboardView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor::fromRgbF(0.8, 0.8, 0.8));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect inside = rect().adjusted(6, 6, -6, -6);

    QFont labelFont = font();
    labelFont.setPointSizeF(10);
    const int labelHeight = QFontMetrics(labelFont).height();
    const QRect body = inside.adjusted(0, 0, 0, mShown.label.isEmpty() ? 0 : -labelHeight);
    if (!mShown.label.isEmpty()) {
        painter.setFont(labelFont);
        painter.setPen(Qt::gray);
        painter.drawText(inside, Qt::AlignBottom | Qt::AlignRight, mShown.label);
    }

    if (!mShown.messageKey.isEmpty()) {
        painter.setPen(Qt::gray);
        painter.setFont(font());
        painter.drawText(body, Qt::AlignCenter | Qt::TextWordWrap,
                         QOR_StringUtils::getLocalizedStringForKey(mShown.messageKey));
        return;
    }
    if (!mShown.image.isNull()) {
        const QSize size = mShown.image.size().boundedTo(body.size()) == mShown.image.size()
            ? mShown.image.size()
            : mShown.image.size().scaled(body.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(body.center());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, mShown.image);
        return;
    }
    QFont textFont = font();
    textFont.setPointSizeF(13);
    painter.setFont(textFont);
    painter.setPen(Qt::black);
    painter.setClipRect(body);
    painter.drawText(body, Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, mShown.text);
}
