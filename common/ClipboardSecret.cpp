#include "ClipboardSecret.h"

#include "PasteboardContents.h"
#include "QOR_StringUtils.h"
#include "platform/SessionClipboard.h"

#include <QMimeData>

const QString ClipboardSecret::HintType = QStringLiteral("x-kde-passwordManagerHint");

namespace {

const QByteArray SecretValue = QByteArrayLiteral("secret");

// Some X11 owners end their values with a line break or a C string's terminating zero.
bool saysSecret(QByteArray value)
{
    while (value.endsWith('\0'))
        value.chop(1);
    return value.trimmed() == SecretValue;
}

} // namespace

bool ClipboardSecret::isSecret(const QMimeData *mime)
{
    return mime && mime->hasFormat(HintType) && saysSecret(mime->data(HintType));
}

bool ClipboardSecret::isSecret(const QVariantMap &contents)
{
    const auto found = contents.constFind(HintType);
    return found != contents.constEnd()
        && saysSecret(found->toMap().value(QStringLiteral("data")).toByteArray());
}

bool ClipboardSecret::isSecret(const QByteArray &packed)
{
    const std::optional<QVariantMap> contents = PasteboardContents::unpack(packed);
    return contents && isSecret(*contents);
}

bool ClipboardSecret::isOnClipboard()
{
    return isSecret(SessionClipboard::mimeData());
}

QVariantMap ClipboardSecret::mark()
{
    return {{QStringLiteral("data"), SecretValue}};
}

QString ClipboardSecret::maskedText()
{
    return QString(8, QChar(0x2022)) + QLatin1Char(' ')
        + QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("ClipboardSecret"));
}
