#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

class QMimeData;

// Packed contents: a clipboard snapshot as a dictionary from type name to {"data": bytes,
// "string": text}, archive-encoded and zlib-compressed. The type names are the fourteen stored
// names of the suite; each is read from and written to one MIME type of the Linux clipboard
// (docs/clipboard.md).
class PasteboardContents
{
public:
    PasteboardContents() = delete;

    static const QString TypeString;
    static const QString TypePDF;
    static const QString TypeTIFF;
    static const QString TypePNG;
    static const QString TypeRTF;
    static const QString TypeRTFD;
    static const QString TypeHTML;

    // The capture set, in a fixed order.
    static const QStringList &captureSet();
    // The MIME type a stored type is read from and written to; empty outside the capture set.
    static QString mimeTypeForPasteboardType(const QString &type);

    // Always a blob, possibly of an empty dictionary.
    static QByteArray capture(const QMimeData *mime);
    static QByteArray pack(const QVariantMap &contents);
    // Nothing for an absent blob or one that does not decode to a dictionary.
    static std::optional<QVariantMap> unpack(const QByteArray &packed);
    // A new clipboard content for the blob; nullptr when nothing decodes.
    static QMimeData *toMimeData(const QByteArray &packed);

    // 1 unchanged, 2 upper case, 3 lower case, 4 each word capitalised (words as Unicode cuts
    // them: "don't" is one word, "hello-world" two); other tags unchanged.
    static QString transformText(const QString &text, int tag);
    // The preferred representation's type, or empty.
    static QString preferredType(const QVariantMap &contents);
    // A short code per type ("STR", "PNG"), for tools and scripts.
    static QString labelForPasteboardType(const QString &type);
    // What the content is, in the user's words ("Text", "PNG picture"); a MIME type by its
    // description; "Unknown type" for anything else.
    static QString descriptionForPasteboardType(const QString &type);
};
