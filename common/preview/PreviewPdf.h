#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// PDF pages as pictures, for the clipboard entry's picture and the file preview panel. Built on
// poppler-qt6 when the build found it; without it nothing renders and callers fall back.
class PreviewPdf
{
public:
    PreviewPdf() = delete;

    static bool isAvailable();
    // Page count of a document's bytes, 0 when they cannot be read (or without poppler).
    static int pageCount(const QByteArray &data);
    // One page scaled to fit `size`, keeping its proportions; null on failure.
    static QImage renderPage(const QByteArray &data, int page, const QSize &size);
    static QImage renderFirstPage(const QByteArray &data, const QSize &size);
};
