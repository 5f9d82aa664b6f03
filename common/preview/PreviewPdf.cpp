#include "PreviewPdf.h"

#include "PdfModuleInterface.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace {

// Beside the program (the build tree), in the bundle's lib/korvale (the installer's folder, a
// /usr/local prefix), then where the install rules put it.
QStringList moduleFolders()
{
    QStringList folders;
    if (QCoreApplication::instance()) {
        const QString programs = QCoreApplication::applicationDirPath();
        folders << programs << programs + QStringLiteral("/../lib/korvale");
    }
#ifdef KORVALE_PDF_MODULE_DIR
    folders << QStringLiteral(KORVALE_PDF_MODULE_DIR);
#endif
    return folders;
}

// Loaded once, on the first PDF, and kept.
const PdfModuleFunctions *module()
{
    static const PdfModuleFunctions *const functions = []() -> const PdfModuleFunctions * {
#ifdef KORVALE_HAVE_POPPLER
        for (const QString &folder : moduleFolders()) {
            QLibrary library(folder + QStringLiteral("/libkorvale-pdf.so"));
            if (!library.load())
                continue;
            if (const auto entry =
                    reinterpret_cast<PdfModuleEntry>(library.resolve(KORVALE_PDF_MODULE_ENTRY)))
                return entry();
        }
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

int PreviewPdf::pageCount(const QString &path)
{
    const PdfModuleFunctions *functions = module();
    return functions ? functions->pageCount(path) : 0;
}

QImage PreviewPdf::renderPage(const QString &path, int page, const QSize &size)
{
    const PdfModuleFunctions *functions = module();
    return functions ? functions->renderPage(path, page, size) : QImage();
}

QImage PreviewPdf::renderFirstPage(const QByteArray &data, const QSize &size)
{
    const PdfModuleFunctions *functions = module();
    return functions ? functions->renderFirstPage(data, size) : QImage();
}
