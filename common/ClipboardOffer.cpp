#include "ClipboardOffer.h"

#include "ClipboardSecret.h"
#include "PasteboardContents.h"
#include "QOR_StringUtils.h"
#include "platform/SessionClipboard.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

QVariantList ClipboardOffer::build()
{
    return build(SessionClipboard::mimeData());
}

QVariantList ClipboardOffer::build(const QMimeData *mime)
{
    if (mime && mime->hasUrls()) {
        for (const QUrl &url : mime->urls()) {
            if (!url.isLocalFile())
                continue;
            const QString path = url.toLocalFile();
            return {QVariantMap{{QStringLiteral("x"), 10},
                                {QStringLiteral("T"), QFileInfo(path).fileName()},
                                {QStringLiteral("P"), path}}};
        }
    }
    const auto entry = [](const QString &titleKey, const QByteArray &packed) {
        return QVariantMap{
            {QStringLiteral("x"), 9},
            {QStringLiteral("T"), QOR_StringUtils::getLocalizedStringForKey(titleKey)},
            {QStringLiteral("cb"), packed}};
    };
    const QByteArray packed = PasteboardContents::capture(mime);
    QVariantList offer{entry(KORVALE_KEY("Clipboard"), packed)};

    const std::optional<QVariantMap> contents = PasteboardContents::unpack(packed);
    // A password is offered whole, to be put back with its mark, and never shown: its variants
    // would show it and drop the mark.
    if (contents && ClipboardSecret::isSecret(*contents))
        return offer;
    const QVariantMap text =
        contents ? contents->value(PasteboardContents::TypeString).toMap() : QVariantMap();
    if (!text.contains(QStringLiteral("string")))
        return offer;
    const QString string = text.value(QStringLiteral("string")).toString();
    const QString keys[] = {KORVALE_KEY("PlainText"), KORVALE_KEY("UpperCaseText"),
                            KORVALE_KEY("LowerCaseText"), KORVALE_KEY("CapitalizedText")};
    for (int tag = 1; tag <= 4; ++tag) {
        const QVariantMap only{{PasteboardContents::TypeString,
                                QVariantMap{{QStringLiteral("string"),
                                             PasteboardContents::transformText(string, tag)}}}};
        offer << entry(keys[tag - 1], PasteboardContents::pack(only));
    }
    return offer;
}
