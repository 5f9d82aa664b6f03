#include "PdfModuleInterface.h"

#include <poppler-qt6.h>

#include <algorithm>
#include <memory>

namespace {

QImage render(Poppler::Document *document, int page, const QSize &size)
{
    if (!document || document->isLocked() || page < 0 || page >= document->numPages()
        || size.isEmpty())
        return {};
    const std::unique_ptr<Poppler::Page> pdfPage(document->page(page));
    if (!pdfPage)
        return {};
    const QSizeF points = pdfPage->pageSizeF();
    if (points.isEmpty())
        return {};
    // Resolution that makes the page fit the box; 72 points make one inch.
    const double scale = std::min(size.width() / points.width(), size.height() / points.height());
    const double dpi = std::clamp(72.0 * scale, 1.0, 600.0);
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    return pdfPage->renderToImage(dpi, dpi);
}

int pageCount(const QByteArray &data)
{
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(data);
    return document && !document->isLocked() ? document->numPages() : 0;
}

QImage renderPage(const QByteArray &data, int page, const QSize &size)
{
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(data);
    return render(document.get(), page, size);
}

QImage renderFirstPage(const QByteArray &data, const QSize &size)
{
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(data);
    return render(document.get(), 0, size);
}

constexpr PdfModuleFunctions Functions{&pageCount, &renderPage, &renderFirstPage};

} // namespace

extern "C" __attribute__((visibility("default"))) const PdfModuleFunctions *korvalePdfModule()
{
    return &Functions;
}
