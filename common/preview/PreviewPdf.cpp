#include "PreviewPdf.h"

#include "PdfModuleInterface.h"
#include "SuiteModule.h"

namespace {

// Loaded once, on the first PDF, and kept.
const PdfModuleFunctions *module()
{
    static const PdfModuleFunctions *const functions = []() -> const PdfModuleFunctions * {
#ifdef KORVALE_HAVE_POPPLER
        if (const auto entry = reinterpret_cast<PdfModuleEntry>(
                SuiteModule::entry(QStringLiteral("libkorvale-pdf.so"), KORVALE_PDF_MODULE_ENTRY)))
            return entry();
#endif
        return nullptr;
    }();
    return functions;
}

} // namespace

bool PreviewPdf::isAvailable()
{
    return module() != nullptr;
}

int PreviewPdf::pageCount(const QByteArray &data)
{
    const PdfModuleFunctions *functions = module();
    return functions ? functions->pageCount(data) : 0;
}

QImage PreviewPdf::renderPage(const QByteArray &data, int page, const QSize &size)
{
    const PdfModuleFunctions *functions = module();
    return functions ? functions->renderPage(data, page, size) : QImage();
}

QImage PreviewPdf::renderFirstPage(const QByteArray &data, const QSize &size)
{
    const PdfModuleFunctions *functions = module();
    return functions ? functions->renderFirstPage(data, size) : QImage();
}
