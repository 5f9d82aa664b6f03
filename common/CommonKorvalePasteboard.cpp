// The clipboard operations of CommonKorvaleClass.
#include "ClipboardSecret.h"
#include "CommonKorvaleClass.h"
#include "PasteboardContents.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard *clipboard()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        ? QGuiApplication::clipboard()
        : nullptr;
}

} // namespace

QByteArray CommonKorvaleClass::getPasteboardContents()
{
    QClipboard *board = clipboard();
    return PasteboardContents::capture(board ? board->mimeData() : nullptr);
}

// Nothing for a password manager's secret either: it is neither shown nor transformed.
std::optional<QString> CommonKorvaleClass::getStringFromPasteboard()
{
    QClipboard *board = clipboard();
    const QMimeData *mime = board ? board->mimeData() : nullptr;
    if (!mime || !mime->hasText() || ClipboardSecret::isSecret(mime))
        return std::nullopt;
    return mime->text();
}

bool CommonKorvaleClass::writeContentsToPasteBoard(const QByteArray &packed)
{
    QClipboard *board = clipboard();
    if (!board)
        return false;
    QMimeData *mime = PasteboardContents::toMimeData(packed);
    if (!mime)
        return false;
    board->setMimeData(mime);
    return true;
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
    if (QClipboard *board = clipboard()) {
        auto *mime = new QMimeData;
        mime->setText(text);
        board->setMimeData(mime);
    }
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
