#include "ResultIcons.h"

#include "AnswerRecord.h"
#include "BoundedFile.h"

#include <QBuffer>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QImageReader>
#include <QUrl>

#include <cstring>

namespace ResultIcons {

namespace {

const QString KeyIcon = QStringLiteral("icon");
const QString KeyGIcon = QStringLiteral("gicon");
const QString KeyIconData = QStringLiteral("icon-data");

bool isThemeName(const QString &name)
{
    return !name.isEmpty() && name.size() <= MaxNameLength && !name.contains(QLatin1Char('/'))
        && !name.startsWith(QLatin1Char('.'));
}

QStringList themeNames(const QStringList &names)
{
    QStringList kept;
    for (const QString &name : names) {
        if (kept.size() >= MaxNames)
            break;
        if (isThemeName(name))
            kept.append(name);
    }
    return kept;
}

// A local path from a path or a file: address; nothing for any other address.
QString localFile(const QString &text)
{
    if (text.startsWith(QLatin1Char('/')))
        return text;
    if (text.startsWith(QLatin1String("file://"))) {
        const QUrl url(text, QUrl::StrictMode);
        if (url.isValid() && url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

QImage bounded(QImage image)
{
    if (image.isNull())
        return {};
    if (image.width() > MaxSide || image.height() > MaxSide)
        image = image.scaled(MaxSide, MaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

// Any image Qt reads, its stated size checked before anything is allocated for it, and read
// scaled down to MaxSide.
QImage decodeImage(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxEncodedSide || size.height() > MaxEncodedSide)
        return {};
    if (size.width() > MaxSide || size.height() > MaxSide)
        reader.setScaledSize(size.scaled(MaxSide, MaxSide, Qt::KeepAspectRatio));
    return bounded(reader.read());
}

} // namespace

std::optional<Pixels> pixelsFrom(const QVariant &value)
{
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("(iiibiiay)"))
        return std::nullopt;
    Pixels pixels;
    argument.beginStructure();
    argument >> pixels.width >> pixels.height >> pixels.rowstride >> pixels.hasAlpha
        >> pixels.bitsPerSample >> pixels.channels >> pixels.data;
    argument.endStructure();
    return pixels;
}

QImage decodePixels(const Pixels &pixels)
{
    if (pixels.bitsPerSample != 8 || (pixels.channels != 3 && pixels.channels != 4)
        || pixels.hasAlpha != (pixels.channels == 4))
        return {};
    if (pixels.width < 1 || pixels.height < 1 || pixels.width > MaxSide || pixels.height > MaxSide)
        return {};
    const qint64 rowBytes = qint64(pixels.width) * pixels.channels;
    const qint64 rowstride = pixels.rowstride;
    // A row never overlaps the next, and no row reaches past the data; sizes are in 64 bits so
    // that nothing a sender states can wrap.
    if (rowstride < rowBytes || rowstride > qint64(MaxSide) * 4 * 4)
        return {};
    if (rowstride * (pixels.height - 1) + rowBytes > qint64(pixels.data.size()))
        return {};
    QImage image(pixels.width, pixels.height,
                 pixels.channels == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (image.isNull())
        return {};
    const char *data = pixels.data.constData();
    for (int y = 0; y < pixels.height; ++y)
        std::memcpy(image.scanLine(y), data + rowstride * y, std::size_t(rowBytes));
    return image;
}

QImage decodeEncoded(const QByteArray &bytes)
{
    if (bytes.size() > MaxEncodedBytes)
        return {};
    return decodeImage(bytes);
}

Icon fromString(const QString &text)
{
    Icon icon;
    if (text.isEmpty() || text.size() > 4096)
        return icon;
    if (text.startsWith(QLatin1String(". GThemedIcon "))) {
        QStringList names;
        for (const QString &token : text.mid(14).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            names.append(QUrl::fromPercentEncoding(token.toUtf8()));
        icon.names = themeNames(names);
    } else if (text.startsWith(QLatin1String(". GFileIcon "))) {
        icon.file = localFile(QUrl::fromPercentEncoding(text.mid(12).trimmed().toUtf8()));
    } else if (const QString file = localFile(text); !file.isEmpty()) {
        icon.file = file;
    } else {
        icon.names = themeNames({text});
    }
    return icon;
}

Icon fromSerialized(const QVariant &value)
{
    if (value.userType() == QMetaType::QString)
        return fromString(value.toString());
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return {};
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("(sv)"))
        return {};
    QString kind;
    QDBusVariant inner;
    argument.beginStructure();
    argument >> kind >> inner;
    argument.endStructure();
    const QVariant payload = inner.variant();
    Icon icon;
    if (kind == QLatin1String("themed") && payload.userType() == QMetaType::QStringList)
        icon.names = themeNames(payload.toStringList());
    else if (kind == QLatin1String("file") && payload.userType() == QMetaType::QString)
        icon.file = localFile(payload.toString());
    else if (kind == QLatin1String("bytes") && payload.userType() == QMetaType::QByteArray)
        icon.image = decodeEncoded(payload.toByteArray());
    return icon;
}

Icon forProviderMeta(const QVariantMap &meta)
{
    if (meta.contains(KeyIcon)) {
        Icon icon = fromSerialized(meta.value(KeyIcon));
        if (!icon.isEmpty())
            return icon;
    }
    if (meta.contains(KeyGIcon)) {
        Icon icon = fromString(meta.value(KeyGIcon).toString());
        if (!icon.isEmpty())
            return icon;
    }
    Icon icon;
    if (const std::optional<Pixels> pixels = pixelsFrom(meta.value(KeyIconData)))
        icon.image = decodePixels(*pixels);
    return icon;
}

Icon forRunnerMatch(const QString &iconName, const QVariantMap &properties)
{
    Icon icon;
    if (const std::optional<Pixels> pixels = pixelsFrom(properties.value(KeyIconData)))
        icon.image = decodePixels(*pixels);
    if (icon.image.isNull())
        icon = fromString(iconName);
    return icon;
}

QImage readFile(const QString &path)
{
    const BoundedFile::Result read = BoundedFile::read(path, BoundedFile::Limit::ApplicationIcon);
    return read.isRead() ? decodeImage(read.bytes) : QImage();
}

void putOn(QVariantMap &row, const Icon &icon)
{
    QImage image = icon.image;
    if (image.isNull() && !icon.file.isEmpty())
        image = readFile(icon.file);
    if (!image.isNull())
        row.insert(AnswerRecord::KeyResultImage, image);
    else if (!icon.names.isEmpty())
        row.insert(AnswerRecord::KeyResultIconNames, icon.names);
}

} // namespace ResultIcons
