#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

class QMimeData;

// Password managers (KeePassXC, KDE's programs) mark what they copy with the type
// "x-kde-passwordManagerHint" holding "secret". Such a password is never kept as a clipboard
// entry, never written to a file or the log, and never shown. A capture keeps the mark in the
// packed contents, under the hint's own name, so the rule can be asked of a blob as well as of the
// clipboard, and writing the blob back offers the mark again.
class ClipboardSecret
{
public:
    ClipboardSecret() = delete;

    static const QString HintType;

    static bool isSecret(const QMimeData *mime);
    // Unpacked contents.
    static bool isSecret(const QVariantMap &contents);
    static bool isSecret(const QByteArray &packed);
    // The general clipboard (main thread); false without a clipboard.
    static bool isOnClipboard();

    // The mark as packed contents hold it.
    static QVariantMap mark();
    // What is shown in place of the secret: bullets, and a word saying whose secret it is.
    static QString maskedText();
};
