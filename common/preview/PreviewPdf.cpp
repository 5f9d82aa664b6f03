#include "PreviewPdf.h"

#ifdef KORVALE_HAVE_POPPLER
#include <poppler-qt6.h>

#include <algorithm>
#include <memory>
#endif

#ifdef KORVALE_HAVE_POPPLER
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

} // namespace
#endif

bool PreviewPdf::isAvailable()
{
#ifdef KORVALE_HAVE_POPPLER
    return true;
#else
    return false;
#endif
}

int PreviewPdf::pageCount([[maybe_unused]] const QString &path)
{
#ifdef KORVALE_HAVE_POPPLER
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    return document && !document->isLocked() ? document->numPages() : 0;
#else
    return 0;
#endif
}

QImage PreviewPdf::renderPage([[maybe_unused]] const QString &path, [[maybe_unused]] int page,
                              [[maybe_unused]] const QSize &size)
{
#ifdef KORVALE_HAVE_POPPLER
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    return render(document.get(), page, size);
#else
    return {};
#endif
}

QImage PreviewPdf::renderFirstPage([[maybe_unused]] const QByteArray &data,
                                   [[maybe_unused]] const QSize &size)
{
#ifdef KORVALE_HAVE_POPPLER
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(data);
    return render(document.get(), 0, size);
#else
    return {};
#endif
}
