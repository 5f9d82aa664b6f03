// Clipboard contents come from any program on the desktop, and packed contents from
// "Clipboard.krvdata": both are captured, unpacked and written back.
#include "ClipboardList.h"
#include "ClipboardOffer.h"
#include "ClipboardSecret.h"
#include "CommonKorvaleClass.h"
#include "PasteboardContents.h"
#include "QOR_DataUtils.h"

#include <QGuiApplication>
#include <QMimeData>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// The formats other programs offer that the capture and the offer read.
const char *const OfferedFormats[] = {"text/plain", "text/plain;charset=utf-8", "text/html",
                                      "text/uri-list", "image/png", "image/tiff", "application/pdf",
                                      "text/rtf", "application/rtf", "application/x-color",
                                      "x-kde-passwordManagerHint"};

void usePacked(const QByteArray &packed)
{
    // What the manager's rows and korvale-clipboard show of a stored entry.
    ClipboardList::textOf(ClipboardList::makeEntry(QStringLiteral("x"), packed));
    ClipboardSecret::isSecret(packed);
    if (const std::optional<QVariantMap> contents = PasteboardContents::unpack(packed)) {
        ClipboardSecret::isSecret(*contents);
        PasteboardContents::preferredType(*contents);
        CommonKorvaleClass::getContentsFrom(packed);
        const std::unique_ptr<QMimeData> mime(PasteboardContents::toMimeData(packed));
        for (int tag = 1; tag <= 4; ++tag)
            PasteboardContents::transformText(contents->value(PasteboardContents::TypeString).toMap()
                                                  .value(QStringLiteral("string")).toString(),
                                              tag);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv); // lives as long as the process
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    switch (data[0] % 3) {
    case 0: { // a foreign program's clipboard, under one of the formats it may offer
        QMimeData mime;
        mime.setData(QString::fromLatin1(OfferedFormats[(data[0] / 3) % std::size(OfferedFormats)]), bytes);
        ClipboardSecret::isSecret(&mime);
        ClipboardOffer::build(&mime);
        usePacked(PasteboardContents::capture(&mime));
        break;
    }
    case 1: // a stored entry as it is on disk
        usePacked(bytes);
        break;
    case 2: // an archive that decompresses, so that decoding is reached
        usePacked(QOR_DataUtils::compressedData(bytes));
        break;
    }
    return 0;
}
