#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// The pictures the desktop's providers and runners send with their results, made into what a
// row shows: theme names, or an image decoded here. Everything in them comes from another
// program: pixel data is checked against its stated sizes before a byte is read, encoded images
// and files are bounded in size and dimensions, and every image is copied into one of ours.
namespace ResultIcons {

// The largest pixel data taken, per side; a row draws 24 pixels.
inline constexpr int MaxSide = 256;
// The largest encoded image ('bytes' icon) read, and the largest it may say it is per side
// before it is scaled down to MaxSide.
inline constexpr qsizetype MaxEncodedBytes = 1024 * 1024;
inline constexpr int MaxEncodedSide = 1024;
// Theme names kept per icon, and their length.
inline constexpr int MaxNames = 8;
inline constexpr int MaxNameLength = 255;

// GdkPixbuf's layout, as the D-Bus structure (iiibiiay) carries it.
struct Pixels {
    int width = 0;
    int height = 0;
    int rowstride = 0;
    bool hasAlpha = false;
    int bitsPerSample = 0;
    int channels = 0;
    QByteArray data;
};

// What an icon names before anything is read: theme names, a local file, or an image already.
struct Icon {
    QStringList names;
    QString file;
    QImage image;
    bool isEmpty() const { return names.isEmpty() && file.isEmpty() && image.isNull(); }
};

// The (iiibiiay) structure in a reply's value; nothing when it has another signature.
std::optional<Pixels> pixelsFrom(const QVariant &value);
// Null unless 8 bits per sample, 3 channels without alpha or 4 with, 1..MaxSide per side, and
// every row inside the data (the last one may end without its padding, as GdkPixbuf's may).
QImage decodePixels(const Pixels &pixels);
// A PNG, SVG or other image's bytes: null past MaxEncodedBytes or MaxEncodedSide; scaled down to
// MaxSide.
QImage decodeEncoded(const QByteArray &bytes);

// GIO's string form of an icon (a provider's "gicon"): a theme name, a path or file: address,
// ". GThemedIcon name..." or ". GFileIcon address".
Icon fromString(const QString &text);
// g_icon_serialize's form (a provider's "icon"): ('themed', <['name', ...]>), ('file',
// <'address'>), ('bytes', <[byte ...]>), or a plain string as above.
Icon fromSerialized(const QVariant &value);

// A provider's result meta: "icon", else "gicon", else "icon-data", as GNOME Shell tries them.
Icon forProviderMeta(const QVariantMap &meta);
// A runner's match: its "icon-data" property, else its icon name.
Icon forRunnerMatch(const QString &iconName, const QVariantMap &properties);

// The file's image, read through BoundedFile (a regular file, at most the limit for an
// application's icon), decoded as encoded bytes are.
QImage readFile(const QString &path);

// The icon put on a row (AnswerRecord's result icon keys), its file read; the row's own icon,
// the application's, stays as the fallback.
void putOn(QVariantMap &row, const Icon &icon);

} // namespace ResultIcons
