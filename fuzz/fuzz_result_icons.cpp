// The icons the desktop's search providers and runners send with their results: pixel data with
// the sizes its sender states, encoded image bytes, and GIO's string form of an icon. The first
// byte picks the reader; for pixel data the next 25 bytes are the stated layout (six 32-bit
// numbers and the alpha flag), the rest the data.
#include "ResultIcons.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv); // image plugins need an application; it lives on
    return 0;
}

namespace {

qint32 number(const uint8_t *data, int index)
{
    qint32 value = 0;
    std::memcpy(&value, data + 1 + index * 4, 4);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    switch (data[0] % 3) {
    case 0: {
        if (size < 26)
            return 0;
        ResultIcons::Pixels pixels;
        pixels.width = number(data, 0);
        pixels.height = number(data, 1);
        pixels.rowstride = number(data, 2);
        pixels.bitsPerSample = number(data, 3);
        pixels.channels = number(data, 4);
        pixels.hasAlpha = data[21] & 1;
        pixels.data = QByteArray(reinterpret_cast<const char *>(data + 26), qsizetype(size - 26));
        const QImage image = ResultIcons::decodePixels(pixels);
        if (!image.isNull()
            && (image.width() != pixels.width || image.height() != pixels.height
                || image.width() > ResultIcons::MaxSide || image.height() > ResultIcons::MaxSide))
            __builtin_trap();
        break;
    }
    case 1: {
        const QImage image = ResultIcons::decodeEncoded(rest);
        if (image.width() > ResultIcons::MaxSide || image.height() > ResultIcons::MaxSide)
            __builtin_trap();
        break;
    }
    default: {
        const ResultIcons::Icon icon = ResultIcons::fromString(QString::fromUtf8(rest));
        if (icon.names.size() > ResultIcons::MaxNames)
            __builtin_trap();
        for (const QString &name : icon.names)
            if (name.contains(QLatin1Char('/')) || name.isEmpty())
                __builtin_trap();
        if (!icon.file.isEmpty() && !icon.file.startsWith(QLatin1Char('/')))
            __builtin_trap();
        break;
    }
    }
    return 0;
}
