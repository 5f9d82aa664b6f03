// What a web site answers for its favicon: a home page searched for its icon link, and the bytes
// checked as an image by every decoder Qt has.
#include "Favicons.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv); // image plugins need an application; it lives on
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString base = QStringLiteral("https://site.example/");
    if (const std::optional<QString> icon = Favicons::iconAddress(QString::fromUtf8(bytes), base)) {
        if (icon->contains(QLatin1Char('"')))
            __builtin_trap();
    }
    // The whole fetch with every answer being these bytes.
    Favicons::fetchIcon(QStringLiteral("https://site.example/page"),
                        [&bytes](const QUrl &) { return std::optional<QByteArray>(bytes); });
    return 0;
}
