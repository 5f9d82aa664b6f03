// The clipboard operations of CommonKorvaleClass.
#include "ClipboardSecret.h"
#include "CommonKorvaleClass.h"
#include "PasteboardContents.h"

#include "platform/SessionClipboard.h"

#include <QMimeData>

QByteArray CommonKorvaleClass::getPasteboardContents()
{
    return PasteboardContents::capture(SessionClipboard::mimeData());
}

// Nothing for a password manager's secret either: it is neither shown nor transformed.
std::optional<QString> CommonKorvaleClass::getStringFromPasteboard()
{
    const QMimeData *mime = SessionClipboard::mimeData();
    if (!mime || !mime->hasText() || ClipboardSecret::isSecret(mime))
        return std::nullopt;
    return mime->text();
}

bool CommonKorvaleClass::writeContentsToPasteBoard(const QByteArray &packed)
{
    QMimeData *mime = PasteboardContents::toMimeData(packed);
    return mime && SessionClipboard::setMimeData(mime);
}

std::optional<QVariantMap> CommonKorvaleClass::getAllContentsFrom(const QByteArray &packed)
{
    return PasteboardContents::unpack(packed);
}

QVariantMap CommonKorvaleClass::getContentsFrom(const QByteArray &packed)
{
    const std::optional<QVariantMap> contents = PasteboardContents::unpack(packed);
    if (!contents)
        return {};
    const QString type = PasteboardContents::preferredType(*contents);
    if (type.isEmpty())
        return {};
    QVariantMap result = contents->value(type).toMap();
    result.insert(QStringLiteral("key"), type);
    return result;
}

QString CommonKorvaleClass::getTypeForPasteboardType(const QString &type)
{
    return PasteboardContents::labelForPasteboardType(type);
}

void CommonKorvaleClass::copyPlainTextToPasteboard(const QString &text)
{
    auto *mime = new QMimeData;
    mime->setText(text);
    SessionClipboard::setMimeData(mime);
}

bool CommonKorvaleClass::pasteTextClipboard(int tag)
{
    if (tag <= 0)
        return false;
    const std::optional<QString> text = getStringFromPasteboard();
    if (!text || text->isEmpty())
        return false;
    copyPlainTextToPasteboard(PasteboardContents::transformText(*text, tag));
    return true;
}
